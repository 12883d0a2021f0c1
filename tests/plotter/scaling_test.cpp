// Scaling, window, rotation: echoed, never applied, except the axis directions of SC.
#include "e2e/expect.h"
#include "e2e/records.h"

namespace {

TEST(Scaling, WindowIsLoggedAsX1X2Y1Y2) {
    expect_conversion("SC0,100,0,100;SP1;PD1016,1016;",
                      "SC 0 0 100 100\nSP 1\nPD\nmove to 1016 1016\n", line_record(0, 0, 0, 1, 1));
}

TEST(Scaling, DescendingYMirrorsY) {
    expect_conversion("SC0,1000,0,500;SP1;PD1016,1016;",
                      "SC 0 0 1000 500\nSP 1\nPD\nmove to 1016 1016\n",
                      line_record(0, 0, -0.0, 1, -1));
}

TEST(Scaling, DescendingXMirrorsXAndEqualCornersDoNot) {
    expect_conversion("SC100,0,0,0;SP1;PD1016,1016;", "SC 100 0 0 0\nSP 1\nPD\nmove to 1016 1016\n",
                      line_record(0, -0.0, 0, -1, 1));
}

TEST(Scaling, ScWithoutNumbersKeepsTheLastWindowsSigns) {
    expect_conversion("SC100,0,0,0;SC;SP1;PD1016,0;",
                      "SC 100 0 0 0\nSC \nSP 1\nPD\nmove to 1016 0\n",
                      line_record(0, -0.0, 0, -1, 0));
    expect_conversion("SC;SP1;PD1016,0;", "SC \nSP 1\nPD\nmove to 1016 0\n",
                      line_record(0, 0, 0, 1, 0));
}

TEST(Scaling, TypeLeftAndBottomAreOnlyEchoed) {
    expect_log("SC0,100,0,100,1;SC0,100,0,100,2,50,50;",
               "SC 0 0 100 100 1\nSC 0 0 100 100 2 50 50\n");
}

TEST(Scaling, InitializeKeepsTheAxisSigns) {
    expect_conversion("SC100,0,0,0;IN;SP1;PD1016,0;",
                      "SC 100 0 0 0\nIN\nDF\nSP 1\nPD\nmove to 1016 0\n",
                      line_record(0, -0.0, 0, -1, 0));
}

TEST(Scaling, ScalingPointsChangeNothing) {
    expect_conversion("IP0,0,4000,3000;IP;IP5,6;SP1;PD4000,3000;",
                      "IP 0 0 4000 3000\nIP \nIP 5 6\nSP 1\nPD\nmove to 4000 3000\n",
                      line_record(0, 0, 0, 4000 / 1016.0, 3000 / 1016.0));
}

TEST(Scaling, RotationWindowAndUnitsAreEchoed) {
    expect_conversion("RO90;RO;RO45.5;IW0,0,10,10;IW;WU;WU1;SP1;PD100,100;",
                      "RO 90.000000\nRO 0.000000\nRO 45.500000\nIW 0 0 10 10\nIW 0 0 0 "
                      "0\nWU\nWU\nSP 1\nPD\nmove to 100 100\n",
                      line_units(0, 0, 0, 100, 100));
}

} // namespace
