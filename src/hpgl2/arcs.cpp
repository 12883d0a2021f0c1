// Arcs and circles: AA and AR (centre and sweep), AT and RT (three points), CI.
#include <algorithm>
#include <cmath>

#include "drawing/model.h"
#include "hpgl2/commands.h"

namespace hpgl2 {

namespace {

constexpr double default_chord = 5;

double chord_angle(const Command& c, int at) {
    double a = c.count > at ? std::fabs(c.numbers[at]) : default_chord;
    return std::clamp(a, 0.5, 180.0);
}

// Circles stay circles: one true ARC or CIRCLE. Otherwise (an ellipse on paper, or polygon
// mode) the stroke is a run of chords.
bool true_arcs() {
    return uniform_scaling() && !in_polygon_mode();
}

Point on_circle(Point centre, double r, double degrees) {
    Point d = direction_of(degrees);
    return {centre.x + r * d.x, centre.y + r * d.y};
}

void true_arc(Point centre, double r, double sweep) {
    if (!device.pen_down || r == 0) return;
    Point c = to_page(to_frame(centre.x, centre.y));
    Point s = device.pen_page;
    model_drawn_from(s);
    if (std::fabs(sweep) >= 360) return model_circle(c, r * scale_magnitude());
    model_arc(c, r * scale_magnitude(), atan2_degrees(s.y - c.y, s.x - c.x),
              mirrored() ? -sweep : sweep);
}

// The chords up to the arc's end point, which the caller moves to. They are a run of their own.
void chords(Point centre, double r, double start, double sweep, double chord) {
    // More than a turn is drawn as one turn and the rest: the pen ends at the same place.
    double drawn = std::fabs(sweep) > 360
                       ? std::copysign(360 + std::fmod(std::fabs(sweep), 360), sweep)
                       : sweep;
    model_end_run();
    int n = chord_count(drawn, chord);
    for (int k = 1; k < n; ++k) {
        Point p = on_circle(centre, r, start + chord_turn(drawn, chord, k, n));
        move_pen(to_frame(p.x, p.y));
    }
}

// An arc about `centre` (user units) from the pen, sweeping `sweep` degrees; the pen ends at
// its end point, `end` when the command gives it.
void arc(const Command& c, Point centre, double sweep, double chord, const Point* end) {
    Point start = to_user(device.pen_position);
    double r = std::hypot(start.x - centre.x, start.y - centre.y);
    double a0 = atan2_degrees(start.y - centre.y, start.x - centre.x);
    Point last = end ? *end : on_circle(centre, r, a0 + sweep);
    Point to = to_frame(last.x, last.y);
    if (!check_writable(c, to) || !check_writable(c, to_frame(centre.x, centre.y))) return;
    if (!std::isfinite(sweep) || sweep == 0) return;
    if (true_arcs()) {
        true_arc(centre, r, sweep);
        set_pen_position(to);
    } else {
        model_curve(true);
        chords(centre, r, a0, sweep, chord);
        move_pen(to);
        model_end_run();
        model_curve(false);
    }
    labels_pen_moved();
}

// The circle through three points, or null when they lie on one line.
bool circle_through(Point a, Point b, Point c, Point& centre) {
    double bx = b.x - a.x, by = b.y - a.y, cx = c.x - a.x, cy = c.y - a.y;
    double d = 2 * (bx * cy - by * cx);
    if (d == 0 || !std::isfinite(d)) return false;
    double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    centre = {a.x + (cy * b2 - by * c2) / d, a.y + (bx * c2 - cx * b2) / d};
    return std::isfinite(centre.x) && std::isfinite(centre.y);
}

double normal(double a) {
    a = std::fmod(a, 360.0);
    return a < 0 ? a + 360 : a;
}

// AT and RT: from the pen through `middle` to `end` (user units).
void three_point_arc(Command& c, Point middle, Point end) {
    Point start = to_user(device.pen_position);
    double chord = chord_angle(c, 4);
    Point centre;
    if (start == end && !(middle == start)) { // a whole circle, `middle` across it
        centre = {(start.x + middle.x) / 2, (start.y + middle.y) / 2};
        return arc(c, centre, 360, chord, &end);
    }
    if (!circle_through(start, middle, end, centre)) { // on one line: a straight stroke
        Point to = to_frame(end.x, end.y);
        if (check_writable(c, to)) move_pen(to);
        return labels_pen_moved();
    }
    double turn =
        (middle.x - start.x) * (end.y - middle.y) - (middle.y - start.y) * (end.x - middle.x);
    double a1 = atan2_degrees(start.y - centre.y, start.x - centre.x);
    double a3 = atan2_degrees(end.y - centre.y, end.x - centre.x);
    double sweep = turn > 0 ? normal(a3 - a1) : -normal(a1 - a3);
    arc(c, centre, sweep, chord, &end);
}

} // namespace

void cmd_AA(Command& c) {
    if (!numbers_between(c, 3, 4)) return;
    arc(c, {c.numbers[0], c.numbers[1]}, c.numbers[2], chord_angle(c, 3), nullptr);
}

void cmd_AR(Command& c) {
    if (!numbers_between(c, 3, 4)) return;
    Point at = to_user(device.pen_position);
    arc(c, {at.x + c.numbers[0], at.y + c.numbers[1]}, c.numbers[2], chord_angle(c, 3), nullptr);
}

void cmd_AT(Command& c) {
    if (!numbers_between(c, 4, 5)) return;
    three_point_arc(c, {c.numbers[0], c.numbers[1]}, {c.numbers[2], c.numbers[3]});
}

void cmd_RT(Command& c) {
    if (!numbers_between(c, 4, 5)) return;
    Point at = to_user(device.pen_position);
    three_point_arc(c, {at.x + c.numbers[0], at.y + c.numbers[1]},
                    {at.x + c.numbers[2], at.y + c.numbers[3]});
}

void cmd_CI(Command& c) {
    if (!numbers_between(c, 1, 2)) return;
    double r = c.numbers[0];
    Point centre = to_user(device.pen_position);
    Point far = to_frame(centre.x + std::fabs(r), centre.y + std::fabs(r));
    if (!check_writable(c, far)) return;
    Point page = device.pen_page;
    labels_pen_moved();
    if (r == 0) return in_polygon_mode() ? void() : model_point(page);
    if (true_arcs()) return model_circle(page, r * scale_magnitude());
    // Chords from 0 degrees (180 for a negative radius), the pen lowered for them.
    double chord = chord_angle(c, 1);
    int n = chord_count(360, chord);
    Point points[720];
    for (int k = 0; k < n; ++k) {
        Point p = on_circle(centre, std::fabs(r), (r < 0 ? 180 : 0) + chord_turn(360, chord, k, n));
        points[k] = to_frame(p.x, p.y);
    }
    if (in_polygon_mode()) return polygon_add_closed(points, n);
    model_outline_begin();
    for (int k = 0; k < n; ++k)
        model_outline_vertex(to_page(points[k]));
    model_outline_end();
}

} // namespace hpgl2
