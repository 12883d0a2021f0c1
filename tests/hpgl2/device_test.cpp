// The device in HP-GL/2 mode: scaling points, user units, rotation, the page, pens and colours.
#include <gtest/gtest.h>

#include "e2e/drawing.h"

namespace {

std::string drawn(const std::string& input,
                  const std::vector<std::string>& extra = {"--units=mm"}) {
    return entities(convert2(input, extra).dxf);
}

TEST(ScalingPoints, IpAndIrMoveTheUserWindow) {
    // IP with two numbers moves P2 with P1; with scaling on, the mapping follows at once.
    EXPECT_EQ(drawn("SC0,10,0,10;IP1000,1000;PD10,10;"), "POLYLINE PEN1 (0,0) (275,205)\n");
    EXPECT_EQ(drawn("IP0,0,1000,2000;SC0,10,0,10;PD10,10;IP;PD0,0;"),
              "POLYLINE PEN1 (0,0) (25,50) (0,0)\n");
    // IR: percentages of the page.
    EXPECT_EQ(drawn("IR50,50;SC0,1,0,1;PD1,1;"), "POLYLINE PEN1 (0,0) (375,270)\n");
    EXPECT_EQ(drawn("IR0,0,10,10;SC0,1,0,1;PD1,1;"), "POLYLINE PEN1 (0,0) (25,18)\n");
}

TEST(UserUnits, AnisotropicIsotropicAndPointFactor) {
    EXPECT_EQ(drawn("SC0,100,0,100,1;PU0,0;PD100,100;"), "POLYLINE PEN1 (35,0) (215,180)\n");
    EXPECT_EQ(drawn("SC0,100,0,100,1,0,100;PU0,100;PD100,0;"), "POLYLINE PEN1 (0,180) (180,0)\n");
    EXPECT_EQ(drawn("SC0,2,0,3,2;PD10,10;"), "POLYLINE PEN1 (0,0) (0.5,0.75)\n");
    // A mirrored window draws mirrored; SC; is plotter units again.
    EXPECT_EQ(drawn("SC0,10,10,0;PD0,0;SC;PD40,40;"), "POLYLINE PEN1 (0,0) (0,180) (1,1)\n");
}

TEST(UserUnits, AnEmptyWindowIsAnErrorAndLeavesScalingAsItWas) {
    Result r = convert2("SC0,10,0,10;SC5,5,0,1;PD10,10;SC0,1,2,3,7;", {"--units=mm"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(entities(r.dxf), "POLYLINE PEN1 (0,0) (250,180)\n");
    EXPECT_EQ(log_body(r.log),
              "penwright.plt:1:15: error: SC with an empty window: skipped\n"
              "penwright.plt:1:41: error: SC type 7 is not 0, 1 or 2: skipped\n"
              "Drawn: 1 polylines, 0 arcs, 0 circles, 0 texts, 0 points on 1 layers\n");
}

TEST(Rotation, TheTurnedFrameLiesOnThePage) {
    EXPECT_EQ(drawn("RO90;PU0,0;PD1000,0;"), "POLYLINE PEN1 (250,0) (250,25)\n");
    EXPECT_EQ(drawn("RO180;PU0,0;PD1000,0;"), "POLYLINE PEN1 (250,180) (225,180)\n");
    EXPECT_EQ(drawn("RO270;PU0,0;PD1000,0;"), "POLYLINE PEN1 (0,180) (0,155)\n");
    // The pen stays where it is on the page when the frame turns under it.
    EXPECT_EQ(drawn("PU400,0;RO90;PD0,0;"), "POLYLINE PEN1 (10,0) (250,0)\n");
    // P1 and P2 go to the turned page's corners, and arcs turn with the frame.
    EXPECT_EQ(drawn("RO90;SC0,100,0,100;PU0,0;PD100,100;"), "POLYLINE PEN1 (250,0) (0,180)\n");
    EXPECT_EQ(drawn("RO90;PU1000,0;PD;AA0,0,90;"), "ARC PEN1 (250,0) r25 90..180\n");
    Result r = convert2("RO45;", {"--units=mm"});
    EXPECT_EQ(log_body(r.log),
              "penwright.plt:1:3: error: RO 45 is not 0, 90, 180 or 270: skipped\n"
              "Drawn: 0 polylines, 0 arcs, 0 circles, 0 texts, 0 points on 0 layers\n");
}

TEST(Page, PsSetsThePageAndItsScalingPoints) {
    EXPECT_EQ(drawn("PS20000,10000;SC0,1,0,1;PD1,1;"), "POLYLINE PEN1 (0,0) (500,250)\n");
    EXPECT_EQ(drawn("PS4000;SC0,1,0,1;PD1,1;"), "POLYLINE PEN1 (0,0) (100,100)\n");
    EXPECT_EQ(drawn("PS4000;RO90;PU0,0;PD40,0;"), "POLYLINE PEN1 (100,0) (100,1)\n");
}

TEST(Pens, LayersOfThePensThatDrewWithTheirColours) {
    Result r = convert2(
        "SP3;PD100,0;SP0;PD200,0;SP12;PD300,0;PC12,128,128,128;SP5;CI5;SP12;PD400,0;PC12;PD500,0;");
    EXPECT_EQ(layers(r.dxf), "0:7 PEN0:-7 PEN3:3 PEN5:5 PEN12:7");
    EXPECT_EQ(entities(r.dxf),
              "POLYLINE PEN3 (0,0) (0.098425,0)\nPOLYLINE PEN0 (0.098425,0) (0.19685,0)\n"
              "POLYLINE PEN12 (0.19685,0) (0.295276,0)\nCIRCLE PEN5 (0.295276,0) r0.004921\n"
              "POLYLINE PEN12 colour 8 (0.295276,0) (0.393701,0)\n"
              "POLYLINE PEN12 (0.393701,0) (0.492126,0)\n");
    // A layer takes the colour its pen has when it first draws; IN restores the palette.
    r = convert2("PC1,0,0,255;PD10,0;IN;PD20,0;PC2,250,250,250;PC3,10,20,30;PC4,255,3,0;SP2;PD1,1;"
                 "SP3;PD2,2;SP4;PD3,3;");
    EXPECT_EQ(layers(r.dxf), "0:7 PEN1:5 PEN2:7 PEN3:7 PEN4:1");
    EXPECT_EQ(
        entities(r.dxf).rfind(
            "POLYLINE PEN1 (0,0) (0.009843,0)\nPOLYLINE PEN1 colour 7 (0,0) (0.019685,0)\n", 0),
        0u);
}

TEST(Initialize, InAndDfPutTheDeviceBack) {
    // IN: pen up at (0, 0), rotation 0, scaling off, P1 and P2 back; the page and the pen stay.
    EXPECT_EQ(drawn("PS4000;SP2;RO90;SC0,1,0,1;PD1,1;IN;PR;PD40,40;"),
              "POLYLINE PEN2 (0,0) (0,100)\nPOLYLINE PEN2 (0,0) (1,1)\n");
    // DF: absolute plotting and scaling off again, the pen where it is.
    EXPECT_EQ(drawn("SC0,1,0,1;PR;DF;PD40,40;"), "POLYLINE PEN1 (0,0) (1,1)\n");
}

} // namespace
