// Tokens, modes and positions of the scanner.
#include <gtest/gtest.h>

#include <random>

#include "scanner/scan_helpers.h"
#include "scanner/scanner.h"

namespace {

using V = std::vector<std::string>;

TEST(Tokens, StatementsNumbersAndSeparators) {
    EXPECT_EQ(tokens_of("IN;SP1;PU0,0;PD100,-200.5;"),
              (V{"'I'", "'N'", "';'", "'S'", "'P'", "INT(1)", "';'", "'P'", "'U'", "INT(0)", "','",
                 "INT(0)", "';'", "'P'", "'D'", "INT(100)", "','", "DBL(-200.500000)", "';'"}));
}

TEST(Tokens, NumbersBackUpAfterAFailedFraction) {
    EXPECT_EQ(tokens_of("PA 10.,20"), (V{"'P'", "'A'", "INT(10)", "'.'", "','", "INT(20)"}));
    EXPECT_EQ(tokens_of("1.2.3"), (V{"DBL(1.200000)", "DBL(0.300000)"}));
    EXPECT_EQ(tokens_of("-.5 .5 -7"), (V{"DBL(-0.500000)", "DBL(0.500000)", "INT(-7)"}));
    EXPECT_EQ(tokens_of("-.x"), (V{"'.'", "'x'"}));
}

TEST(Tokens, SignsThatBeginNoNumberAreIllegal) {
    Scanned s = scan_bytes("+5");
    EXPECT_EQ(s.tokens, V{"INT(5)"});
    EXPECT_EQ(s.errors, 1);
    s = scan_bytes("- 5");
    EXPECT_EQ(s.tokens, V{"INT(5)"});
    EXPECT_EQ(s.errors, 1);
}

TEST(Tokens, IntegersWrapModulo2To32) {
    EXPECT_EQ(tokens_of("99999999999"), V{"INT(1215752191)"});
    EXPECT_EQ(tokens_of("2147483648 -2147483649 4294967296"),
              (V{"INT(-2147483648)", "INT(2147483647)", "INT(0)"}));
}

TEST(Tokens, EscapeSequencesAndJobLanguage) {
    EXPECT_EQ(tokens_of("\x1b%-12345X"), (V{"ESC", "'%'", "INT(-12345)", "'X'"}));
    EXPECT_EQ(tokens_of("\x1b*t300R"), (V{"ESC", "'*'", "'t'", "INT(300)", "'R'"}));
    Scanned s = scan_bytes("@PJL ENTER LANGUAGE = HPGL2\r\n");
    EXPECT_EQ(s.tokens, (V{"'@'", "PJL", "ENTER", "LANGUAGE", "'='", "HPGL2"}));
    EXPECT_EQ(s.positions.back(), "1:27:5");
}

TEST(Tokens, KeywordsAreTakenWhereverTheyStandInFull) {
    EXPECT_EQ(tokens_of("PJLX"), (V{"PJL", "'X'"}));
    EXPECT_EQ(tokens_of("HPGL22"), (V{"HPGL2", "INT(2)"}));
    EXPECT_EQ(tokens_of("PJ"), (V{"'P'", "'J'"}));
    EXPECT_EQ(tokens_of("LANGUAG"), (V{"'L'", "'A'", "'N'", "'G'", "'U'", "'A'", "'G'"}));
    EXPECT_EQ(tokens_of("HPE"), (V{"'H'", "PE"}));
    EXPECT_EQ(tokens_of("co lb pjl"), (V{"'c'", "'o'", "'l'", "'b'", "'p'", "'j'", "'l'"}));
}

TEST(Modes, CommentOpensOnlyAfterCO) {
    EXPECT_EQ(tokens_of("CO\"a comment\";PU;"),
              (V{"CO", "QSTR[\"a comment\"]", "';'", "'P'", "'U'", "';'"}));
    EXPECT_EQ(tokens_of("CO \"x\""), (V{"CO", "QSTR[\"x\"]"}));
    Scanned s = scan_bytes("\"a\"");
    EXPECT_EQ(s.tokens, V{"'a'"});
    EXPECT_EQ(s.errors, 2);
    // Two quotes in a row: the first is illegal, the second opens a text.
    s = scan_bytes("CO\"\"ab\"");
    EXPECT_EQ(s.tokens, (V{"CO", "QSTR[\"ab\"]"}));
    EXPECT_EQ(s.errors, 1);
}

TEST(Modes, LabelRunsToItsETX) {
    EXPECT_EQ(tokens_of("LBHello World\x03;"), (V{"LB", "LBSTR[Hello World]", "';'"}));
    EXPECT_EQ(tokens_of("LB\x03;PU;LBX\x03"), (V{"LB", "ETX", "LBSTR[;PU;LBX]"}));
    EXPECT_EQ(tokens_of("LB two\nlines\x03"), (V{"LB", "LBSTR[ two\nlines]"}));
}

TEST(Modes, EncodedTextRunsToTheSemicolonWhichIsScannedAgain) {
    EXPECT_EQ(tokens_of("PE<=abc;PU;"), (V{"PE", "PESTR[<=abc]", "';'", "'P'", "'U'", "';'"}));
    EXPECT_EQ(tokens_of("PE;"), (V{"PE", "PESTR[]", "';'"}));
    Scanned s = scan_bytes("PE;");
    EXPECT_EQ(s.positions[1], "1:2:0");
}

TEST(Modes, UnterminatedTextsFallBackToOrdinaryTokens) {
    EXPECT_EQ(tokens_of("LBabc"), (V{"LB", "'a'", "'b'", "'c'"}));
    EXPECT_EQ(tokens_of("PEab,1"), (V{"PE", "'a'", "'b'", "','", "INT(1)"}));
    Scanned s = scan_bytes("CO\"ab");
    EXPECT_EQ(s.tokens, (V{"CO", "'a'", "'b'"}));
    EXPECT_EQ(s.errors, 1);
    // A keyword inside an open mode switches to its own mode.
    EXPECT_EQ(tokens_of("LBxPE1;"), (V{"LB", "'x'", "PE", "PESTR[1]", "';'"}));
}

TEST(Positions, LineEndsAndColumns) {
    Scanned s = scan_bytes("IN;\n+");
    EXPECT_EQ(s.errors, 1);
    EXPECT_EQ(s.positions, (V{"1:1:1", "1:2:1", "1:3:1"}));
    s = scan_bytes("PU\r\n1\r2");
    EXPECT_EQ(s.positions, (V{"1:1:1", "1:2:1", "2:1:1", "2:3:1"}));
}

TEST(Positions, NewlineInsideATextDoesNotCountAsALine) {
    Scanned s = scan_bytes("LBa\nb\x03;\nPU");
    EXPECT_EQ(s.tokens, (V{"LB", "LBSTR[a\nb]", "';'", "'P'", "'U'"}));
    EXPECT_EQ(s.positions, (V{"1:2:2", "1:6:4", "1:7:1", "2:1:1", "2:2:1"}));
}

TEST(Bytes, HighBytesAreIllegalOutsideTexts) {
    std::string high;
    for (int c = 0x80; c <= 0xff; ++c)
        high += static_cast<char>(c);
    Scanned s = scan_bytes(high);
    EXPECT_TRUE(s.tokens.empty());
    EXPECT_EQ(s.errors, 128);
    s = scan_bytes("PE" + high + ";");
    ASSERT_EQ(s.tokens.size(), 3u);
    EXPECT_EQ(s.tokens[1], "PESTR[" + high + "]");
    EXPECT_EQ(s.errors, 0);
}

TEST(Bytes, NulIsIllegalOutsideTextsAndEndsTheCopyInside) {
    Scanned s = scan_bytes(std::string("P\0U", 3));
    EXPECT_EQ(s.tokens, (V{"'P'", "'U'"}));
    EXPECT_EQ(s.errors, 1);
    s = scan_bytes(std::string("LBab\0cd\x03;", 9));
    EXPECT_EQ(s.tokens, (V{"LB", "LBSTR[ab]", "';'"}));
    EXPECT_EQ(s.positions[1], "1:8:6");
    EXPECT_EQ(s.errors, 0);
}

std::string random_plot(size_t size, unsigned seed) {
    const std::string pieces[] = {"PD",
                                  "PU",
                                  "PA",
                                  "1234",
                                  ",",
                                  "-567",
                                  ";",
                                  "\n",
                                  "\r\n",
                                  " ",
                                  "3.25",
                                  ".5",
                                  "LBlabel text\x03",
                                  "CO\"comment\"",
                                  "PE@abc;",
                                  "\x1b%-12345X",
                                  "PJL",
                                  "ENTER",
                                  "LANGUAGE",
                                  "HPGL2",
                                  "+",
                                  std::string("\0", 1),
                                  "\xff",
                                  "LB\x03",
                                  "10.",
                                  "SP1"};
    std::mt19937 rng(seed);
    std::string out;
    while (out.size() < size)
        out += pieces[rng() % std::size(pieces)];
    return out;
}

TEST(Buffer, SameTokensWhateverTheReadSize) {
    std::string input = random_plot(70000, 5); // over 64 KB: tokens straddle many blocks
    Scanned reference = scan_bytes(input, 8192);
    for (int limit : {1, 7, 4096}) {
        Scanned s = scan_bytes(input, limit);
        EXPECT_EQ(s.tokens, reference.tokens) << limit;
        EXPECT_EQ(s.positions, reference.positions) << limit;
        EXPECT_EQ(s.errors, reference.errors) << limit;
    }
    EXPECT_GT(reference.tokens.size(), 10000u);
}

TEST(Buffer, LongTextsAndNumbersAreReturnedWhole) {
    std::string label(100000, 'x');
    for (int limit : {7, 8192}) {
        Scanned s = scan_bytes("LB" + label + "\x03;", limit);
        ASSERT_EQ(s.tokens.size(), 3u);
        EXPECT_EQ(s.tokens[1], "LBSTR[" + label + "]");
        EXPECT_EQ(s.positions[1], "1:100003:100001");
    }
    Scanned n = scan_bytes(std::string(50000, '9') + "1");
    ASSERT_EQ(n.tokens.size(), 1u);
    EXPECT_EQ(n.positions[0], "1:50001:50001");
}

TEST(Buffer, UnterminatedLongLabelScansInLinearTime) {
    // Each token of an unterminated label must not search the rest of the input again.
    std::string rest(400000, 'a');
    Scanned s = scan_bytes("LB" + rest, 8192);
    EXPECT_EQ(s.tokens.size(), 400001u);
}

TEST(Buffer, RandomBytesNeverDependOnTheReadSize) {
    std::mt19937 rng(99);
    for (size_t size : {1u, 2u, 100u, 20000u, 70000u}) {
        std::string bytes;
        for (size_t i = 0; i < size; ++i)
            bytes += static_cast<char>(rng());
        for (const char* mode : {"", "LB", "CO\"", "PE"}) {
            std::string input = mode + bytes;
            Scanned reference = scan_bytes(input, 8192);
            Scanned small = scan_bytes(input, 3);
            EXPECT_EQ(small.tokens, reference.tokens) << size << mode;
            EXPECT_EQ(small.positions, reference.positions) << size << mode;
            EXPECT_EQ(small.errors, reference.errors) << size << mode;
        }
    }
}

TEST(Buffer, QuickPathGivesWhatTheAutomatonGives) {
    std::mt19937 rng(5);
    const std::string hpgl = "0123456789-.,;PDAULBSIECOJNH \r\n\x03\x1b";
    for (int round = 0; round < 40; ++round) {
        std::string input;
        for (int i = 0; i < 5000; ++i)
            input += round % 2 ? static_cast<char>(rng()) : hpgl[rng() % hpgl.size()];
        if (round % 4 < 2) input += " \r\n"; // blanks and a line end at the very end
        for (int read_limit : {8192, 7}) {
            Scanned quick = scan_bytes(input, read_limit);
            scanner_quick_path = false;
            Scanned automaton = scan_bytes(input, read_limit);
            scanner_quick_path = true;
            ASSERT_EQ(quick.tokens, automaton.tokens) << round;
            ASSERT_EQ(quick.positions, automaton.positions) << round;
            ASSERT_EQ(quick.errors, automaton.errors) << round;
        }
    }
}

TEST(Buffer, EmptyInputEndsAtOnce) {
    EXPECT_TRUE(tokens_of("").empty());
}

} // namespace
