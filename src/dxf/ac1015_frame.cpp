// The frame of the AC1015 document: HEADER, an empty CLASSES section, the nine tables, the blocks
// of model and paper space, and the objects (the root dictionary with ACAD_GROUP and ACAD_LAYOUT,
// and the layouts Model and Layout1).
#include <cmath>

#include "dxf/ac1015_writer.h"

Handle hex(unsigned long long h) {
    Handle out;
    char reversed[20];
    size_t n = 0;
    do {
        reversed[n++] = "0123456789ABCDEF"[h & 15];
        h >>= 4;
    } while (h);
    for (size_t i = 0; i < n; ++i)
        out.text[i] = reversed[n - 1 - i];
    out.length = n;
    return out;
}

Handles handles_for(size_t line_types, size_t layers, long long entities) {
    Handles h;
    unsigned long long next = 1;
    auto take = [&](unsigned long long n) {
        unsigned long long first = next;
        next += n;
        return first;
    };
    h.vport_table = take(1), h.vport = take(1), h.ltype_table = take(1), h.by_block = take(1);
    h.by_layer = take(1), h.continuous = take(1), h.first_line_type = take(line_types);
    h.layer_table = take(1), h.layer_zero = take(1), h.first_layer = take(layers);
    h.style_table = take(1), h.style = take(1), h.view_table = take(1), h.ucs_table = take(1);
    h.appid_table = take(1), h.appid = take(1), h.dimstyle_table = take(1), h.dimstyle = take(1);
    h.block_record_table = take(1), h.model_record = take(1), h.paper_record = take(1);
    h.model_block = take(1), h.model_end = take(1), h.paper_block = take(1);
    h.paper_end = take(1), h.root = take(1), h.groups = take(1), h.layouts = take(1);
    h.model_layout = take(1), h.paper_layout = take(1);
    h.first_entity = take(static_cast<unsigned long long>(entities));
    h.seed = next;
    return h;
}

int lineweight(double width_mm) {
    static constexpr int known[] = {0,  5,  9,  13, 15, 18,  20,  25,  30,  35,  40,  50,
                                    53, 60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211};
    double w = width_mm * 100;
    int best = known[0];
    for (int lw : known)
        if (std::fabs(lw - w) <= std::fabs(best - w)) best = lw;
    return best;
}

