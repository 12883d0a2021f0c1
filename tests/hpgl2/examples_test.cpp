// The worked examples of HP-GL/2 mode, and one whole document byte for byte.
#include <gtest/gtest.h>

#include "e2e/drawing.h"

namespace {

const std::string drawn_one_polyline =
    "Drawn: 1 polylines, 0 arcs, 0 circles, 0 texts, 0 points on 1 layers\n";

void expect_drawing(const std::string& input, const std::string& expected) {
    Result r = convert2(input);
    EXPECT_EQ(r.status, 0) << input;
    EXPECT_EQ(entities(r.dxf), expected) << input;
}

TEST(WorkedExamples, LinesAndTheFirstPen) {
    expect_drawing("IN;SP1;PU0,0;PD1016,0,1016,1016;", "POLYLINE PEN1 (0,0) (1,0) (1,1)\n");
    // No SP and no IN: pen 1 draws; the run ends at its start, so it is closed.
    expect_drawing("PD0,0,1016,0,1016,1016,0,1016,0,0;",
                   "POLYLINE PEN1 closed (0,0) (1,0) (1,1) (0,1)\n");
}

TEST(WorkedExamples, UserUnitsCirclesEllipsesAndMirrors) {
    expect_drawing("SC0,100,0,100;PU0,0;PD100,100;", "POLYLINE PEN1 (0,0) (9.84252,7.086614)\n");
    expect_drawing("IP1000,1000,2000,2000;SC0,10,0,10;PU5,5;CI2;",
                   "CIRCLE PEN1 (1.476378,1.476378) r0.19685\n");
    expect_drawing("SC10,0,0,10;PU0,0;PD10,10;", "POLYLINE PEN1 (9.84252,0) (0,7.086614)\n");
    // x has 1000 plotter units per user unit, y 360: an ellipse 4000 by 1440 of 72 chords.
    Result r = convert2("SC0,10,0,20;PU5,10;CI2;");
    std::string e = entities(r.dxf);
    EXPECT_EQ(e.rfind("POLYLINE PEN1 closed (6.889764,3.543307) (6.882273,3.605071)", 0), 0u) << e;
    EXPECT_EQ(std::count(e.begin(), e.end(), '('), 72);
    EXPECT_EQ(extents(r.dxf), "(2.952756,2.834646)-(6.889764,4.251969)"); // 3000..7000, 2880..4320
}

TEST(WorkedExamples, ArcEndsExactlyAndEncodedPairs) {
    Result r = convert2("PU1016,0;PD;AA0,0,90;PD1016,1016;");
    EXPECT_EQ(entities(r.dxf), "ARC PEN1 (0,0) r1 0..90\nPOLYLINE PEN1 (0,1) (1,1)\n");
    expect_drawing("PE<=\xd3\xc6G\xc2\xbf;",
                   "POLYLINE PEN1 (0.009843,-0.002953) (0.108268,-0.002953)\n");
}

TEST(WorkedExamples, JobLanguageAroundThePlot) {
    Result r = convert2("\x1b%-12345X@PJL ENTER LANGUAGE=HPGL2\nIN;SP1;PD0,0,40,0;\x1b%-12345X");
    EXPECT_EQ(entities(r.dxf), "POLYLINE PEN1 (0,0) (0.03937,0)\n");
    EXPECT_EQ(r.log, "HPGL input file: penwright.plt\nDXF output file: out.dxf\n" +
                         drawn_one_polyline + "Errors: 0, Warnings: 0\n");
}

TEST(WorkedExamples, TheWholeDocument) {
    Result r = convert2("SP2;PU0,0;PD1016,2032;", {"--units=mm"});
    EXPECT_EQ(
        r.dxf,
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n"
        "  9\n$EXTMIN\n 10\n0\n 20\n0\n 30\n0\n  9\n$EXTMAX\n 10\n25.4\n 20\n50.8\n 30\n0\n"
        "  0\nENDSEC\n  0\nSECTION\n  2\nTABLES\n"
        "  0\nTABLE\n  2\nLTYPE\n 70\n1\n  0\nLTYPE\n  2\nCONTINUOUS\n 70\n0\n  3\nSolid line\n"
        " 72\n65\n 73\n0\n 40\n0\n  0\nENDTAB\n"
        "  0\nTABLE\n  2\nLAYER\n 70\n2\n  0\nLAYER\n  2\n0\n 70\n0\n 62\n7\n  6\nCONTINUOUS\n"
        "  0\nLAYER\n  2\nPEN2\n 70\n0\n 62\n1\n  6\nCONTINUOUS\n  0\nENDTAB\n"
        "  0\nTABLE\n  2\nSTYLE\n 70\n1\n  0\nSTYLE\n  2\nSTANDARD\n 70\n0\n 40\n0\n 41\n1\n"
        " 50\n0\n 71\n0\n 42\n0.2\n  3\ntxt\n  4\n\n  0\nENDTAB\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nENTITIES\n"
        "  0\nPOLYLINE\n  8\nPEN2\n 66\n1\n 70\n0\n 10\n0\n 20\n0\n 30\n0\n"
        "  0\nVERTEX\n  8\nPEN2\n 10\n0\n 20\n0\n  0\nVERTEX\n  8\nPEN2\n 10\n25.4\n 20\n50.8\n"
        "  0\nSEQEND\n  8\nPEN2\n  0\nENDSEC\n  0\nEOF\n");
    EXPECT_EQ(r.err, stderr_preamble() + "Errors: 0, Warnings: 0\n");
}

} // namespace
