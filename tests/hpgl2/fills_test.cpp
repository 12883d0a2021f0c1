// What a plot's page shows beyond the path of the pen: line types, fills by every fill type and
// rule, and the worked examples of them.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "e2e/drawing.h"

namespace {

// The LTYPE table in short: "LT2 2 0.485131: 0.242566 -0.242566" after CONTINUOUS.
std::string line_types(const std::string& dxf) {
    auto g = groups(dxf);
    std::string out;
    bool in_table = false;
    for (const auto& [code, value] : g) {
        if (code == "  2" && value == "LTYPE") in_table = true;
        if (!in_table) continue;
        if (code == "  0" && value == "ENDTAB") break;
        if (code == "  2" && value != "LTYPE" && value != "CONTINUOUS") out += "\n" + value;
        if (code == " 73" && !out.empty()) out += " " + value;
        if (code == " 40" && !out.empty()) out += " " + value + ":";
        if (code == " 49") out += " " + value;
        if (code == "  3" && value != "Solid line") out += " [" + value + "]";
    }
    return out.empty() ? out : out.substr(1) + "\n";
}

std::string drawn_in_mm(const std::string& input) {
    return entities(convert2(input, {"--units=mm"}).dxf);
}

std::string log_of(const std::string& input) {
    return log_body(convert2(input).log);
}

// The area of the SOLIDs of a drawing, in square drawing units.
double solid_area(const std::string& dxf) {
    std::istringstream in(entities(dxf));
    double area = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("SOLID", 0) != 0) continue;
        double x[4], y[4];
        std::istringstream p(line.substr(line.find('(')));
        char open, comma, close;
        for (int i = 0; i < 4; ++i)
            p >> open >> x[i] >> comma >> y[i] >> close;
        const int round[4] = {0, 1, 3, 2}; // the DXF's corner order, back to going round
        for (int i = 0; i < 4; ++i) {
            int a = round[i], b = round[(i + 1) % 4];
            area += (x[a] * y[b] - x[b] * y[a]) / 2;
        }
    }
    return area;
}

TEST(WorkedExamples, AFilledSquareAHatchAndADashedLine) {
    Result r = convert2("IN;SP1;RA1016,1016;");
    EXPECT_EQ(entities(r.dxf), "SOLID PEN1 (0,0) (1,0) (0,1) (1,1)\n");
    EXPECT_EQ(log_body(r.log), "Drawn: 0 polylines, 0 arcs, 0 circles, 0 texts, 0 points on 1 "
                               "layers\nFilled: 1 areas\n");
    r = convert2("IN;SP1;FT3,254,45;RA1016,1016;");
    EXPECT_EQ(entities(r.dxf), "LINE PEN1 (0.707107,0) (1,0.292893)\n"
                               "LINE PEN1 (0.353553,0) (1,0.646447)\n"
                               "LINE PEN1 (0,0) (1,1)\n"
                               "LINE PEN1 (0,0.353553) (0.646447,1)\n"
                               "LINE PEN1 (0,0.707107) (0.292893,1)\n");
    r = convert2("IN;SP1;LT2;PD1016,0;");
    EXPECT_EQ(line_types(r.dxf), "LT2 [HP-GL/2 line type 2, 12.322337 mm] 2 0.485131: 0.242566 "
                                 "-0.242566\n");
    EXPECT_EQ(entities(r.dxf), "POLYLINE PEN1 LT2 (0,0) (1,0)\n");
    EXPECT_NE(r.dxf.find("  0\nPOLYLINE\n  8\nPEN1\n  6\nLT2\n 66\n1\n 70\n128\n"),
              std::string::npos);
}

