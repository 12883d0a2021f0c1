// Hostile input in HP-GL/2 mode: whatever the bytes, the plot is read to its end, every fault
// is reported, and the drawing is a complete document without inf or nan.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include "e2e/drawing.h"

namespace {

bool complete(const std::string& dxf) {
    return dxf.starts_with("  0\nSECTION\n") && dxf.ends_with("  0\nENDSEC\n  0\nEOF\n");
}

Converted convert_here(const std::string& input) {
    return convert_in_process(input);
}

void expect_whole(const Converted& c, const std::string& what) {
    ASSERT_TRUE(complete(c.dxf)) << what;
    EXPECT_NE(c.log.find("\nDrawn: "), std::string::npos) << what;
    EXPECT_NE(c.log.find("\nErrors: "), std::string::npos) << what;
    EXPECT_EQ(c.dxf.find("inf"), std::string::npos) << what;
    EXPECT_EQ(c.dxf.find("nan"), std::string::npos) << what;
}

TEST(Hostile2, EveryByteValueAloneAndInRuns) {
    for (int b = 0; b < 256; ++b) {
        expect_whole(convert_here(std::string(1, static_cast<char>(b))), std::to_string(b));
        expect_whole(
            convert_here(std::string("PD1,1;").append(5000, static_cast<char>(b)).append("PD2,2;")),
            std::to_string(b));
    }
}

TEST(Hostile2, RandomBytes) {
    std::mt19937 rng(2027);
    for (int i = 0; i < 3; ++i) {
        std::string bytes(300'000, '\0');
        for (char& c : bytes)
            c = static_cast<char>(rng());
        Result r = convert2(bytes);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(complete(r.dxf));
        EXPECT_NE(r.log.find("bytes that are not HP-GL skipped"), std::string::npos);
    }
}

TEST(Hostile2, RealPlotsCutAtEveryOffset) {
    for (const char* name : {"/xanadu_body.plt", "/feature_exercise.plt"}) {
        std::string plot = read_file(std::string(TEST_DATA_DIR) + name);
        ASSERT_FALSE(plot.empty());
        for (size_t n = 0; n <= plot.size(); ++n)
            expect_whole(convert_here(plot.substr(0, n)),
                         std::string(name) + " cut at " + std::to_string(n));
    }
}

TEST(Hostile2, AnEncodedTextOfTwentyMegabytes) {
    const int pairs = 6'666'666; // pen-up moves one plotter unit to the right
    std::string pe = "PE";
    for (int i = 0; i < pairs; ++i)
        pe += "<\xc1\xbf";
    Result r = convert2(pe + ";PD;PU;");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(entities(r.dxf), "POINT PEN1 (6561.679134,0)\n"); // 6666666 / 1016
}

TEST(Hostile2, AMillionCommands) {
    std::string input;
    for (int i = 0; i < 500'000; ++i)
        input += "PU1,1;pu2,2;";
    Result r = convert2(input + "PD;");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(entities(r.dxf), "POINT PEN1 (0.001969,0.001969)\n");
}

TEST(Hostile2, NumbersOfTenThousandDigits) {
    std::string zeros(10'000, '0');
    Result r = convert2(std::string("PA1")
                            .append(zeros)
                            .append(",0;PA0.")
                            .append(zeros)
                            .append("1,0;PD")
                            .append(zeros)
                            .append("1016,0;"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(entities(r.dxf), "POLYLINE PEN1 (0,0) (1,0)\n");
    EXPECT_EQ(log_body(r.log),
              "penwright.plt:1:3: error: PA parameter 100000000000000000000000... is too large: "
              "PA skipped\n"
              "Drawn: 1 polylines, 0 arcs, 0 circles, 0 texts, 0 points on 1 layers\n");
}

TEST(Hostile2, ExtremeCoordinatesThroughEveryDrawingCommand) {
    const std::string big = "9007199254740992", huge = std::string(1, '1') + std::string(300, '0');
    const std::string tiny = std::string("0.").append(299, '0').append("1"); // a window of 1e-300
    std::string commands;
    for (const std::string& v : {big, std::string(1, '-').append(big)}) {
        std::string p = v + "," + v;
        commands += "PA" + p + ";PR" + p + ";PD" + p + ";AA" + p + ",90;AR" + p + ",-90;AT" + p +
                    "," + p + ";RT1,1," + p + ";CI" + v + ";BZ" + p + "," + p + "," + p + ";BR" +
                    p + ",1,1," + p + ";EA" + p + ";ER" + p + ";RA" + p + ";RR" + p + ";EW" + v +
                    ",0,90;WG" + v + ",0,360;PM0;PD" + p + ";PM2;EP;PU0,0;";
    }
    const std::string small_window =
        std::string("SC0,").append(tiny).append(",0,").append(tiny).append(";");
    for (const std::string& scale : {std::string("SC;"), small_window}) {
        Result r = convert2(scale + commands + "PA" + huge + ",0;");
        EXPECT_TRUE(r.status == 0 || r.status == 1);
        EXPECT_TRUE(complete(r.dxf));
        EXPECT_EQ(r.dxf.find("inf"), std::string::npos) << scale;
        EXPECT_EQ(r.dxf.find("nan"), std::string::npos) << scale;
        EXPECT_NE(r.log.find("is too large: PA skipped"), std::string::npos);
    }
    Result r = convert2(small_window + "PA" + big + ",0;CI" + big + ";");
    EXPECT_EQ(log_body(r.log),
              "penwright.plt:1:613: error: coordinate out of range: PA skipped\n"
              "penwright.plt:1:634: error: coordinate out of range: CI skipped\n"
              "Drawn: 0 polylines, 0 arcs, 0 circles, 0 texts, 0 points on 0 layers\n");
}

TEST(Hostile2, FillsAndLineTypesOfHostileSizes) {
    std::string edges = "PM0;PD"; // a ring of a million edges, each a step along a circle
    for (int i = 0; i < 1'000'000; ++i) {
        double a = 6.283185307179586 * i / 1'000'000;
        edges += std::to_string(std::lround(100000 * std::cos(a))) + "," +
                 std::to_string(std::lround(100000 * std::sin(a))) + ",";
    }
    std::string many_rectangles = "FT3,50,30;";
    for (int i = 0; i < 100'000; ++i)
        many_rectangles += "RA" + std::to_string(i % 400 + 1) + ",100;";
    const std::string cases[] = {
        edges + "100000,0;PM2;FP;FP1;",
        "PU5,5;PM0;PD5,5,5,5,5,5;PM2;FP;FP1;EP;",    // every point equal
        "PM0;PD10,10,20,20,30,30,40,40;PM2;FP;FP1;", // all on one line
        "PU-1000000000000000,-1000000000000000;PM0;PD1000000000000000,-1000000000000000,"
        "0,1000000000000000;PM2;FT4;FP;FT;FP1;",
        "FT3,0.000000001;RA1000,1000;", // lines closer than a plotter unit
        many_rectangles,
        "UL1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0;LT1;PD100,0;", // twenty gaps of 0
    };
    for (const std::string& input : cases) {
        Converted c = convert_here(input);
        expect_whole(c, input.substr(0, 60));
    }
    EXPECT_NE(convert_here(cases[0]).log.find("polygon buffer full"), std::string::npos);
    EXPECT_NE(convert_here(cases[4]).log.find("filled solid"), std::string::npos);
    EXPECT_NE(convert_here(cases[6]).log.find("UL with a negative gap or gaps of no length"),
              std::string::npos);
    EXPECT_NE(convert_here(cases[5]).log.find("Filled: 100000 areas"), std::string::npos);
}

TEST(Hostile2, WindowsAndPagesOfHostileSizes) {
    const std::string drawing = "PU0,0;PD1000,1000;CI300;RA-500,500;LBtext\x03PD;PU;";
    std::string many_windows, many_pages;
    for (int i = 0; i < 100'000; ++i) {
        many_windows +=
            "IW" + std::to_string(i % 100) + ",0,1000,1000;PD" + std::to_string(i % 7) + ",5;";
        many_pages += "PD" + std::to_string(i % 50 + 1) + ",0;PG;";
    }
    const std::string cases[] = {
        "IW100,0,100,1000;" + drawing, // no width
        "IW1000,1000,0,0;" + drawing,  // corners the other way
        "IW-1000000000000000,-1000000000000000,1000000000000000,1000000000000000;" + drawing,
        "IW5000,5000,6000,6000;" + drawing, // holds none of it
        many_windows,
        many_pages,
    };
    for (const std::string& input : cases)
        expect_whole(convert_here(input), input.substr(0, 60));
    EXPECT_EQ(entities(convert2("IW5000,5000,6000,6000;" + drawing).dxf), "");
    EXPECT_EQ(entities(convert2("IW1000,1000,0,0;PD2000,2000;").dxf),
              "POLYLINE PEN1 (0,0) (0.984252,0.984252)\n");
    EXPECT_NE(convert_here(many_pages).log.find("Pages: 100000\n"), std::string::npos);
}

} // namespace
