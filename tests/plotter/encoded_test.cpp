// Encoded polylines: the echo, the base-64 decoding, the flags and the three warnings.
#include "e2e/expect.h"
#include "e2e/records.h"

namespace {

TEST(Encoded, EmptyDataEchoesAndDecodesNothing) {
    expect_conversion("SP1;PE;PD5,5;", "SP 1\nPE   \nPD\nmove to 5 5\n", line_units(0, 0, 0, 5, 5));
}

TEST(Encoded, OnePairIsRelativeWithThePenDown) {
    expect_conversion("SP1;PE\xd3\xc6;PD0,0;",
                      "SP 1\nPE ..  d3 c6 \n  x:10, y:-3, relative with pen down\nmove rel 10 -3\n"
                      "PD\nmove rel 0 0\n",
                      line_units(0, 0, 0, 10, -3) + line_units(0, 10, -3, 10, -3));
}

TEST(Encoded, PenStateIsRestoredAfterTheCommand) {
    // The pen was up before PE: the pair draws, the next PU-less move does not.
    expect_conversion(
        "SP1;PA;PE\xd3\xc6;PA20,20;",
        "SP 1\nPA\nPE ..  d3 c6 \n  x:10, y:-3, relative with pen down\nmove rel 10 -3\n"
        "PA\nmove to 20 20\n",
        line_units(0, 0, 0, 10, -3));
}

TEST(Encoded, DigitsAreLeastSignificantFirst) {
    expect_log("PEc\xc0\xbf;",
               "PE c..  63 c0 bf \n  x:50, y:0, relative with pen down\nmove rel 50 0\n");
}

TEST(Encoded, PenUpAndAbsoluteFlagsInEitherOrder) {
    std::string pair = "\xd3\xc6";
    expect_log("PE<=" + pair + "=<" + pair + pair + ";",
               "PE <=..=<....  3c 3d d3 c6 3d 3c d3 c6 d3 c6 \n"
               "  x:10, y:-3, absolute with pen up\nmove to 10 -3\n"
               "  x:10, y:-3, absolute with pen up\nmove to 10 -3\n"
               "  x:10, y:-3, relative with pen down\nmove rel 10 -3\n");
}

TEST(Encoded, LastPairDecidesTheMode) {
    expect_log("PA;PE\xd3\xc6;PD1,1;", "PA\nPE ..  d3 c6 \n  x:10, y:-3, relative with pen down\n"
                                       "move rel 10 -3\nPD\nmove rel 1 1\n");
    expect_log("PR;PE=\xd3\xc6;PD1,1;",
               "PR\nPE =..  3d d3 c6 \n  x:10, y:-3, absolute with pen down\n"
               "move to 10 -3\nPD\nmove to 1 1\n");
}

TEST(Encoded, PenSelectionIsSkippedWithAWarning) {
    expect_log("PE:1\xd3\xc6;",
               "PE :1..  3a 31 d3 c6 \n"
               "Warning, pen selection not supported within PE command\n"
               "  x:10, y:-3, relative with pen down\nmove rel 10 -3\n",
               0, 1);
}

TEST(Encoded, FractionalAndSevenBitDataEndTheCommandAfterWhatWasDecoded) {
    std::string pair = "\xd3\xc6";
    std::string two = "  x:10, y:-3, relative with pen down\nmove rel 10 -3\n"
                      "  x:10, y:-3, relative with pen down\nmove rel 10 -3\n";
    expect_log("PE" + pair + pair + ">" + pair + ";",
               "PE ....>..  d3 c6 d3 c6 3e d3 c6 \n" + two +
                   "Warning, fractional data not supported within PE command\n",
               0, 1);
    expect_log("PE" + pair + pair + "7" + pair + ";",
               "PE ....7..  d3 c6 d3 c6 37 d3 c6 \n" + two +
                   "Warning, 7 bit data not supported within PE command\n",
               0, 1);
}

TEST(Encoded, BlanksAndLineEndsAreDigits) {
    expect_log("PE \xbf\n\xbf;",
               "PE ....  20 bf 0a bf \n  x:15, y:26, relative with pen down\nmove rel 15 26\n");
}

TEST(Encoded, WithoutASemicolonLaterPEHasNoData) {
    expect_log("PEPU10,10", "PE   \nPU\nmove to 10 10\n");
}

TEST(Encoded, DataCutShortIsDroppedWithoutReadingPastTheEnd) {
    expect_log("PE\xd3\xc6\xd3;",
               "PE ...  d3 c6 d3 \n  x:10, y:-3, relative with pen down\nmove rel 10 -3\n");
    expect_log("PE\x40\x40;", "PE @@  40 40 \n");
    expect_log("PE:;", "PE :  3a \nWarning, pen selection not supported within PE command\n", 0, 1);
    expect_log("PE<=;", "PE <=  3c 3d \n");
}

TEST(Encoded, MeaninglessFlagBytesAreSkipped) {
    expect_log("PE89\xd3\xc6;",
               "PE 89..  38 39 d3 c6 \n  x:10, y:-3, relative with pen down\nmove rel 10 -3\n");
}

TEST(Encoded, LongNumbersWrapWithoutUndefinedBehaviour) {
    // Eight digits: the sixth and later ones shift beyond 32 bits.
    Result r = convert("PE\x7e\x7e\x7e\x7e\x7e\x7e\x7e\xfe\xbf;");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.log.find("  x:"), std::string::npos);
}

TEST(Encoded, TextAfterANulByteIsNotData) {
    expect_log(std::string("PE\xd3\xc6\0\xd3\xc6;", 8),
               "PE ..  d3 c6 \n  x:10, y:-3, relative with pen down\nmove rel 10 -3\n");
}

} // namespace
