// Filling a region by a fill rule with a trapezoid sweep; fill.h describes the algorithm and its
// invariant. The file runs in the order of the work: snapping the rings to the grid, the exact
// predicates, the active edge list, the pieces and the outline's stretches kept per edge, the
// crossings, the event rows, the sweep, the walk that stands in for it on a monotone ring, and
// last the joining of the outline into loops. Everything a fill works in is kept from call to
// call (see Scratch): a plot fills thousands of small regions.
#include "geometry/fill.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory_resource>
#include <set>

namespace {

using i64 = std::int64_t;
using i128 = __int128;
using u64 = std::uint64_t;
using u128 = unsigned __int128;
using real = long double;

// ---------------------------------------------------------------------------------- the grid

// The half-size of the region's bounding box is scaled to at most 2^grid_bits: coordinates fit in
// 62 bits with sign, their differences in 63, a product of two differences in 126.
constexpr int grid_bits = 61;

// Pieces and outline points are written as doubles, which cannot show turns and widths much below
// 2^-50 of the region's size: a side shorter than 2^-output_bits of the region's half-size is
// written as a point, and a corner that close to the line through its neighbours is dropped.
constexpr int output_bits = 48;

struct Grid {
    double origin_x = 0, origin_y = 0;
    int exponent = 0;    // grid x = (x - origin_x) * 2^exponent
    double scale = 0;    // 2^exponent, where a double holds it (else 0)
    real unit = 1;       // 2^-exponent
    double shortest = 0; // 2^-output_bits of the half-size
};

struct GridPoint {
    i64 x, y;
    bool operator==(const GridPoint&) const = default;
};

struct RingSpan {
    size_t begin, end;
};

void ring_spans(const Rings& region, std::vector<RingSpan>& spans) {
    spans.clear();
    size_t size = region.points.size();
    for (size_t i = 0; i < region.starts.size(); ++i) {
        size_t begin = std::min(region.starts[i], size);
        size_t end = i + 1 < region.starts.size() ? std::min(region.starts[i + 1], size) : size;
        if (end > begin) spans.push_back({begin, end});
    }
}

// False when there is nothing to fill: no points, a coordinate that is not finite, or every
// point in one place.
bool make_grid(const Rings& region, const std::vector<RingSpan>& spans, Grid& grid) {
    const double inf = std::numeric_limits<double>::infinity();
    double lo_x = inf, lo_y = inf, hi_x = -inf, hi_y = -inf;
    for (RingSpan span : spans)
        for (size_t i = span.begin; i < span.end; ++i) {
            Point p = region.points[i];
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
            lo_x = std::min(lo_x, p.x), hi_x = std::max(hi_x, p.x);
            lo_y = std::min(lo_y, p.y), hi_y = std::max(hi_y, p.y);
        }
    if (lo_x > hi_x) return false;
    // Halved before adding so that boxes near the largest doubles do not overflow.
    grid.origin_x = lo_x / 2 + hi_x / 2;
    grid.origin_y = lo_y / 2 + hi_y / 2;
    double half = std::max(hi_x / 2 - lo_x / 2, hi_y / 2 - lo_y / 2);
    if (!(half > 0)) return false;
    int half_exponent = 0;
    std::frexp(half, &half_exponent); // half < 2^half_exponent
    grid.exponent = grid_bits - half_exponent;
    // A product by a power of two is rounded once, as ldexp rounds: the same value, cheaper.
    bool normal = grid.exponent >= std::numeric_limits<double>::min_exponent - 1 &&
                  grid.exponent <= std::numeric_limits<double>::max_exponent - 1;
    grid.scale = normal ? std::ldexp(1.0, grid.exponent) : 0;
    grid.unit = std::ldexp(real(1), -grid.exponent);
    grid.shortest = std::ldexp(1.0, grid_bits - output_bits - grid.exponent);
    return true;
}

// The whole number nearest to v, halves away from zero, as llround gives it, for |v| < 2^62:
// the part after the point is exact in a double.
i64 nearest_whole(double v) {
    i64 whole = i64(v);
    double rest = v - double(whole);
    if (rest >= 0.5) return whole + 1;
    if (rest <= -0.5) return whole - 1;
    return whole;
}

double to_grid(const Grid& grid, double offset) {
    return grid.scale != 0 ? offset * grid.scale : std::ldexp(offset, grid.exponent);
}

GridPoint snap(const Grid& grid, Point p) {
    return {nearest_whole(to_grid(grid, p.x - grid.origin_x)),
            nearest_whole(to_grid(grid, p.y - grid.origin_y))};
}

double grid_to_x(const Grid& grid, real x) {
    return double(grid.origin_x + x * grid.unit);
}

double grid_to_y(const Grid& grid, real y) {
    return double(grid.origin_y + y * grid.unit);
}

bool collinear(GridPoint a, GridPoint b, GridPoint c) {
    return i128(b.x - a.x) * (c.y - a.y) == i128(b.y - a.y) * (c.x - a.x);
}

// Drops repeated points and every vertex on the line through its two neighbours, going on or
// turning back: off that line no winding number changes, and a loop left with fewer than three
// vertices encloses nothing. Leaves in `kept` the vertices kept, or none.
template <class P, class Collinear>
void drop_redundant_vertices(const std::vector<P>& ring, Collinear collinear,
                             std::vector<P>& kept) {
    kept.clear();
    for (P p : ring) {
        while (!kept.empty() && !(kept.back() == p) && kept.size() >= 2 &&
               collinear(kept[kept.size() - 2], kept.back(), p))
            kept.pop_back();
        if (kept.empty() || !(kept.back() == p)) kept.push_back(p);
    }
    size_t first = 0;
    for (bool changed = true; changed && kept.size() - first >= 3;) {
        size_t last = kept.size() - 1;
        changed = true;
        if (kept[last] == kept[first] || collinear(kept[last - 1], kept[last], kept[first]))
            kept.pop_back();
        else if (collinear(kept[last], kept[first], kept[first + 1]))
            ++first;
        else
            changed = false;
    }
    if (kept.size() - first < 3)
        kept.clear();
    else
        kept.erase(kept.begin(), kept.begin() + std::ptrdiff_t(first));
}

// --------------------------------------------------------------------------------- the edges

// A non-horizontal edge from its lower end (x0, y0) to its upper end (x1, y1).
struct Line {
    i64 x0, y0, x1, y1;
    int wind; // +1 where the ring runs downwards: counter-clockwise rings wind +1 round their
              // inside
};

struct Flat {
    i64 y, left, right;
};

// The edges, and the lists make_boundary works in, kept with them to be reused.
struct Boundary {
    std::vector<Line> lines;
    std::vector<Flat> flats;
    int rings = 0;         // rings that enclose anything
    bool monotone = false; // one ring, going up once and down once
    std::vector<RingSpan> spans;
    std::vector<GridPoint> ring, kept;
};

int sign(i128 v) {
    return (v > 0) - (v < 0);
}

// Adds a ring's edges. Returns how often the ring turns from going up to going down or back,
// between its edges that are not horizontal: twice for a ring that goes up once and down once.
int add_ring_edges(const std::vector<GridPoint>& ring, Boundary& boundary) {
    int first_wind = 0, last_wind = 0, turns = 0;
    for (size_t i = 0; i < ring.size(); ++i) {
        GridPoint a = ring[i], b = ring[i + 1 < ring.size() ? i + 1 : 0];
        if (a.y == b.y) {
            boundary.flats.push_back({a.y, std::min(a.x, b.x), std::max(a.x, b.x)});
            continue;
        }
        int wind = a.y < b.y ? -1 : +1;
        if (wind < 0)
            boundary.lines.push_back({a.x, a.y, b.x, b.y, wind});
        else
            boundary.lines.push_back({b.x, b.y, a.x, a.y, wind});
        if (first_wind == 0) first_wind = wind;
        turns += last_wind != 0 && wind != last_wind;
        last_wind = wind;
    }
    return turns + (last_wind != first_wind);
}

bool make_boundary(const Rings& region, Grid& grid, Boundary& boundary) {
    boundary.lines.clear();
    boundary.flats.clear();
    boundary.rings = 0;
    boundary.monotone = false;
    ring_spans(region, boundary.spans);
    if (!make_grid(region, boundary.spans, grid)) return false;
    std::vector<GridPoint>& ring = boundary.ring;
    for (RingSpan span : boundary.spans) {
        ring.clear();
        for (size_t i = span.begin; i < span.end; ++i)
            ring.push_back(snap(grid, region.points[i]));
        drop_redundant_vertices(
            ring, [](GridPoint a, GridPoint b, GridPoint c) { return collinear(a, b, c); },
            boundary.kept);
        if (boundary.kept.empty()) continue;
        int turns = add_ring_edges(boundary.kept, boundary);
        if (++boundary.rings == 1) boundary.monotone = turns == 2;
    }
    boundary.monotone = boundary.monotone && boundary.rings == 1;
    return !boundary.lines.empty();
}

// ------------------------------------------------------------------------ the exact predicates

// The x of an edge at row y, exactly: x0 + whole + part / (y1 - y0), with 0 <= part < y1 - y0.
struct ExactX {
    i128 whole, part;
};

ExactX exact_x(const Line& a, i64 y) {
    i128 dy = a.y1 - a.y0, p = i128(a.x1 - a.x0) * (y - a.y0);
    i128 whole = p / dy, part = p % dy;
    if (part < 0) whole -= 1, part += dy;
    return {a.x0 + whole, part};
}

// Within 2^12 grid units of a.x(y): each of the five roundings errs by at most 2^-53 of a value
// below 2^63.
double rough_x(const Line& a, i64 y) {
    return double(a.x0) + double(a.x1 - a.x0) * double(y - a.y0) / double(a.y1 - a.y0);
}

// Whether row y is one of a's ends, and its x there.
bool end_at(const Line& a, i64 y, i64& x) {
    if (y == a.y0) return x = a.x0, true;
    if (y == a.y1) return x = a.x1, true;
    return false;
}

// The sign of a.x(y) - x.
int compare_x_to(const Line& a, i64 x, i64 y) {
    if (i64 end = 0; end_at(a, y, end)) return (end > x) - (end < x);
    return sign(i128(a.x0 - x) * (a.y1 - a.y0) + i128(a.x1 - a.x0) * (y - a.y0));
}

// The sign of a.x(y) - b.x(y), for y within both edges' rows. At an edge's end its x is known
// (edges meet there, so this is common); elsewhere the rough values decide when they are far
// apart, the exact ones otherwise.
int compare_x(const Line& a, const Line& b, i64 y) {
    i64 end_a = 0, end_b = 0;
    bool at_end_a = end_at(a, y, end_a), at_end_b = end_at(b, y, end_b);
    if (at_end_a && at_end_b) return (end_a > end_b) - (end_a < end_b);
    if (at_end_a) return -compare_x_to(b, end_a, y);
    if (at_end_b) return compare_x_to(a, end_b, y);
    double rough = rough_x(a, y) - rough_x(b, y);
    if (rough > 16384) return 1;
    if (rough < -16384) return -1;
    ExactX xa = exact_x(a, y), xb = exact_x(b, y);
    if (xa.whole != xb.whole) return xa.whole < xb.whole ? -1 : 1;
    return sign(xa.part * (b.y1 - b.y0) - xb.part * (a.y1 - a.y0));
}

// The sign of a's dx/dy less b's.
int compare_slope(const Line& a, const Line& b) {
    return sign(i128(a.x1 - a.x0) * (b.y1 - b.y0) - i128(b.x1 - b.x0) * (a.y1 - a.y0));
}

// The order of the active list at row y: by x, then by slope (the order just above the row), then
// by index, so that edges running over each other keep one order.
bool before_at(const std::vector<Line>& lines, int a, int b, i64 y) {
    if (int c = compare_x(lines[a], lines[b], y)) return c < 0;
    if (int c = compare_slope(lines[a], lines[b])) return c < 0;
    return a < b;
}

real row_x(const Line& a, i64 y) {
    if (y == a.y0) return real(a.x0); // adding 0 / dy changes nothing
    i128 along = i128(a.x1 - a.x0) * (y - a.y0);
    // The same value: both conversions are exact below 2^63, and the narrower one is cheaper.
    bool narrow =
        along >= std::numeric_limits<i64>::min() && along <= std::numeric_limits<i64>::max();
    return real(a.x0) + (narrow ? real(i64(along)) : real(along)) / real(a.y1 - a.y0);
}

real line_x(const Line& a, real y) {
    return real(a.x0) + real(a.x1 - a.x0) * ((y - real(a.y0)) / real(a.y1 - a.y0));
}

// The point where two edges' lines cross, in grid units, computed along a from its lower end
// (not as x at the crossing's height, which a nearly horizontal edge would magnify); false if
// they are parallel.
bool crossing_point(const Line& a, const Line& b, real& y, real& x) {
    i64 dya = a.y1 - a.y0, dyb = b.y1 - b.y0, dxa = a.x1 - a.x0, dxb = b.x1 - b.x0;
    i128 d = i128(dxa) * dyb - i128(dxb) * dya;
    if (d == 0) return false;
    real t = real(i128(b.x0 - a.x0) * dyb + i128(dxb) * (a.y0 - b.y0)) / real(d);
    y = real(a.y0) + real(dya) * t;
    x = real(a.x0) + real(dxa) * t;
    return true;
}

// Products of a 128-bit and a 64-bit number, which the crossing height needs, in 192 bits.
struct Wide {
    u64 low, mid, high;
};

Wide multiply(u128 a, u64 b) {
    u128 low = u128(u64(a)) * b;
    u128 high = u128(u64(a >> 64)) * b + (low >> 64);
    return {u64(low), u64(high), u64(high >> 64)};
}

int compare(Wide a, Wide b) {
    if (a.high != b.high) return a.high < b.high ? -1 : 1;
    if (a.mid != b.mid) return a.mid < b.mid ? -1 : 1;
    return a.low == b.low ? 0 : a.low < b.low ? -1 : 1;
}

// Where a (left) and b (right) meet above row y, if they do below the first of their tops:
// the first row at or above the crossing, and the crossing's height.
bool crossing_above(const Line& a, const Line& b, i64 y, i64& row, real& height) {
    if (compare_slope(b, a) >= 0) return false;
    i64 dya = a.y1 - a.y0, dyb = b.y1 - b.y0, dxa = a.x1 - a.x0, dxb = b.x1 - b.x0;
    i128 d = i128(dxa) * dyb - i128(dxb) * dya; // > 0
    i128 nb = i128(b.x0 - a.x0) * dyb + i128(dxb) * (a.y0 - b.y0);
    if (nb <= 0) return false; // the crossing is at a.y0 + dya * nb / d
    Wide n = multiply(u128(nb), u64(dya));
    i64 low = std::max<i64>(y - a.y0, 0), high = std::min(a.y1, b.y1) - a.y0;
    if (compare(n, multiply(u128(d), u64(low))) <= 0) return false;
    if (compare(n, multiply(u128(d), u64(high))) >= 0) return false;
    real above_y0 = real(dya) * real(nb) / real(d);
    // The least whole step at or above the crossing, from a close estimate.
    i64 step = std::clamp(i64(std::ceil(above_y0)), low, high);
    while (compare(multiply(u128(d), u64(step)), n) < 0)
        ++step;
    while (step > low && compare(multiply(u128(d), u64(step - 1)), n) >= 0)
        --step;
    row = a.y0 + step;
    height = real(a.y0) + above_y0;
    return true;
}

// ------------------------------------------------------------------------ the active edge list

struct Row {
    const std::vector<Line>* lines;
    i64 y;
};

// A place in the list; two neighbours swap by exchanging their places' edges.
struct Slot {
    mutable int line;
};

struct AtX {
    i64 x;
};

struct ByOrderAtRow {
    using is_transparent = void;
    const Row* row;
    bool operator()(const Slot& a, const Slot& b) const {
        return before_at(*row->lines, a.line, b.line, row->y);
    }
    bool operator()(const Slot& a, AtX p) const {
        return compare_x_to((*row->lines)[a.line], p.x, row->y) < 0;
    }
    bool operator()(AtX p, const Slot& b) const {
        return compare_x_to((*row->lines)[b.line], p.x, row->y) > 0;
    }
};

// Its nodes come from a buffer kept from call to call (see SweepLists).
using ActiveList = std::pmr::set<Slot, ByOrderAtRow>;
using Handle = ActiveList::iterator;

struct LineState {
    Handle slot;
    long wind_right = 0; // the winding number of the gap to the edge's right
    bool active = false;
    bool piece_open = false; // the gap to the right holds an open trapezoid
    int piece_right = -1;
    real piece_y0 = 0, piece_left0 = 0, piece_right0 = 0;
    bool run_open = false; // a stretch of outline along this edge is open
    bool run_up = false;
    int run_station = -1;
};

struct Station {
    real x, y;
};

struct OutlineSegment {
    int from, to;
    i64 tag; // the edge or row it lies on, to join stretches of one line
};

struct Crossing {
    i64 row;
    real y;
    int left, right;
};

struct LaterCrossing {
    bool operator()(const Crossing& a, const Crossing& b) const {
        if (a.row != b.row) return a.row > b.row;
        if (a.y != b.y) return a.y > b.y;
        return a.left != b.left ? a.left > b.left : a.right > b.right;
    }
};

// The lists a sweep works in, kept from call to call: a plot fills thousands of small regions,
// and once the lists have grown those allocate nothing. Cleared for each sweep, never freed.
struct SweepLists {
    std::vector<LineState> state;
    std::vector<Crossing> crossings; // a heap by LaterCrossing: the next crossing is in front
    std::vector<Station> stations;
    std::vector<OutlineSegment> segments;
    std::vector<std::byte> nodes; // room for the active list's nodes
};

// Each edge enters the active list once, so a sweep takes at most one node per edge: a node holds
// three links and a colour besides its slot.
constexpr size_t node_bytes = 48;

void clear_lists(SweepLists& lists, size_t line_count) {
    lists.state.assign(line_count, LineState{});
    lists.crossings.clear();
    lists.stations.clear();
    lists.segments.clear();
    if (lists.nodes.size() < line_count * node_bytes) lists.nodes.resize(line_count * node_bytes);
}

struct Sweep {
    const std::vector<Line>& lines;
    const Grid& grid;
    FillRule rule;
    std::vector<Piece>* pieces; // null when only the outline is wanted
    bool want_outline;
    SweepLists& lists;
    Row row{&lines, 0};
    // Hands out the buffer's room and frees nothing; should it run out, it takes more from the
    // heap and gives that back when the sweep ends.
    std::pmr::monotonic_buffer_resource node_memory{lists.nodes.data(), lists.nodes.size()};
    ActiveList active{ByOrderAtRow{&row}, &node_memory};
    std::vector<LineState>& state = lists.state;
    std::vector<Crossing>& crossings = lists.crossings;
    real last_y = 0;
    std::vector<Station>& stations = lists.stations;
    std::vector<OutlineSegment>& segments = lists.segments;
};

void push_crossing(Sweep& s, const Crossing& c) {
    s.crossings.push_back(c);
    std::push_heap(s.crossings.begin(), s.crossings.end(), LaterCrossing{});
}

Crossing pop_crossing(Sweep& s) {
    std::pop_heap(s.crossings.begin(), s.crossings.end(), LaterCrossing{});
    Crossing c = s.crossings.back();
    s.crossings.pop_back();
    return c;
}

bool inside(const Sweep& s, long wind) {
    return s.rule == FillRule::even_odd ? (wind & 1) != 0 : wind != 0;
}

int line_at(const Sweep& s, Handle h) {
    return h == s.active.end() ? -1 : h->line;
}

int left_of(const Sweep& s, Handle h) {
    return h == s.active.begin() ? -1 : std::prev(h)->line;
}

long wind_left_of(const Sweep& s, Handle h) {
    return h == s.active.begin() ? 0 : s.state[std::prev(h)->line].wind_right;
}

// ----------------------------------------------------------------- pieces and outline stretches

// A trapezoid between rows y0 and y1 in grid units, written as a piece if it is not too thin to
// show: a triangle where one of its horizontal sides is a point, from its lower-left corner.
void write_piece(const Grid& grid, real y0_, real y1_, real l0_, real r0_, real l1_, real r1_,
                 std::vector<Piece>& out) {
    double y0 = grid_to_y(grid, y0_), y1 = grid_to_y(grid, y1_);
    double l0 = grid_to_x(grid, l0_), r0 = grid_to_x(grid, r0_);
    double l1 = grid_to_x(grid, l1_), r1 = grid_to_x(grid, r1_);
    bool bottom = r0 - l0 >= grid.shortest, top = r1 - l1 >= grid.shortest;
    if (!(y1 - y0 >= grid.shortest) || (!bottom && !top)) return;
    if (!bottom) l0 = r0 = l0 + (r0 - l0) / 2;
    if (!top) l1 = r1 = l1 + (r1 - l1) / 2;
    if (bottom && top)
        out.push_back({{{l0, y0}, {r0, y0}, {r1, y1}, {l1, y1}}, 4});
    else if (bottom)
        out.push_back({{{l0, y0}, {r0, y0}, {r1, y1}, {0, 0}}, 3});
    else
        out.push_back({{{l0, y0}, {r1, y1}, {l1, y1}, {0, 0}}, 3});
}

void open_piece(Sweep& s, int line, int right, real y, real left_x, real right_x) {
    if (!s.pieces) return;
    LineState& st = s.state[line];
    if (right_x < left_x) left_x = right_x = (left_x + right_x) / 2;
    st.piece_open = true;
    st.piece_right = right;
    st.piece_y0 = y, st.piece_left0 = left_x, st.piece_right0 = right_x;
}

void close_piece(Sweep& s, int line, real y, real left_x, real right_x) {
    LineState& st = s.state[line];
    if (!st.piece_open) return;
    st.piece_open = false;
    if (right_x < left_x) left_x = right_x = (left_x + right_x) / 2;
    write_piece(s.grid, st.piece_y0, y, st.piece_left0, st.piece_right0, left_x, right_x,
                *s.pieces);
}

// The x of two neighbours at a row, equal where they meet.
// Returns the sign of a.x(y) - b.x(y).
int pair_x(const Line& a, const Line& b, i64 y, real& left_x, real& right_x) {
    int order = compare_x(a, b, y);
    left_x = row_x(a, y);
    right_x = order == 0 ? left_x : row_x(b, y);
    return order;
}

void row_pair_x(const Sweep& s, int left, int right, i64 y, real& left_x, real& right_x) {
    pair_x(s.lines[left], s.lines[right], y, left_x, right_x);
}

// Keeps the trapezoid to the right of `line` open if it still lies between the same two edges in
// an inside gap; closes it and opens another otherwise.
void settle_piece(Sweep& s, int line, int right) {
    LineState& st = s.state[line];
    bool filled = right >= 0 && inside(s, st.wind_right);
    if (st.piece_open && st.piece_right == right && filled) return;
    i64 y = s.row.y;
    real left_x, right_x;
    if (st.piece_open) {
        row_pair_x(s, line, st.piece_right, y, left_x, right_x);
        close_piece(s, line, real(y), left_x, right_x);
    }
    if (filled) {
        row_pair_x(s, line, right, y, left_x, right_x);
        open_piece(s, line, right, real(y), left_x, right_x);
    }
}

int add_station(Sweep& s, real x, real y) {
    s.stations.push_back({x, y});
    return int(s.stations.size()) - 1;
}

void close_run(Sweep& s, int line, int station) {
    LineState& st = s.state[line];
    if (!st.run_open) return;
    st.run_open = false;
    if (st.run_up)
        s.segments.push_back({st.run_station, station, line});
    else
        s.segments.push_back({station, st.run_station, line});
}

// Opens a stretch of outline along `line` if the gaps on its two sides differ; it runs upwards
// where the inside is on its left, so that the region lies left of every stretch.
void open_run(Sweep& s, int line, int station) {
    LineState& st = s.state[line];
    bool left = inside(s, st.wind_right - s.lines[line].wind);
    bool right = inside(s, st.wind_right);
    if (left == right) return;
    st.run_open = true;
    st.run_up = left;
    st.run_station = station;
}

// ------------------------------------------------------------------------------- the crossings

// Schedules the swap of the edge at `left` with its right neighbour: now if they are out of
// order at this row, else at the first row at or above their crossing.
void check_pair(Sweep& s, Handle left) {
    Handle right = std::next(left);
    if (right == s.active.end()) return;
    int a = left->line, b = right->line;
    i64 y = s.row.y, row = y;
    real height = s.last_y;
    if (before_at(s.lines, b, a, y))
        crossing_above(s.lines[a], s.lines[b], y - 1, row, height), row = y;
    else if (!crossing_above(s.lines[a], s.lines[b], y, row, height))
        return;
    push_crossing(s, {row, height, a, b});
}

// Swaps the neighbours L (at `left`) and R at height y: the pieces about them close at the
// crossing point and open again there, and so do the outline's stretches along them.
void swap_at(Sweep& s, Handle left, real y, real x) {
    Handle right = std::next(left);
    int l = left->line, r = right->line, p = left_of(s, left), q = line_at(s, std::next(right));
    real xp = p >= 0 ? std::min(line_x(s.lines[p], y), x) : x;
    real xq = q >= 0 ? std::max(line_x(s.lines[q], y), x) : x;
    if (p >= 0) close_piece(s, p, y, xp, x);
    close_piece(s, l, y, x, x);
    close_piece(s, r, y, x, xq);
    int station = s.want_outline ? add_station(s, x, y) : -1;
    if (s.want_outline) close_run(s, l, station), close_run(s, r, station);
    left->line = r, right->line = l;
    s.state[r].slot = left, s.state[l].slot = right;
    s.state[l].wind_right = s.state[r].wind_right; // the gap right of both is unchanged
    s.state[r].wind_right = wind_left_of(s, left) + s.lines[r].wind;
    if (p >= 0 && inside(s, s.state[p].wind_right)) open_piece(s, p, r, y, xp, x);
    if (inside(s, s.state[r].wind_right)) open_piece(s, r, l, y, x, x);
    if (q >= 0 && inside(s, s.state[l].wind_right)) open_piece(s, l, q, y, x, xq);
    if (s.want_outline) open_run(s, r, station), open_run(s, l, station);
    if (p >= 0) check_pair(s, std::prev(left));
    check_pair(s, right);
}

// A crossing taken from the queue still stands if its edges are neighbours and out of order at
// its row; its height is kept between the last event's and the row's (it strays only where the
// long double heights of crossings very close together tie or misorder).
void take_crossing(Sweep& s, const Crossing& c) {
    if (!s.state[c.left].active || !s.state[c.right].active) return;
    Handle left = s.state[c.left].slot;
    if (line_at(s, std::next(left)) != c.right) return;
    if (!before_at(s.lines, c.right, c.left, c.row)) return;
    real y = c.y, x = 0;
    const Line &a = s.lines[c.left], &b = s.lines[c.right];
    bool crossing = crossing_point(a, b, y, x);
    y = std::clamp(y, std::max(s.last_y, real(c.row - 1)), real(c.row));
    if (!crossing) x = (line_x(a, y) + line_x(b, y)) / 2;
    swap_at(s, left, y, x);
    s.last_y = y;
}

// ------------------------------------------------------------------------------ the event rows

struct Interval {
    i64 left, right;
};

// The edges in an interval before the row's changes, with their winding numbers then.
struct Below {
    std::vector<int> lines;
    std::vector<long> winds;
    std::vector<size_t> offsets;
    std::vector<char> inside_before;
};

// Where an edge starts or ends: the row, the edge's x there, and the edge.
struct EdgeEnd {
    i64 row, x;
    int line;
};

struct Events {
    std::vector<EdgeEnd> starts, ends; // edges by their lower row, and by their upper row
    std::vector<int> order;
    std::vector<Flat> flats;
    size_t next_start = 0, next_end = 0, next_flat = 0;
    // Kept from row to row to spare allocations.
    std::vector<Interval> points, spans;
    Below below;
    std::vector<int> above;
};

constexpr i64 no_row = std::numeric_limits<i64>::max();

i64 next_event_row(const Events& e) {
    i64 y = no_row;
    if (e.next_start < e.starts.size()) y = std::min(y, e.starts[e.next_start].row);
    if (e.next_end < e.ends.size()) y = std::min(y, e.ends[e.next_end].row);
    if (e.next_flat < e.flats.size()) y = std::min(y, e.flats[e.next_flat].y);
    return y;
}

// The stretches of the row where something happens: the points where edges start and end and
// the horizontal edges, merged where they touch. Outside them no gap changes its winding.
void row_intervals(Events& e, size_t start_end, size_t end_end, size_t flat_end) {
    std::vector<Interval>& points = e.points;
    points.clear();
    for (size_t i = e.next_start; i < start_end; ++i)
        points.push_back({e.starts[i].x, e.starts[i].x});
    for (size_t i = e.next_end; i < end_end; ++i)
        points.push_back({e.ends[i].x, e.ends[i].x});
    for (size_t i = e.next_flat; i < flat_end; ++i)
        points.push_back({e.flats[i].left, e.flats[i].right});
    // The union below does not depend on the order of intervals with one left end.
    auto by_left = [](Interval a, Interval b) { return a.left < b.left; };
    if (points.size() == 2) {
        if (by_left(points[1], points[0])) std::swap(points[0], points[1]);
    } else {
        std::sort(points.begin(), points.end(), by_left);
    }
    std::vector<Interval>& merged = e.spans;
    merged.clear();
    for (Interval i : points) {
        if (!merged.empty() && i.left <= merged.back().right)
            merged.back().right = std::max(merged.back().right, i.right);
        else
            merged.push_back(i);
    }
}

void record_below(Sweep& s, Interval span, Below& below) {
    below.offsets.push_back(below.lines.size());
    Handle it = s.active.lower_bound(AtX{span.left});
    below.inside_before.push_back(inside(s, wind_left_of(s, it)));
    for (; it != s.active.end() && compare_x_to(s.lines[it->line], span.right, s.row.y) <= 0;
         ++it) {
        below.lines.push_back(it->line);
        below.winds.push_back(s.state[it->line].wind_right);
    }
}

void remove_line(Sweep& s, int line) {
    LineState& st = s.state[line];
    if (st.piece_open) {
        real left_x, right_x;
        row_pair_x(s, line, st.piece_right, s.row.y, left_x, right_x);
        close_piece(s, line, real(s.row.y), left_x, right_x);
    }
    s.active.erase(st.slot);
    st.active = false;
}

void insert_line(Sweep& s, int line) {
    s.state[line].slot = s.active.insert(Slot{line}).first;
    s.state[line].active = true;
}

// After the row's changes: the winding numbers and pieces of the gaps from the edge left of the
// interval to its last edge, and the crossings of the new neighbours. Puts the interval's edges
// in `above`; returns whether the gap left of them is inside.
bool settle_interval(Sweep& s, Interval span, std::vector<int>& above) {
    above.clear();
    i64 y = s.row.y;
    Handle first = s.active.lower_bound(AtX{span.left});
    Handle start = first == s.active.begin() ? first : std::prev(first);
    long wind = wind_left_of(s, start);
    Handle last = s.active.end();
    for (Handle it = start; it != s.active.end(); ++it) {
        bool in_span = it != start || start == first;
        if (in_span && compare_x_to(s.lines[it->line], span.right, y) > 0) break;
        wind += s.lines[it->line].wind;
        s.state[it->line].wind_right = wind;
        settle_piece(s, it->line, line_at(s, std::next(it)));
        if (in_span) above.push_back(it->line);
        last = it;
    }
    if (last != s.active.end())
        for (Handle it = start;; ++it) {
            check_pair(s, it);
            if (it == last) break;
        }
    return inside(s, wind_left_of(s, first));
}

int leftmost(const Sweep& s, int below, int above, i64 y) {
    if (below < 0) return above;
    if (above < 0) return below;
    return compare_x(s.lines[below], s.lines[above], y) <= 0 ? below : above;
}

// The outline along the row in one interval: at each point where edges meet the row, the
// stretches along the edges below close and those above open; between two points a stretch of
// the row is outline where inside-below and inside-above differ.
void outline_interval(Sweep& s, const Below& below, size_t index, const std::vector<int>& above,
                      bool inside_above) {
    size_t i = below.offsets[index], i_end = below.offsets[index + 1], j = 0;
    bool inside_below = below.inside_before[index];
    i64 y = s.row.y, tag = i64(s.lines.size()) + y + (i64(1) << 62);
    int previous = -1;
    while (i < i_end || j < above.size()) {
        int ref = leftmost(s, i < i_end ? below.lines[i] : -1, j < above.size() ? above[j] : -1, y);
        int station = add_station(s, row_x(s.lines[ref], y), real(y));
        if (previous >= 0 && inside_below != inside_above) {
            if (inside_above)
                s.segments.push_back({previous, station, tag});
            else
                s.segments.push_back({station, previous, tag});
        }
        for (; i < i_end && compare_x(s.lines[below.lines[i]], s.lines[ref], y) == 0; ++i) {
            close_run(s, below.lines[i], station);
            inside_below = inside(s, below.winds[i]);
        }
        for (; j < above.size() && compare_x(s.lines[above[j]], s.lines[ref], y) == 0; ++j) {
            open_run(s, above[j], station);
            inside_above = inside(s, s.state[above[j]].wind_right);
        }
        previous = station;
    }
}

void take_event_row(Sweep& s, Events& e, i64 y) {
    size_t start_end = e.next_start, end_end = e.next_end, flat_end = e.next_flat;
    while (start_end < e.starts.size() && e.starts[start_end].row == y)
        ++start_end;
    while (end_end < e.ends.size() && e.ends[end_end].row == y)
        ++end_end;
    while (flat_end < e.flats.size() && e.flats[flat_end].y == y)
        ++flat_end;
    row_intervals(e, start_end, end_end, flat_end);
    Below& below = e.below;
    if (s.want_outline) {
        below.lines.clear(), below.winds.clear(), below.offsets.clear();
        below.inside_before.clear();
        for (Interval span : e.spans)
            record_below(s, span, below);
        below.offsets.push_back(below.lines.size());
    }
    for (; e.next_end < end_end; ++e.next_end)
        remove_line(s, e.ends[e.next_end].line);
    for (; e.next_start < start_end; ++e.next_start)
        insert_line(s, e.starts[e.next_start].line);
    e.next_flat = flat_end;
    for (size_t i = 0; i < e.spans.size(); ++i) {
        bool inside_above = settle_interval(s, e.spans[i], e.above);
        if (s.want_outline) outline_interval(s, below, i, e.above, inside_above);
    }
    s.last_y = real(y);
}

// Many edges are sorted by a stable sort of their indices by row, which compares and moves less
// than sorting them by row and index, and gives the same order; its buffer is nothing beside them.
void stable_sort_by_row(const std::vector<Line>& lines, bool lower, std::vector<int>& order,
                        std::vector<EdgeEnd>& ends) {
    order.resize(lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        order[i] = int(i);
    auto row_of = [&](int i) { return lower ? lines[size_t(i)].y0 : lines[size_t(i)].y1; };
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return row_of(a) < row_of(b); });
    ends.clear();
    for (int i : order) {
        const Line& l = lines[size_t(i)];
        ends.push_back(lower ? EdgeEnd{l.y0, l.x0, i} : EdgeEnd{l.y1, l.x1, i});
    }
}

