#include "dxf/ac1009.h"

#include <array>

#include "dxf/styles.h"

namespace {

// The writer's place in the records: the style of the entities, and the page they are on.
struct Reading {
    DxfStyles styles;
    const DrawingSummary* drawing = nullptr;
    EntityStyle style{};
    size_t page = 0;
    double shift = 0;             // what the page adds to x, in plotter units
    char vertex_head[256 + 32]{}; // "  0\nVERTEX\n  8\nPEN1\n 10\n": most of every vertex
    size_t vertex_head_length = 0;
};

Scaled at(const Reading& r, double v) {
    return {v, r.styles.divisor};
}
Scaled ax(const Reading& r, double x) {
    return {x + r.shift, r.styles.divisor};
}
Scaled plain(double v) {
    return {v, 1};
}

void take_style(Reading& r, const Style& s) {
    r.style = entity_style(r.styles, s);
    Counted name = r.style.layer();
    memcpy(r.vertex_head, "  0\nVERTEX\n  8\n", 15);
    memcpy(r.vertex_head + 15, name.text, name.length);
    memcpy(r.vertex_head + 15 + name.length, "\n 10\n", 5);
    r.vertex_head_length = 15 + name.length + 5;
}

void next_page(Reading& r) {
    ++r.page;
    r.shift = r.page < r.drawing->page_shift.size() ? r.drawing->page_shift[r.page] : 0;
}

// An entity's head: its type, layer, line type (when it has one) and colour.
void head(OutputStream& out, const Reading& r, const char* type, bool patterned, int colour) {
    emit<"  0\n%s\n  8\n%t\n">(out, type, r.style.layer());
    if (patterned && r.style.line_type) emit<"  6\n%s\n">(out, r.style.line_type);
    if (colour != by_layer) emit<" 62\n%d\n">(out, colour);
}

void write_text(OutputStream& out, const Reading& r) {
    double v[6];
    read_reals<6>(v);
    head(out, r, "TEXT", false, r.style.colour);
    emit<" 10\n%u\n 20\n%u\n 40\n%u\n  1\n">(out, ax(r, v[0]), at(r, v[1]), at(r, v[2]));
    write_text_rest(out, v, output_bytes);
    emit<"  7\nSTANDARD\n">(out);
}

void write_vertex(OutputStream& out, const Reading& r) {
    double v[2];
    read_reals<2>(v);
    if (r.vertex_head_length <= kept_text_room) // the head copied at once: "PEN1" and the like
        emit<"%k%u\n 20\n%u\n">(out, Kept{r.vertex_head, r.vertex_head_length}, ax(r, v[0]),
                                at(r, v[1]));
    else
        emit<"  0\nVERTEX\n  8\n%t\n 10\n%u\n 20\n%u\n">(out, r.style.layer(), ax(r, v[0]),
                                                         at(r, v[1]));
}

void write_polyline(OutputStream& out, const Reading& r) {
    const char* p = record_bytes(9);
    int flags = (get<uint8_t>(p) ? 1 : 0) + (r.style.line_type ? 128 : 0);
    head(out, r, "POLYLINE", true, r.style.colour);
    emit<" 66\n1\n 70\n%d\n 10\n0\n 20\n0\n 30\n0\n">(out, flags);
}

void write_shape(OutputStream& out, const Reading& r, char tag) {
    double v[5];
    if (tag == tag_point) {
        read_reals<2>(v);
        head(out, r, "POINT", false, r.style.colour);
        emit<" 10\n%u\n 20\n%u\n">(out, ax(r, v[0]), at(r, v[1]));
    } else if (tag == tag_circle) {
        read_reals<3>(v);
        head(out, r, "CIRCLE", true, r.style.colour);
        emit<" 10\n%u\n 20\n%u\n 40\n%u\n">(out, ax(r, v[0]), at(r, v[1]), at(r, v[2]));
    } else {
        read_reals<5>(v);
        head(out, r, "ARC", true, r.style.colour);
        emit<" 10\n%u\n 20\n%u\n 40\n%u\n 50\n%u\n 51\n%u\n">(
            out, ax(r, v[0]), at(r, v[1]), at(r, v[2]), plain(v[3]), plain(v[4]));
    }
}

// A fill: SOLIDs (the third and fourth corners swapped against going round, a triangle's third
// corner repeated) or the LINEs of a hatch; its rings are for the flavour that writes a HATCH.
void write_fill(OutputStream& out, Reading& r) {
    FillRecord f = read_fill();
    int colour = f.kind == FillKind::shaded ? aci_of(r.styles, f.shade) : r.style.colour;
    for (char tag; (tag = record_next()) != tag_fill_end;) {
        double v[8];
        if (tag == tag_piece) {
            int n = static_cast<uint8_t>(*record_bytes(1));
            read_reals<8>(v);
            const int order[4] = {0, 1, n > 3 ? 3 : 2, 2};
            head(out, r, "SOLID", false, colour);
            emit<" 10\n%u\n 20\n%u\n 30\n0\n 11\n%u\n 21\n%u\n 31\n0\n">(
                out, ax(r, v[2 * order[0]]), at(r, v[2 * order[0] + 1]), ax(r, v[2 * order[1]]),
                at(r, v[2 * order[1] + 1]));
            emit<" 12\n%u\n 22\n%u\n 32\n0\n 13\n%u\n 23\n%u\n 33\n0\n">(
                out, ax(r, v[2 * order[2]]), at(r, v[2 * order[2] + 1]), ax(r, v[2 * order[3]]),
                at(r, v[2 * order[3] + 1]));
        } else if (tag == tag_line) {
            read_reals<4>(v);
            head(out, r, "LINE", true, colour);
            emit<" 10\n%u\n 20\n%u\n 11\n%u\n 21\n%u\n">(out, ax(r, v[0]), at(r, v[1]), ax(r, v[2]),
                                                         at(r, v[3]));
        } else if (tag == tag_ring) {
            const char* p = record_bytes(8);
            for (auto n = get<uint64_t>(p); n > 0; --n)
                record_bytes(17);
        }
    }
}

void write_entities(OutputStream& out, Reading& r) {
    records_rewind();
    while (char tag = record_next()) {
        switch (tag) {
        case tag_style: take_style(r, read_style()); break;
        case tag_page: next_page(r); break;
        case tag_polyline: write_polyline(out, r); break;
        case tag_vertex: write_vertex(out, r); break;
        case tag_seqend: emit<"  0\nSEQEND\n  8\n%t\n">(out, r.style.layer()); break;
        case tag_text: write_text(out, r); break;
        case tag_fill: write_fill(out, r); break;
        default: write_shape(out, r, tag); break;
        }
    }
}

void write_header(OutputStream& out, const Reading& r) {
    const Extents& e = r.drawing->extents;
    emit<"  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n">(out);
    emit<"  9\n$EXTMIN\n 10\n%u\n 20\n%u\n 30\n0\n">(out, at(r, e.min_x), at(r, e.min_y));
    emit<"  9\n$EXTMAX\n 10\n%u\n 20\n%u\n 30\n0\n">(out, at(r, e.max_x), at(r, e.max_y));
    emit<"  0\nENDSEC\n">(out);
}

void write_line_types(OutputStream& out, const DxfStyles& s) {
    emit<"  0\nTABLE\n  2\nLTYPE\n 70\n%d\n">(out, static_cast<int>(s.line_types.size()) + 1);
    emit<"  0\nLTYPE\n  2\nCONTINUOUS\n 70\n0\n  3\nSolid line\n 72\n65\n 73\n0\n 40\n0\n">(out);
    for (const LineType& t : s.line_types) {
        emit<"  0\nLTYPE\n  2\n%s\n 70\n0\n  3\n%s\n 72\n65\n 73\n%d\n 40\n%s\n">(
            out, t.name.c_str(), t.description.c_str(), static_cast<int>(t.elements.size()),
            t.length.c_str());
        for (const std::string& e : t.elements)
            emit<" 49\n%s\n">(out, e.c_str());
    }
    emit<"  0\nENDTAB\n">(out);
}

void write_tables(OutputStream& out, const DxfStyles& s) {
    emit<"  0\nSECTION\n  2\nTABLES\n">(out);
    write_line_types(out, s);
    emit<"  0\nTABLE\n  2\nLAYER\n 70\n%d\n">(out, static_cast<int>(s.layer_colours.size()) + 1);
    emit<"  0\nLAYER\n  2\n0\n 70\n0\n 62\n7\n  6\nCONTINUOUS\n">(out);
    for (auto [pen, colour] : s.layer_colours)
        emit<"  0\nLAYER\n  2\nPEN%d\n 70\n0\n 62\n%d\n  6\nCONTINUOUS\n">(out, pen, colour);
    emit<"  0\nENDTAB\n">(out);
    emit<"  0\nTABLE\n  2\nSTYLE\n 70\n1\n  0\nSTYLE\n  2\nSTANDARD\n 70\n0\n 40\n0\n 41\n1\n"
         " 50\n0\n 71\n0\n 42\n0.2\n  3\ntxt\n  4\n\n  0\nENDTAB\n">(out);
    emit<"  0\nENDSEC\n">(out);
}

} // namespace

void write_ac1009(OutputStream& out, const DrawingSummary& drawing, int divisor) {
    Reading r;
    r.styles = dxf_styles(drawing, divisor);
    r.drawing = &drawing;
    r.shift = drawing.page_shift.empty() ? 0 : drawing.page_shift[0];
    write_header(out, r);
    write_tables(out, r.styles);
    emit<"  0\nSECTION\n  2\nENTITIES\n">(out);
    write_entities(out, r);
    emit<"  0\nENDSEC\n  0\nEOF\n">(out);
}
