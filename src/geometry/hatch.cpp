// Hatch lines of a region by a sweep over the lines in order of their offset.
//
// The plane is turned so that the hatch lines run along u and are stacked along v (the offset
// along the perpendicular); line k lies at v = k * spacing. A vertex within a relative 1e-9 of a
// line is moved onto it, so that an edge the lines run along is found to lie on one even when the
// turning rounded. The edges that meet a line and do not run along the lines are sorted by their
// lowest offset; walking the lines from the lowest, an active list gains the edges that start at
// or below the line and loses those that end below it. The work is the sort, one step per line and
// one crossing per active edge per line: the edges are never tried against every line.
//
// Invariant: when line V is drawn, the active list holds exactly the edges with
// v_lo <= V <= v_hi. Those with v_lo <= V < v_hi cross the open strip just above the line, those
// with v_lo < V <= v_hi the strip just below; sorting each set by where it meets the line and
// counting windings by the rule gives the intervals inside above and inside below, and their union
// is the part of the line in the closed region (the border with interior on either side of it
// included, a vertex merely touched left out).
#include "geometry/hatch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <utility>

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
// A vertex this close to a line, relative to its distance from the anchor, is on it.
constexpr double on_line_tolerance = 1e-9;
// Stretch ends this close, relative to the region's distance from the anchor, touch: well above
// the rounding of the turned coordinates, far below anything a plot can show.
constexpr double touching_tolerance = 1e-12;
// Beyond this the differences of coordinates could overflow; such input has no lines.
constexpr double largest_coordinate = 1e100;

// The turned plane: u along the lines' direction (c, s), v along the perpendicular (-s, c).
struct Frame {
    Point anchor;
    double c, s;
    bool quarter_turn; // c and s are exactly 0 or +-1
};

struct Turned {
    double u, v;
};

// A vertex turned and snapped, with the lines from its offset up and down to it.
struct Vertex {
    Turned at;
    double first_above, last_below;
};

// One edge that crosses the lines, stored from its lower end whichever way the ring runs, so that
// two rings sharing an edge meet each line at the very same point.
struct Edge {
    double v_lo, v_hi, u_lo, u_hi;
    Point p_lo, p_hi;
    int winding; // +1 when the ring runs towards higher offsets along it
};

struct Crossing {
    double u;
    Point at;
    int winding;
};

struct Stretch {
    double u_from, u_to;
    Point from, to;
};

// The whole numbers k of the lines k * spacing, first to last.
struct LineIndex {
    double first, last;
};

struct Prepared {
    std::vector<Edge>& edges;
    double v_min = infinity, v_max = -infinity; // offsets of the vertices, after snapping
    double box_lines = 0;                       // lines meeting the bounding box
    double size = 0;                            // largest |u| or |v| of a vertex
};

Frame frame_for(Point anchor, double angle_degrees) {
    bool in_turn = angle_degrees >= 0 && angle_degrees < 360; // fmod would return it as it is
    double turn = in_turn ? angle_degrees : std::fmod(angle_degrees, 360.0);
    if (turn < 0) turn += 360.0;
    // Quarter turns are exact: hatching at 90 degrees must not drift off a vertical border.
    if (turn == 0) return {anchor, 1, 0, true};
    if (turn == 90) return {anchor, 0, 1, true};
    if (turn == 180) return {anchor, -1, 0, true};
    if (turn == 270) return {anchor, 0, -1, true};
    // Fills come by the thousand with one or two angles (a cross hatch has two): the cosine and
    // sine of the last two turns are kept.
    struct Known {
        double turn, c, s;
    };
    thread_local Known known[2] = {{NAN, 0, 0}, {NAN, 0, 0}};
    for (const Known& k : known)
        if (k.turn == turn) return {anchor, k.c, k.s, false};
    double radians = turn * (std::numbers::pi / 180.0);
    known[1] = known[0];
    known[0] = {turn, std::cos(radians), std::sin(radians)};
    return {anchor, known[0].c, known[0].s, false};
}

