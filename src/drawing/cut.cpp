// The drawing under a window: a run is held whole while it is drawn and cut when it ends (its
// pieces are open polylines, the one through a closed run's first point first), an arc or
// circle is cut into the arcs inside, a region into its part inside.
#include "drawing/state.h"
#include "geometry/cut_path.h"

namespace {

// Beyond this many points a run is cut and written as it stands, and goes on as a new run: the
// memory held stays bounded whatever the run.
constexpr size_t most_held = 1 << 18;

void write_path(const std::vector<Point>& p, bool closed) {
    Rings& pieces = model.cut.pieces;
    pieces.points.clear();
    pieces.starts.clear();
    if (!cut_path(model.cut.window, p.data(), p.size(), closed, pieces))
        return write_polyline(p.data(), closed ? p.size() - 1 : p.size(), closed);
    for (size_t k = 0; k < pieces.starts.size(); ++k) {
        size_t end = k + 1 < pieces.starts.size() ? pieces.starts[k + 1] : pieces.points.size();
        write_polyline(pieces.points.data() + pieces.starts[k], end - pieces.starts[k], false);
    }
}

} // namespace

void cut_run_end() {
    Cutting& cut = model.cut;
    std::vector<Point>& p = cut.path;
    if (cut.outline && !p.empty()) p.push_back(p.front()); // an edge is closed
    if (p.size() >= 2) write_path(p, cut.outline || cut.shape.closed());
    p.clear();
    cut.outline = false;
}

void cut_stroke(Point from, Point to) {
    std::vector<Point>& p = model.cut.path;
    if (!p.empty() && !(p.back() == from)) cut_run_end();
    if (p.empty()) {
        p.push_back(from);
        model.cut.shape.start(from);
    }
    p.push_back(to);
    model.cut.shape.add(to);
    if (p.size() < most_held) return;
    cut_run_end();
    p.push_back(to);
    model.cut.shape.start(to);
}

void cut_arc(Point centre, double radius, double start, double sweep) {
    std::vector<ArcPiece>& arcs = model.cut.arcs;
    arcs.clear();
    bool whole = std::fabs(sweep) >= 360;
    int kept = clip_arc(model.cut.window, centre, radius, start, sweep, arcs);
    if (kept == 1)
        return whole ? write_circle(centre, radius) : write_arc(centre, radius, start, sweep);
    for (const ArcPiece& a : arcs)
        write_arc(centre, radius, a.start, a.sweep);
}

const Rings& cut_region(const Rings& region) {
    Rings& pieces = model.cut.pieces;
    pieces.points.clear();
    pieces.starts.clear();
    for (size_t r = 0; r < region.starts.size(); ++r) {
        size_t end = r + 1 < region.starts.size() ? region.starts[r + 1] : region.points.size();
        clip_ring(model.cut.window, region.points.data() + region.starts[r], end - region.starts[r],
                  pieces);
    }
    return pieces;
}
