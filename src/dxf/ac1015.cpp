// The entities of the AC1015 document: the same drawing as the AC1009 one, entity for entity,
// with each entity's lineweight; a run is one LWPOLYLINE, a fill one HATCH whose loops bound
// the region it fills (solid, or a user-defined pattern at the hatch's angle and spacing through
// its anchor corner).
#include "dxf/ac1015.h"

#include <cmath>

#include "dxf/ac1015_writer.h"
#include "dxf/aci.h"
#include "geometry/fill.h"

namespace {

// The writer's place in the records.
struct Entities {
    Writer* w = nullptr;
    unsigned long long next = 0; // the next entity's handle
    Handle owner{};              // *Model_Space's block record
    EntityStyle style{};
    int weight = 0; // the style's lineweight, and whether it is the layer's
    bool own_weight = false;
    size_t page = 0;
    double shift = 0;
    Rings rings, loops; // a fill's region, and the loops that bound what it fills
};

Scaled at(const Entities& e, double v) {
    return {v, e.w->styles.divisor};
}
Scaled ax(const Entities& e, double x) {
    return {x + e.shift, e.w->styles.divisor};
}
Scaled plain(double v) {
    return {v, 1};
}

void take_style(Entities& e, const Style& s) {
    e.style = entity_style(e.w->styles, s);
    e.weight = lineweight(s.width_mm);
    auto layer = e.w->styles.layer_widths.find(s.pen);
    e.own_weight = layer == e.w->styles.layer_widths.end() || lineweight(layer->second) != e.weight;
}

void next_page(Entities& e) {
    const std::vector<double>& shifts = e.w->drawing->page_shift;
    ++e.page;
    e.shift = e.page < shifts.size() ? shifts[e.page] : 0;
}

// An entity's head: its type, handle, owner, layer, line type, colour and lineweight, and its
// subclass.
void head(Entities& e, const char* type, bool patterned, int colour, bool weighted,
          const char* subclass) {
    OutputStream& out = *e.w->out;
    Handle h = hex(e.next++);
    emit<"  0\n%s\n  5\n%t\n330\n%t\n100\nAcDbEntity\n  8\n%t\n">(
        out, type, text_of(h), text_of(e.owner), e.style.layer());
    if (patterned && e.style.line_type) emit<"  6\n%s\n">(out, e.style.line_type);
    if (colour != by_layer) emit<" 62\n%d\n">(out, colour);
    if (weighted && e.own_weight) emit<"370\n%d\n">(out, e.weight);
    emit<"100\n%s\n">(out, subclass);
}

void write_polyline(Entities& e) {
    const char* p = record_bytes(9);
    int flags = (get<uint8_t>(p) ? 1 : 0) + (e.style.line_type ? 128 : 0);
    auto vertices = get<uint64_t>(p);
    head(e, "LWPOLYLINE", true, e.style.colour, true, "AcDbPolyline");
    emit<" 90\n%d\n 70\n%d\n">(*e.w->out, static_cast<int>(vertices), flags);
    for (uint64_t i = 0; i < vertices; ++i) {
        if (record_next() != tag_vertex) records_unreadable();
        double v[2];
        read_reals<2>(v);
        emit<" 10\n%u\n 20\n%u\n">(*e.w->out, ax(e, v[0]), at(e, v[1]));
    }
    if (record_next() != tag_seqend) records_unreadable();
}

// Bytes 128 and above as \U+00XX, the rest as they are.
void write_label(OutputStream& out, const char* bytes, size_t n) {
    size_t plain_from = 0;
    for (size_t i = 0; i < n; ++i) {
        auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 128) continue;
        output_bytes(out, bytes + plain_from, i - plain_from);
        char code[8] = {
            '\\', 'U', '+', '0', '0', "0123456789ABCDEF"[c >> 4], "0123456789ABCDEF"[c & 15], 0};
        output_bytes(out, code, 7);
        plain_from = i + 1;
    }
    output_bytes(out, bytes + plain_from, n - plain_from);
}

void write_text(Entities& e) {
    OutputStream& out = *e.w->out;
    double v[6];
    read_reals<6>(v);
    head(e, "TEXT", false, e.style.colour, true, "AcDbText");
    emit<" 10\n%u\n 20\n%u\n 30\n0\n 40\n%u\n  1\n">(out, ax(e, v[0]), at(e, v[1]), at(e, v[2]));
    write_text_rest(out, v, write_label);
    emit<"  7\nStandard\n100\nAcDbText\n">(out);
}

void write_shape(Entities& e, char tag) {
    OutputStream& out = *e.w->out;
    double v[5];
    if (tag == tag_point) {
        read_reals<2>(v);
        head(e, "POINT", false, e.style.colour, true, "AcDbPoint");
        emit<" 10\n%u\n 20\n%u\n 30\n0\n">(out, ax(e, v[0]), at(e, v[1]));
    } else if (tag == tag_circle) {
        read_reals<3>(v);
        head(e, "CIRCLE", true, e.style.colour, true, "AcDbCircle");
        emit<" 10\n%u\n 20\n%u\n 30\n0\n 40\n%u\n">(out, ax(e, v[0]), at(e, v[1]), at(e, v[2]));
    } else {
        read_reals<5>(v);
        head(e, "ARC", true, e.style.colour, true, "AcDbCircle");
        emit<" 10\n%u\n 20\n%u\n 30\n0\n 40\n%u\n100\nAcDbArc\n 50\n%u\n 51\n%u\n">(
            out, ax(e, v[0]), at(e, v[1]), at(e, v[2]), plain(v[3]), plain(v[4]));
    }
}

