// The hatch lines of a region: the stretches of a family of parallel, evenly spaced lines that lie
// in the region, found by one sweep over the lines in order.
#pragma once

#include <cstddef>
#include <vector>

#include "geometry/point.h"
#include "geometry/rings.h"

struct Segment {
    Point a, b;
};

// The hatch lines of a region: the lines of direction `angle_degrees` (counter-clockwise from the
// x axis) through `anchor` and through every point a whole number of `spacing`s from it along the
// perpendicular (the direction turned 90 degrees counter-clockwise). Appends to `out` each stretch
// of positive length of those lines that lies in the closed region (the region the rings enclose
// by the rule, its border included): lines in order of their offset along the perpendicular,
// lowest first, and along each line in its direction.
// Returns false, appending nothing, when more than `most_lines` lines would meet the region's
// bounding box. A spacing that is not a positive number, or unusable coordinates, give no lines.
bool hatch_lines(const Rings& region, FillRule rule, Point anchor, double angle_degrees,
                 double spacing, size_t most_lines, std::vector<Segment>& out);
