// The -d token trace, end to end.
#include <gtest/gtest.h>

#include "e2e/harness.h"

namespace {

// Standard error between the preamble and the summary.
std::string trace_of(const std::string& input, int errors = 0) {
    Result r = convert(input, {"-d"});
    EXPECT_EQ(r.out, "LOCAL DEBUGGING ENABLED\n");
    std::string head = stderr_preamble();
    std::string tail = "Errors: " + std::to_string(errors) + ", Warnings: 0\n";
    EXPECT_TRUE(r.err.starts_with(head) && r.err.ends_with(tail)) << r.err;
    if (r.err.size() < head.size() + tail.size()) return "";
    return r.err.substr(head.size(), r.err.size() - head.size() - tail.size());
}

TEST(ScannerTrace, EveryTokenWithItsPositionAndValue) {
    EXPECT_EQ(trace_of("PU0,0;\n"), "token=\"P\", tokenpos=1, yyleng=1\n"
                                    "token=\"U\", tokenpos=2, yyleng=1\n"
                                    "token=\"0\", tokenpos=3, yyleng=1\n"
                                    "Token value = \"0x0\"\n"
                                    "token=\",\", tokenpos=4, yyleng=1\n"
                                    "token=\"0\", tokenpos=5, yyleng=1\n"
                                    "Token value = \"0x0\"\n"
                                    "token=\";\", tokenpos=6, yyleng=1\n");
}

TEST(ScannerTrace, NegativeIntegersRealsAndBlanks) {
    EXPECT_EQ(trace_of("PR -1,-20;\tSI.2,.3;"), "token=\"P\", tokenpos=1, yyleng=1\n"
                                                "token=\"R\", tokenpos=2, yyleng=1\n"
                                                "token=\" \", tokenpos=3, yyleng=1\n"
                                                "token=\"-1\", tokenpos=5, yyleng=2\n"
                                                "Token value = \"0xffffffff\"\n"
                                                "token=\",\", tokenpos=6, yyleng=1\n"
                                                "token=\"-20\", tokenpos=9, yyleng=3\n"
                                                "Token value = \"0xffffffec\"\n"
                                                "token=\";\", tokenpos=10, yyleng=1\n"
                                                "token=\"TAB\", tokenpos=11, yyleng=1\n"
                                                "token=\"S\", tokenpos=12, yyleng=1\n"
                                                "token=\"I\", tokenpos=13, yyleng=1\n"
                                                "token=\".2\", tokenpos=15, yyleng=2\n"
                                                "Token value = \"0.200000\"\n"
                                                "token=\",\", tokenpos=16, yyleng=1\n"
                                                "token=\".3\", tokenpos=18, yyleng=2\n"
                                                "Token value = \"0.300000\"\n"
                                                "token=\";\", tokenpos=19, yyleng=1\n");
}

TEST(ScannerTrace, TextsShowTheirRawTokenAndCopiedValue) {
    EXPECT_EQ(trace_of("LBab\x03PE\x01;CO\"c\""), "token=\"LB\", tokenpos=2, yyleng=2\n"
                                                  "token=\"ab\x03\", tokenpos=5, yyleng=3\n"
                                                  "Token value = \"ab\"\n"
                                                  "token=\"PE\", tokenpos=7, yyleng=2\n"
                                                  "token=\"\x01\", tokenpos=8, yyleng=1\n"
                                                  "Token value = \"\x01\"\n"
                                                  "token=\";\", tokenpos=9, yyleng=1\n"
                                                  "token=\"CO\", tokenpos=11, yyleng=2\n"
                                                  "token=\"\"c\"\", tokenpos=14, yyleng=3\n"
                                                  "Token value = \"\"c\"\"\n");
}

TEST(ScannerTrace, IllegalCharacterReportFollowsItsTokenLine) {
    EXPECT_EQ(trace_of("+\x80", 2),
              "token=\"+\", tokenpos=1, yyleng=1\n"
              "(penwright.plt) line 1, pos 1 : Illegal character : + : 0x2b\n(0x49)\n"
              "token=\"\x80\", tokenpos=2, yyleng=1\n"
              "(penwright.plt) line 1, pos 2 : Illegal character : \x80 : 0xffffff80\n(0x49)\n");
}

TEST(ScannerTrace, NulOutsideATextEndsTheMessageEarly) {
    EXPECT_EQ(trace_of(std::string("\0", 1), 1),
              "token=\"\", tokenpos=1, yyleng=1\n"
              "(penwright.plt) line 1, pos 1 : Illegal character : (0x49)\n");
}

} // namespace
