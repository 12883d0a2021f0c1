// What HP-GL/2 mode draws: runs of moves, dots, arcs, curves, outlines and polygons.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "e2e/drawing.h"

namespace {

std::string drawn(const std::string& input) {
    return entities(convert2(input, {"--units=mm"}).dxf);
}

TEST(Runs, StraightMovesJoinUntilThePenLiftsChangesOrDrawsSomethingElse) {
    EXPECT_EQ(drawn("PD40,0,40,0,80,0;PU;PD120,0;"),
              "POLYLINE PEN1 (0,0) (1,0) (2,0)\nPOLYLINE PEN1 (2,0) (3,0)\n");
    EXPECT_EQ(drawn("PD40,0;SP2;PD80,0;SP2;PD120,0;"),
              "POLYLINE PEN1 (0,0) (1,0)\nPOLYLINE PEN2 (1,0) (2,0) (3,0)\n");
    EXPECT_EQ(drawn("PD40,0;CI40;PD80,0;"),
              "POLYLINE PEN1 (0,0) (1,0)\nCIRCLE PEN1 (1,0) r1\nPOLYLINE PEN1 (1,0) (2,0)\n");
    // Closed only with three distinct vertices ending at the start.
    EXPECT_EQ(drawn("PD40,0,0,0;"), "POLYLINE PEN1 (0,0) (1,0) (0,0)\n");
    EXPECT_EQ(drawn("PD40,0,0,0,40,0,0,0;"), "POLYLINE PEN1 (0,0) (1,0) (0,0) (1,0) (0,0)\n");
    EXPECT_EQ(drawn("PD40,0,40,40,0,0;"), "POLYLINE PEN1 closed (0,0) (1,0) (1,1)\n");
}

TEST(Runs, APenLoweredAndLiftedInOnePlaceLeavesAPoint) {
    EXPECT_EQ(drawn("PU40,40;PD;PU;"), "POINT PEN1 (1,1)\n");
    EXPECT_EQ(drawn("PU40,40;PD;PD;PD40,40;SP2;PU;"), "POINT PEN1 (1,1)\n");
    EXPECT_EQ(drawn("PU80,40;PD;"), "POINT PEN1 (2,1)\n"); // at the end of the input too
    EXPECT_EQ(drawn("PU40,0;PD;AA0,0,90;PU;"), "ARC PEN1 (0,0) r1 0..90\n");
    EXPECT_EQ(drawn("PU40,0;PD;PD80,0;PU;"), "POLYLINE PEN1 (1,0) (2,0)\n");
}

TEST(Arcs, TrueArcsRunCounterClockwiseInTheDrawing) {
    EXPECT_EQ(drawn("PU40,0;PD;AA0,0,-90;"), "ARC PEN1 (0,0) r1 270..0\n");
    EXPECT_EQ(drawn("PU40,0;PD;AR-40,0,180;PA;PU;PD0,0;"),
              "ARC PEN1 (0,0) r1 0..180\nPOLYLINE PEN1 (-1,0) (0,0)\n");
    EXPECT_EQ(drawn("PU40,0;PD;AA0,0,400;AA0,0,0;"), "CIRCLE PEN1 (0,0) r1\n");
    // A mirrored frame turns the direction over: the arc still runs counter-clockwise.
    EXPECT_EQ(drawn("SC0,-250,0,180;PU1,0;PD;AA0,0,90;"), "ARC PEN1 (0,0) r1 90..180\n");
    // Pen up: the arc only moves the pen, to its end exactly.
    EXPECT_EQ(drawn("PU40,0;AA0,0,90;PD0,80;"), "POLYLINE PEN1 (0,1) (0,2)\n");
}

TEST(Arcs, ThreePointArcsAndTheirStraightCase) {
    EXPECT_EQ(drawn("PU40,0;PD;AT0,40,-40,0;"), "ARC PEN1 (0,0) r1 0..180\n");
    EXPECT_EQ(drawn("PU40,0;PD;RT-40,-40,-80,0;"), "ARC PEN1 (0,0) r1 180..0\n");
    EXPECT_EQ(drawn("PD40,0;AT80,0,120,0;"), "POLYLINE PEN1 (0,0) (1,0) (3,0)\n");
}

TEST(Arcs, AnEllipseOnPaperIsDrawnInChords) {
    // 90 degrees in chords of 30: three chords, then the pen on the end point exactly; the
    // chords are a run of their own.
    std::string e = drawn("SC0,1,0,2;PU1,0;PD;AA0,0,90,30;PD0,0;");
    EXPECT_EQ(e, "POLYLINE PEN1 (250,0) (216.506351,45) (125,77.942286) (0,90)\n"
                 "POLYLINE PEN1 (0,90) (0,0)\n");
    // The chord angle is at least half a degree, and the default is 5.
    std::string fine = drawn("SC0,1,0,2;CI1,0.01;"), usual = drawn("SC0,1,0,2;CI1;");
    EXPECT_EQ(std::count(fine.begin(), fine.end(), '('), 720);
    EXPECT_EQ(std::count(usual.begin(), usual.end(), '('), 72);
}

// The distance from p to the segment a-b.
double distance(double px, double py, double ax, double ay, double bx, double by) {
    double dx = bx - ax, dy = by - ay, l = dx * dx + dy * dy;
    double t = l ? std::fmax(0.0, std::fmin(1.0, ((px - ax) * dx + (py - ay) * dy) / l)) : 0;
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

TEST(Curves, NoPointOfTheCurveIsMoreThanAHundredthOfAMillimetreAway) {
    Result r = convert2("PU0,0;PD;BZ4000,8000,8000,-8000,12000,0;BR1000,1000,-200,50,3000,-20;",
                        {"--units=mm"});
    std::vector<std::pair<double, double>> v;
    std::istringstream in(entities(r.dxf).substr(std::string("POLYLINE PEN1 ").size()));
    for (char open, comma, close; in >> open;) {
        double x, y;
        in >> x >> comma >> y >> close;
        v.push_back({x * 40, y * 40}); // plotter units
    }
    ASSERT_GT(v.size(), 10u);
    EXPECT_EQ(v.front(), std::make_pair(0.0, 0.0));
    EXPECT_EQ(v.back(), std::make_pair(15000.0, -20.0));
    struct {
        double p[4][2];
    } curves[] = {{{{0, 0}, {4000, 8000}, {8000, -8000}, {12000, 0}}},
                  {{{12000, 0}, {13000, 1000}, {11800, 50}, {15000, -20}}}};
    for (auto& c : curves)
        for (int i = 0; i <= 2000; ++i) {
            double t = i / 2000.0, u = 1 - t;
            double b[4] = {u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t};
            double x = 0, y = 0;
            for (int k = 0; k < 4; ++k) {
                x += b[k] * c.p[k][0];
                y += b[k] * c.p[k][1];
            }
            double nearest = 1e9;
            for (size_t k = 1; k < v.size(); ++k)
                nearest = std::fmin(nearest, distance(x, y, v[k - 1].first, v[k - 1].second,
                                                      v[k].first, v[k].second));
            ASSERT_LE(nearest, 0.4 + 1e-3) << t; // 0.01 mm, and the file's six decimals
        }
}

TEST(Outlines, RectanglesAndWedgesAboutThePenWhichStays) {
    Result r = convert2("PU40,40;EA80,120;ER-40,-40;RA0,0;WG40,0,90,45;EW40,90,360,90;PD0,0;",
                        {"--units=mm"});
    // RA and WG fill without an edge: the wedge of two 45-degree chords is two pieces.
    EXPECT_EQ(entities(r.dxf), "POLYLINE PEN1 closed (1,1) (2,1) (2,3) (1,3)\n"
                               "POLYLINE PEN1 closed (1,1) (0,1) (0,0) (1,0)\n"
                               "SOLID PEN1 (0,0) (1,0) (0,1) (1,1)\n"
                               "SOLID PEN1 (1,1) (2,1) (1,1.707107) (1.707107,1.707107)\n"
                               "SOLID PEN1 (1,1.707107) (1.707107,1.707107) (1,2) (1,2)\n"
                               "POLYLINE PEN1 closed (1,2) (0,1) (1,0) (2,1)\n"
                               "POLYLINE PEN1 (1,1) (0,0)\n");
    EXPECT_EQ(log_body(r.log),
              "Drawn: 4 polylines, 0 arcs, 0 circles, 0 texts, 0 points on 1 layers\n"
              "Filled: 2 areas\n");
}

TEST(Polygons, EachSubpolygonOneClosedPolylineEachTimeTheBufferIsDrawn) {
    Result r = convert2("PU0,0;PM0;PD400,0,400,400,0,400;PM1;PU100,100;PD200,100,200,200;PM2;"
                        "EP;EP;PU800,0;PM0;CI40;PM2;EP;",
                        {"--units=mm"});
    std::string e = entities(r.dxf);
    const std::string square = "POLYLINE PEN1 closed (0,0) (10,0) (10,10) (0,10)\n"
                               "POLYLINE PEN1 closed (2.5,2.5) (5,2.5) (5,5)\n";
    EXPECT_EQ(e.substr(0, 2 * square.size()), square + square);
    // CI in polygon mode is a subpolygon of its own: 72 chords from 0 degrees.
    std::string circle = e.substr(e.rfind("POLYLINE"));
    EXPECT_EQ(circle.rfind("POLYLINE PEN1 closed (21,0) (20.996195,0.087156) ", 0), 0u);
    EXPECT_EQ(std::count(circle.begin(), circle.end(), '('), 72);
    EXPECT_EQ(log_body(r.log),
              "Drawn: 5 polylines, 0 arcs, 0 circles, 0 texts, 0 points on 1 layers\n");
}

TEST(Encoded, FlagsPensFractionsAndSevenBitData) {
    // ':' selects pen 2, '>' makes later numbers quarters, '=' makes (1, 4) absolute, and after
    // '7' the pair (0, 0.25) is in base-32 digits.
    EXPECT_EQ(drawn("PE:\xc3>\xc3=\xc7\xdf"
                    "7_a;"),
              "POLYLINE PEN2 (0,0) (0.025,0.1) (0.025,0.10625)\n");
    Result r = convert2("PE~\x80\xff@;PD;", {"--units=mm"});
    EXPECT_EQ(
        log_body(r.log),
        "penwright.plt:1:4: warning: PE with 2 bytes that are neither digits nor flags: ignored\n"
        "penwright.plt:1:3: warning: PE with an unpaired coordinate: dropped\n"
        "Drawn: 0 polylines, 0 arcs, 0 circles, 0 texts, 1 points on 1 layers\n");
}

} // namespace

namespace {

std::string entity_section(const std::string& dxf) {
    size_t from = dxf.find("ENTITIES\n"), to = dxf.rfind("  0\nENDSEC\n  0\nEOF\n");
    return from == std::string::npos || to == std::string::npos ? "" : dxf.substr(from, to - from);
}

TEST(Document, EntitiesKeptInTheTemporaryFileComeBackAsInMemory) {
    // A closed outline, a label of 300 bytes and an arc, 12000 times: beyond the memory kept, and
    // records straddle the blocks the file is read back in.
    std::string unit = "PU0,0;PD1016,0,1016,1016,0,1016,0,0;PU508,508;LB" + std::string(300, 'x') +
                       "\x03PU1016,0;PD;AA0,0,45;PU;";
    std::string one = entity_section(convert2(unit).dxf);
    ASSERT_NE(one.find("TEXT"), std::string::npos);
    std::string input, expected = "ENTITIES\n";
    for (int i = 0; i < 12000; ++i) {
        input += unit;
        expected.append(one, 9, std::string::npos);
    }
    std::string many = entity_section(convert2(input).dxf);
    EXPECT_EQ(many.size(), expected.size());
    EXPECT_TRUE(many == expected);
}

} // namespace
