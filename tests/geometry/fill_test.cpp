// Filling a region by a rule: golden cases, properties on random regions, degenerate input. The
// reference is a slab integral of our own: between the heights of vertices and crossings no edges
// cross, so the length inside on a slab's middle line times its height is the area it holds.
#include "geometry/fill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

using Ring = std::vector<Point>;

struct Segment {
    Point a, b;
};

Rings make_rings(const std::vector<Ring>& rings) {
    Rings r;
    for (const Ring& ring : rings) {
        r.starts.push_back(r.points.size());
        r.points.insert(r.points.end(), ring.begin(), ring.end());
    }
    return r;
}

Rings pieces_as_rings(const std::vector<Piece>& pieces) {
    std::vector<Ring> rings;
    for (const Piece& p : pieces)
        rings.emplace_back(p.corner, p.corner + std::clamp(p.count, 0, 4));
    return make_rings(rings);
}

std::vector<Ring> rings_of(const Rings& r) {
    std::vector<Ring> out;
    for (size_t i = 0; i < r.starts.size(); ++i) {
        size_t end = i + 1 < r.starts.size() ? r.starts[i + 1] : r.points.size();
        out.emplace_back(r.points.begin() + r.starts[i], r.points.begin() + end);
    }
    return out;
}

std::vector<Segment> segments_of(const Rings& r) {
    std::vector<Segment> out;
    for (const Ring& ring : rings_of(r))
        for (size_t j = 0; j < ring.size(); ++j)
            out.push_back({ring[j], ring[(j + 1) % ring.size()]});
    return out;
}

double cross(Point o, Point a, Point b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// The heights where two edges cross inside both.
std::vector<double> crossing_heights(const std::vector<Segment>& e) {
    std::vector<double> ys;
    for (size_t i = 0; i < e.size(); ++i)
        for (size_t j = i + 1; j < e.size(); ++j) {
            Point s{e[i].b.x - e[i].a.x, e[i].b.y - e[i].a.y},
                t{e[j].b.x - e[j].a.x, e[j].b.y - e[j].a.y};
            Point q{e[j].a.x - e[i].a.x, e[j].a.y - e[i].a.y};
            double d = cross({0, 0}, s, t), u = cross({0, 0}, q, t) / d,
                   v = cross({0, 0}, q, s) / d;
            if (d != 0 && u > 0 && u < 1 && v > 0 && v < 1) ys.push_back(e[i].a.y + u * s.y);
        }
    return ys;
}

// How a set of rings is read: by a rule (as FillRule, in its order), or as the number of pieces
// over a point.
enum class Read { even_odd, non_zero, count };

int value(Read read, int wind) {
    return read == Read::count ? wind : read == Read::even_odd ? (wind & 1) : wind != 0;
}

// The integral over the plane of |a - b|, the rings `a` read by `ra` and `b` by `rb`; the
// crossings of b's edges are not sought (pieces and outlines have none).
double mismatch(const Rings& a, Read ra, const Rings& b, Read rb) {
    std::vector<Segment> ea = segments_of(a), eb = segments_of(b);
    std::vector<double> ys = crossing_heights(ea);
    for (const auto* edges : {&ea, &eb})
        for (const Segment& s : *edges)
            ys.push_back(s.a.y);
    std::sort(ys.begin(), ys.end());
    double total = 0;
    std::vector<std::pair<double, int>> hits; // x, and ±1 for a's edges or ±2 for b's
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        double mid = (ys[i] + ys[i + 1]) / 2, height = ys[i + 1] - ys[i];
        hits.clear();
        for (int set : {1, 2})
            for (const Segment& s : set == 1 ? ea : eb)
                if ((s.a.y < mid) != (s.b.y < mid))
                    hits.push_back({s.a.x + (mid - s.a.y) * (s.b.x - s.a.x) / (s.b.y - s.a.y),
                                    s.a.y > s.b.y ? set : -set});
        std::sort(hits.begin(), hits.end());
        int wa = 0, wb = 0;
        for (size_t h = 0; h < hits.size(); ++h) {
            if (h > 0)
                total += height * (hits[h].first - hits[h - 1].first) *
                         std::abs(value(ra, wa) - value(rb, wb));
            (std::abs(hits[h].second) == 1 ? wa : wb) += hits[h].second > 0 ? 1 : -1;
        }
    }
    return total;
}

double total_area(const std::vector<Piece>& pieces) {
    double sum = 0;
    for (const Piece& p : pieces)
        for (int i = 0; i < p.count; ++i)
            sum += cross({0, 0}, p.corner[i], p.corner[(i + 1) % p.count]) / 2;
    return sum;
}

