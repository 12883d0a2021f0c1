// Cutting segments, arcs and rings to a rectangle: the window is closed, points on its border are
// inside.
#pragma once

#include <cstddef>
#include <vector>

#include "geometry/point.h"
#include "geometry/rings.h"

struct Window {
    double min_x, min_y, max_x, max_y; // min <= max on both axes
};

bool inside(const Window& w, Point p);

// The part of the segment a-b inside the window: false when none, or only one point of it, lies
// inside. Otherwise *from and *to are the ends of the part, in a-b's direction (exactly a and b
// when those lie inside, exactly on the border where cut).
bool clip_segment(const Window& w, Point a, Point b, Point* from, Point* to);

struct ArcPiece {
    double start, sweep;
};

// The parts of an arc inside the window. The arc: centre c, radius r > 0, from `start` degrees
// sweeping `sweep` degrees (counter-clockwise when positive; a whole circle when |sweep| >= 360).
// Appends to `out` the sub-arcs of positive sweep that lie inside, each as {start, sweep} with
// sweep of the same sign as the arc's, in order along the arc from its start; for a whole circle,
// counter-clockwise pieces in order from the first cut angle at or after 0 degrees. A piece that
// begins where the circle crosses a border line starts at that angle, in [0, 360).
// Returns 0 when nothing lies inside, 1 when the whole arc lies inside (nothing appended: keep it
// as it is), 2 when it was cut (pieces appended).
int clip_arc(const Window& w, Point c, double r, double start, double sweep,
             std::vector<ArcPiece>& out);

// A ring cut to the window: the ring's winding number at every point inside the window is
// unchanged (so both fill rules give the region inside the window), and every vertex of the
// result lies in the window. Appends the cut ring to `out` as one more ring (nothing when fewer
// than 3 points remain).
void clip_ring(const Window& w, const Point* ring, size_t n, Rings& out);
