// Hostile input: huge tokens, every byte value, random bytes and extreme numbers. Nothing
// crashes or hangs, and the drawing is always a complete document.
#include <gtest/gtest.h>

#include <random>

#include "e2e/harness.h"
#include "e2e/records.h"

namespace {

bool complete(const Result& r) {
    return r.dxf.ends_with("  0\nENDSEC\n  0\nEOF\n");
}

int count(const std::string& s, const std::string& what) {
    int n = 0;
    for (size_t at = 0; (at = s.find(what, at)) != std::string::npos; at += what.size())
        ++n;
    return n;
}

TEST(Hostile, FiftyMegabyteLabelIsOneText) {
    std::string text(50'000'000, 'x');
    Result r = convert("SP1;LB" + text + "\x03;");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.log, log_file("SP 1\nLB \"" + text + "\"\n"));
    EXPECT_EQ(r.dxf, dxf_document(text_record(0, 0, 0, 0, 0, 0.8, text)));
}

TEST(Hostile, TwentyMegabyteNumberWrapsToItsValueModulo2To32) {
    // 10^k is a multiple of 2^32 once k >= 32.
    Result r = convert("SP1;PD1" + std::string(20'000'000, '0') + ",5;");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.log, log_file("SP 1\nPD\nmove to 0 5\n"));
    EXPECT_EQ(r.dxf, dxf_document(line_units(0, 0, 0, 0, 5)));
}

TEST(Hostile, MillionEmptyLinesKeepTheLineCount) {
    Result r = convert(std::string(1'000'000, '\n') + "  +");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(
        r.err.find("(penwright.plt) line 1000001, pos 3 : Illegal character : + : 0x2b\n(0x49)\n"),
        std::string::npos);
    EXPECT_TRUE(complete(r));
}

TEST(Hostile, EveryByteAloneIsAcceptedOrOneError) {
    const std::string harmless = "\n\t\r\x1a ;\x03";
    for (int b = 0; b < 256; ++b) {
        std::string input(1, static_cast<char>(b));
        Result r = convert(input);
        bool ok = harmless.find(static_cast<char>(b)) != std::string::npos;
        EXPECT_EQ(r.status, ok ? 0 : 1) << b;
        EXPECT_TRUE(r.err.ends_with(ok ? "Errors: 0, Warnings: 0\n" : "Errors: 1, Warnings: 0\n"))
            << b;
        EXPECT_EQ(r.dxf, dxf_document("")) << b;
    }
}

TEST(Hostile, RunsOfEveryByteValue) {
    for (int b = 0; b < 256; ++b) {
        Result r = convert(std::string(10'000, static_cast<char>(b)));
        EXPECT_TRUE(r.status == 0 || r.status == 1) << b;
        EXPECT_TRUE(complete(r)) << b;
        EXPECT_TRUE(r.log.ends_with(", Warnings: 0\n")) << b;
    }
}

TEST(Hostile, RandomBinary) {
    std::mt19937 rng(2026);
    for (int i = 0; i < 3; ++i) {
        std::string bytes(300'000, '\0');
        for (char& c : bytes)
            c = static_cast<char>(rng());
        Result r = convert(bytes);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(complete(r));
    }
}

TEST(Hostile, ExtremeCoordinatesThroughEveryDrawingCommand) {
    const std::string big[] = {"2147483647", "-2147483648", "99999999999"};
    std::string input = "SP1;PD;";
    for (const auto& x : big)
        for (const auto& y : big) {
            std::string p = x + "," + y;
            input += "PA" + p + ";PR" + p + ";PA;AA" + p + ",90;AR" + p + ",-90;AA" + p +
                     ",360;CI" + x + ";LBx\x03;BR" + p + "," + p + "," + p + ";PU" + p + ";PD;";
        }
    input += "SI" + std::string(400, '9') +
             ".5,.1;LBhuge\x03;PE\xfe\xfe\xfe\xfe\xfe\xfe\xfe\xfe\xfe\xfe\xfe\xfe;";
    Result r = convert(input);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(complete(r));
    EXPECT_EQ(r.dxf.find("inf"), std::string::npos);
    EXPECT_EQ(r.dxf.find("nan"), std::string::npos);
    EXPECT_EQ(count(r.log, "bezier polygon"), 9);
}

TEST(Hostile, RelativeSumsWrapBothWays) {
    Result r = convert("SP1;PA2147483647,-2147483648;PR;PD1,-1;");
    EXPECT_EQ(r.dxf, dxf_document(line_record(0, 2147483647 / 1016.0, -2147483648.0 / 1016.0,
                                              -2147483648.0 / 1016.0, 2147483647 / 1016.0)));
}

TEST(Hostile, BezierStatementWithAHundredThousandCurves) {
    std::string input = "SP1;PD;BR";
    for (int i = 0; i < 100'000; ++i)
        input += i ? ",1,1,2,2,3,3" : "1,1,2,2,3,3";
    Result r = convert(input + ";PA0,0;");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(count(r.log, "bezier polygon"), 100'000);
    EXPECT_NE(
        r.log.find("  bezier polygon: 299997 299997 299998 299998 299999 299999 300000 300000\n"),
        std::string::npos);
    EXPECT_EQ(count(r.dxf, "0\nLINE\n"), 1'000'001);
    EXPECT_TRUE(r.log.ends_with("PA\nmove to 0 0\nErrors: 0, Warnings: 0\n"));
}

} // namespace