// The edges by their lower rows and by their upper rows, those on one row in the order of the
// boundary (sorted by row, then index), and the horizontal edges by their rows.
void make_events(const Boundary& boundary, Events& e) {
    const std::vector<Line>& lines = boundary.lines;
    if (lines.size() > 64) {
        stable_sort_by_row(lines, true, e.order, e.starts);
        stable_sort_by_row(lines, false, e.order, e.ends);
    } else { // a few, without the stable sort's buffer
        e.starts.clear();
        e.ends.clear();
        for (size_t i = 0; i < lines.size(); ++i) {
            e.starts.push_back({lines[i].y0, lines[i].x0, int(i)});
            e.ends.push_back({lines[i].y1, lines[i].x1, int(i)});
        }
        auto by_row = [](const EdgeEnd& a, const EdgeEnd& b) {
            return a.row != b.row ? a.row < b.row : a.line < b.line;
        };
        std::sort(e.starts.begin(), e.starts.end(), by_row);
        std::sort(e.ends.begin(), e.ends.end(), by_row);
    }
    // The order of one row's horizontal edges does not matter: they are merged into intervals.
    e.flats = boundary.flats;
    std::sort(e.flats.begin(), e.flats.end(), [](Flat a, Flat b) {
        if (a.y != b.y) return a.y < b.y;
        return a.left != b.left ? a.left < b.left : a.right < b.right;
    });
    e.next_start = e.next_end = e.next_flat = 0;
}

