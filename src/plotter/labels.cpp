// Labels: character size, direction, and one TEXT entity per label.
#include <cfloat>
#include <cmath>
#include <cstring>

#include "driver/streams.h"
#include "dxf/writer.h"
#include "format/format.h"
#include "plotter/handlers.h"
#include "plotter/state.h"

namespace classic {

namespace {

constexpr double cm_per_unit = 0.0025;
constexpr double default_width_factor = 0.8;

// Sizes beyond the double range stay the largest finite size, so no "inf" reaches the DXF.
double finite_size(double v) {
    if (std::isinf(v)) return v > 0 ? DBL_MAX : -DBL_MAX;
    return v;
}

} // namespace

void cmd_SI(double height, double width) {
    PlotterState& s = plotter_state;
    emit<"SI %f %f\n">(log_stream, height, width);
    // Kept unclamped so that the ratio of a height beyond the double range is still 0.
    s.char_height = height / cm_per_unit;
    s.char_width = width / cm_per_unit;
    double factor = s.char_width * 1.5 / s.char_height;
    // A zero height (SI alone) has no ratio: the width factor goes back to its default.
    s.char_width_factor = std::isfinite(factor) ? factor : default_width_factor;
}

void cmd_DI(int run, int rise) {
    emit<"DI %d %d\n">(log_stream, run, rise);
    plotter_state.label_angle =
        std::atan2(static_cast<double>(rise), static_cast<double>(run)) * degrees_per_radian;
}

void cmd_LB(char* text) {
    PlotterState& s = plotter_state;
    size_t length = strcspn(text, "\r\n"); // the label ends at its first line break
    text[length] = '\0';
    emit<"LB \"%t\"\n">(log_stream, Counted{text, length});
    if (s.pen != 0)
        dxf_text(dxf_layer(), inches_of_units(s.pos_x, s.x_scale < 0),
                 inches_of_units(s.pos_y, s.y_scale < 0), dxf_length(finite_size(s.char_height)),
                 s.label_angle, s.char_width_factor, {text, length});
}

} // namespace classic