Turned turned(const Frame& f, Point p) {
    double dx = p.x - f.anchor.x, dy = p.y - f.anchor.y;
    return {dx * f.c + dy * f.s, dy * f.c - dx * f.s};
}

// On a quarter turn the coordinate across the lines is set from the line itself, so that both
// ends of a stretch have it exactly.
Point on_line(const Frame& f, Point p, double line) {
    if (!f.quarter_turn) return p;
    if (f.s == 0)
        p.y = f.anchor.y + f.c * line;
    else
        p.x = f.anchor.x - f.s * line;
    return p;
}

// std::floor and std::ceil without a call into the maths library: below 2^52 the whole part is a
// 64-bit integer, above x is whole. A zero comes out as +0 where they give -0: the line numbers
// are only counted, compared, and added to, which cannot tell the two apart.
double floor_of(double x) {
    if (!(std::fabs(x) < 0x1p52)) return x;
    double whole = static_cast<double>(static_cast<std::int64_t>(x));
    return whole > x ? whole - 1 : whole;
}

double ceil_of(double x) {
    if (!(std::fabs(x) < 0x1p52)) return x;
    double whole = static_cast<double>(static_cast<std::int64_t>(x));
    return whole < x ? whole + 1 : whole;
}

// std::round (halves away from zero), to the bit.
double round_of(double x) {
    if (!(std::fabs(x) < 0x1p52)) return x;
    double whole = static_cast<double>(static_cast<std::int64_t>(x));
    double rest = x - whole; // exact
    if (rest >= 0.5) whole += 1;
    if (rest <= -0.5) whole -= 1;
    return std::copysign(whole, x);
}

// The lines within [lo, hi]. The line offsets are computed as k * spacing wherever they are used,
// and the division may round across a whole number, so the ends are checked by that product.
// Each end is found from its own offset alone: a vertex's are found once for both its edges.
double first_line_from(double lo, double lo_over_spacing, double spacing) {
    double first = ceil_of(lo_over_spacing);
    return (first - 1) * spacing >= lo ? first - 1 : first;
}

double last_line_to(double hi, double hi_over_spacing, double spacing) {
    double last = floor_of(hi_over_spacing);
    return (last + 1) * spacing <= hi ? last + 1 : last;
}

LineIndex lines_between(double lo, double hi, double spacing) {
    return {first_line_from(lo, lo / spacing, spacing), last_line_to(hi, hi / spacing, spacing)};
}

double line_count(LineIndex lines) {
    return lines.last >= lines.first ? lines.last - lines.first + 1 : 0;
}

double snapped_offset(Turned t, double spacing) {
    double line = round_of(t.v / spacing) * spacing;
    double tolerance = on_line_tolerance * std::max(std::fabs(t.u), std::fabs(t.v));
    return std::fabs(t.v - line) <= tolerance ? line : t.v;
}

double lines_meeting_box(const Frame& f, Point lo, Point hi, double spacing) {
    const Point corners[4] = {lo, {hi.x, lo.y}, hi, {lo.x, hi.y}};
    double v_lo = infinity, v_hi = -infinity, tolerance = 0;
    for (Point corner : corners) {
        Turned t = turned(f, corner);
        v_lo = std::min(v_lo, t.v);
        v_hi = std::max(v_hi, t.v);
        tolerance =
            std::max(tolerance, on_line_tolerance * std::max(std::fabs(t.u), std::fabs(t.v)));
    }
    return line_count(lines_between(v_lo - tolerance, v_hi + tolerance, spacing));
}

// Ring i's points, [first, second), kept within the points even when the starts are not.
std::pair<size_t, size_t> ring_range(const Rings& region, size_t i) {
    size_t size = region.points.size();
    size_t begin = std::min(region.starts[i], size);
    size_t end = i + 1 < region.starts.size() ? std::min(region.starts[i + 1], size) : size;
    return {begin, std::max(begin, end)};
}

