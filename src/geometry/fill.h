// Filling a region of rings by a fill rule: the region cut into convex pieces, and the outline
// of what is filled.
//
// Algorithm: a trapezoid sweep from bottom to top over the region's edges, with crossings found
// between neighbours as in Bentley-Ottmann.
//
// - The points are moved so that the centre of their bounding box is the origin, scaled by a
//   power of two that brings the box's half-size to at most 2^61, and rounded to integers. Every
//   decision of the sweep (the order of two edges at a row, whether and where two edges cross)
//   is then exact integer arithmetic in 128 bits (192 for the height of a crossing), so the
//   sweep cannot lose its order however close to degenerate the input is, and it always
//   terminates. The grid's unit is 2^-61 of the region's half-size, 2^-37 for coordinates up to
//   1e7 either side; inputs of any finite magnitude are only scaled further. Consecutive vertices
//   on one line are merged and horizontal edges are not swept (they bound scanbeams but hold no
//   winding of their own).
// - Edges are kept as the lines between their snapped ends; they are never moved. An event row
//   is an integer y: where an edge starts or ends, or the first row at or above a crossing.
//   Invariant: at every event row the active edge list is in order of x at that row, then of
//   slope (the order just above it). Two neighbours that cross below the next row are swapped
//   in order of their crossing heights, and each swap touches only the two edges and their
//   neighbours; every insertion finds its place with an O(log n) search, and a row's changes
//   are settled over the stretch of edges at its vertices and horizontal edges only.
// - Each active edge owns the gap to its right, with the winding number of that gap. While the
//   rule says "inside", the gap holds an open trapezoid, kept open as long as its two edges stay
//   neighbours; it is closed (written) where one of them ends, crosses another, or the gap's
//   neighbours change. At a crossing the pieces close and open at the crossing point itself,
//   computed in long double, so neighbouring pieces meet exactly along the edges.
// - One ring that goes up once and down once (a box, a wedge, most letters), its two chains
//   apart between its lowest and highest rows, is not swept: the active list would only ever hold
//   one edge of each chain, so fill_pieces walks up the two chains and writes the trapezoid
//   between each row of vertices and the next, computed as the sweep computes it, to the bit.
//   Where the chains meet or cross, the ring is swept.
// - The outline is the set of edge stretches with "inside" on one side only, and the stretches of
//   event rows where inside-below and inside-above differ, directed with the region on their
//   left and joined at the points where they meet (found by exact comparison).
//
// Time: O((n + k) log n) for n edges of which k pairs cross, plus the pieces written.
#pragma once

#include <vector>

#include "geometry/point.h"
#include "geometry/rings.h"

// A convex piece of a filled region: a triangle (count 3) or a convex quadrilateral (count 4),
// its corners in order going round its outline counter-clockwise.
struct Piece {
    Point corner[4];
    int count;
};

// Appends to `out` the pieces that fill the region the rings enclose by the rule: no two overlap,
// together they cover the region, at most 3(n + k) + 1 of them. Each is a trapezoid between two
// horizontal lines (or a triangle where one of its horizontal sides has shrunk to a point),
// starting at its lower-left corner. They come in the order the sweep closes them: from bottom to
// top, and from left to right along each row. A side shorter than 2^-48 of the region's half-size
// is written as a point, and a piece thinner than that is not written: doubles could not show it
// as a convex shape.
void fill_pieces(const Rings& region, FillRule rule, std::vector<Piece>& out);

// Appends to `out` closed loops made of the region's boundary which, read by the even-odd rule,
// enclose exactly what fill_pieces fills: outer boundaries counter-clockwise, holes clockwise.
// Consecutive collinear vertices are merged (a vertex within 2^-48 of the region's half-size of
// the line through its neighbours counts as on it); no loop of zero area is written.
void fill_outline(const Rings& region, FillRule rule, Rings& out);
