// A path of straight segments cut to a window: the pieces of it that lie inside.
#pragma once

#include <cstddef>

#include "geometry/clip.h"
#include "geometry/rings.h"

// Cuts the path p[0], ..., p[n-1] (a closed path repeats its first point at the end) to the
// window. Appends to `pieces` (as polylines: a piece runs from its start to the next start) the
// stretches that lie inside, each of at least two points, in the path's order; where a closed
// path's first point lies inside, the piece through it (the last stretch joined to the first)
// comes first. Returns false, appending nothing, when the path lies wholly inside.
bool cut_path(const Window& w, const Point* p, size_t n, bool closed, Rings& pieces);