// Keeps the edges that meet a line. One along the lines crosses no strip beside a line (the edges
// around it decide), and a short one between two lines meets none: a finely drawn curve has many.
void add_ring_edges(const Rings& region, const std::vector<Vertex>& turn, size_t begin, size_t end,
                    std::vector<Edge>& edges) {
    for (size_t i = begin; i < end; ++i) {
        size_t j = i + 1 < end ? i + 1 : begin;
        const Turned &a = turn[i].at, &b = turn[j].at;
        if (a.v == b.v) continue;
        const Vertex &lo = a.v < b.v ? turn[i] : turn[j], &hi = a.v < b.v ? turn[j] : turn[i];
        if (line_count({lo.first_above, hi.last_below}) == 0) continue;
        const Point &p = region.points[i], &q = region.points[j];
        if (a.v < b.v)
            edges.push_back({a.v, b.v, a.u, b.u, p, q, 1});
        else
            edges.push_back({b.v, a.v, b.u, a.u, q, p, -1});
    }
}

// Turns and snaps every vertex of the rings and collects the edges; false when a coordinate is
// not a usable number.
bool prepare(const Rings& region, const Frame& f, double spacing, std::vector<Vertex>& turn,
             Prepared& out) {
    out.edges.clear();
    // Each ring's points are set before they are read: what a longer region left is not.
    if (turn.size() < region.points.size()) turn.resize(region.points.size());
    Point lo{infinity, infinity}, hi{-infinity, -infinity};
    for (size_t ring = 0; ring < region.starts.size(); ++ring) {
        auto [begin, end] = ring_range(region, ring);
        for (size_t i = begin; i < end; ++i) {
            Point p = region.points[i];
            if (!(std::fabs(p.x) <= largest_coordinate && std::fabs(p.y) <= largest_coordinate))
                return false;
            Turned t = turned(f, p);
            out.size = std::max(out.size, std::max(std::fabs(t.u), std::fabs(t.v)));
            t.v = snapped_offset(t, spacing);
            double lines = t.v / spacing;
            turn[i] = {t, first_line_from(t.v, lines, spacing), last_line_to(t.v, lines, spacing)};
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
            out.v_min = std::min(out.v_min, t.v);
            out.v_max = std::max(out.v_max, t.v);
        }
        add_ring_edges(region, turn, begin, end, out.edges);
    }
    if (lo.x <= hi.x) out.box_lines = lines_meeting_box(f, lo, hi, spacing);
    return true;
}

Crossing crossing_at(const Edge& e, double line, const Frame& f) {
    if (line == e.v_lo) return {e.u_lo, on_line(f, e.p_lo, line), e.winding};
    if (line == e.v_hi) return {e.u_hi, on_line(f, e.p_hi, line), e.winding};
    double t = std::clamp((line - e.v_lo) / (e.v_hi - e.v_lo), 0.0, 1.0);
    Point at{e.p_lo.x + t * (e.p_hi.x - e.p_lo.x), e.p_lo.y + t * (e.p_hi.y - e.p_lo.y)};
    return {e.u_lo + t * (e.u_hi - e.u_lo), on_line(f, at, line), e.winding};
}

bool inside_by(FillRule rule, long winding) {
    return rule == FillRule::even_odd ? (winding & 1) != 0 : winding != 0;
}

// The intervals of the line inside the region on one side of it, from the crossings of the edges
// that cross that side's strip, sorted along the line.
void inside_intervals(const std::vector<Crossing>& crossings, FillRule rule,
                      std::vector<Stretch>& out) {
    out.clear();
    long winding = 0;
    for (const Crossing& x : crossings) {
        bool was_inside = inside_by(rule, winding);
        winding += x.winding;
        bool is_inside = inside_by(rule, winding);
        if (!was_inside && is_inside) out.push_back({x.u, x.u, x.at, x.at});
        if (was_inside && !is_inside) {
            out.back().u_to = x.u;
            out.back().to = x.at;
        }
    }
}

