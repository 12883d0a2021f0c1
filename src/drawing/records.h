// The drawing's entities as compact records, kept until the end of the input (see kept.h): the
// model writes them as it draws, and a writer reads them back once, in order. Points are page
// points in plotter units; every entity is in the style of the last style record and on the
// page of the page records before it.
#pragma once

#include <cstdint>
#include <cstring>

#include "drawing/kept.h"
#include "drawing/style.h"
#include "geometry/point.h"
#include "geometry/rings.h"

enum Tag : char {
    tag_style = 'Y',    // i32 pen, i32 r, g, b, i32 pattern, f64 width
    tag_page = 'G',     // the entities after it are on the next page
    tag_polyline = 'P', // u8 closed, u64 vertex count; then the vertices and the end
    tag_vertex = 'V',   // f64 x, y
    tag_seqend = 'S',
    tag_point = 'O',  // f64 x, y
    tag_circle = 'C', // f64 x, y, r
    tag_arc = 'A',    // f64 x, y, r, start, end: degrees, counter-clockwise
    tag_text = 'T',   // f64 x, y, height, angle, width factor, oblique; u64 length, the text
    tag_fill = 'F',   // a FillRecord; then its pieces or lines, its rings and the end
    tag_piece = 'Q',  // u8 corners (3 or 4), 4 x f64 x, y
    tag_line = 'L',   // f64 x1, y1, x2, y2
    tag_ring = 'R',   // u64 n, n x f64 x, y
    tag_fill_end = 'E',
};

enum class FillKind : char { solid, shaded, hatched };

// What a fill is, beyond its region: a shaded fill's colour, a hatch's lines.
struct FillRecord {
    FillKind kind = FillKind::solid;
    FillRule rule = FillRule::even_odd;
    Rgb shade{0, 0, 0}; // shaded: the pen's colour lightened to the level
    double angle = 0;   // hatched: the first family's angle on the page, degrees
    double spacing = 0; // hatched: between neighbouring lines, plotter units
    Point anchor{0, 0}; // hatched: every line passes a whole number of spacings from it
    bool cross = false; // hatched: a second family at angle + 90
};

template <typename T> char* put(char* p, T v) {
    memcpy(p, &v, sizeof v);
    return p + sizeof v;
}
template <typename T> T get(const char*& p) {
    T v;
    memcpy(&v, p, sizeof v);
    p += sizeof v;
    return v;
}

// Writing.
void record_style(const Style& style);
void record_page();
// The offset of the polyline's head, for its end to complete.
long long record_polyline();
inline void record_vertex(Point v) {
    char* p = kept_space(17);
    *p = tag_vertex;
    kept_advance(put<double>(put<double>(p + 1, v.x), v.y));
}
void record_polyline_end(long long head, bool closed, uint64_t vertices);
void record_reals(Tag tag, const double* values, int n); // a point, circle or arc
void record_text(const double values[6], const char* text, size_t length);
void record_fill(const FillRecord& fill);
void record_piece(const Point* corners, int n);
void record_line(Point a, Point b);
void record_ring(const Point* points, size_t n);
void record_fill_end();

// Reading, after records_rewind(): the next tag (0 at the end), then what the record holds.
void records_rewind();
inline char record_next() {
    const char* tag = kept_read(1);
    return tag ? *tag : 0;
}
[[noreturn]] void records_unreadable();
inline const char* record_bytes(size_t n) { // the next n bytes of the record
    const char* p = kept_read(n);
    if (!p) records_unreadable();
    return p;
}
Style read_style();
template <int N> inline void read_reals(double* out) {
    const char* p = record_bytes(8 * N);
    for (int i = 0; i < N; ++i)
        out[i] = get<double>(p);
}
FillRecord read_fill();
