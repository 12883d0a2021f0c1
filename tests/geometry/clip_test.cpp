// Cutting to a window: golden segments and arcs, and random segments, arcs and rings checked by
// sampling against the window.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "geometry/clip.h"

namespace {

const Window box{0, 0, 10, 10};

bool near_inside(const Window& w, Point p, double margin) {
    return inside({w.min_x - margin, w.min_y - margin, w.max_x + margin, w.max_y + margin}, p);
}

Point at_angle(Point c, double r, double degrees) {
    double radians = degrees * std::numbers::pi / 180;
    return {c.x + r * std::cos(radians), c.y + r * std::sin(radians)};
}

// How far counter-clockwise `degrees` lies from `from`, in [0, 360).
double turn_from(double from, double degrees) {
    double a = std::fmod(degrees - from, 360.0);
    return a < 0 ? a + 360 : a;
}

TEST(ClipSegment, CutEndsLieOnTheBorderExactly) {
    Point from, to;
    ASSERT_TRUE(clip_segment(box, {-5, 2}, {15, 7}, &from, &to));
    EXPECT_EQ(from, (Point{0, 3.25}));
    EXPECT_EQ(to, (Point{10, 5.75}));
    ASSERT_TRUE(clip_segment(box, {1.1, 2.2}, {30, 2.2}, &from, &to));
    EXPECT_EQ(from, (Point{1.1, 2.2}));
    EXPECT_EQ(to, (Point{10, 2.2}));
}

TEST(ClipSegment, CornerTouchIsNothingAndTheBorderIsInside) {
    Point from, to;
    EXPECT_FALSE(clip_segment(box, {-5, 5}, {5, -5}, &from, &to));
    EXPECT_FALSE(clip_segment(box, {-1, -1}, {0, 0}, &from, &to));
    EXPECT_FALSE(clip_segment(box, {5, 5}, {5, 5}, &from, &to));
    EXPECT_FALSE(clip_segment(box, {-3, 11}, {4, 11}, &from, &to));
    ASSERT_TRUE(clip_segment(box, {-3, 10}, {4, 10}, &from, &to));
    EXPECT_EQ(from, (Point{0, 10}));
    EXPECT_EQ(to, (Point{4, 10}));
}

// A circle of radius 6 about (5, 0) in the strip 0 <= x <= 10 crosses x = 10 at +-a and x = 0 at
// 180 -+ a, where cos a = 5/6.
const Window strip{0, -10, 10, 10};
const double a = std::acos(5.0 / 6) * 180 / std::numbers::pi;

TEST(ClipArc, CircleCrossingTwoBorders) {
    std::vector<ArcPiece> out;
    ASSERT_EQ(clip_arc(strip, {5, 0}, 6, 0, 360, out), 2);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_NEAR(out[0].start, a, 1e-12);
    EXPECT_NEAR(out[0].sweep, 180 - 2 * a, 1e-12);
    EXPECT_NEAR(out[1].start, 180 + a, 1e-12);
    EXPECT_NEAR(out[1].sweep, 180 - 2 * a, 1e-12);
    // Clockwise from the top: the piece down to the right border, then the one from the border
    // on to the bottom.
    out.clear();
    ASSERT_EQ(clip_arc(strip, {5, 0}, 6, 90, -180, out), 2);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].start, 90);
    EXPECT_NEAR(out[0].sweep, -(90 - a), 1e-12);
    EXPECT_NEAR(out[1].start, 360 - a, 1e-12);
    EXPECT_NEAR(out[1].sweep, -(90 - a), 1e-12);
}

TEST(ClipArc, WhollyInsideOrOutside) {
    std::vector<ArcPiece> out;
    EXPECT_EQ(clip_arc(strip, {5, 0}, 6, 60, 60, out), 1);
    EXPECT_EQ(clip_arc(strip, {5, 0}, 6, 160, 40, out), 0);
    EXPECT_EQ(clip_arc(strip, {5, 0}, 4, 0, -360, out), 1);
    EXPECT_EQ(clip_arc(strip, {50, 0}, 4, 0, 360, out), 0);
    EXPECT_EQ(clip_arc(strip, {5, 0}, 0, 0, 360, out), 0);
    EXPECT_TRUE(out.empty());
}

TEST(ClipSegment, RandomSegmentsKeepExactlyTheirInsidePart) {
    std::mt19937 rng(254);
    std::uniform_real_distribution<double> coordinate(-5, 15);
    for (int round = 0; round < 2000; ++round) {
        Point p{coordinate(rng), coordinate(rng)}, q{coordinate(rng), coordinate(rng)};
        if (round % 4 == 0) q.y = p.y;
        Point from{}, to{};
        bool kept = clip_segment(box, p, q, &from, &to);
        if (kept) {
            EXPECT_TRUE(near_inside(box, from, 1e-9) && near_inside(box, to, 1e-9));
            EXPECT_EQ(from == p, inside(box, p));
            EXPECT_EQ(to == q, inside(box, q));
            auto on_border = [](Point s) { return s.x == 0 || s.x == 10 || s.y == 0 || s.y == 10; };
            EXPECT_TRUE(on_border(from) || from == p);
            EXPECT_TRUE(on_border(to) || to == q);
        }
        // Parameters of the kept part's ends along p-q.
        double length2 = (q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y);
        auto param = [&](Point s) {
            return ((s.x - p.x) * (q.x - p.x) + (s.y - p.y) * (q.y - p.y)) / length2;
        };
        for (double t = 0.005; t < 1; t += 0.01) {
            Point s{p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)};
            bool on_part = kept && param(from) - 1e-12 <= t && t <= param(to) + 1e-12;
            // Well inside means on the part; on the part means inside.
            EXPECT_TRUE(on_part || !near_inside(box, s, -1e-9)) << round;
            EXPECT_TRUE(!on_part || near_inside(box, s, 1e-9)) << round;
        }
    }
}

