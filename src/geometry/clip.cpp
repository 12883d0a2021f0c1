// Cutting to a closed rectangle, one method per kind of path.
//
// Segments (Liang-Barsky): the segment a + t (b - a), 0 <= t <= 1, is inside each border's
// half-plane for t on one side of a bound; the part inside is [largest entering bound, smallest
// leaving bound], kept when that interval has positive length. An end that was not cut is the
// given point itself; a cut end takes the border's coordinate exactly.
//
// Arcs: the circle crosses the four border lines at the angles given by acos/asin of the
// borders' offsets from the centre. Between two neighbouring cut angles the circle stays on one
// side of every border line, so it is wholly inside or wholly outside the window there, and the
// point halfway decides which. The arc is split at the cut angles it passes and the inside pieces
// kept.
//
// Rings (Sutherland-Hodgman): the ring is cut by each border's closed half-plane in turn. Each
// excursion outside is replaced by the stretch of border between where it left and where it came
// back; the excursion and that stretch form a loop outside the half-plane, which winds round no
// point inside it, so the winding number inside the window is unchanged. A new vertex takes the
// border's coordinate exactly and its other coordinate is kept between those of the edge's ends,
// so after the four cuts every vertex lies in the window.
#include "geometry/clip.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

bool finite(Point p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// ---- segments ----

// The point at t on the segment from a along (dx, dy), cut by border k (left, right, bottom, top):
// on that border exactly, and within the window across it.
Point cut_point(const Window& w, Point a, double dx, double dy, double t, int border) {
    if (border < 2)
        return {border == 0 ? w.min_x : w.max_x, std::clamp(a.y + t * dy, w.min_y, w.max_y)};
    return {std::clamp(a.x + t * dx, w.min_x, w.max_x), border == 2 ? w.min_y : w.max_y};
}

// ---- arcs ----

constexpr double degrees_per_radian = 180.0 / std::numbers::pi;
// Cut angles closer than this are one: the circle passing through a corner crosses two border
// lines there, and the two angles may differ in their last digits.
constexpr double same_angle = 1e-9;

double normalised(double degrees) {
    double a = std::fmod(degrees, 360.0);
    if (a < 0) a += 360.0;
    return a >= 360.0 ? 0.0 : a;
}

Point on_circle(Point c, double r, double degrees) {
    double radians = degrees / degrees_per_radian;
    return {c.x + r * std::cos(radians), c.y + r * std::sin(radians)};
}

// Where the circle crosses a border line at `offset` from the centre; a line it only touches
// does not cut it.
void add_cuts(double offset, double r, bool vertical_line, std::vector<double>& cuts) {
    if (!(std::fabs(offset) < r)) return;
    if (vertical_line) {
        double a = std::acos(offset / r) * degrees_per_radian;
        cuts.push_back(normalised(a));
        cuts.push_back(normalised(-a));
    } else {
        double a = std::asin(offset / r) * degrees_per_radian;
        cuts.push_back(normalised(a));
        cuts.push_back(normalised(180.0 - a));
    }
}

std::vector<double> cut_angles(const Window& w, Point c, double r) {
    std::vector<double> cuts;
    add_cuts(w.min_x - c.x, r, true, cuts);
    add_cuts(w.max_x - c.x, r, true, cuts);
    add_cuts(w.min_y - c.y, r, false, cuts);
    add_cuts(w.max_y - c.y, r, false, cuts);
    std::sort(cuts.begin(), cuts.end());
    auto same = [](double a, double b) { return b - a <= same_angle; };
    cuts.erase(std::unique(cuts.begin(), cuts.end(), same), cuts.end());
    if (cuts.size() > 1 && same(cuts.back(), cuts.front() + 360.0)) cuts.pop_back();
    return cuts;
}

// Keeps the inside pieces; 0, 1 or 2 as clip_arc returns.
int keep_inside(const std::vector<ArcPiece>& pieces, const std::vector<bool>& in,
                std::vector<ArcPiece>& out) {
    size_t kept = static_cast<size_t>(std::count(in.begin(), in.end(), true));
    if (kept == 0) return 0;
    if (kept == pieces.size()) return 1;
    for (size_t i = 0; i < pieces.size(); ++i)
        if (in[i]) out.push_back(pieces[i]);
    return 2;
}

int clip_circle(const Window& w, Point c, double r, const std::vector<double>& cuts,
                std::vector<ArcPiece>& out) {
    if (cuts.empty()) return inside(w, on_circle(c, r, 0)) ? 1 : 0;
    std::vector<ArcPiece> pieces;
    std::vector<bool> in;
    for (size_t i = 0; i < cuts.size(); ++i) {
        double end = i + 1 < cuts.size() ? cuts[i + 1] : cuts[0] + 360.0;
        pieces.push_back({cuts[i], end - cuts[i]});
        in.push_back(inside(w, on_circle(c, r, (cuts[i] + end) / 2)));
    }
    return keep_inside(pieces, in, out);
}

int clip_open_arc(const Window& w, Point c, double r, double start, double sweep,
                  const std::vector<double>& cuts, std::vector<ArcPiece>& out) {
    double sense = sweep > 0 ? 1.0 : -1.0, length = std::fabs(sweep);
    // The cuts the arc passes: how far along it each lies, and its angle.
    std::vector<std::pair<double, double>> passed;
    for (double angle : cuts) {
        double along = normalised(sense * (angle - start));
        if (along > 0 && along < length) passed.push_back({along, angle});
    }
    std::sort(passed.begin(), passed.end());
    passed.push_back({length, 0});
    std::vector<ArcPiece> pieces;
    std::vector<bool> in;
    double from = 0, from_angle = start;
    for (auto [along, angle] : passed) {
        pieces.push_back({from_angle, sense * (along - from)});
        in.push_back(inside(w, on_circle(c, r, start + sense * (from + along) / 2)));
        from = along;
        from_angle = angle;
    }
    return keep_inside(pieces, in, out);
}

// ---- rings ----

// Border k's closed half-plane: x >= min_x, x <= max_x, y >= min_y, y <= max_y.
bool within(const Window& w, int border, Point p) {
    switch (border) {
    case 0: return p.x >= w.min_x;
    case 1: return p.x <= w.max_x;
    case 2: return p.y >= w.min_y;
    default: return p.y <= w.max_y;
    }
}

// Where the edge p-q crosses border k's line; the edge's ends lie on both sides of it, or one end
// on it. Computed from the lower end of the edge, so that two rings sharing an edge share the
// point.
Point border_crossing(const Window& w, int border, Point p, Point q) {
    bool vertical_line = border < 2;
    double line = border == 0 ? w.min_x : border == 1 ? w.max_x : border == 2 ? w.min_y : w.max_y;
    double p_across = vertical_line ? p.x : p.y, q_across = vertical_line ? q.x : q.y;
    if (p_across == line) return p;
    if (q_across == line) return q;
    if (q_across < p_across) return border_crossing(w, border, q, p);
    double t = (line - p_across) / (q_across - p_across);
    if (vertical_line)
        return {line, std::clamp(p.y + t * (q.y - p.y), std::min(p.y, q.y), std::max(p.y, q.y))};
    return {std::clamp(p.x + t * (q.x - p.x), std::min(p.x, q.x), std::max(p.x, q.x)), line};
}

void push_distinct(std::vector<Point>& ring, Point p) {
    if (ring.empty() || !(ring.back() == p)) ring.push_back(p);
}

void clip_to_border(const Window& w, int border, const std::vector<Point>& ring,
                    std::vector<Point>& out) {
    out.clear();
    for (size_t i = 0; i < ring.size(); ++i) {
        Point previous = ring[i > 0 ? i - 1 : ring.size() - 1], current = ring[i];
        bool previous_in = within(w, border, previous), current_in = within(w, border, current);
        if (previous_in != current_in)
            push_distinct(out, border_crossing(w, border, previous, current));
        if (current_in) push_distinct(out, current);
    }
    if (out.size() > 1 && out.front() == out.back()) out.pop_back();
}

} // namespace

