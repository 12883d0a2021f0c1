// Every byte of the DXF document: the frame, the layer table and the four entity records.
#pragma once

// Which template carries an arc or circle centre: arcs from AA write "20" without blanks.
enum class CentreForm { standard, absolute_arc };

void dxf_begin();
void dxf_layer_table();
void dxf_end();

void dxf_line(int layer, double x1, double y1, double x2, double y2);
void dxf_arc(int layer, double cx, double cy, double radius, double angle50, double angle51,
             CentreForm form);
void dxf_circle(int layer, double cx, double cy, double radius, CentreForm form);
void dxf_text(int layer, double x, double y, double height, double angle, double width_factor,
              const char* text);