// Each row takes first the crossings scheduled for it, which bring the list into its order at
// the row, and then the edges starting and ending on it.
void run_sweep(Sweep& s, Events& e) {
    for (;;) {
        i64 vertex_row = next_event_row(e);
        i64 row = s.crossings.empty() ? vertex_row : std::min(vertex_row, s.crossings[0].row);
        if (row == no_row) break;
        s.row.y = row;
        while (!s.crossings.empty() && s.crossings[0].row == row)
            take_crossing(s, pop_crossing(s));
        if (vertex_row == row) take_event_row(s, e, row);
    }
}

// --------------------------------------------------------------------------- a monotone ring

// A single ring that goes up once and down once, its two chains apart, is the commonest region (a
// box, a wedge, most letters): the sweep's active list would only ever hold the two chains' edges,
// never crossing, and its pieces are the trapezoids between them from one row of vertices to the
// next. They are found here by walking up the two chains, with the very computations the sweep
// makes for those trapezoids. Where the chains meet or cross between their ends, the walk gives
// up and the sweep takes the ring.

// The edges of the two chains, each from the bottom up.
struct Chains {
    std::vector<int> left, right;
};

// A chain's edges come in the ring's order (a turn of it), going up or coming down: from the
// lowest, onwards or backwards.
void chain_from_lowest(const std::vector<Line>& lines, int wind, std::vector<int>& chain) {
    chain.clear();
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].wind == wind) chain.push_back(int(i));
    size_t lowest = 0;
    for (size_t i = 1; i < chain.size(); ++i)
        if (lines[chain[i]].y0 < lines[chain[lowest]].y0) lowest = i;
    std::rotate(chain.begin(), chain.begin() + std::ptrdiff_t(lowest), chain.end());
    if (wind > 0 && chain.size() > 1) std::reverse(chain.begin() + 1, chain.end());
}