// Rings of three corners or more, at most `most`, each corner turning (left only, if asked):
// which no NaN does.
void expect_corners_turn(const Rings& rings, size_t most, bool left_only) {
    for (const Ring& r : rings_of(rings)) {
        EXPECT_TRUE(r.size() >= 3 && r.size() <= most);
        for (size_t j = 0; j < r.size(); ++j) {
            double turn = cross(r[j], r[(j + 1) % r.size()], r[(j + 2) % r.size()]);
            EXPECT_TRUE(left_only ? turn > 0 : turn != 0);
        }
    }
}

// Every promise on one region and rule, the bound on the count where no edges merely touch.
std::vector<Piece> check_fill(const Rings& region, FillRule rule, bool general = true) {
    std::vector<Piece> pieces;
    fill_pieces(region, rule, pieces);
    auto top_left = [](const Piece& p) {
        return std::make_pair(p.corner[p.count - 1].y, p.corner[p.count - 1].x);
    };
    for (size_t i = 1; i < pieces.size(); ++i) // bottom to top, and left to right on a row
        EXPECT_LE(top_left(pieces[i - 1]), top_left(pieces[i]));
    expect_corners_turn(pieces_as_rings(pieces), 4, true);
    double expected = mismatch(region, Read(rule), Rings{}, Read::count);
    double extent = 0; // the oracle's own rounding sets a floor
    for (Point q : region.points)
        extent = std::max({extent, std::abs(q.x), std::abs(q.y)});
    double tolerance = 1e-9 * expected + 1e-13 * extent * extent;
    EXPECT_NEAR(total_area(pieces), expected, tolerance);
    EXPECT_LE(mismatch(region, Read(rule), pieces_as_rings(pieces), Read::count), tolerance);
    std::vector<Segment> edges = segments_of(region);
    if (general) {
        EXPECT_LE(pieces.size(), 3 * (edges.size() + crossing_heights(edges).size()) + 1);
    }
    Rings outline;
    fill_outline(region, rule, outline);
    EXPECT_LE(mismatch(region, Read(rule), outline, Read::even_odd), tolerance);
    expect_corners_turn(outline, SIZE_MAX, false);
    return pieces;
}

Ring random_ring(std::mt19937& rng, int n, double size) {
    std::uniform_real_distribution<double> coordinate(-size, size);
    Ring ring;
    for (int i = 0; i < n; ++i)
        ring.push_back({coordinate(rng), coordinate(rng)});
    return ring;
}

Ring square(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

TEST(Fill, UnitSquareIsOneQuadrilateralFromTheLowerLeft) {
    std::vector<Piece> pieces = check_fill(make_rings({square(0, 0, 1, 1)}), FillRule::non_zero);
    ASSERT_EQ(pieces.size(), 1u);
    ASSERT_EQ(pieces[0].count, 4);
    const Point expected[] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    EXPECT_TRUE(std::equal(expected, expected + 4, pieces[0].corner));
}

TEST(Fill, StarLeavesItsPentagonEmptyOnlyByEvenOdd) {
    Ring star;
    for (int i = 0; i < 5; ++i)
        star.push_back({std::cos(M_PI / 2 + i * 0.8 * M_PI), std::sin(M_PI / 2 + i * 0.8 * M_PI)});
    Rings region = make_rings({star});
    std::vector<Piece> even_odd = check_fill(region, FillRule::even_odd);
    std::vector<Piece> non_zero = check_fill(region, FillRule::non_zero);
    // Even-odd fills the five tips, non-zero the pentagon between them as well.
    double inner = std::cos(0.4 * M_PI) / std::cos(0.2 * M_PI); // the pentagon's corner radius
    double pentagon = 2.5 * inner * inner * std::sin(0.4 * M_PI);
    double tip = inner * std::sin(0.2 * M_PI) * (1 - inner * std::cos(0.2 * M_PI));
    EXPECT_NEAR(total_area(even_odd), 5 * tip, 1e-12);
    EXPECT_NEAR(total_area(non_zero), 5 * tip + pentagon, 1e-12);
    Rings outline;
    fill_outline(region, FillRule::non_zero, outline);
    EXPECT_EQ(outline.starts.size(), 1u);
    EXPECT_EQ(outline.points.size(), 10u);
}

// A square with a square inside it or a band across it. Under non-zero the band's rows leave the
// square's piece whole: its two edges stay neighbours and the gap stays inside.
TEST(Fill, SquaresNestedAndCrossedByOrientationAndRule) {
    Ring inner = square(1, 1, 3, 3), reversed(inner.rbegin(), inner.rend()),
         band = square(-1, 1, 5, 3);
    struct {
        Ring second;
        FillRule rule;
        double area;
        size_t pieces, loops, points;
    } cases[] = {
        {inner, FillRule::non_zero, 16, 5, 1, 4}, {reversed, FillRule::non_zero, 12, 4, 2, 8},
        {inner, FillRule::even_odd, 12, 4, 2, 8}, {reversed, FillRule::even_odd, 12, 4, 2, 8},
        {band, FillRule::non_zero, 20, 3, 1, 12}, {band, FillRule::even_odd, 12, 4, 4, 16}};
    for (const auto& c : cases) {
        Rings region = make_rings({square(0, 0, 4, 4), c.second}), outline;
        std::vector<Piece> pieces = check_fill(region, c.rule);
        EXPECT_DOUBLE_EQ(total_area(pieces), c.area);
        EXPECT_EQ(pieces.size(), c.pieces);
        fill_outline(region, c.rule, outline);
        EXPECT_EQ(outline.starts.size(), c.loops);
        EXPECT_EQ(outline.points.size(), c.points);
    }
}

// Random polygons that cross themselves and regions of several rings; then points on a coarse
// grid, where edges meet at vertices and run over each other.
TEST(Fill, RandomRegions) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 500; ++round) {
        bool coarse = round >= 300;
        std::vector<Ring> rings(round < 200 ? 1 : 1 + round % 3);
        for (Ring& ring : rings) {
            ring =
                random_ring(rng, round < 200 ? 3 + round % 38 : 3 + round % 11, coarse ? 2.5 : 100);
            for (Point& p : ring)
                if (coarse) p = {std::round(p.x), std::round(p.y)};
        }
        check_fill(make_rings(rings), round % 2 ? FillRule::even_odd : FillRule::non_zero, !coarse);
    }
}

