// The DXF document of HP-GL/2 mode: ASCII AC1009 with group codes in three columns ("  0",
// " 10"). Entities are kept until the end of the input (in memory, beyond a few megabytes in
// a temporary file), when the header's extents and the table of the layers used are known.
// Coordinates are handed over in one unit and written in another: divided by `divisor`.
#pragma once

#include <cstddef>

#include "format/format.h"

constexpr int by_layer = 256; // an entity colour that is not written: the layer's applies

struct DocumentLayer {
    const char* name;
    int colour; // ACI; negative for a layer switched off
};

// An entity's layer (its name, of known length) and colour (by_layer, or an ACI).
struct Layer {
    Counted name;
    int colour;
};

struct Extents {
    double min_x, min_y, max_x, max_y; // in the units handed over
};

void document_begin(int divisor);

// A polyline: its vertices follow, then its end, which may close it; they are on its layer.
void document_polyline(const Layer& layer);
void document_vertex(double x, double y);
void document_polyline_end(bool closed);

void document_point(const Layer& layer, double x, double y);
void document_circle(const Layer& layer, double cx, double cy, double r);
// Angles in degrees, counter-clockwise from group 50 to group 51.
void document_arc(const Layer& layer, double cx, double cy, double r, double a50, double a51);

struct TextEntity {
    double x, y, height;                 // insertion point (left baseline) and height
    double angle, width_factor, oblique; // degrees, ratio, degrees
    const char* text;                    // written as it is
    size_t length;
};
void document_text(const Layer& layer, const TextEntity& t);

// The whole document on `out`: header, tables, the entities kept, the end.
void document_write(OutputStream& out, const Extents& extents, const DocumentLayer* layers,
                    int layer_count);

// Gives back the memory and the temporary file.
void document_reset();
