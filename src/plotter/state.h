// The imaginary pen plotter: its one state record and the mapping to DXF numbers.
#pragma once

#include "format/format.h"

namespace classic {

struct PlotterState {
    int pen_down = 0;
    int pen = 0; // 0: no pen selected
    double char_height = 0.0;
    double char_width = 0.0;
    double char_width_factor = 0.8;
    double label_angle = 0.0;
    int relative = 0;
    int pos_x = 0, pos_y = 0;
    int iw_x1 = 0, iw_y1 = 0, iw_x2 = 0, iw_y2 = 0;
    int anchor_x = 0, anchor_y = 0;
    double x_scale = 1.0, y_scale = 1.0; // +1.0 or -1.0
    int sc_x1 = 0, sc_x2 = 0, sc_y1 = 0, sc_y2 = 0;
};

extern PlotterState plotter_state;

constexpr double units_per_inch = 1016.0;
constexpr double degrees_per_radian = 57.29577951471995;
constexpr double radians_per_degree = 0.017453292519444445;

// Plotter units to DXF drawing units: the axis sign first, then the division.
inline double dxf_x(double u) {
    return u * plotter_state.x_scale / units_per_inch;
}
inline double dxf_y(double u) {
    return u * plotter_state.y_scale / units_per_inch;
}
inline double dxf_length(double u) {
    return u / units_per_inch;
}
inline int dxf_layer() {
    return plotter_state.pen - 1;
}

// Strokes are written only with a pen selected and the pen down.
inline bool drawing() {
    return plotter_state.pen_down != 0 && plotter_state.pen != 0;
}

void plotter_reset();

} // namespace classic