namespace {

Counted hx(unsigned long long h, Handle& keep) {
    keep = hex(h);
    return text_of(keep);
}

void table_head(Writer& w, const char* name, unsigned long long handle, int entries) {
    Handle k;
    emit<"  0\nTABLE\n  2\n%s\n  5\n%t\n330\n0\n100\nAcDbSymbolTable\n 70\n%d\n">(
        *w.out, name, hx(handle, k), entries);
}

void entry_head(Writer& w, const char* type, unsigned long long handle, unsigned long long table,
                const char* subclass) {
    Handle a, b;
    emit<"  0\n%s\n  5\n%t\n330\n%t\n100\nAcDbSymbolTableRecord\n100\n%s\n">(
        *w.out, type, hx(handle, a), hx(table, b), subclass);
}

void write_header(Writer& w) {
    const Extents& e = w.drawing->extents;
    bool mm = w.styles.divisor == 40;
    Handle k;
    Scaled x0{e.min_x, w.styles.divisor}, y0{e.min_y, w.styles.divisor};
    Scaled x1{e.max_x, w.styles.divisor}, y1{e.max_y, w.styles.divisor};
    emit<"  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$DWGCODEPAGE\n  3\n"
         "ANSI_1252\n  9\n$HANDSEED\n  5\n%t\n">(*w.out, hx(w.h.seed, k));
    emit<"  9\n$INSUNITS\n 70\n%d\n  9\n$MEASUREMENT\n 70\n%d\n">(*w.out, mm ? 4 : 1, mm ? 1 : 0);
    emit<"  9\n$EXTMIN\n 10\n%u\n 20\n%u\n 30\n0\n  9\n$EXTMAX\n 10\n%u\n 20\n%u\n 30\n0\n">(
        *w.out, x0, y0, x1, y1);
    emit<"  9\n$LWDISPLAY\n290\n1\n  9\n$LTSCALE\n 40\n1\n  0\nENDSEC\n">(*w.out);
    emit<"  0\nSECTION\n  2\nCLASSES\n  0\nENDSEC\n">(*w.out);
}

// The active viewport shows the extents, with a margin.
void write_vport(Writer& w) {
    const Extents& e = w.drawing->extents;
    double d = w.styles.divisor;
    double width = (e.max_x - e.min_x) / d, height = (e.max_y - e.min_y) / d;
    double view = std::fmax(std::fmax(height, width / 1.5) * 1.1, 1.0);
    Scaled cx{(e.min_x + e.max_x) / 2, w.styles.divisor},
        cy{(e.min_y + e.max_y) / 2, w.styles.divisor};
    table_head(w, "VPORT", w.h.vport_table, 1);
    entry_head(w, "VPORT", w.h.vport, w.h.vport_table, "AcDbViewportTableRecord");
    emit<"  2\n*ACTIVE\n 70\n0\n 10\n0\n 20\n0\n 11\n1\n 21\n1\n 12\n%u\n 22\n%u\n 13\n0\n 23\n0\n"
         " 14\n1\n 24\n1\n 15\n1\n 25\n1\n 16\n0\n 26\n0\n 36\n1\n 17\n0\n 27\n0\n 37\n0\n">(
        *w.out, cx, cy);
    emit<" 40\n%u\n 41\n1.5\n 42\n50\n 43\n0\n 44\n0\n 50\n0\n 51\n0\n 71\n0\n 72\n100\n 73\n1\n"
         " 74\n3\n 75\n0\n 76\n0\n 77\n0\n 78\n0\n  0\nENDTAB\n">(*w.out, Scaled{view, 1});
}

void line_type(Writer& w, unsigned long long handle, const char* name, const char* description) {
    entry_head(w, "LTYPE", handle, w.h.ltype_table, "AcDbLinetypeTableRecord");
    emit<"  2\n%s\n 70\n0\n  3\n%s\n 72\n65\n 73\n0\n 40\n0\n">(*w.out, name, description);
}

void write_line_types(Writer& w) {
    const std::vector<LineType>& types = w.styles.line_types;
    table_head(w, "LTYPE", w.h.ltype_table, static_cast<int>(types.size()) + 3);
    line_type(w, w.h.by_block, "ByBlock", "");
    line_type(w, w.h.by_layer, "ByLayer", "");
    line_type(w, w.h.continuous, "Continuous", "Solid line");
    for (size_t i = 0; i < types.size(); ++i) {
        const LineType& t = types[i];
        entry_head(w, "LTYPE", w.h.first_line_type + i, w.h.ltype_table, "AcDbLinetypeTableRecord");
        emit<"  2\n%s\n 70\n0\n  3\n%s\n 72\n65\n 73\n%d\n 40\n%s\n">(
            *w.out, t.name.c_str(), t.description.c_str(), static_cast<int>(t.elements.size()),
            t.length.c_str());
        for (const std::string& e : t.elements)
            emit<" 49\n%s\n 74\n0\n">(*w.out, e.c_str());
    }
    emit<"  0\nENDTAB\n">(*w.out);
}

void write_layers(Writer& w) {
    table_head(w, "LAYER", w.h.layer_table, static_cast<int>(w.styles.layer_colours.size()) + 1);
    entry_head(w, "LAYER", w.h.layer_zero, w.h.layer_table, "AcDbLayerTableRecord");
    emit<"  2\n0\n 70\n0\n 62\n7\n  6\nContinuous\n370\n-3\n">(*w.out);
    unsigned long long handle = w.h.first_layer;
    for (auto [pen, colour] : w.styles.layer_colours) {
        entry_head(w, "LAYER", handle++, w.h.layer_table, "AcDbLayerTableRecord");
        emit<"  2\nPEN%d\n 70\n0\n 62\n%d\n  6\nContinuous\n370\n%d\n">(
            *w.out, pen, colour, lineweight(w.styles.layer_widths[pen]));
    }
    emit<"  0\nENDTAB\n">(*w.out);
}

void write_other_tables(Writer& w) {
    table_head(w, "STYLE", w.h.style_table, 1);
    entry_head(w, "STYLE", w.h.style, w.h.style_table, "AcDbTextStyleTableRecord");
    emit<"  2\nStandard\n 70\n0\n 40\n0\n 41\n1\n 50\n0\n 71\n0\n 42\n0.2\n  3\ntxt\n  4\n\n"
         "  0\nENDTAB\n">(*w.out);
    table_head(w, "VIEW", w.h.view_table, 0);
    emit<"  0\nENDTAB\n">(*w.out);
    table_head(w, "UCS", w.h.ucs_table, 0);
    emit<"  0\nENDTAB\n">(*w.out);
    table_head(w, "APPID", w.h.appid_table, 1);
    entry_head(w, "APPID", w.h.appid, w.h.appid_table, "AcDbRegAppTableRecord");
    emit<"  2\nACAD\n 70\n0\n  0\nENDTAB\n">(*w.out);
    Handle a, b;
    emit<"  0\nTABLE\n  2\nDIMSTYLE\n  5\n%t\n330\n0\n100\nAcDbSymbolTable\n 70\n1\n"
         "100\nAcDbDimStyleTable\n 71\n0\n">(*w.out, hx(w.h.dimstyle_table, a));
    emit<"  0\nDIMSTYLE\n105\n%t\n330\n%t\n100\nAcDbSymbolTableRecord\n100\n"
         "AcDbDimStyleTableRecord\n  2\nStandard\n 70\n0\n  0\nENDTAB\n">(
        *w.out, hx(w.h.dimstyle, a), hx(w.h.dimstyle_table, b));
}

void block_record(Writer& w, unsigned long long handle, const char* name,
                  unsigned long long layout) {
    Handle k;
    entry_head(w, "BLOCK_RECORD", handle, w.h.block_record_table, "AcDbBlockTableRecord");
    emit<"  2\n%s\n340\n%t\n">(*w.out, name, hx(layout, k));
}

void write_blocks(Writer& w) {
    table_head(w, "BLOCK_RECORD", w.h.block_record_table, 2);
    block_record(w, w.h.model_record, "*Model_Space", w.h.model_layout);
    block_record(w, w.h.paper_record, "*Paper_Space", w.h.paper_layout);
    emit<"  0\nENDTAB\n  0\nENDSEC\n  0\nSECTION\n  2\nBLOCKS\n">(*w.out);
    const struct {
        unsigned long long begin, end, record;
        const char* name;
        const char* paper;
    } blocks[] = {{w.h.model_block, w.h.model_end, w.h.model_record, "*Model_Space", ""},
                  {w.h.paper_block, w.h.paper_end, w.h.paper_record, "*Paper_Space", " 67\n1\n"}};
    for (const auto& b : blocks) {
        Handle x, y, z;
        emit<"  0\nBLOCK\n  5\n%t\n330\n%t\n100\nAcDbEntity\n%s  8\n0\n100\nAcDbBlockBegin\n"
             "  2\n%s\n 70\n0\n 10\n0\n 20\n0\n 30\n0\n  3\n%s\n  1\n\n">(
            *w.out, hx(b.begin, x), hx(b.record, y), b.paper, b.name, b.name);
        emit<"  0\nENDBLK\n  5\n%t\n330\n%t\n100\nAcDbEntity\n%s  8\n0\n100\nAcDbBlockEnd\n">(
            *w.out, hx(b.end, z), hx(b.record, y), b.paper);
    }
    emit<"  0\nENDSEC\n">(*w.out);
}

void layout(Writer& w, unsigned long long handle, const char* name, int order,
            unsigned long long record) {
    Handle a, b, c;
    emit<"  0\nLAYOUT\n  5\n%t\n330\n%t\n100\nAcDbPlotSettings\n  1\n\n  2\nnone_device\n"
         "  4\n\n  6\n\n 40\n0\n 41\n0\n 42\n0\n 43\n0\n 44\n0\n 45\n0\n 46\n0\n 47\n0\n 48\n0\n"
         " 49\n0\n140\n0\n141\n0\n142\n1\n143\n1\n 70\n688\n 72\n0\n 73\n0\n 74\n5\n  7\n\n"
         " 75\n16\n147\n1\n 76\n0\n 77\n2\n 78\n300\n148\n0\n149\n0\n">(*w.out, hx(handle, a),
                                                                        hx(w.h.layouts, b));
    emit<"100\nAcDbLayout\n  1\n%s\n 70\n1\n 71\n%d\n 10\n0\n 20\n0\n 11\n12\n 21\n9\n 12\n0\n"
         " 22\n0\n 32\n0\n 14\n0\n 24\n0\n 34\n0\n 15\n0\n 25\n0\n 35\n0\n146\n0\n 13\n0\n 23\n0\n"
         " 33\n0\n 16\n1\n 26\n0\n 36\n0\n 17\n0\n 27\n1\n 37\n0\n 76\n0\n330\n%t\n">(
        *w.out, name, order, hx(record, c));
}

} // namespace

