// Hatch lines: golden squares and a self-crossing star, degenerate input, and random regions
// checked against a winding count of the test's own.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "geometry/hatch.h"

namespace {

Rings ring(std::vector<Point> points) {
    return {points, {0}};
}

const Rings square = ring({{0, 0}, {1016, 0}, {1016, 1016}, {0, 1016}});

std::vector<Segment> hatch(const Rings& region, FillRule rule, double angle, double spacing,
                           Point anchor = {0, 0}) {
    std::vector<Segment> out;
    EXPECT_TRUE(hatch_lines(region, rule, anchor, angle, spacing, 1000, out));
    return out;
}

// Crossing-number winding of the rings round p (p on no edge).
long winding_at(const Rings& r, Point p) {
    long winding = 0;
    for (size_t i = 0; i < r.starts.size(); ++i) {
        size_t begin = r.starts[i],
               end = i + 1 < r.starts.size() ? r.starts[i + 1] : r.points.size();
        for (size_t j = begin; j < end; ++j) {
            Point a = r.points[j], b = r.points[j + 1 < end ? j + 1 : begin];
            double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
            if (a.y <= p.y && b.y > p.y && side > 0) ++winding;
            if (b.y <= p.y && a.y > p.y && side < 0) --winding;
        }
    }
    return winding;
}

bool inside(const Rings& r, FillRule rule, Point p) {
    long w = winding_at(r, p);
    return rule == FillRule::even_odd ? w % 2 != 0 : w != 0;
}

// In the closed region when the interior is on either side of the line (normal n) at p; with
// `both`, on both sides. The points tested are also moved a little along the line, off any edge
// that crosses it at p.
bool in_closed(const Rings& r, FillRule rule, Point p, Point n, bool both = false) {
    const double d = 1e-7, e = 0.37e-7;
    bool above = inside(r, rule, {p.x + d * n.x + e * n.y, p.y + d * n.y - e * n.x});
    bool below = inside(r, rule, {p.x - d * n.x + e * n.y, p.y - d * n.y - e * n.x});
    return both ? above && below : above || below;
}

void expect_segment(const Segment& s, Point a, Point b, double tolerance) {
    EXPECT_LE(std::hypot(s.a.x - a.x, s.a.y - a.y), tolerance) << s.a.x << " " << s.a.y;
    EXPECT_LE(std::hypot(s.b.x - b.x, s.b.y - b.y), tolerance) << s.b.x << " " << s.b.y;
}

TEST(Hatch, SquareAtFortyFiveDegrees) {
    std::vector<Segment> out = hatch(square, FillRule::even_odd, 45, 254);
    const double h = 1016 * std::numbers::sqrt2 / 2, e = 1016;
    const Point expected[5][2] = {{{h, 0}, {e, e - h}},
                                  {{h / 2, 0}, {e, e - h / 2}},
                                  {{0, 0}, {e, e}},
                                  {{0, h / 2}, {e - h / 2, e}},
                                  {{0, h}, {e - h, e}}};
    ASSERT_EQ(out.size(), 5u);
    for (int i = 0; i < 5; ++i)
        expect_segment(out[i], expected[i][0], expected[i][1], 1e-9);
}

TEST(Hatch, QuarterTurnsDrawTheLinesAlongTheBorder) {
    std::vector<Segment> across = hatch(square, FillRule::non_zero, 0, 254);
    std::vector<Segment> up = hatch(square, FillRule::even_odd, 90, 254);
    ASSERT_EQ(across.size(), 5u);
    ASSERT_EQ(up.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        double at = 254.0 * i;
        EXPECT_TRUE(across[i].a == (Point{0, at}) && across[i].b == (Point{1016, at})) << i;
        // At 90 degrees the perpendicular points to -x: the line at x = 1016 comes first.
        EXPECT_TRUE(up[i].a == (Point{1016 - at, 0}) && up[i].b == (Point{1016 - at, 1016})) << i;
    }
}

TEST(Hatch, SlantedBorderAlongALineIsDrawn) {
    // The long side lies along the 45-degree line through the anchor, though its far end turns
    // to an offset a rounding away from it.
    std::vector<Segment> out =
        hatch(ring({{0, 0}, {1016, 1016}, {0, 1016}}), FillRule::even_odd, 45, 254);
    ASSERT_EQ(out.size(), 3u);
    expect_segment(out[0], {0, 0}, {1016, 1016}, 1e-9);
    const Point anchor{3, 4}, far{anchor.x + 250 * std::sqrt(3.0), anchor.y + 250};
    out =
        hatch(ring({anchor, far, {anchor.x, anchor.y + 300}}), FillRule::non_zero, 30, 100, anchor);
    ASSERT_EQ(out.size(), 3u);
    expect_segment(out[0], anchor, far, 1e-9);
}

TEST(Hatch, TooManyLinesAppendsNothing) {
    std::vector<Segment> out{{{7, 7}, {8, 8}}};
    EXPECT_FALSE(hatch_lines(square, FillRule::even_odd, {0, 0}, 0, 254, 4, out));
    EXPECT_EQ(out.size(), 1u);
    EXPECT_TRUE(hatch_lines(square, FillRule::even_odd, {0, 0}, 0, 254, 5, out));
    EXPECT_EQ(out.size(), 6u);
}

// A five-pointed star drawn as one self-crossing ring: its middle winds twice.
const Rings star = ring({{0, 10}, {6, -8}, {-9.5, 3}, {9.5, 3}, {-6, -8}});

TEST(Hatch, StarByBothRules) {
    // Lines at y = -6, -3, 0, 3, 6 and 9; the two through the middle, which winds twice, are cut
    // in two by even-odd. On y = 0 the edges cross at +-outer and +-inner.
    std::vector<Segment> odd = hatch(star, FillRule::even_odd, 0, 3);
    std::vector<Segment> wound = hatch(star, FillRule::non_zero, 0, 3);
    ASSERT_EQ(odd.size(), 9u);
    ASSERT_EQ(wound.size(), 7u);
    const double outer = 6 - 15.5 * 8 / 11, inner = 10.0 / 3;
    expect_segment(odd[4], {outer, 0}, {-inner, 0}, 1e-12);
    expect_segment(odd[5], {inner, 0}, {-outer, 0}, 1e-12);
    expect_segment(wound[3], {outer, 0}, {-outer, 0}, 1e-12);
    // The line along the star's crossbar is drawn whole by both rules.
    expect_segment(odd[6], {-9.5, 3}, {9.5, 3}, 0);
    expect_segment(wound[4], {-9.5, 3}, {9.5, 3}, 0);
}

TEST(Hatch, DegenerateInputDrawsNothing) {
    const Rings cases[] = {{},
                           ring({{3, 3}}),
                           ring({{0, 0}, {5, 5}, {10, 10}}),
                           ring({{0, 0}, {10, 0}, {10, 0}, {0, 0}}),
                           {{{0, 0}, {1, 0}, {1, 1}}, {7}}};
    for (const Rings& r : cases)
        for (double angle : {0.0, 45.0, 90.0, 30.0})
            EXPECT_TRUE(hatch(r, FillRule::non_zero, angle, 1).empty());
    for (double spacing : {0.0, -1.0, std::nan("")})
        EXPECT_TRUE(hatch(square, FillRule::even_odd, 0, spacing).empty());
    const Rings huge = ring({{-1e15, -1e15}, {1e15, -1e15}, {1e15, 1e15}, {-1e15, 1e15}});
    std::vector<Segment> out;
    EXPECT_FALSE(hatch_lines(huge, FillRule::even_odd, {0, 0}, 30, 254, 1000, out));
    out = hatch(huge, FillRule::even_odd, 30, 1e14, {3, -7});
    EXPECT_GT(out.size(), 15u);
    for (const Segment& s : out)
        EXPECT_TRUE(std::isfinite(s.a.x + s.a.y + s.b.x + s.b.y));
}

// Random rings on a grid, so that vertices and edges often lie on the lines.
Rings random_region(std::mt19937& rng) {
    std::uniform_int_distribution<int> coordinate(0, 12), count(3, 7);
    Rings r;
    for (int ring = count(rng) % 3; ring >= 0; --ring) {
        r.starts.push_back(r.points.size());
        for (int i = count(rng); i > 0; --i)
            r.points.push_back({double(coordinate(rng)), double(coordinate(rng))});
    }
    return r;
}

// The lines' frame: along the direction d, offset along the perpendicular n.
struct Lines {
    Point anchor, d, n;
    double along(Point p) const { return (p.x - anchor.x) * d.x + (p.y - anchor.y) * d.y; }
    double offset(Point p) const { return (p.x - anchor.x) * n.x + (p.y - anchor.y) * n.y; }
};

// Each stretch on a line, in the region, in order; each gap between two on a line outside it.
void check_stretches(const Rings& r, FillRule rule, const Lines& f, double spacing, bool quarter,
                     const std::vector<Segment>& out) {
    for (size_t i = 0; i < out.size(); ++i) {
        const Segment& s = out[i];
        ASSERT_NEAR(std::remainder(f.offset(s.a), spacing), 0, 1e-7);
        ASSERT_NEAR(f.offset(s.b), f.offset(s.a), 1e-7);
        ASSERT_GT(f.along(s.b), f.along(s.a));
        // On a quarter turn both ends are exactly on the same line.
        ASSERT_TRUE(!quarter || s.a.x == s.b.x || s.a.y == s.b.y);
        // Fractions that miss the grid, where edges may cross on the line.
        for (double t = 0.0517; t < 1; t += 0.125)
            EXPECT_TRUE(in_closed(r, rule,
                                  {s.a.x + t * (s.b.x - s.a.x), s.a.y + t * (s.b.y - s.a.y)}, f.n));
        if (i == 0) continue;
        const Segment& before = out[i - 1];
        ASSERT_LE(f.offset(before.a), f.offset(s.a) + 1e-7);
        if (std::fabs(f.offset(before.a) - f.offset(s.a)) > 1e-7) continue;
        ASSERT_LT(f.along(before.b), f.along(s.a));
        EXPECT_FALSE(in_closed(r, rule, {(before.b.x + s.a.x) / 2, (before.b.y + s.a.y) / 2}, f.n));
    }
}

// No line is missed: a point of a line with the interior on both sides of it is drawn.
void check_coverage(const Rings& r, FillRule rule, const Lines& f, double spacing,
                    const std::vector<Segment>& out, std::mt19937& rng) {
    std::uniform_real_distribution<double> coordinate(0, 12);
    const double e = 1e-7;
    for (int probe = 0; probe < 40; ++probe) {
        Point p{coordinate(rng), coordinate(rng)};
        double line = std::round(f.offset(p) / spacing) * spacing, shift = line - f.offset(p);
        p = {p.x + shift * f.n.x, p.y + shift * f.n.y};
        if (!in_closed(r, rule, p, f.n, true)) continue;
        bool covered = false;
        for (const Segment& s : out)
            covered |= std::fabs(f.offset(s.a) - line) < e && f.along(s.a) - e <= f.along(p) &&
                       f.along(p) <= f.along(s.b) + e;
        EXPECT_TRUE(covered);
    }
}

TEST(Hatch, RandomRegionsMatchAWindingCount) {
    std::mt19937 rng(1016);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE(round);
        Rings r = random_region(rng);
        FillRule rule = round % 4 < 2 ? FillRule::even_odd : FillRule::non_zero;
        const double angles[] = {0, 90, 180, 270, 45, 360 * unit(rng)};
        double angle = angles[round % 6], spacing = 0.3 + 2 * unit(rng);
        Point anchor{12 * unit(rng), 12 * unit(rng)};
        // Every other region is hatched through the grid points its vertices lie on.
        if (round % 2) anchor = {double(round % 5), 0.0};
        if (round % 2) spacing = (angle == 45 ? std::numbers::sqrt2 / 2 : 1.0) * (1 + round % 3);
        std::vector<Segment> out = hatch(r, rule, angle, spacing, anchor);
        double radians = angle * std::numbers::pi / 180;
        Point d{std::cos(radians), std::sin(radians)};
        Lines f{anchor, d, {-d.y, d.x}};
        check_stretches(r, rule, f, spacing, round % 6 < 4, out);
        check_coverage(r, rule, f, spacing, out, rng);
    }
}

} // namespace
