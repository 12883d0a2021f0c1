// What the two files of the AC1015 writer share: handles, the writer's place in the records and
// the frame around the entities. Nothing outside src/dxf includes this.
#pragma once

#include <vector>

#include "dxf/styles.h"

// A handle as DXF writes it: upper-case hex.
struct Handle {
    char text[20];
    size_t length;
};
Handle hex(unsigned long long h);
inline Counted text_of(const Handle& h) {
    return {h.text, h.length};
}

// The handles of the document's fixed objects, in the order they are written; the entities'
// follow, and $HANDSEED is the next one.
struct Handles {
    unsigned long long vport_table, vport, ltype_table, by_block, by_layer, continuous,
        first_line_type, layer_table, layer_zero, first_layer, style_table, style, view_table,
        ucs_table, appid_table, appid, dimstyle_table, dimstyle, block_record_table, model_record,
        paper_record, model_block, model_end, paper_block, paper_end, root, groups, layouts,
        model_layout, paper_layout, first_entity, seed;
};
Handles handles_for(size_t line_types, size_t layers, long long entities);

// The lineweight nearest to a pen's width, in hundredths of a millimetre; a tie goes to the
// larger.
int lineweight(double width_mm);

struct Writer {
    OutputStream* out = nullptr;
    const DrawingSummary* drawing = nullptr;
    DxfStyles styles;
    Handles h{};
};

// The frame: HEADER, CLASSES, TABLES and BLOCKS before the entities, OBJECTS after them.
void write_frame_head(Writer& w);
void write_objects(Writer& w);
