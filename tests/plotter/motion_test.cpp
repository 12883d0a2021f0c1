// Pen selection, pen motion and LINE records.
#include "e2e/expect.h"
#include "e2e/records.h"

namespace {

TEST(Motion, SelectingAPenAndDrawingOneLine) {
    expect_conversion("IN;SP1;PU0,0;PD1016,0;",
                      "IN\nDF\nSP 1\nPU\nmove to 0 0\nPD\nmove to 1016 0\n",
                      line_record(0, 0, 0, 1, 0));
}

TEST(Motion, TwoLinesFromOneStatement) {
    expect_conversion("IN;SP1;PU0,0;PD1016,0,1016,1016;",
                      "IN\nDF\nSP 1\nPU\nmove to 0 0\nPD\nmove to 1016 0\nmove to 1016 1016\n",
                      line_record(0, 0, 0, 1, 0) + line_record(0, 1, 0, 1, 1));
}

TEST(Motion, WithoutAPenNothingIsDrawnButThePositionFollows) {
    expect_conversion("PD100,200,300,400;SP2;PD0,0;",
                      "PD\nmove to 100 200\nmove to 300 400\nSP 2\nPD\nmove to 0 0\n",
                      line_units(1, 300, 400, 0, 0));
}

TEST(Motion, ZeroLengthMoveStillWritesALine) {
    expect_conversion("SP1;PD;PA0,0;", "SP 1\nPD\nPA\nmove to 0 0\n", line_record(0, 0, 0, 0, 0));
}

TEST(Motion, PenUpMovesLogButDoNotDraw) {
    expect_conversion("SP1;PU10,20,30,40;", "SP 1\nPU\nmove to 10 20\nmove to 30 40\n", "");
}

TEST(Motion, RelativeOffsetsAccumulate) {
    expect_conversion("SP1;PU50,50;PR;PD100,0,0,100;",
                      "SP 1\nPU\nmove to 50 50\nPR\nPD\nmove rel 100 0\nmove rel 0 100\n",
                      line_units(0, 50, 50, 150, 50) + line_units(0, 150, 50, 150, 150));
}

TEST(Motion, AbsoluteAgainAfterPA) {
    expect_conversion("SP1;PR;PA;PD200,300;", "SP 1\nPR\nPA\nPD\nmove to 200 300\n",
                      line_units(0, 0, 0, 200, 300));
}

TEST(Motion, MirroredAxesNegateCoordinates) {
    expect_conversion("SC0,10,10,0;SP1;PU0,1016;PD1016,1016;",
                      "SC 0 10 10 0\nSP 1\nPU\nmove to 0 1016\nPD\nmove to 1016 1016\n",
                      line_record(0, 0, -1, 1, -1));
    expect_conversion(
        "SC10,0,0,10;SP1;PD1016,0;", "SC 10 0 0 10\nSP 1\nPD\nmove to 1016 0\n",
        "0\nLINE\n8\n0\n10\n-0.000000\n  20\n0.000000\n11\n-1.000000\n  21\n0.000000\n");
}

TEST(Motion, PenNumbersFoldAndNegativeOnesPassThrough) {
    for (auto [pen, layer] : {std::pair{9, 8}, {10, 0}, {25, 0}, {-1, -2}, {1, 0}}) {
        std::string sp = "SP" + std::to_string(pen) + ";";
        expect_conversion(sp + "PD1,1;", "SP " + std::to_string(pen) + "\nPD\nmove to 1 1\n",
                          line_units(layer, 0, 0, 1, 1));
    }
}

TEST(Motion, InitializeKeepsPenSizeAndAxesButResetsMotion) {
    expect_conversion("SP2;SC10,0,0,10;PR;PD5,5;IN;PD100,0;",
                      "SP 2\nSC 10 0 0 10\nPR\nPD\nmove rel 5 5\nIN\nDF\nPD\nmove to 100 0\n",
                      line_record(1, -0.0, 0, -5 / 1016.0, 5 / 1016.0) +
                          line_record(1, -0.0, 0, -100 / 1016.0, 0));
}

TEST(Motion, DefaultValuesDoNotLiftThePen) {
    expect_conversion("SP1;PD;DF;PA10,0;", "SP 1\nPD\nDF\nPA\nmove to 10 0\n",
                      line_units(0, 0, 0, 10, 0));
}

TEST(Motion, RelativeMovesWrapAroundTheIntRange) {
    expect_conversion("SP1;PU1,0;PR;PD2147483647,0;",
                      "SP 1\nPU\nmove to 1 0\nPR\nPD\nmove rel 2147483647 0\n",
                      line_record(0, 1 / 1016.0, 0, -2147483648.0 / 1016.0, 0));
}

TEST(Motion, ExtremeCoordinatesAreWrittenExactly) {
    expect_conversion("SP1;PD2147483647,-2147483648;", "SP 1\nPD\nmove to 2147483647 -2147483648\n",
                      line_record(0, 0, 0, 2147483647 / 1016.0, -2147483648.0 / 1016.0));
}

} // namespace