// The order of two edges starting on one row, just above it: -1 if a is left of b, +1 if right,
// 0 if they run over each other.
int order_above_start(const Line& a, const Line& b) {
    if (a.x0 != b.x0) return a.x0 < b.x0 ? -1 : 1;
    return compare_slope(a, b);
}

// The pieces the sweep writes for a monotone ring (both rules fill its inside, which it winds
// round once): between each row of vertices and the next, the trapezoid between the chains' edges
// there, its sides found as the sweep opens and closes it. False, with nothing written, if the
// chains cross, or meet above the bottom row and below the top. (Between two rows of vertices
// the chains' edges are straight: apart at both rows, they are apart between them.)
bool fill_monotone(const Boundary& boundary, const Grid& grid, Chains& chains,
                   std::vector<Piece>& out) {
    const std::vector<Line>& lines = boundary.lines;
    chain_from_lowest(lines, +1, chains.left);
    chain_from_lowest(lines, -1, chains.right);
    if (chains.left.empty() || chains.right.empty()) return false;
    int start = order_above_start(lines[chains.left[0]], lines[chains.right[0]]);
    if (start == 0) return false;
    if (start > 0) std::swap(chains.left, chains.right);
    size_t first = out.size(), i = 0, j = 0;
    i64 bottom = lines[chains.left[0]].y0, top_row = lines[chains.left.back()].y1, y = bottom;
    while (i < chains.left.size() && j < chains.right.size()) {
        const Line &left = lines[chains.left[i]], &right = lines[chains.right[j]];
        i64 top = std::min(left.y1, right.y1);
        real l0, r0, l1, r1;
        int below = pair_x(left, right, y, l0, r0), above = pair_x(left, right, top, l1, r1);
        if ((below >= 0 && y != bottom) || above > 0 || (above == 0 && top != top_row)) {
            out.resize(first);
            return false;
        }
        if (r0 < l0) l0 = r0 = (l0 + r0) / 2;
        if (r1 < l1) l1 = r1 = (l1 + r1) / 2;
        write_piece(grid, real(y), real(top), l0, r0, l1, r1, out);
        i += left.y1 == top;
        j += right.y1 == top;
        y = top;
    }
    return true;
}