TEST(ClipArc, RandomArcsKeepExactlyTheirInsidePart) {
    std::mt19937 rng(360);
    std::uniform_real_distribution<double> coordinate(-5, 15), radius(0.5, 12), angle(-360, 360);
    for (int round = 0; round < 1000; ++round) {
        Point c{coordinate(rng), coordinate(rng)};
        double r = radius(rng), start = angle(rng), sweep = round % 5 ? angle(rng) : 360;
        std::vector<ArcPiece> out;
        int result = clip_arc(box, c, r, start, sweep, out);
        ASSERT_EQ(out.empty(), result != 2);
        double sense = sweep > 0 ? 1 : -1, last = -1;
        for (const ArcPiece& piece : out) {
            EXPECT_GT(piece.sweep * sense, 0);
            for (double f = 0; f <= 1; f += 0.125)
                EXPECT_TRUE(near_inside(box, at_angle(c, r, piece.start + f * piece.sweep), 1e-9));
            // In order along the arc (for a whole circle, counter-clockwise from 0 degrees).
            double from = sweep == 360 ? turn_from(0, piece.start)
                                       : turn_from(0, sense * (piece.start - start));
            EXPECT_GT(from, last);
            last = from;
        }
        auto covered = [&](double degrees) {
            if (result != 2) return result == 1;
            for (const ArcPiece& piece : out) {
                double d =
                    sense > 0 ? turn_from(piece.start, degrees) : turn_from(degrees, piece.start);
                if (d <= std::fabs(piece.sweep) + 1e-9 || d >= 360 - 1e-9) return true;
            }
            return false;
        };
        for (double f = 0.0025; f < 1; f += 0.005) {
            double degrees = start + f * sweep;
            Point p = at_angle(c, r, degrees);
            bool on_piece = covered(degrees);
            EXPECT_TRUE(on_piece || !near_inside(box, p, -1e-9)) << round;
            EXPECT_TRUE(!on_piece || near_inside(box, p, 1e-9)) << round;
        }
    }
}

long winding_at(const std::vector<Point>& ring, Point p) {
    long winding = 0;
    for (size_t i = 0; i < ring.size(); ++i) {
        Point s = ring[i], t = ring[(i + 1) % ring.size()];
        double side = (t.x - s.x) * (p.y - s.y) - (p.x - s.x) * (t.y - s.y);
        if (s.y <= p.y && t.y > p.y && side > 0) ++winding;
        if (t.y <= p.y && s.y > p.y && side < 0) --winding;
    }
    return winding;
}

TEST(ClipRing, RandomRingsKeepTheirWindingInside) {
    std::mt19937 rng(1016);
    std::uniform_real_distribution<double> coordinate(-5, 15), unit(0, 1);
    for (int round = 0; round < 500; ++round) {
        std::vector<Point> ring(3 + round % 7);
        for (Point& p : ring)
            p = {coordinate(rng), coordinate(rng)};
        Rings out;
        clip_ring(box, ring.data(), ring.size(), out);
        std::vector<Point> cut(out.points.begin(), out.points.end());
        ASSERT_TRUE(cut.empty() || (out.starts.size() == 1 && cut.size() >= 3));
        for (Point p : cut)
            EXPECT_TRUE(inside(box, p));
        for (int probe = 0; probe < 50; ++probe) {
            Point p{10 * unit(rng), 10 * unit(rng)};
            EXPECT_EQ(winding_at(cut, p), winding_at(ring, p)) << round;
        }
    }
}

TEST(Clip, AWindowHoldingEverythingChangesNothing) {
    const Window all{-100, -100, 100, 100};
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> coordinate(-99, 99);
    for (int round = 0; round < 200; ++round) {
        Point p{coordinate(rng), coordinate(rng)}, q{coordinate(rng), coordinate(rng)}, from, to;
        ASSERT_TRUE(clip_segment(all, p, q, &from, &to));
        EXPECT_EQ(from, p);
        EXPECT_EQ(to, q);
        std::vector<ArcPiece> pieces;
        EXPECT_EQ(clip_arc(all, p, 0.5, coordinate(rng), coordinate(rng) * 3.6, pieces), 1);
        std::vector<Point> ring{p, q, {coordinate(rng), coordinate(rng)}, {1, 2}};
        Rings out;
        clip_ring(all, ring.data(), ring.size(), out);
        EXPECT_EQ(out.points, ring);
    }
}

} // namespace
