// A region given by its boundary: closed rings of points, and the rule that tells which points
// the rings enclose.
#pragma once

#include <cstddef>
#include <vector>

#include "geometry/point.h"

// Ring i runs from points[starts[i]] up to the next ring's start (or the end of `points`) and
// closes back to its first point; the first point is not repeated at the end.
struct Rings {
    std::vector<Point> points;
    std::vector<size_t> starts;
};

// Even-odd: a point is inside when a ray from it crosses the rings an odd number of times.
// Non-zero: when the rings wind round it a number of times other than zero.
enum class FillRule { even_odd, non_zero };
