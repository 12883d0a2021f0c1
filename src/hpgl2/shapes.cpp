// Rectangles (EA, ER, RA, RR) and wedges (EW, WG) about the pen, drawn whether the pen is up or
// down; the pen does not move. EA, ER and EW edge them, a closed outline; RA, RR and WG fill
// them by the fill type, without an edge.
#include <algorithm>
#include <cmath>

#include "drawing/model.h"
#include "hpgl2/commands.h"

namespace hpgl2 {

namespace {

// A shape of user-unit points, all checked before any is drawn: its edge, or its fill.
void shape(const Command& c, const Point* user, int n, bool filled) {
    static Rings page;
    page.points.resize(static_cast<size_t>(n));
    page.starts.assign(1, 0);
    for (int i = 0; i < n; ++i) {
        Point f = to_frame(user[i].x, user[i].y);
        if (!check_writable(c, f)) return;
        page.points[static_cast<size_t>(i)] = to_page(f);
    }
    if (filled) return fill_region(c, page, FillRule::even_odd);
    model_drawn_from(device.pen_page); // drawn from the pen's place: no dot is left there
    model_outline_begin();
    for (Point p : page.points)
        model_outline_vertex(p);
    model_outline_end();
}

void rectangle(Command& c, bool relative, bool filled) {
    if (!numbers_between(c, 2, 2)) return;
    Point a = to_user(device.pen_position);
    Point b = relative ? Point{a.x + c.numbers[0], a.y + c.numbers[1]}
                       : Point{c.numbers[0], c.numbers[1]};
    Point corners[4] = {a, {b.x, a.y}, b, {a.x, b.y}};
    shape(c, corners, 4, filled);
}

// From the pen (the centre) out to the arc's start, along the arc, and back; a whole turn is
// the circle alone.
void wedge(Command& c, bool filled) {
    if (!numbers_between(c, 3, 4)) return;
    double r = c.numbers[0], start = c.numbers[1], sweep = std::clamp(c.numbers[2], -360.0, 360.0);
    double chord = std::clamp(c.count > 3 ? std::fabs(c.numbers[3]) : 5.0, 0.5, 180.0);
    if (r < 0) { // a negative radius turns the wedge over
        r = -r;
        start += 180;
    }
    Point centre = to_user(device.pen_position);
    Point points[800];
    int n = 0;
    bool whole = std::fabs(sweep) >= 360;
    if (!whole) points[n++] = centre;
    int steps = chord_count(sweep, chord);
    for (int k = 0; k <= steps - (whole ? 1 : 0); ++k) {
        double a = start + chord_turn(sweep, chord, k, steps);
        Point d = direction_of(a);
        points[n++] = {centre.x + r * d.x, centre.y + r * d.y};
    }
    shape(c, points, n, filled);
}

} // namespace

void cmd_EA(Command& c) {
    rectangle(c, false, false);
}

void cmd_ER(Command& c) {
    rectangle(c, true, false);
}

void cmd_RA(Command& c) {
    rectangle(c, false, true);
}

void cmd_RR(Command& c) {
    rectangle(c, true, true);
}

void cmd_EW(Command& c) {
    wedge(c, false);
}

void cmd_WG(Command& c) {
    wedge(c, true);
}

} // namespace hpgl2
