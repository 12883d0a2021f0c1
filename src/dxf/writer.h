// Every byte of the DXF document: the frame, the layer table and the four entity records.
#pragma once

#include "format/format.h"

// Which template carries an arc or circle centre: arcs from AA write "20" without blanks.
enum class CentreForm { standard, absolute_arc };

void dxf_begin();
void dxf_layer_table();
void dxf_end();

// A line between two points given in whole plotter units, on axes that may be mirrored.
struct UnitPoint {
    int x, y;
};
void dxf_line(int layer, UnitPoint from, UnitPoint to, bool mirror_x, bool mirror_y);
void dxf_arc(int layer, double cx, double cy, double radius, double angle50, double angle51,
             CentreForm form);
void dxf_circle(int layer, double cx, double cy, double radius, CentreForm form);
// A text at a point given in plotter units.
void dxf_text(int layer, Inches x, Inches y, double height, double angle, double width_factor,
              Counted text);
