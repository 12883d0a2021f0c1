// Bézier curves: BZ (absolute) and BR (each curve relative to its own start), flattened so
// that no point of the true curve is more than 0.01 mm from the drawn polyline.
#include <cmath>
#include <string>

#include "drawing/model.h"
#include "hpgl2/commands.h"

namespace hpgl2 {

namespace {

constexpr double tolerance = 0.4;     // plotter units: 0.01 mm
constexpr int most_segments = 100000; // however large the curve

double length(double x, double y) {
    return std::hypot(x, y);
}

// Segments for a deviation within the tolerance: with uniform steps of 1/n the deviation is
// at most 3/4 of the control polygon's largest second difference, over n squared.
int segments(const Point p[4]) {
    double d = std::fmax(length(p[0].x - 2 * p[1].x + p[2].x, p[0].y - 2 * p[1].y + p[2].y),
                         length(p[1].x - 2 * p[2].x + p[3].x, p[1].y - 2 * p[2].y + p[3].y));
    double n = std::ceil(std::sqrt(0.75 * d / tolerance));
    return n < 1 ? 1 : n > most_segments ? most_segments : static_cast<int>(n);
}

Point at(const Point p[4], double t) {
    double u = 1 - t;
    double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
    return {b0 * p[0].x + b1 * p[1].x + b2 * p[2].x + b3 * p[3].x,
            b0 * p[0].y + b1 * p[1].y + b2 * p[2].y + b3 * p[3].y};
}

// One curve from the pen, its control and end points given in user units.
void curve(const Command& c, const double* n, bool relative) {
    Point start = to_user(device.pen_position);
    double ox = relative ? start.x : 0, oy = relative ? start.y : 0;
    Point p[4] = {device.pen_position, to_frame(ox + n[0], oy + n[1]),
                  to_frame(ox + n[2], oy + n[3]), to_frame(ox + n[4], oy + n[5])};
    for (const Point& q : p)
        if (!check_writable(c, q)) return;
    int steps = segments(p);
    model_curve(true);
    for (int k = 1; k < steps; ++k)
        move_pen(at(p, static_cast<double>(k) / steps));
    move_pen(p[3]);
    model_curve(false);
}

void curves(Command& c, bool relative) {
    if (c.unusable) return skip_rest(c);
    for (;;) {
        for (int i = 0; i + 6 <= c.count; i += 6)
            curve(c, c.numbers + i, relative);
        if (!c.more) break;
        read_more(c);
        if (c.unusable) return skip_rest(c);
    }
    if (c.total % 6 == 0) return;
    std::string text = std::string(c.name) + " with " + std::to_string(c.total) +
                       " numbers: the last " + std::to_string(c.total % 6) + " dropped";
    warn(c, "group", text.c_str());
}

} // namespace

void cmd_BZ(Command& c) {
    curves(c, false);
}

void cmd_BR(Command& c) {
    curves(c, true);
}

} // namespace hpgl2