TEST(LineTypes, PatternsTheirChangesAndTheirTable) {
    Result r = convert2("IN;SP1;LT4;PD1016,0;LT7;PD0,0;UL2,20,80;LT2;PD1016,0;LT;PD0,0;LT99;"
                        "PD500,0;LT2,2;PD0,0;LT2,8,1;PD1016,0;");
    EXPECT_EQ(entities(r.dxf), "POLYLINE PEN1 LT4 (0,0) (1,0)\nPOLYLINE PEN1 LT7 (1,0) (0,0)\n"
                               "POLYLINE PEN1 LT2 (0,0) (1,0)\nPOLYLINE PEN1 (1,0) (0,0)\n"
                               "POLYLINE PEN1 LT2 (0,0) (0.492126,0)\n"
                               "POLYLINE PEN1 LT2_2 (0.492126,0) (0,0)\n"
                               "POLYLINE PEN1 LT2_3 (0,0) (1,0)\n");
    EXPECT_EQ(line_types(r.dxf),
              "LT4 [HP-GL/2 line type 4, 12.322337 mm] 4 0.485131: 0.388105 -0.048513 0 -0.048513\n"
              "LT7 [HP-GL/2 line type 7, 12.322337 mm] 6 0.485131: 0.339592 -0.048513 0 "
              "-0.048513 0 -0.048513\n"
              "LT2 [HP-GL/2 line type 2, 12.322337 mm] 2 0.485131: 0.097026 -0.388105\n"
              "LT2_2 [HP-GL/2 line type 2, 6.161169 mm] 2 0.242566: 0.048513 -0.194053\n"
              "LT2_3 [HP-GL/2 line type 2, 8 mm] 2 0.314961: 0.062992 -0.251969\n");
    // Every default pattern, and an arc and a circle carry the type too.
    r = convert2("IN;LT1;PD100,0;LT3;PD0,0;LT5;PD100,0;LT6;PD0,0;LT8;PD100,0;CI50;AA0,0,90;");
    EXPECT_EQ(line_types(r.dxf),
              "LT1 [HP-GL/2 line type 1, 12.322337 mm] 2 0.485131: 0 -0.485131\n"
              "LT3 [HP-GL/2 line type 3, 12.322337 mm] 2 0.485131: 0.339592 -0.145539\n"
              "LT5 [HP-GL/2 line type 5, 12.322337 mm] 4 0.485131: 0.339592 -0.048513 0.048513 "
              "-0.048513\n"
              "LT6 [HP-GL/2 line type 6, 12.322337 mm] 6 0.485131: 0.242566 -0.048513 0.048513 "
              "-0.048513 0.048513 -0.048513\n"
              "LT8 [HP-GL/2 line type 8, 12.322337 mm] 8 0.485131: 0.242566 -0.048513 0 -0.048513 "
              "0.048513 -0.048513 0 -0.048513\n");
    EXPECT_NE(entities(r.dxf).find("CIRCLE PEN1 LT8 (0.098425,0) r0.049213\n"
                                   "ARC PEN1 LT8 (0,0) r0.098425 0..90\n"),
              std::string::npos);
}

TEST(LineTypes, DotsAdaptiveTypesAndWhatIsAnError) {
    // Under LT0 a straight stroke leaves dots at its ends; an arc and a curve are drawn solid.
    EXPECT_EQ(drawn_in_mm("LT0;PD;BZ100,0,200,0,300,0;PD800,0;SC0,1,0,2;PU100,0;PD;AA0,0,90,45;"),
              "POLYLINE PEN1 (0,0) (7.5,0)\nPOINT PEN1 (20,0)\n"
              "POLYLINE PEN1 (25000,0) (17677.66953,6363.961031) (0,9000)\n");
    EXPECT_EQ(entities(convert2("IN;LT0;PU1016,1016;PD;PD2032,1016,2032,0;PU;AA0,0,90;PD;AA0,0,"
                                "90;")
                           .dxf),
              "POINT PEN1 (1,1)\nPOINT PEN1 (2,1)\nPOINT PEN1 (2,0)\n"
              "ARC PEN1 (0,0) r2 90..180\n");
    EXPECT_EQ(log_of("LT-3;PD100,0;LT-3;LT-4;LT9;LT2,0;LT2,4,2;UL9,1;UL2,0,0;"),
              "penwright.plt:1:1: warning: adaptive line type -3 drawn as fixed type 3\n"
              "penwright.plt:1:19: warning: adaptive line type -4 drawn as fixed type 4\n"
              "penwright.plt:1:26: error: LT 9 is not a line type: skipped\n"
              "penwright.plt:1:32: error: LT pattern length of 0 or less: skipped\n"
              "penwright.plt:1:40: error: LT mode is not 0 or 1: skipped\n"
              "penwright.plt:1:42: error: UL with a type outside 1 to 8 or more than 20 gaps: "
              "skipped\n"
              "penwright.plt:1:48: error: UL with a negative gap or gaps of no length: skipped\n"
              "Drawn: 1 polylines, 0 arcs, 0 circles, 0 texts, 0 points on 1 layers\n");
}