// ------------------------------------------------------------------------------------- output

// The sweep writes pieces in order of their tops; those closed at one height (by one row's edges,
// or by crossings at one height) are put from left to right. The last corner of a piece is the
// left end of its top side.
void order_along_rows(std::vector<Piece>& pieces, size_t first) {
    auto top = [](const Piece& p) { return p.corner[p.count - 1]; };
    for (size_t begin = first, end; begin < pieces.size(); begin = end) {
        for (end = begin + 1; end < pieces.size() && top(pieces[end]).y == top(pieces[begin]).y;)
            ++end;
        if (end - begin > 1)
            std::sort(pieces.begin() + begin, pieces.begin() + end,
                      [&](const Piece& a, const Piece& b) {
                          if (top(a).x != top(b).x) return top(a).x < top(b).x;
                          return a.corner[0].x < b.corner[0].x;
                      });
    }
}

struct SegmentsFrom {
    std::vector<int> begin, order, cursor;
    std::vector<char> used;
};

void index_segments(const Sweep& s, SegmentsFrom& from) {
    from.begin.assign(s.stations.size() + 1, 0);
    for (const OutlineSegment& seg : s.segments)
        ++from.begin[seg.from + 1];
    for (size_t i = 1; i < from.begin.size(); ++i)
        from.begin[i] += from.begin[i - 1];
    from.cursor.assign(from.begin.begin(), from.begin.end() - 1);
    from.order.resize(s.segments.size());
    for (size_t i = 0; i < s.segments.size(); ++i)
        from.order[from.cursor[s.segments[i].from]++] = int(i);
    from.cursor.assign(from.begin.begin(), from.begin.end() - 1);
    from.used.assign(s.segments.size(), 0);
}

