// Bezier curves, begin plot and the polygon commands.
#include "e2e/expect.h"
#include "e2e/records.h"

namespace {

const int curve[][2] = {{1, 28},    {8, 106},   {27, 219},  {65, 358},  {127, 508},
                        {219, 658}, {348, 797}, {520, 910}, {741, 988}, {1016, 1016}};

std::string curve_moves(int dx = 0, int dy = 0) {
    std::string s;
    for (auto& p : curve)
        s += "move to " + std::to_string(p[0] + dx) + " " + std::to_string(p[1] + dy) + "\n";
    return s;
}

std::string curve_lines(int dx = 0, int dy = 0) {
    std::string s;
    int x = dx, y = dy;
    for (auto& p : curve) {
        s += line_units(0, x, y, p[0] + dx, p[1] + dy);
        x = p[0] + dx;
        y = p[1] + dy;
    }
    return s;
}

TEST(Bezier, TenStrokesThroughTheCurve) {
    expect_conversion("SP1;PD;BR0,0,0,1016,1016,1016;",
                      "SP 1\nPD\nBR\n  bezier polygon: 0 0 0 0 0 1016 1016 1016\n" + curve_moves(),
                      curve_lines());
}

TEST(Bezier, ChainedCurvesStartAtThePreviousEnd) {
    expect_conversion("SP1;PD;BR0,0,0,1016,1016,1016,0,0,0,1016,1016,1016;",
                      "SP 1\nPD\nBR\n  bezier polygon: 0 0 0 0 0 1016 1016 1016\n" + curve_moves() +
                          "  bezier polygon: 1016 1016 1016 1016 1016 2032 2032 2032\n" +
                          curve_moves(1016, 1016),
                      curve_lines() + curve_lines(1016, 1016));
}

TEST(Bezier, RelativeModeDrawsAbsolutePointsAndIsKept) {
    expect_log("SP1;PR;PD;BR0,0,0,1016,1016,1016;PD1,1;",
               "SP 1\nPR\nPD\nBR\n  bezier polygon: 0 0 0 0 0 1016 1016 1016\n" + curve_moves() +
                   "PD\nmove rel 1 1\n");
}

TEST(Bezier, NegativeSumsRoundTowardZeroAfterAddingAHalf) {
    // At t = 0.5 the sums are (-4.375, -0.625), which become (-3, 0).
    expect_log("BR0,0,-10,0,-5,-5;", "BR\n  bezier polygon: 0 0 0 0 -10 0 -5 -5\n"
                                     "move to 0 0\nmove to 0 0\nmove to -1 0\nmove to -2 0\n"
                                     "move to -3 0\nmove to -4 0\nmove to -5 -1\nmove to -5 -2\n"
                                     "move to -5 -3\nmove to -5 -5\n");
}

TEST(Bezier, PenUpMovesWithoutEntities) {
    expect_conversion("SP1;PU;BR0,0,0,1016,1016,1016;PD0,0;",
                      "SP 1\nPU\nBR\n  bezier polygon: 0 0 0 0 0 1016 1016 1016\n" + curve_moves() +
                          "PD\nmove to 0 0\n",
                      line_units(0, 1016, 1016, 0, 0));
}

TEST(Bezier, AbsoluteCurvesAreDiscarded) {
    expect_log("SP1;PD;BZ1,2,3,4,5,6,7,8,9,10,11,12;BR0,0,0,1016,1016,1016;",
               "SP 1\nPD\nWarning: unimplemented command: BZ\nBR\n"
               "  bezier polygon: 0 0 0 0 0 1016 1016 1016\n" +
                   curve_moves());
}

TEST(Bezier, NeedsAtLeastOneCurve) {
    Result r = convert("BR;");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.log, log_file("", 1, 0));
}

TEST(Bezier, AThousandCurvesAreAllDrawnInOrder) {
    std::string input = "SP1;PD;BR";
    for (int i = 0; i < 1000; ++i)
        input += std::string(i ? "," : "") + "0,0,0,1,1,1";
    Result r = convert(input + ";");
    EXPECT_EQ(r.status, 0);
    size_t polygons = 0;
    for (size_t at = 0; (at = r.log.find("bezier polygon", at)) != std::string::npos; ++at)
        ++polygons;
    EXPECT_EQ(polygons, 1000u);
    EXPECT_NE(r.log.find("  bezier polygon: 999 999 999 999 999 1000 1000 1000\n"),
              std::string::npos);
    EXPECT_TRUE(r.log.ends_with("move to 1000 1000\nErrors: 0, Warnings: 0\n"));
}

TEST(BeginPlot, InitializesAndWritesFourLines) {
    expect_log("SP1;PR;PD5,5;BP;BP1,2,3,4.5;PD1,1;",
               "SP 1\nPR\nPD\nmove rel 5 5\nBP\n calls PG 1\n calls IN\nDF\nBP\n calls PG 1\n "
               "calls IN\nDF\n"
               "PD\nmove to 1 1\n");
}

TEST(Polygons, AreEchoedAndTheirStrokesDrawnAtOnce) {
    expect_conversion("SP1;PM0;PD10,0;PM2;EP;FP;FP1;FR;PP;PP1;PG;PG2;",
                      "SP 1\nPM 0\nPD\nmove to 10 0\nPM 2\nEP\nFP\nFP\nFR\nPP\nPP\nPG 0\nPG 2\n",
                      line_units(0, 0, 0, 10, 0));
}

TEST(Polygons, FillTypeEchoesItsNumbersAsGiven) {
    expect_log("FT;FT3;FT3,10;FT3,10,45;FT1,2.5;FT1,2,3.5;FT1,.5,7;",
               "FT 1 0.000000 0.000000\nFT 3 0.000000 0.000000\nFT 3 10.000000 0.000000\n"
               "FT 3 10.000000 45.000000\nFT 1 2.500000 0.000000\nFT 1 2.000000 3.500000\n"
               "FT 1 0.500000 7.000000\n");
}

} // namespace
