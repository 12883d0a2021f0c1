// Arcs and circles: exact angles, the centre forms, the circle cases and the pen's new position.
#include "e2e/expect.h"
#include "e2e/records.h"

namespace {

const bool aa_form = true, standard = false;

TEST(Arcs, QuarterTurnCounterClockwise) {
    expect_conversion("SP1;PU1016,0;PD;AA0,0,90;PU;",
                      "SP 1\nPU\nmove to 1016 0\nPD\nAA 0 0 90\nPU\n",
                      arc_record(0, 0, 0, 1, 0, 90, aa_form));
    // The pen ends at (0, 1016): the next stroke starts there.
    expect_conversion("SP1;PU1016,0;PD;AA0,0,90;PA0,0;",
                      "SP 1\nPU\nmove to 1016 0\nPD\nAA 0 0 90\nPA\nmove to 0 0\n",
                      arc_record(0, 0, 0, 1, 0, 90, aa_form) + line_units(0, 0, 1016, 0, 0));
}

TEST(Arcs, ClockwiseSweepSwapsTheAngles) {
    expect_conversion("SP1;PU1016,0;PD;AA0,0,-90;PA0,0;",
                      "SP 1\nPU\nmove to 1016 0\nPD\nAA 0 0 -90\nPA\nmove to 0 0\n",
                      arc_record(0, 0, 0, 1, -90, 0, aa_form) + line_units(0, 0, -1016, 0, 0));
}

TEST(Arcs, NewPositionIsTruncatedTowardZero) {
    expect_conversion("SP1;PU100,0;AA0,0,120;PD0,0;",
                      "SP 1\nPU\nmove to 100 0\nAA 0 0 120\nPD\nmove to 0 0\n",
                      line_units(0, -49, 86, 0, 0));
}

TEST(Arcs, RelativeCentreUsesTheStandardForm) {
    expect_conversion("SP1;PD;AR1016,0,90;PA0,0;", "SP 1\nPD\nAR 1016 0 90\nPA\nmove to 0 0\n",
                      arc_record(0, 1, 0, 1, 180, 270, standard) +
                          line_units(0, 1016, -1016, 0, 0));
}

TEST(Arcs, OnlyAFullTurnIsACircle) {
    expect_conversion("SP1;PU1016,0;PD;AA0,0,360;AA0,0,-360;AR-1016,0,360;",
                      "SP 1\nPU\nmove to 1016 0\nPD\nAA 0 0 360\nAA 0 0 -360\nAR -1016 0 360\n",
                      circle_record(0, 0, 0, 1, aa_form) + circle_record(0, 0, 0, 1, aa_form) +
                          circle_record(0, 0, 0, 1, standard));
    expect_conversion("SP1;PU1016,0;PD;AA0,0,720;AA0,0,0;AA0,0,359;",
                      "SP 1\nPU\nmove to 1016 0\nPD\nAA 0 0 720\nAA 0 0 0\nAA 0 0 359\n",
                      arc_record(0, 0, 0, 1, 0, 720, aa_form) +
                          arc_record(0, 0, 0, 1, 0, 0, aa_form) +
                          arc_record(0, 0, 0, 1, 0, 359, aa_form));
}

TEST(Arcs, RealSweepsAreTruncatedAndChordsIgnored) {
    expect_log("AA100,100,90.7;AA100,100,90,5;AA100,100,-90.7;AA1,2,45.9,2.5;AR1,2,-45.9;",
               "AA 100 100 90\nAA 100 100 90\nAA 100 100 -90\nAA 1 2 45\nAR 1 2 -45\n");
}

TEST(Arcs, RealSweepsBeyondTheIntRangeSaturate) {
    expect_log("AA0,0,99999999999.5;AR0,0,-99999999999.5;",
               "AA 0 0 2147483647\nAR 0 0 -2147483648\n");
}

TEST(Arcs, PenUpOrNoPenStillMovesThePen) {
    expect_conversion("PU1016,0;AA0,0,90;SP1;PD0,0;",
                      "PU\nmove to 1016 0\nAA 0 0 90\nSP 1\nPD\nmove to 0 0\n",
                      line_units(0, 0, 1016, 0, 0));
}

TEST(Arcs, CentreOnThePenGivesRadiusZero) {
    expect_conversion("SP1;PD;AA0,0,45;", "SP 1\nPD\nAA 0 0 45\n",
                      arc_record(0, 0, 0, 0, 0, 45, aa_form));
}

TEST(Arcs, MirroredAxisNegatesTheCentreButNotTheAngles) {
    expect_conversion("SC10,0,0,10;SP1;PU2032,0;PD;AA1016,0,90;",
                      "SC 10 0 0 10\nSP 1\nPU\nmove to 2032 0\nPD\nAA 1016 0 90\n",
                      arc_record(0, -1, 0, 1, 0, 90, aa_form));
}

TEST(Circles, DrawnWithThePenUpAndWithoutMoving) {
    expect_conversion("SP2;PU1016,0;CI508;PD0,0;",
                      "SP 2\nPU\nmove to 1016 0\nCI 508\nPD\nmove to 0 0\n",
                      circle_record(1, 1, 0, 0.5, standard) + line_units(1, 1016, 0, 0, 0));
    expect_conversion("SP1;CI-508;CI100,5.5;CI7,3;", "SP 1\nCI -508\nCI 100\nCI 7\n",
                      circle_record(0, 0, 0, -0.5, standard) +
                          circle_record(0, 0, 0, 100 / 1016.0, standard) +
                          circle_record(0, 0, 0, 7 / 1016.0, standard));
    expect_conversion("CI508;", "CI 508\n", "");
}

TEST(Arcs, AnchorAndChordToleranceAreEchoed) {
    expect_log("AC;AC5,-6;CT;CT1;", "AC 0 0\nAC 5 -6\nCT 0\nCT 1\n");
}

TEST(Arcs, FarCentresSaturateInsteadOfOverflowing) {
    Result r = convert("SP1;PU2147483647,2147483647;PD;AA-2147483648,-2147483648,45;PA0,0;");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.dxf.find("nan"), std::string::npos);
    EXPECT_EQ(r.dxf.find("inf"), std::string::npos);
}

} // namespace
