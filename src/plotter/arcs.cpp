// Arcs and circles, written as true ARC and CIRCLE entities.
#include <cmath>

#include "driver/diagnostics.h"
#include "driver/streams.h"
#include "dxf/writer.h"
#include "format/format.h"
#include "plotter/handlers.h"
#include "plotter/state.h"

namespace classic {

namespace {

// A sweep of exactly one full turn is a circle; any other runs counter-clockwise from the
// smaller of the start and end angles.
void write_arc(double cx, double cy, double radius, double start, double end, int sweep,
               CentreForm form) {
    double x = dxf_x(cx), y = dxf_y(cy), r = dxf_length(radius);
    if (sweep == 360 || sweep == -360)
        dxf_circle(dxf_layer(), x, y, r, form);
    else if (sweep >= 0)
        dxf_arc(dxf_layer(), x, y, r, start, end, form);
    else
        dxf_arc(dxf_layer(), x, y, r, end, start, form);
}

// Offset of the arc's end point from its centre along one axis, truncated toward zero.
int end_offset(double (*trig)(double), double end_angle, double radius) {
    return saturating_int(trig(end_angle * radians_per_degree) * radius);
}

} // namespace

void cmd_AA(int cx, int cy, int sweep) {
    PlotterState& s = plotter_state;
    emit<"AA %d %d %d\n">(log_stream, cx, cy, sweep);
    double dx = wrap_sub(s.pos_x, cx);
    double dy = wrap_sub(s.pos_y, cy);
    double radius = std::sqrt(dy * dy + dx * dx);
    double start = std::atan2(dy, dx) * degrees_per_radian;
    double end = sweep + start;
    if (drawing()) write_arc(cx, cy, radius, start, end, sweep, CentreForm::absolute_arc);
    s.pos_x = wrap_add(cx, end_offset(std::cos, end, radius));
    s.pos_y = wrap_add(cy, end_offset(std::sin, end, radius));
}

void cmd_AR(int dx, int dy, int sweep) {
    PlotterState& s = plotter_state;
    emit<"AR %d %d %d\n">(log_stream, dx, dy, sweep);
    double ddx = dx, ddy = dy;
    double radius = std::sqrt(ddx * ddx + ddy * ddy);
    // Negated as ints, so that a zero offset gives 0.0 and not -0.0.
    double start =
        std::atan2(static_cast<double>(wrap_neg(dy)), static_cast<double>(wrap_neg(dx))) *
        degrees_per_radian;
    double end = sweep + start;
    if (drawing())
        write_arc(static_cast<double>(s.pos_x) + dx, static_cast<double>(s.pos_y) + dy, radius,
                  start, end, sweep, CentreForm::standard);
    int cx = wrap_add(s.pos_x, dx), cy = wrap_add(s.pos_y, dy);
    s.pos_x = wrap_add(cx, end_offset(std::cos, end, radius));
    s.pos_y = wrap_add(cy, end_offset(std::sin, end, radius));
}

void cmd_AC(int x, int y) {
    emit<"AC %d %d\n">(log_stream, x, y);
    plotter_state.anchor_x = x;
    plotter_state.anchor_y = y;
}

void cmd_CI(int radius) {
    PlotterState& s = plotter_state;
    emit<"CI %d\n">(log_stream, radius);
    // Drawn with the pen up as well; the pen neither moves nor changes state.
    if (s.pen != 0)
        dxf_circle(dxf_layer(), dxf_x(s.pos_x), dxf_y(s.pos_y), dxf_length(radius),
                   CentreForm::standard);
}

void cmd_CT(int n) {
    emit<"CT %d\n">(log_stream, n);
}

} // namespace classic
