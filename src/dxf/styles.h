// What the DXF writers make of the drawing's styles: a layer per pen with its colour, the
// colour an entity carries when it is not its layer's, and a line type per distinct pattern.
#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "drawing/model.h"
#include "format/format.h"

constexpr int by_layer = 256; // an entity colour that is not written: the layer's applies

struct LineType {
    std::string name;                  // "LT3", "LT3_2"
    std::string description;           // "HP-GL/2 line type 3, 12.322337 mm"
    std::string length;                // the pattern's length in drawing units, as written
    std::vector<std::string> elements; // as written: pen down positive, pen up negative, dot 0
};

struct DxfStyles {
    int divisor = 1016;                 // plotter units per drawing unit
    std::vector<LineType> line_types;   // in the order of first use
    std::vector<int> line_type_of;      // by pattern index: an index of line_types, or -1
    std::map<int, int> layer_colours;   // by pen: ACI, negative for a layer switched off
    std::map<int, double> layer_widths; // by pen: the first entity's width in mm
    std::map<std::tuple<int, int, int>, int> aci_cache;
};

DxfStyles dxf_styles(const DrawingSummary& drawing, int divisor);

// An entity's style as a DXF entity carries it.
struct EntityStyle {
    char layer_text[24]; // "PEN1"
    size_t layer_length;
    int colour;            // by_layer or an ACI
    const char* line_type; // a name, or null for none
    double width_mm;
    int pen;
    Counted layer() const { return {layer_text, layer_length}; }
};
EntityStyle entity_style(DxfStyles& styles, const Style& style);

// The ACI of a colour, looked up once per colour.
int aci_of(DxfStyles& styles, Rgb colour);

// The rest of a text record: the label's bytes, each run of them handed to `write`, then its
// angle, width factor and oblique angle (groups 50, 41 and 51, each when it is not the default).
void write_text_rest(OutputStream& out, const double values[6],
                     void (*write)(OutputStream&, const char*, size_t));

// A value in drawing units, as the DXF writes it.
std::string drawing_number(double plotter_units, int divisor);