bool inside(const Window& w, Point p) {
    return p.x >= w.min_x && p.x <= w.max_x && p.y >= w.min_y && p.y <= w.max_y;
}

bool clip_segment(const Window& w, Point a, Point b, Point* from, Point* to) {
    if (!finite(a) || !finite(b)) return false;
    double dx = b.x - a.x, dy = b.y - a.y;
    // Inside border k while bound[k] * t <= room[k].
    const double bound[4] = {-dx, dx, -dy, dy};
    const double room[4] = {a.x - w.min_x, w.max_x - a.x, a.y - w.min_y, w.max_y - a.y};
    double t_in = 0, t_out = 1;
    int entered = -1, left = -1;
    for (int k = 0; k < 4; ++k) {
        if (bound[k] == 0) {
            if (room[k] < 0) return false; // parallel to the border and beyond it
            continue;
        }
        double t = room[k] / bound[k];
        if (bound[k] < 0 && t > t_in) t_in = t, entered = k;
        if (bound[k] > 0 && t < t_out) t_out = t, left = k;
    }
    if (!(t_in < t_out)) return false;
    Point p = entered < 0 ? a : cut_point(w, a, dx, dy, t_in, entered);
    Point q = left < 0 ? b : cut_point(w, a, dx, dy, t_out, left);
    if (p == q) return false;
    *from = p;
    *to = q;
    return true;
}

int clip_arc(const Window& w, Point c, double r, double start, double sweep,
             std::vector<ArcPiece>& out) {
    if (!(r > 0) || !std::isfinite(r) || !finite(c) || !std::isfinite(start) ||
        !std::isfinite(sweep) || sweep == 0)
        return 0;
    std::vector<double> cuts = cut_angles(w, c, r);
    if (std::fabs(sweep) >= 360) return clip_circle(w, c, r, cuts, out);
    return clip_open_arc(w, c, r, start, sweep, cuts, out);
}

void clip_ring(const Window& w, const Point* ring, size_t n, Rings& out) {
    std::vector<Point> current(ring, ring + n), next;
    for (int border = 0; border < 4 && !current.empty(); ++border) {
        clip_to_border(w, border, current, next);
        current.swap(next);
    }
    if (current.size() < 3) return;
    out.starts.push_back(out.points.size());
    out.points.insert(out.points.end(), current.begin(), current.end());
}
