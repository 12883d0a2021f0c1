// What the pen leaves on the page, as DXF entities: runs of straight pen-down moves become
// polylines, a pen lowered and lifted in one place a point, and arcs, circles, closed outlines
// and texts entities of their own. Points are page points in plotter units.
#pragma once

#include <cstddef>

#include "hpgl2/device.h"

struct DrawnCounts {
    long long polylines, arcs, circles, texts, points;
    int layers;
};

void drawing_begin(int divisor);

// The pen moves while down: the move joins the current run of straight moves.
void draw_to(Point from, Point to);
// The pen is lowered where it stands: a dot, unless something is drawn from there.
void lower_pen(Point page);
// The current run ends (the pen is lifted, changes, or something else is drawn).
void end_run();
// The pen goes up or changes: the run ends, and a dot left where the pen was lowered, with
// nothing drawn from there since, becomes a point (after whatever was drawn in between).
void settle_dot();
// Something is drawn from a place of the page: a dot there is no dot.
void drawn_from(Point page);

// Entities of their own: each ends the current run first.
void draw_circle(Point centre, double radius);
// An arc from `start` degrees, sweeping `sweep` degrees (counter-clockwise when positive).
void draw_arc(Point centre, double radius, double start, double sweep);
void draw_point(Point page);

// A closed polyline given vertex by vertex, the first not repeated at the end.
void outline_begin();
void outline_vertex(Point page);
void outline_end();

// A text entity: insertion point, height and the rest in plotter units and degrees.
void draw_text(Point at, double height, double angle, double width_factor, double oblique,
               const char* text, size_t length);

// Whether a page point can be written (finite); the callers skip a command otherwise.
bool writable(Point page);

// The counts for the log's "Drawn" line.
DrawnCounts drawn_counts();

// The whole DXF document, with the extents and the layers of the pens that drew.
void drawing_finish();
