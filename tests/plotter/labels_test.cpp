// Labels: size, direction, line breaks, and one TEXT per label.
#include "e2e/expect.h"
#include "e2e/records.h"

namespace {

TEST(Labels, NeedAPenButNotThePenDown) {
    expect_conversion("LBnone\x03;", "LB \"none\"\n", "");
    expect_conversion("SP1;PU1016,508;LBHello World\x03;",
                      "SP 1\nPU\nmove to 1016 508\nLB \"Hello World\"\n",
                      text_record(0, 1, 0.5, 0, 0, 0.8, "Hello World"));
}

TEST(Labels, SizeIsGivenWidthFirstAndStoredHeightFirst) {
    double height = 0.3 / 0.0025, width = 0.2 / 0.0025;
    expect_conversion("SI.2,.3;SP1;LBx\x03", "SI 0.300000 0.200000\nSP 1\nLB \"x\"\n",
                      text_record(0, 0, 0, height / 1016.0, 0, width * 1.5 / height, "x"));
}

TEST(Labels, SizeWithoutNumbersHasTheDefaultWidthFactor) {
    expect_conversion("SI.2,.3;SI;SP1;LBx\x03",
                      "SI 0.300000 0.200000\nSI 0.000000 0.000000\nSP 1\nLB \"x\"\n",
                      text_record(0, 0, 0, 0, 0, 0.8, "x"));
    expect_conversion("SI.5,0.0;SP1;LBx\x03", "SI 0.000000 0.500000\nSP 1\nLB \"x\"\n",
                      text_record(0, 0, 0, 0, 0, 0.8, "x"));
}

TEST(Labels, DirectionInDegrees) {
    for (auto [di, angle] : {std::pair<const char*, double>{"DI0,1", 90},
                             {"DI-1,0", 180},
                             {"DI1,-1", -45},
                             {"DI0,0", 0}}) {
        Result r = convert(std::string("SP1;") + di + ";LBa\x03");
        EXPECT_NE(r.dxf.find("  50\n" + real(angle) + "\n"), std::string::npos) << di;
    }
    expect_log("DI3,-4;", "DI 3 -4\n");
}

TEST(Labels, DefaultsResetTheDirectionButNotTheSize) {
    double height = 0.3 / 0.0025;
    expect_conversion("SI.2,.3;DI0,1;DF;SP1;LBa\x03",
                      "SI 0.300000 0.200000\nDI 0 1\nDF\nSP 1\nLB \"a\"\n",
                      text_record(0, 0, 0, height / 1016.0, 0, 1.0, "a"));
}

TEST(Labels, TextEndsAtTheFirstLineBreak) {
    expect_conversion("SP1;LBtwo\r\nlines\x03;LB\nstarts with LF\x03;",
                      "SP 1\nLB \"two\"\nLB \"\"\n",
                      text_record(0, 0, 0, 0, 0, 0.8, "two") + text_record(0, 0, 0, 0, 0, 0.8, ""));
}

TEST(Labels, LabelsDoNotMoveThePen) {
    expect_conversion("SP3;PU10,20;LBa\x03LBb\x03PD30,40;",
                      "SP 3\nPU\nmove to 10 20\nLB \"a\"\nLB \"b\"\nPD\nmove to 30 40\n",
                      text_record(2, 10 / 1016.0, 20 / 1016.0, 0, 0, 0.8, "a") +
                          text_record(2, 10 / 1016.0, 20 / 1016.0, 0, 0, 0.8, "b") +
                          line_units(2, 10, 20, 30, 40));
}

TEST(Labels, MirroredAxesMoveTheInsertionPoint) {
    expect_conversion("SC1,1,0,0;SP1;PU1016,0;LBm\x03",
                      "SC 1 0 1 0\nSP 1\nPU\nmove to 1016 0\nLB \"m\"\n",
                      text_record(0, -1, -0.0, 0, 0, 0.8, "m"));
}

TEST(Labels, HugeSizesStayFinite) {
    std::string big = "1" + std::string(320, '0') + ".0";
    Result r = convert("SI" + big + "," + big + ";SP1;LBx\x03");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.dxf.find("inf"), std::string::npos);
    EXPECT_EQ(r.dxf.find("nan"), std::string::npos);
}

} // namespace