// A fill's region, read past its pieces or lines (the SOLIDs and LINEs of the other flavour).
void read_region(Entities& e) {
    e.rings.points.clear();
    e.rings.starts.clear();
    for (char tag; (tag = record_next()) != tag_fill_end;) {
        if (tag == tag_piece) record_bytes(1 + 8 * 8);
        if (tag == tag_line) record_bytes(4 * 8);
        if (tag != tag_ring) continue;
        const char* p = record_bytes(8);
        e.rings.starts.push_back(e.rings.points.size());
        for (auto n = get<uint64_t>(p); n > 0; --n) {
            record_bytes(1);
            double v[2];
            read_reals<2>(v);
            e.rings.points.push_back({v[0], v[1]});
        }
    }
}

void write_loops(Entities& e) {
    OutputStream& out = *e.w->out;
    const Rings& loops = e.loops;
    emit<" 91\n%d\n">(out, static_cast<int>(loops.starts.size()));
    for (size_t k = 0; k < loops.starts.size(); ++k) {
        size_t from = loops.starts[k];
        size_t to = k + 1 < loops.starts.size() ? loops.starts[k + 1] : loops.points.size();
        emit<" 92\n2\n 72\n0\n 73\n1\n 93\n%d\n">(out, static_cast<int>(to - from));
        for (size_t i = from; i < to; ++i)
            emit<" 10\n%u\n 20\n%u\n">(out, ax(e, loops.points[i].x), at(e, loops.points[i].y));
        emit<" 97\n0\n">(out);
    }
}

// A hatch's pattern: a line through the anchor corner at each of its angles, the next one a
// spacing away along the perpendicular, dashed as the hatch's line type.
void write_pattern(Entities& e, const FillRecord& f, const Style& s) {
    OutputStream& out = *e.w->out;
    emit<" 52\n%u\n 41\n%u\n 77\n%d\n 78\n%d\n">(out, plain(f.angle), at(e, f.spacing),
                                                 f.cross ? 1 : 0, f.cross ? 2 : 1);
    const Pattern* dashes =
        s.pattern >= 0 ? &e.w->drawing->patterns[static_cast<size_t>(s.pattern)] : nullptr;
    for (int k = 0; k < (f.cross ? 2 : 1); ++k) {
        double angle = f.angle + 90 * k, radians = angle * (M_PI / 180);
        emit<" 53\n%u\n 43\n%u\n 44\n%u\n 45\n%u\n 46\n%u\n 79\n%d\n">(
            out, plain(angle), ax(e, f.anchor.x), at(e, f.anchor.y),
            at(e, -std::sin(radians) * f.spacing), at(e, std::cos(radians) * f.spacing),
            dashes ? static_cast<int>(dashes->elements.size()) : 0);
        if (dashes)
            for (double d : dashes->elements)
                emit<" 49\n%u\n">(out, at(e, d));
    }
}

void write_fill(Entities& e, const Style& s) {
    OutputStream& out = *e.w->out;
    FillRecord f = read_fill();
    read_region(e);
    e.loops.points.clear();
    e.loops.starts.clear();
    fill_outline(e.rings, f.rule, e.loops);
    bool solid = f.kind != FillKind::hatched;
    int colour = f.kind == FillKind::shaded ? aci_of(e.w->styles, f.shade) : e.style.colour;
    head(e, "HATCH", false, colour, false, "AcDbHatch");
    emit<" 10\n0\n 20\n0\n 30\n0\n210\n0\n220\n0\n230\n1\n  2\n%s\n 70\n%d\n 71\n0\n">(
        out, solid ? "SOLID" : "_USER", solid ? 1 : 0);
    write_loops(e);
    emit<" 75\n0\n 76\n%d\n">(out, solid ? 1 : 0);
    if (!solid) write_pattern(e, f, s);
    emit<" 98\n1\n 10\n0\n 20\n0\n">(out);
}

void write_entities(Entities& e) {
    records_rewind();
    Style style;
    while (char tag = record_next()) {
        switch (tag) {
        case tag_style:
            style = read_style();
            take_style(e, style);
            break;
        case tag_page: next_page(e); break;
        case tag_polyline: write_polyline(e); break;
        case tag_text: write_text(e); break;
        case tag_fill: write_fill(e, style); break;
        default: write_shape(e, tag); break;
        }
    }
}

} // namespace

void write_ac1015(OutputStream& out, const DrawingSummary& drawing, int divisor) {
    Writer w;
    w.out = &out;
    w.drawing = &drawing;
    w.styles = dxf_styles(drawing, divisor);
    w.h = handles_for(w.styles.line_types.size(), w.styles.layer_colours.size(), drawing.entities);
    write_frame_head(w);
    emit<"  0\nSECTION\n  2\nENTITIES\n">(out);
    Entities e;
    e.w = &w;
    e.next = w.h.first_entity;
    e.owner = hex(w.h.model_record);
    e.shift = drawing.page_shift.empty() ? 0 : drawing.page_shift[0];
    write_entities(e);
    emit<"  0\nENDSEC\n">(out);
    write_objects(w);
    emit<"  0\nEOF\n">(out);
}