// Writes the union of two sorted lists of intervals: touching ones joined, empty ones dropped.
void write_union(const std::vector<Stretch>& a, const std::vector<Stretch>& b, double touching,
                 std::vector<Segment>& out) {
    auto write = [&](const Stretch& s) {
        if (s.u_to - s.u_from > touching) out.push_back({s.from, s.to});
    };
    size_t i = 0, j = 0;
    Stretch current{infinity, infinity, {}, {}};
    bool open = false;
    while (i < a.size() || j < b.size()) {
        bool from_a = j >= b.size() || (i < a.size() && a[i].u_from <= b[j].u_from);
        const Stretch& next = from_a ? a[i++] : b[j++];
        if (open && next.u_from <= current.u_to + touching) {
            if (next.u_to > current.u_to) {
                current.u_to = next.u_to;
                current.to = next.to;
            }
            continue;
        }
        if (open) write(current);
        current = next;
        open = true;
    }
    if (open) write(current);
}

// Joins intervals coming in order as write_union joins one list's: `run` gathers the intervals that
// touch, and is written when one comes that does not, and at the end.
struct Joining {
    double touching;
    std::vector<Segment>& out;
    Stretch run{};
    bool open = false;
};

void write_run(Joining& j) {
    if (j.open && j.run.u_to - j.run.u_from > j.touching) j.out.push_back({j.run.from, j.run.to});
}

void join(Joining& j, const Stretch& next) {
    if (j.open && next.u_from <= j.run.u_to + j.touching) {
        if (next.u_to > j.run.u_to) j.run.u_to = next.u_to, j.run.to = next.to;
        return;
    }
    write_run(j);
    j.run = next;
    j.open = true;
}

// inside_intervals and write_union of its list and none, in one pass: each interval is joined as
// it closes (the next opens after it), the last, if the winding never returns, as it stands.
void write_inside(const std::vector<Crossing>& crossings, FillRule rule, double touching,
                  std::vector<Segment>& out) {
    Joining j{touching, out};
    Stretch stretch{};
    long winding = 0;
    for (const Crossing& x : crossings) {
        bool was_inside = inside_by(rule, winding);
        winding += x.winding;
        bool is_inside = inside_by(rule, winding);
        if (!was_inside && is_inside) stretch = {x.u, x.u, x.at, x.at};
        if (was_inside && !is_inside) {
            stretch.u_to = x.u;
            stretch.to = x.at;
            join(j, stretch);
        }
    }
    if (inside_by(rule, winding)) join(j, stretch);
    write_run(j);
}

// The walk over the lines: the active edges and the scratch lists reused from line to line.
struct Sweep {
    const Frame& frame;
    FillRule rule;
    double touching;
    std::vector<const Edge*>& active;
    std::vector<Crossing>& above;
    std::vector<Crossing>& below;
    std::vector<Stretch>& inside_above;
    std::vector<Stretch>& inside_below;
};

// Everything a hatch works in, kept from call to call (per thread): a plot hatches thousands of
// small regions, and once these lists have grown those allocate nothing. Cleared, never freed.
struct Scratch {
    std::vector<Vertex> turn;
    std::vector<Edge> edges;
    std::vector<const Edge*> by_offset, active;
    std::vector<Crossing> above, below;
    std::vector<Stretch> inside_above, inside_below;
};

Scratch& scratch() {
    thread_local Scratch kept;
    return kept;
}

// std::sort, in the same order to the last tie: up to 16 items std::sort sorts by insertion, which
// keeps equal ones in order, and so does this, without the call, for the few a line commonly has.
template <class T, class Less> void sort_like_std(std::vector<T>& items, Less less) {
    if (items.size() > 16) {
        std::sort(items.begin(), items.end(), less);
        return;
    }
    for (size_t i = 1; i < items.size(); ++i) {
        T x = items[i];
        size_t j = i;
        for (; j > 0 && less(x, items[j - 1]); --j)
            items[j] = items[j - 1];
        items[j] = x;
    }
}

