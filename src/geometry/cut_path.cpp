// Each segment is cut on its own (Liang-Barsky, clip.cpp); the parts that meet end to end form
// one piece, and a piece ends where the path leaves the window. A segment that meets the window
// in one point only draws nothing. For a closed path whose first point is inside, the stretch
// that ends at that point and the stretch that starts there are one piece through it; it is
// moved to the front so that the cut path starts where the whole one did.
#include "geometry/cut_path.h"

#include <vector>

namespace {

// The pieces of the path in the order they are drawn, and whether anything was cut.
bool cut_in_order(const Window& w, const Point* p, size_t n, Rings& out) {
    bool cut = false, open = false;
    for (size_t i = 0; i + 1 < n; ++i) {
        if (p[i] == p[i + 1]) continue;
        Point a, b;
        if (!clip_segment(w, p[i], p[i + 1], &a, &b)) {
            cut = true;
            open = false;
            continue;
        }
        cut = cut || !(a == p[i]) || !(b == p[i + 1]);
        if (!open || !(out.points.back() == a)) {
            out.starts.push_back(out.points.size());
            out.points.push_back(a);
        }
        out.points.push_back(b);
        open = b == p[i + 1]; // a piece cut at its end goes no further
    }
    return cut;
}

} // namespace

bool cut_path(const Window& w, const Point* p, size_t n, bool closed, Rings& pieces) {
    Rings cut;
    if (!cut_in_order(w, p, n, cut)) return false;
    size_t count = cut.starts.size();
    bool join = closed && count > 1 && inside(w, p[0]) && cut.points.front() == p[0] &&
                cut.points.back() == p[0];
    size_t first = join ? 1 : 0, last = join ? count - 1 : count;
    if (join) { // the last piece, then the first without its repeated start
        pieces.starts.push_back(pieces.points.size());
        pieces.points.insert(pieces.points.end(), cut.points.begin() + cut.starts[count - 1],
                             cut.points.end());
        pieces.points.insert(pieces.points.end(), cut.points.begin() + 1,
                             cut.points.begin() + cut.starts[1]);
    }
    for (size_t k = first; k < last; ++k) {
        size_t end = k + 1 < count ? cut.starts[k + 1] : cut.points.size();
        pieces.starts.push_back(pieces.points.size());
        pieces.points.insert(pieces.points.end(), cut.points.begin() + cut.starts[k],
                             cut.points.begin() + end);
    }
    return true;
}
