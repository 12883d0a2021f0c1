#include "drawing/records.h"

#include "driver/diagnostics.h"

namespace {

// A record of a tag and what follows it, at most kept_record_max bytes.
template <typename... V> void keep(Tag tag, V... values) {
    char* p = kept_space(1 + (sizeof(V) + ... + 0));
    *p++ = tag;
    ((p = put<V>(p, values)), ...);
    kept_advance(p);
}

} // namespace

void record_style(const Style& s) {
    keep(tag_style, int32_t{s.pen}, int32_t{s.colour.r}, int32_t{s.colour.g}, int32_t{s.colour.b},
         int32_t{s.pattern}, s.width_mm);
}

void record_page() {
    keep(tag_page);
}

long long record_polyline() {
    long long head = kept_offset();
    keep(tag_polyline, uint8_t{0}, uint64_t{0});
    return head;
}

void record_polyline_end(long long head, bool closed, uint64_t vertices) {
    char bytes[9];
    put<uint64_t>(put<uint8_t>(bytes, closed ? 1 : 0), vertices);
    kept_patch(head + 1, bytes, sizeof bytes);
    keep(tag_seqend);
}

void record_reals(Tag tag, const double* v, int n) {
    char* p = kept_space(1 + 8 * static_cast<size_t>(n));
    *p++ = tag;
    for (int i = 0; i < n; ++i)
        p = put<double>(p, v[i]);
    kept_advance(p);
}

void record_text(const double v[6], const char* text, size_t length) {
    record_reals(tag_text, v, 6);
    kept_advance(put<uint64_t>(kept_space(8), length));
    kept_bytes(text, length);
}

void record_fill(const FillRecord& f) {
    keep(tag_fill, static_cast<uint8_t>(f.kind), static_cast<uint8_t>(f.rule), int32_t{f.shade.r},
         int32_t{f.shade.g}, int32_t{f.shade.b}, f.angle, f.spacing, f.anchor.x, f.anchor.y,
         uint8_t{f.cross});
}

void record_piece(const Point* c, int n) {
    const Point& last = c[n - 1];
    keep(tag_piece, static_cast<uint8_t>(n), c[0].x, c[0].y, c[1].x, c[1].y, c[2].x, c[2].y,
         n > 3 ? c[3].x : last.x, n > 3 ? c[3].y : last.y);
}

void record_line(Point a, Point b) {
    keep(tag_line, a.x, a.y, b.x, b.y);
}

void record_ring(const Point* points, size_t n) {
    keep(tag_ring, uint64_t{n});
    for (size_t i = 0; i < n; ++i)
        record_vertex(points[i]);
}

void record_fill_end() {
    keep(tag_fill_end);
}

void records_rewind() {
    kept_rewind();
}

void records_unreadable() {
    fatal_error("penwright: the temporary file of the drawing cannot be read");
}

Style read_style() {
    const char* p = record_bytes(5 * 4 + 8);
    Style s;
    s.pen = get<int32_t>(p);
    s.colour.r = get<int32_t>(p);
    s.colour.g = get<int32_t>(p);
    s.colour.b = get<int32_t>(p);
    s.pattern = get<int32_t>(p);
    s.width_mm = get<double>(p);
    return s;
}

FillRecord read_fill() {
    const char* p = record_bytes(2 + 3 * 4 + 4 * 8 + 1);
    FillRecord f;
    f.kind = static_cast<FillKind>(get<uint8_t>(p));
    f.rule = static_cast<FillRule>(get<uint8_t>(p));
    f.shade.r = get<int32_t>(p);
    f.shade.g = get<int32_t>(p);
    f.shade.b = get<int32_t>(p);
    f.angle = get<double>(p);
    f.spacing = get<double>(p);
    f.anchor.x = get<double>(p);
    f.anchor.y = get<double>(p);
    f.cross = get<uint8_t>(p) != 0;
    return f;
}
