#include "dxf/document.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "driver/diagnostics.h"
#include "dxf/kept.h"

namespace {

int divisor = 1016;
long long flag_at = -1; // where the flag of the open polyline stands

Scaled at(double v) {
    return {v, divisor};
}
Scaled plain(double v) {
    return {v, 1};
}

// The kinds of kept records. Each entity is on the layer of the last layer record.
enum Tag : char {
    tag_layer = 'L',    // u8 name length, the name, i32 colour
    tag_polyline = 'P', // u8 closed
    tag_vertex = 'V',   // f64 x, y: the common case
    tag_seqend = 'S',
    tag_point = 'O',  // f64 x, y
    tag_circle = 'C', // f64 x, y, r
    tag_arc = 'A',    // f64 x, y, r, a50, a51
    tag_text = 'T',   // f64 x, y, height, angle, width factor, oblique; u64 length, the text
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

// The layer of the last layer record, so that a record is written only when it changes.
struct KeptLayer {
    char name[kept_record_max];
    size_t length = 0;
    int colour = 0;
    bool any = false;
};
KeptLayer last_layer;

bool same_layer(const KeptLayer& k, const Layer& layer, size_t n) {
    if (!k.any || k.length != n || k.colour != layer.colour) return false;
    for (size_t i = 0; i < n; ++i) // names are short: "PEN1"
        if (k.name[i] != layer.name.text[i]) return false;
    return true;
}

void keep_layer(const Layer& layer) {
    KeptLayer& k = last_layer;
    size_t n = layer.name.length < 200 ? layer.name.length : 200; // names are far shorter
    if (same_layer(k, layer, n)) return;
    k = {{}, n, layer.colour, true};
    memcpy(k.name, layer.name.text, n);
    char* p = kept_space(1 + 1 + n + 4);
    *p++ = tag_layer;
    *p++ = static_cast<char>(n);
    memcpy(p, layer.name.text, n);
    kept_advance(put<int32_t>(p + n, layer.colour));
}

// A record of a tag and doubles.
template <typename... D> void keep_reals(const Layer& layer, Tag tag, D... values) {
    keep_layer(layer);
    char* p = kept_space(1 + 8 * sizeof...(values));
    *p++ = tag;
    ((p = put<double>(p, values)), ...);
    kept_advance(p);
}

// Reading the records back as DXF text.

void write_colour(OutputStream& out, int colour) {
    if (colour != by_layer) emit<" 62\n%d\n">(out, colour);
}

// The next `n` bytes of a record that has begun.
const char* need(size_t n) {
    const char* p = kept_read(n);
    if (!p) fatal_error("penwright: the temporary file of the drawing cannot be read");
    return p;
}

// The layer of the records read, as a record's head needs it, and the head of its vertices.
struct ReadLayer {
    char text[256] = "";
    size_t length = 0;
    int colour = by_layer;
    char vertex_head[256 + 32] = "";
    size_t vertex_head_length = 0;
    Counted name() const { return {text, length}; }
};

void read_layer(ReadLayer& l) {
    l.length = static_cast<unsigned char>(*need(1));
    const char* p = need(l.length + 4);
    memcpy(l.text, p, l.length);
    p += l.length;
    l.colour = get<int32_t>(p);
    char* head = l.vertex_head;
    memcpy(head, "  0\nVERTEX\n  8\n", 15);
    memcpy(head + 15, l.text, l.length);
    memcpy(head + 15 + l.length, "\n 10\n", 5);
    l.vertex_head_length = 15 + l.length + 5;
}

template <size_t N> std::array<double, N> read_reals() {
    std::array<double, N> v;
    const char* p = need(8 * N);
    for (double& d : v)
        d = get<double>(p);
    return v;
}

void write_text(OutputStream& out, const ReadLayer& l) {
    auto [x, y, height, angle, width, oblique] = read_reals<6>();
    emit<"  0\nTEXT\n  8\n%t\n">(out, l.name());
    write_colour(out, l.colour);
    emit<" 10\n%u\n 20\n%u\n 40\n%u\n  1\n">(out, at(x), at(y), at(height));
    const char* p = need(8);
    for (auto left = get<uint64_t>(p); left > 0;) {
        const char* bytes;
        size_t n = kept_read_some(bytes, left);
        if (n == 0) break;
        output_bytes(out, bytes, n);
        left -= n;
    }
    emit<"\n">(out);
    if (angle != 0) emit<" 50\n%u\n">(out, plain(angle));
    if (width != 1) emit<" 41\n%u\n">(out, plain(width));
    if (oblique != 0) emit<" 51\n%u\n">(out, plain(oblique));
    emit<"  7\nSTANDARD\n">(out);
}

void write_vertex(OutputStream& out, const ReadLayer& l) {
    auto [x, y] = read_reals<2>();
    if (l.vertex_head_length <= kept_text_room) // the head copied at once: "PEN1" and the like
        emit<"%k%u\n 20\n%u\n">(out, Kept{l.vertex_head, l.vertex_head_length}, at(x), at(y));
    else
        emit<"  0\nVERTEX\n  8\n%t\n 10\n%u\n 20\n%u\n">(out, l.name(), at(x), at(y));
}

void write_polyline(OutputStream& out, const ReadLayer& l) {
    char closed = *need(1) ? '1' : '0';
    emit<"  0\nPOLYLINE\n  8\n%t\n">(out, l.name());
    write_colour(out, l.colour);
    emit<" 66\n1\n 70\n%c\n 10\n0\n 20\n0\n 30\n0\n">(out, closed);
}

void write_shape(OutputStream& out, const ReadLayer& l, Tag tag) {
    if (tag == tag_point) {
        auto [x, y] = read_reals<2>();
        emit<"  0\nPOINT\n  8\n%t\n">(out, l.name());
        write_colour(out, l.colour);
        emit<" 10\n%u\n 20\n%u\n">(out, at(x), at(y));
    } else if (tag == tag_circle) {
        auto [x, y, r] = read_reals<3>();
        emit<"  0\nCIRCLE\n  8\n%t\n">(out, l.name());
        write_colour(out, l.colour);
        emit<" 10\n%u\n 20\n%u\n 40\n%u\n">(out, at(x), at(y), at(r));
    } else {
        auto [x, y, r, a50, a51] = read_reals<5>();
        emit<"  0\nARC\n  8\n%t\n">(out, l.name());
        write_colour(out, l.colour);
        emit<" 10\n%u\n 20\n%u\n 40\n%u\n 50\n%u\n 51\n%u\n">(out, at(x), at(y), at(r), plain(a50),
                                                              plain(a51));
    }
}

void write_entities(OutputStream& out) {
    kept_rewind();
    ReadLayer layer;
    while (const char* tag = kept_read(1)) {
        switch (static_cast<Tag>(*tag)) {
        case tag_layer: read_layer(layer); break;
        case tag_polyline: write_polyline(out, layer); break;
        case tag_vertex: write_vertex(out, layer); break;
        case tag_seqend: emit<"  0\nSEQEND\n  8\n%t\n">(out, layer.name()); break;
        case tag_text: write_text(out, layer); break;
        default: write_shape(out, layer, static_cast<Tag>(*tag)); break;
        }
    }
}

void write_header(OutputStream& out, const Extents& e) {
    emit<"  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n">(out);
    emit<"  9\n$EXTMIN\n 10\n%u\n 20\n%u\n 30\n0\n">(out, at(e.min_x), at(e.min_y));
    emit<"  9\n$EXTMAX\n 10\n%u\n 20\n%u\n 30\n0\n">(out, at(e.max_x), at(e.max_y));
    emit<"  0\nENDSEC\n">(out);
}

void write_tables(OutputStream& out, const DocumentLayer* layers, int count) {
    emit<"  0\nSECTION\n  2\nTABLES\n">(out);
    emit<"  0\nTABLE\n  2\nLTYPE\n 70\n1\n  0\nLTYPE\n  2\nCONTINUOUS\n 70\n0\n  3\nSolid line\n"
         " 72\n65\n 73\n0\n 40\n0\n  0\nENDTAB\n">(out);
    emit<"  0\nTABLE\n  2\nLAYER\n 70\n%d\n">(out, count + 1);
    emit<"  0\nLAYER\n  2\n0\n 70\n0\n 62\n7\n  6\nCONTINUOUS\n">(out);
    for (int i = 0; i < count; ++i)
        emit<"  0\nLAYER\n  2\n%s\n 70\n0\n 62\n%d\n  6\nCONTINUOUS\n">(out, layers[i].name,
                                                                        layers[i].colour);
    emit<"  0\nENDTAB\n">(out);
    emit<"  0\nTABLE\n  2\nSTYLE\n 70\n1\n  0\nSTYLE\n  2\nSTANDARD\n 70\n0\n 40\n0\n 41\n1\n"
         " 50\n0\n 71\n0\n 42\n0.2\n  3\ntxt\n  4\n\n  0\nENDTAB\n">(out);
    emit<"  0\nENDSEC\n">(out);
}

} // namespace

void document_begin(int unit_divisor) {
    document_reset();
    divisor = unit_divisor;
    kept_begin();
}

void document_polyline(const Layer& layer) {
    keep_layer(layer);
    char* p = kept_space(2);
    *p = tag_polyline;
    flag_at = kept_offset() + 1;
    p[1] = 0;
    kept_advance(p + 2);
}

void document_vertex(double x, double y) {
    char* p = kept_space(17);
    *p = tag_vertex;
    kept_advance(put<double>(put<double>(p + 1, x), y));
}

void document_polyline_end(bool closed) {
    if (closed) kept_patch(flag_at, 1);
    char* p = kept_space(1);
    *p = tag_seqend;
    kept_advance(p + 1);
}

void document_point(const Layer& layer, double x, double y) {
    keep_reals(layer, tag_point, x, y);
}

void document_circle(const Layer& layer, double cx, double cy, double r) {
    keep_reals(layer, tag_circle, cx, cy, r);
}

void document_arc(const Layer& layer, double cx, double cy, double r, double a50, double a51) {
    keep_reals(layer, tag_arc, cx, cy, r, a50, a51);
}

void document_text(const Layer& layer, const TextEntity& t) {
    keep_reals(layer, tag_text, t.x, t.y, t.height, t.angle, t.width_factor, t.oblique);
    kept_advance(put<uint64_t>(kept_space(8), t.length));
    kept_bytes(t.text, t.length);
}

void document_write(OutputStream& out, const Extents& extents, const DocumentLayer* layers,
                    int layer_count) {
    write_header(out, extents);
    write_tables(out, layers, layer_count);
    emit<"  0\nSECTION\n  2\nENTITIES\n">(out);
    write_entities(out);
    emit<"  0\nENDSEC\n  0\nEOF\n">(out);
}

void document_reset() {
    kept_reset();
    last_layer = KeptLayer{};
    flag_at = -1;
}