// An unused stretch leaving `station`, one on the same line as the last if there is one among
// the first few (so that a line's stretches join into one side), or -1.
int next_segment(const Sweep& s, SegmentsFrom& from, int station, i64 tag) {
    int& c = from.cursor[station];
    int end = from.begin[station + 1];
    while (c < end && from.used[from.order[c]])
        ++c;
    if (c == end) return -1;
    for (int i = c, looked = 0; i < end && looked < 8; ++i) {
        if (from.used[from.order[i]]) continue;
        ++looked;
        if (s.segments[from.order[i]].tag == tag) return from.order[i];
    }
    return from.order[c];
}

// Writes a loop without its points on the line through their neighbours: within the shortest
// side written of it (or anywhere, if the neighbours coincide).
void write_loop(const Grid& grid, const std::vector<Point>& loop, std::vector<Point>& kept,
                Rings& out) {
    auto near_line = [&grid](Point a, Point b, Point c) {
        real ux = real(b.x) - a.x, uy = real(b.y) - a.y, vx = real(c.x) - a.x, vy = real(c.y) - a.y;
        return std::fabs(ux * vy - uy * vx) <= grid.shortest * std::hypot(vx, vy);
    };
    drop_redundant_vertices(loop, near_line, kept);
    if (kept.empty()) return;
    out.starts.push_back(out.points.size());
    out.points.insert(out.points.end(), kept.begin(), kept.end());
}