// Up to 1e7 every corner is within 1e-5 of the edges, crossings included; up to 1e15 the areas
// still agree.
TEST(Fill, LargeCoordinatesKeepTheirPrecision) {
    std::mt19937 rng(99);
    for (int round = 0; round < 20; ++round) {
        Rings region = make_rings({random_ring(rng, 12, round % 2 ? 1e7 : 1e15)});
        std::vector<Piece> pieces = check_fill(region, FillRule::non_zero);
        if (round % 2 == 0) continue;
        for (const Piece& p : pieces)
            for (int i = 0; i < p.count; ++i) {
                double nearest = 1e300;
                for (const Segment& s : segments_of(region)) {
                    Point d{s.b.x - s.a.x, s.b.y - s.a.y},
                        q{p.corner[i].x - s.a.x, p.corner[i].y - s.a.y};
                    double t =
                        std::clamp((q.x * d.x + q.y * d.y) / (d.x * d.x + d.y * d.y), 0.0, 1.0);
                    nearest = std::min(nearest, std::hypot(q.x - t * d.x, q.y - t * d.y));
                }
                EXPECT_LT(nearest, 1e-5);
            }
    }
}

TEST(Fill, DegenerateInputGivesNothingOrTheRightPieces) {
    const double nan = std::nan("");
    std::vector<Ring> nothing = {{},
                                 {{1, 1}},
                                 {{0, 0}, {1, 1}},
                                 {{5, 5}, {5, 5}, {5, 5}},
                                 {{0, 0}, {2, 0}, {1, 0}, {3, 0}},
                                 {{nan, 0}, {1, 0}, {0, 1}}};
    for (const Ring& ring : nothing)
        for (FillRule rule : {FillRule::even_odd, FillRule::non_zero}) {
            std::vector<Piece> pieces;
            Rings outline;
            fill_pieces(Rings{}, rule, pieces);
            fill_pieces(make_rings({ring}), rule, pieces); // nor stumbles on the NaN
            fill_outline(make_rings({ring}), rule, outline);
            EXPECT_TRUE(pieces.empty() && outline.points.empty() && outline.starts.empty());
        }
    std::vector<Ring> through_origin; // twelve triangles with an edge through the origin
    for (double a = 0; a < 3; a += M_PI / 12) {
        double c = std::cos(a), s = std::sin(a);
        through_origin.push_back({{c, s}, {-c, -s}, {-s / 2, c / 2}});
    }
    std::vector<std::vector<Ring>> something = {
        {{{0, 0}, {0, 0}, {4, 0}, {4, 0}, {4, 3}, {0, 0}}},
        {{{0, 0}, {4, 0}, {2, 0}, {2, 3}}},
        {square(0, 0, 1, 1), square(1, 0, 2, 1), square(1, 1, 2, 0)},
        {square(0, 0, 2, 2), square(0, 0, 2, 2), square(2, 2, 0, 0)},
        through_origin};
    for (const auto& rings : something)
        for (FillRule rule : {FillRule::even_odd, FillRule::non_zero})
            EXPECT_FALSE(check_fill(make_rings(rings), rule, false).empty());
}

} // namespace
