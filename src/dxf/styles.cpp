#include "dxf/styles.h"

#include <cmath>
#include <cstdio>
#include <tuple>

#include "dxf/aci.h"

std::string drawing_number(double plotter_units, int divisor) {
    char text[real_text_max];
    return std::string(text, put_scaled(text, plotter_units, divisor));
}

void write_text_rest(OutputStream& out, const double v[6],
                     void (*write)(OutputStream&, const char*, size_t)) {
    const char* p = record_bytes(8);
    for (auto left = get<uint64_t>(p); left > 0;) {
        const char* bytes;
        size_t n = kept_read_some(bytes, left);
        if (n == 0) break;
        write(out, bytes, n);
        left -= n;
    }
    emit<"\n">(out);
    if (v[3] != 0) emit<" 50\n%u\n">(out, Scaled{v[3], 1});
    if (v[4] != 1) emit<" 41\n%u\n">(out, Scaled{v[4], 1});
    if (v[5] != 0) emit<" 51\n%u\n">(out, Scaled{v[5], 1});
}

int aci_of(DxfStyles& styles, Rgb c) {
    auto [at, fresh] = styles.aci_cache.try_emplace({c.r, c.g, c.b}, 0);
    if (fresh) at->second = nearest_aci(c);
    return at->second;
}

namespace {

// A pattern as the DXF writes it; two patterns are one line type when they are written alike.
LineType written(const Pattern& p, int divisor) {
    LineType t;
    double length = 0;
    for (double e : p.elements) {
        length += std::fabs(e);
        t.elements.push_back(drawing_number(e, divisor));
    }
    t.length = drawing_number(length, divisor);
    char description[64];
    snprintf(description, sizeof description, "HP-GL/2 line type %d, %s mm", p.type,
             drawing_number(length, 40).c_str());
    t.description = description;
    return t;
}

void name_line_types(DxfStyles& s, const DrawingSummary& d) {
    s.line_type_of.assign(d.patterns.size(), -1);
    std::map<int, int> per_type; // entries so far of each type number
    std::vector<int> type_of_entry;
    for (int index : d.patterns_used) {
        const Pattern& p = d.patterns[static_cast<size_t>(index)];
        LineType t = written(p, s.divisor);
        int found = -1;
        for (size_t e = 0; e < s.line_types.size(); ++e)
            if (type_of_entry[e] == p.type && s.line_types[e].elements == t.elements)
                found = static_cast<int>(e);
        if (found < 0) {
            int n = ++per_type[p.type];
            char name[32];
            if (n > 1)
                snprintf(name, sizeof name, "LT%d_%d", p.type, n);
            else
                snprintf(name, sizeof name, "LT%d", p.type);
            t.name = name;
            found = static_cast<int>(s.line_types.size());
            s.line_types.push_back(t);
            type_of_entry.push_back(p.type);
        }
        s.line_type_of[static_cast<size_t>(index)] = found;
    }
}

} // namespace

DxfStyles dxf_styles(const DrawingSummary& d, int divisor) {
    DxfStyles s;
    s.divisor = divisor;
    name_line_types(s, d);
    for (const PenLayer& l : d.layers) {
        int aci = aci_of(s, l.colour);
        s.layer_colours[l.pen] = l.pen == 0 ? -aci : aci; // pen 0's layer is switched off
        s.layer_widths[l.pen] = l.width_mm;
    }
    return s;
}

EntityStyle entity_style(DxfStyles& styles, const Style& style) {
    EntityStyle e;
    int n = snprintf(e.layer_text, sizeof e.layer_text, "PEN%d", style.pen);
    e.layer_length = static_cast<size_t>(n);
    int aci = aci_of(styles, style.colour);
    auto layer = styles.layer_colours.find(style.pen);
    int layer_aci = layer == styles.layer_colours.end() ? aci : std::abs(layer->second);
    e.colour = aci == layer_aci ? by_layer : aci;
    int type = style.pattern >= 0 ? styles.line_type_of[static_cast<size_t>(style.pattern)] : -1;
    e.line_type = type >= 0 ? styles.line_types[static_cast<size_t>(type)].name.c_str() : nullptr;
    e.width_mm = style.width_mm;
    e.pen = style.pen;
    return e;
}