// Joins the outline's stretches into loops: every point where they meet has as many leaving as
// arriving, so a walk that takes any unused stretch leaving each point it reaches can only stop
// where it began.
// The lists the joining works in, kept from call to call as the sweep's are.
struct LoopLists {
    SegmentsFrom from;
    std::vector<Point> loop, kept;
};

void write_loops(const Sweep& s, const Grid& grid, LoopLists& lists, Rings& out) {
    SegmentsFrom& from = lists.from;
    index_segments(s, from);
    std::vector<Point>& loop = lists.loop;
    for (size_t first = 0; first < s.segments.size(); ++first) {
        if (from.used[first]) continue;
        loop.clear();
        i64 previous_tag = -1;
        for (int seg = int(first); seg >= 0;) {
            const OutlineSegment& g = s.segments[seg];
            from.used[seg] = 1;
            const Station& st = s.stations[g.from];
            if (g.tag != previous_tag || loop.empty())
                loop.push_back({grid_to_x(grid, st.x), grid_to_y(grid, st.y)});
            previous_tag = g.tag;
            seg = next_segment(s, from, g.to, g.tag);
        }
        // The walk ends where it began: if it arrives along the line it left by, the first
        // point lies within one side.
        if (previous_tag == s.segments[first].tag && loop.size() > 1) loop.erase(loop.begin());
        write_loop(grid, loop, lists.kept, out);
    }
}