void write_frame_head(Writer& w) {
    write_header(w);
    emit<"  0\nSECTION\n  2\nTABLES\n">(*w.out);
    write_vport(w);
    write_line_types(w);
    write_layers(w);
    write_other_tables(w);
    write_blocks(w);
}

void write_objects(Writer& w) {
    Handle a, b, c, d;
    emit<"  0\nSECTION\n  2\nOBJECTS\n  0\nDICTIONARY\n  5\n%t\n330\n0\n100\nAcDbDictionary\n"
         "281\n1\n  3\nACAD_GROUP\n350\n%t\n  3\nACAD_LAYOUT\n350\n%t\n">(
        *w.out, hx(w.h.root, a), hx(w.h.groups, b), hx(w.h.layouts, c));
    emit<"  0\nDICTIONARY\n  5\n%t\n330\n%t\n100\nAcDbDictionary\n281\n1\n">(
        *w.out, hx(w.h.groups, a), hx(w.h.root, b));
    emit<"  0\nDICTIONARY\n  5\n%t\n330\n%t\n100\nAcDbDictionary\n281\n1\n  3\nLayout1\n350\n%t\n"
         "  3\nModel\n350\n%t\n">(*w.out, hx(w.h.layouts, a), hx(w.h.root, b),
                                  hx(w.h.paper_layout, c), hx(w.h.model_layout, d));
    layout(w, w.h.model_layout, "Model", 0, w.h.model_record);
    layout(w, w.h.paper_layout, "Layout1", 1, w.h.paper_record);
    emit<"  0\nENDSEC\n">(*w.out);
}