TEST(Fills, EveryFillTypeAndTheOptionsEachKeeps) {
    Result r = convert2("IN;SP1;FT10,50;RA1016,1016;FT10,0;RA2032,1016;FT10,100;RA3048,1016;"
                        "FT22;RR1016,-1016;RF1,2,2,1,0,0,0;FT11,1;RR-1016,-1016;FT11,2;"
                        "RR-1016,1016;FT2;RA-1016,-1016;");
    EXPECT_EQ(entities(r.dxf), "SOLID PEN1 (0,0) (1,0) (0,1) (1,1) colour 8\n"
                               "SOLID PEN1 (0,0) (3,0) (0,1) (3,1)\n"
                               "SOLID PEN1 (0,-1) (1,-1) (0,0) (1,0) colour 8\n"
                               "SOLID PEN1 (-1,-1) (0,-1) (-1,0) (0,0) colour 9\n"
                               "SOLID PEN1 (-1,0) (0,0) (-1,1) (0,1)\n"
                               "SOLID PEN1 (-1,-1) (0,-1) (-1,0) (0,0)\n");
    EXPECT_TRUE(r.log.find("Filled: 6 areas\n") != std::string::npos);
    // Cross-hatch: the first family, then the second at 90 degrees more, each in order of its
    // offset; an anchor corner moves the lines; FT3 keeps its options when FT4 is used between.
    EXPECT_EQ(entities(convert2("FT4,508,0;RA1016,1016;").dxf),
              "LINE PEN1 (0,0) (1,0)\nLINE PEN1 (0,0.5) (1,0.5)\nLINE PEN1 (0,1) (1,1)\n"
              "LINE PEN1 (1,0) (1,1)\nLINE PEN1 (0.5,0) (0.5,1)\nLINE PEN1 (0,0) (0,1)\n");
    EXPECT_EQ(entities(convert2("AC127,0;FT3,254,90;FT4,100;FT3;RA1016,1016;").dxf),
              "LINE PEN1 (0.875,0) (0.875,1)\nLINE PEN1 (0.625,0) (0.625,1)\n"
              "LINE PEN1 (0.375,0) (0.375,1)\nLINE PEN1 (0.125,0) (0.125,1)\n");
    // FT21's patterns are hatches of the default spacing, 1 % of D.
    std::string e = entities(convert2("FT21,2;RA1016,1016;FT21,5;RA-1016,1016;").dxf);
    EXPECT_EQ(std::count(e.begin(), e.end(), '\n'), 9 + 9 + 9);
    EXPECT_EQ(e.substr(0, e.find('\n')), "LINE PEN1 (0.970263,0) (0.970263,1)");
}

TEST(Fills, RegionsByTheirRuleAndWhatIsAnError) {
    const std::string star = "PU0,1000;PM0;PD588,-809,-951,309,951,309,-588,-809,0,1000;PM2;";
    const double tips = 0.751471, pentagon = 0.336068; // in square inches, from the points
    EXPECT_NEAR(solid_area(convert2(star + "FP;").dxf), tips, 1e-5);
    EXPECT_NEAR(solid_area(convert2(star + "FP1;").dxf), tips + pentagon, 1e-5);
    // Squares nested with the same orientation: a hole by even-odd, none by non-zero.
    const std::string nested = "PM0;PD1016,0,1016,1016,0,1016,0,0;PM1;PU254,254;PD762,254,762,762,"
                               "254,762,254,254;PM2;";
    EXPECT_NEAR(solid_area(convert2(nested + "FP0;").dxf), 0.75, 1e-6);
    EXPECT_NEAR(solid_area(convert2(nested + "FP1;").dxf), 1, 1e-6);
    // A wedge fills the arc of its chords; pen 0 fills on its own layer, switched off.
    Result r = convert2("SP0;WG1016,0,90,90;");
    EXPECT_EQ(entities(r.dxf), "SOLID PEN0 (0,0) (1,0) (0,1) (0,1)\n");
    EXPECT_EQ(layers(r.dxf), "0:7 PEN0:-7");
    EXPECT_EQ(log_of("FT5;FT3,-1;FT11,9;FT21,7;RF9;RF1,2,2,1;FT3,0.001;RA100,100;FP2;"),
              "penwright.plt:1:3: error: FT 5 is not a fill type: skipped\n"
              "penwright.plt:1:9: error: FT with a negative spacing: skipped\n"
              "penwright.plt:1:17: error: FT 11 pattern 9 is not 1 to 8: skipped\n"
              "penwright.plt:1:24: error: FT 21 pattern 7 is not 1 to 6: skipped\n"
              "penwright.plt:1:28: error: RF pattern is not 1 to 8: skipped\n"
              "penwright.plt:1:30: error: RF with fewer cells than its width by height, or a "
              "negative one: skipped\n"
              "penwright.plt:1:50: warning: hatch lines closer than 1 plotter unit: filled solid\n"
              "penwright.plt:1:62: error: FP method is not 0 or 1: skipped\n"
              "Drawn: 0 polylines, 0 arcs, 0 circles, 0 texts, 0 points on 1 layers\n"
              "Filled: 1 areas\n");
}

} // namespace
