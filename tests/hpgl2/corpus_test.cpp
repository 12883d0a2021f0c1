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

// The plots of the corpus beside the project, when it is there.
std::string corpus_plot(const char* name) {
    return read_file(std::string(CORPUS_DIR) + "/" + name);
}

TEST(RealPlots, CutToTheirOwnWindows) {
    // IW3000,700,4100,1500 around a circle of 500 about (3550, 1100): cut where y is 700 and
    // 1500, at 53.130102 degrees from the centre's level; IW4400,700,5600,1500 around a line
    // from (4200, 700) to (5800, 1500) and one back along y = 1500.
    std::string e = entities(convert2(read_file(TEST_DATA_DIR "/feature_exercise.plt")).dxf);
    EXPECT_NE(e.find("ARC PEN3 (3.494094,1.082677) r0.492126 126.869898..233.130102\n"
                     "ARC PEN3 (3.494094,1.082677) r0.492126 306.869898..53.130102\n"
                     "POLYLINE PEN4 (4.330709,0.787402) (5.511811,1.377953)\n"
                     "POLYLINE PEN4 (5.511811,1.476378) (4.330709,1.476378)\n"),
              std::string::npos)
        << e;
    std::string plot = corpus_plot("10_ghostpdl_grashopp_lj5p_driver.pcl");
    if (plot.empty()) GTEST_SKIP() << "no corpus at " CORPUS_DIR;
    // IP0,0,1016,1016;SC0,600,0,600: 600 user units an inch; every IW is 0,0,6352,4896, the
    // page's (0, 0) to (10.586667, 8.16) inches. The drawing runs beyond it at the top.
    EXPECT_EQ(extents(convert2(plot).dxf), "(0.203333,0)-(9.743333,8.16)");
}

// The layer table of an AC1015 drawing in short: "PEN1:80 PEN2:25".
std::string layer_weights(const std::string& dxf) {
    auto g = groups(dxf);
    std::string out;
    for (size_t i = 0; i + 1 < g.size(); ++i)
        if (g[i].first == "  2" && g[i].second.starts_with("PEN"))
            for (size_t j = i; j < g.size() && g[j].first != "  0"; ++j)
                if (g[j].first == "370")
                    out += (out.empty() ? "" : " ") + g[i].second + ":" + g[j].second;
    return out;
}

TEST(RealPlots, LineweightsFromTheirPenWidths) {
    // The steel drawing draws first with PW0.10 (pens 0, 1, 2 and 8: 0.09 is nearest), PW0.18
    // (3 and 5), PW0.25 (4), PW0.35 (6) and PW0.70 (7); pen 0 draws later at PW0.13.
    Result r = convert2(read_file(TEST_DATA_DIR "/gb01_stahlbau.plt"), {"--dxf=r2000"});
    EXPECT_EQ(layer_weights(r.dxf), "PEN0:9 PEN1:9 PEN2:9 PEN3:18 PEN4:25 PEN5:18 PEN6:35 PEN7:70 "
                                    "PEN8:9");
    EXPECT_NE(r.dxf.find("  8\nPEN0\n370\n13\n"), std::string::npos);
    std::string plot = corpus_plot("21_chiplotle_foal_rel01_PW_PM_EC.hpgl");
    if (plot.empty()) GTEST_SKIP() << "no corpus at " CORPUS_DIR;
    // PW0.75 before every stroke: 0.75 mm lies halfway between 0.70 and 0.80, and a tie goes to
    // the larger; the polygons' edges after PW0 carry their own lineweight, 0.
    r = convert2(plot, {"--dxf=r2000"});
    EXPECT_EQ(layer_weights(r.dxf), "PEN1:80");
    EXPECT_NE(r.dxf.find("  8\nPEN1\n100\nAcDbPolyline\n 90\n34\n"), std::string::npos);
    EXPECT_NE(r.dxf.find("  8\nPEN1\n370\n0\n100\nAcDbPolyline\n"), std::string::npos);
}

} // namespace
