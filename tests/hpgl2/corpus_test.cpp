// Real plots drawn at their true size and the right way up, in HP-GL/2 mode.
#include <gtest/gtest.h>

#include "e2e/drawing.h"

namespace {

Result convert_plot(const std::string& path) {
    return convert2(read_file(path), {"--units=mm"});
}

// The first stroke of each plot is the tick PU0,0;PD0,27 at the user origin: it must go up.
void expect_upright_tick(const Result& r, const std::string& tick) {
    EXPECT_EQ(entities(r.dxf).rfind(tick, 0), 0u) << entities(r.dxf).substr(0, 200);
}

TEST(RealPlots, HpLogoAtItsTrueSize) {
    // IP400,4500 moves P1 there and P2 with it, to (10400, 11700); SC0,9000,0,6363 maps user x
    // by 10000 / 9000 and y by 7200 / 6363 plotter units. The plot draws x from 0 to 8525 and
    // y from 0 to 1677: 400 to 9872.2 and 4500 to 6397.6 plotter units, over 40 in mm.
    Result r = convert_plot(EXAMPLES_DIR "/hp.hpgl");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(extents(r.dxf), "(10,112.5)-(246.805556,159.939887)");
    expect_upright_tick(r, "POLYLINE PEN1 (10,112.5) (10,113.263791)\n"); // 27 * 7200 / 6363 / 40
}

TEST(RealPlots, TektronixCaptureAtItsTrueSize) {
    // IP2400,400: P1 (2400, 400), P2 (12400, 7600); SC0,1800000,0,1300000. The plot draws x
    // from 0 to 1229704 and y from 0 to 1220700: 2400 + 1229704 / 180 = 9231.69 and
    // 400 + 1220700 * 7200 / 1300000 = 7160.8 plotter units.
    Result r = convert_plot(TEST_DATA_DIR "/tektronix.hpgl");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(extents(r.dxf), "(60,10)-(230.792222,179.02)");
    expect_upright_tick(r, "POLYLINE PEN1 (60,10) (60,10.003738)\n"); // 27 * 7200 / 1300000 / 40
}

TEST(RealPlots, SpaceShuttleAtItsTrueSize) {
    // SC0,2247,0,1800 comes first, then IP3500,300: the scaling follows P1 to (3500, 300) and
    // P2 to (13500, 7500), 10000 / 2247 plotter units per user unit in x and 4 in y. The plot
    // draws x from 3 to 1369 and y from -38 to 1741.
    Result r = convert_plot(TEST_DATA_DIR "/space_shuttle.hpgl");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(extents(r.dxf), "(87.833778,3.7)-(239.814197,181.6)");
    // The first stroke, user (87, 25) to (79, 26), keeps both directions: not mirrored.
    std::string e = entities(r.dxf);
    EXPECT_EQ(e.rfind("POLYLINE PEN1 (97.179573,10) (96.289497,10.1) ", 0), 0u) << e.substr(0, 120);
}

} // namespace