// Everything a fill works in, kept from call to call (per thread, so that fills on two threads
// cannot meet in it).
struct Scratch {
    Boundary boundary;
    Chains chains;
    Events events;
    SweepLists sweep;
    LoopLists loops;
};

Scratch& scratch() {
    thread_local Scratch kept;
    return kept;
}

} // namespace

void fill_pieces(const Rings& region, FillRule rule, std::vector<Piece>& out) {
    Scratch& work = scratch();
    Grid grid;
    Boundary& boundary = work.boundary;
    if (!make_boundary(region, grid, boundary)) return;
    size_t first = out.size();
    out.reserve(first + boundary.lines.size()); // about as many pieces as edges, commonly
    if (boundary.monotone && fill_monotone(boundary, grid, work.chains, out)) return; // in order
    clear_lists(work.sweep, boundary.lines.size());
    Sweep s{boundary.lines, grid, rule, &out, false, work.sweep};
    make_events(boundary, work.events);
    run_sweep(s, work.events);
    order_along_rows(out, first);
}

void fill_outline(const Rings& region, FillRule rule, Rings& out) {
    Scratch& work = scratch();
    Grid grid;
    Boundary& boundary = work.boundary;
    if (!make_boundary(region, grid, boundary)) return;
    clear_lists(work.sweep, boundary.lines.size());
    Sweep s{boundary.lines, grid, rule, nullptr, true, work.sweep};
    make_events(boundary, work.events);
    run_sweep(s, work.events);
    write_loops(s, grid, work.loops, out);
}