void sort_along(std::vector<Crossing>& crossings) {
    sort_like_std(crossings, [](const Crossing& p, const Crossing& q) { return p.u < q.u; });
}

void hatch_line(Sweep& sweep, double line, std::vector<Segment>& out) {
    sweep.above.clear();
    bool ends_on_line = false;
    for (const Edge* e : sweep.active) {
        if (line < e->v_hi) sweep.above.push_back(crossing_at(*e, line, sweep.frame));
        ends_on_line = ends_on_line || line == e->v_lo || line == e->v_hi;
    }
    sort_along(sweep.above);
    // Where no edge ends on the line, every edge crosses both strips: the side below has the
    // same crossings and intervals as the side above, and adds nothing to their union.
    if (!ends_on_line) {
        write_inside(sweep.above, sweep.rule, sweep.touching, out);
        return;
    }
    inside_intervals(sweep.above, sweep.rule, sweep.inside_above);
    sweep.below.clear();
    for (const Edge* e : sweep.active)
        if (e->v_lo < line) sweep.below.push_back(crossing_at(*e, line, sweep.frame));
    sort_along(sweep.below);
    inside_intervals(sweep.below, sweep.rule, sweep.inside_below);
    write_union(sweep.inside_above, sweep.inside_below, sweep.touching, out);
}

// The edges are sorted by their lowest offsets through pointers: std::sort puts the pointers in
// the order it would put the edges themselves in, and moves less.
void walk_lines(const std::vector<Edge>& edge_list, std::vector<const Edge*>& edges,
                LineIndex lines, double count, double spacing, Sweep& sweep,
                std::vector<Segment>& out) {
    edges.clear();
    for (const Edge& e : edge_list)
        edges.push_back(&e);
    sort_like_std(edges, [](const Edge* p, const Edge* q) { return p->v_lo < q->v_lo; });
    size_t next = 0;
    double previous = -infinity;
    size_t walked = static_cast<size_t>(std::min(count, 0x1p62));
    for (size_t i = 0; i < walked; ++i) {
        double line = (lines.first + static_cast<double>(i)) * spacing;
        // Far from the anchor whole numbers stop being exact, and lines would repeat.
        if (!(line > previous)) continue;
        previous = line;
        while (next < edges.size() && edges[next]->v_lo <= line)
            sweep.active.push_back(edges[next++]);
        std::erase_if(sweep.active, [line](const Edge* e) { return e->v_hi < line; });
        hatch_line(sweep, line, out);
    }
}

} // namespace

bool hatch_lines(const Rings& region, FillRule rule, Point anchor, double angle_degrees,
                 double spacing, size_t most_lines, std::vector<Segment>& out) {
    if (!(spacing > 0) || !std::isfinite(spacing) || !std::isfinite(angle_degrees)) return true;
    if (!(std::fabs(anchor.x) <= largest_coordinate && std::fabs(anchor.y) <= largest_coordinate))
        return true;
    Frame frame = frame_for(anchor, angle_degrees);
    Scratch& work = scratch();
    Prepared prepared{work.edges};
    if (!prepare(region, frame, spacing, work.turn, prepared)) return true;
    if (!(prepared.box_lines <= static_cast<double>(most_lines))) return false;
    if (prepared.edges.empty()) return true;
    LineIndex lines = lines_between(prepared.v_min, prepared.v_max, spacing);
    // The vertices lie in the box, so this is no more than the lines counted there; the check
    // keeps rounding from ever making the walk longer than the caller allowed.
    double count = line_count(lines);
    if (!(count <= static_cast<double>(most_lines))) return false;
    work.active.clear();
    Sweep sweep{frame,
                rule,
                touching_tolerance * prepared.size,
                work.active,
                work.above,
                work.below,
                work.inside_above,
                work.inside_below};
    walk_lines(prepared.edges, work.by_offset, lines, count, spacing, sweep, out);
    return true;
}
