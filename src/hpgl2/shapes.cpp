// Rectangles (EA, ER, RA, RR) and wedges (EW, WG): closed outlines about the pen, drawn
// whether the pen is up or down; the pen does not move. Fills are drawn as their outline.
#include <algorithm>
#include <cmath>

#include "drawing/model.h"
#include "hpgl2/commands.h"

namespace {

// A closed outline of user-unit points, all checked before any is drawn.
void outline(const Command& c, const Point* user, int n) {
    static Point page[800];
    for (int i = 0; i < n; ++i) {
        Point f = to_frame(user[i].x, user[i].y);
        if (!check_writable(c, f)) return;
        page[i] = to_page(f);
    }
    model_drawn_from(device.pen_page); // drawn from the pen's place: no dot is left there
    model_outline_begin();
    for (int i = 0; i < n; ++i)
        model_outline_vertex(page[i]);
    model_outline_end();
}

void rectangle(Command& c, bool relative) {
    if (!numbers_between(c, 2, 2)) return;
    Point a = to_user(device.pen_position);
    Point b = relative ? Point{a.x + c.numbers[0], a.y + c.numbers[1]}
                       : Point{c.numbers[0], c.numbers[1]};
    Point corners[4] = {a, {b.x, a.y}, b, {a.x, b.y}};
    outline(c, corners, 4);
}

// From the pen (the centre) out to the arc's start, along the arc, and back; a whole turn is
// the circle alone.
void wedge(Command& c) {
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
    outline(c, points, n);
}

} // namespace

void cmd_EA(Command& c) {
    rectangle(c, false);
}

void cmd_ER(Command& c) {
    rectangle(c, true);
}

void cmd_RA(Command& c) {
    fill_as_outline(c);
    rectangle(c, false);
}

void cmd_RR(Command& c) {
    fill_as_outline(c);
    rectangle(c, true);
}

void cmd_EW(Command& c) {
    wedge(c);
}

void cmd_WG(Command& c) {
    fill_as_outline(c);
    wedge(c);
}
