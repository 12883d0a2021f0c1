// Syntax errors and the parser trace, end to end.
#include <gtest/gtest.h>

#include "e2e/harness.h"

namespace {

std::string report(int line, int pos, const std::string& message) {
    return "(penwright.plt) line " + std::to_string(line) + ", pos " + std::to_string(pos) + " : " +
           message + "(0x70)\n";
}

// Standard error of a conversion with a syntax error: preamble, report, summary.
void expect_syntax_error(const std::string& input, int line, int pos, const std::string& message,
                         const std::string& log_body = "") {
    Result r = convert(input);
    EXPECT_EQ(r.status, 1) << input;
    EXPECT_EQ(r.err, stderr_preamble() + report(line, pos, message) + "Errors: 1, Warnings: 0\n")
        << input;
    EXPECT_EQ(r.log, log_file(log_body, 1, 0)) << input;
    EXPECT_TRUE(r.dxf.ends_with("  0\nENDSEC\n  0\nEOF\n")) << input;
}

TEST(SyntaxErrors, ExpectedTerminalsAreListedInSymbolOrderWhenFewerThanFive) {
    expect_syntax_error("PA10,20,30;", 1, 11, "parse error, expecting `',''",
                        "PA\nmove to 10 20\n");
    expect_syntax_error("SI1,1", 1, 3, "parse error, expecting `$'", "SI 0.000000 0.000000\n");
    expect_syntax_error("WG;", 1, 3, "parse error, expecting `INT'");
    expect_syntax_error("LB\x03;", 1, 3, "parse error, expecting `LBSTR'");
    expect_syntax_error("IK", 1, 2, "parse error, expecting `'P'' or `'R'' or `'N'' or `'W''");
    expect_syntax_error("BK", 1, 2, "parse error, expecting `'P'' or `'R'' or `'Z''");
}

TEST(SyntaxErrors, FiveOrMoreExpectedGiveTheBareMessage) {
    expect_syntax_error("DT;", 1, 2, "parse error");
    expect_syntax_error("ABC", 1, 2, "parse error");
}

TEST(SyntaxErrors, TokensThatBeginNoStatement) {
    expect_syntax_error("IN;\n  5", 2, 3, "parse error, expecting `$'", "IN\nDF\n");
    expect_syntax_error("K", 1, 1, "parse error, expecting `$'");
    expect_syntax_error(",", 1, 1, "parse error, expecting `$'");
    expect_syntax_error("pa10,20;", 1, 1, "parse error, expecting `$'");
}

TEST(SyntaxErrors, OperandKindsAndCountsAreFixedPerCommand) {
    expect_syntax_error("PA10.5,20", 1, 3, "parse error, expecting `$'", "PA\n");
    expect_syntax_error("PA10 20", 1, 6, "parse error, expecting `',''", "PA\n");
    expect_syntax_error("LT1,2,3,4", 1, 8, "parse error, expecting `$'", "LT\n");
    expect_syntax_error("BR1,2,3,4,5,6,7", 1, 15, "parse error, expecting `',''");
    expect_syntax_error("SC0,100,0,100,1,50", 1, 18, "parse error, expecting `',''");
}

TEST(SyntaxErrors, ErrorAtTheEndOfInputPointsPastTheLastToken) {
    expect_syntax_error("PA10,20,30", 1, 10, "parse error, expecting `',''", "PA\nmove to 10 20\n");
    expect_syntax_error("WG\n", 2, 0, "parse error, expecting `INT'");
}

TEST(SyntaxErrors, FirstErrorEndsTheConversionButKeepsWhatWasDrawn) {
    Result r = convert("SP1;PD0,0,1016,0;XX;PD0,0;");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.log, log_file("SP 1\nPD\nmove to 0 0\nmove to 1016 0\n", 1, 0));
    EXPECT_EQ(r.dxf.find("1.000000"), r.dxf.rfind("1.000000")); // one line, none after
    EXPECT_TRUE(r.dxf.ends_with("  0\nENDSEC\n  0\nEOF\n"));
}

TEST(Accepted, StatementsWithoutSeparatorsAndEmptyStatements) {
    Result r = convert(";;;\x03PAPD10,10\x1b%-1X@PJL ENTER LANGUAGE=HPGL2\n\x1b"
                       "E");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.log, log_file("PA\nPD\nmove to 10 10\n"));
}

const char* const sp1_trace =
    "Starting parse\n"
    "Entering state s\n"
    "Reducing via rule 2 (line l),  -> hpgl_statements\n"
    "state stack now 0\n"
    "Entering state s\n"
    "Reading a token: Next token is 83 ('S')\n"
    "Shifting token 83 ('S'), Entering state s\n"
    "Reading a token: Next token is 80 ('P')\n"
    "Shifting token 80 ('P'), Entering state s\n"
    "Reading a token: Next token is 260 (INT)\n"
    "Shifting token 260 (INT), Entering state s\n"
    "Reducing via rule 284 (line l), 'S' 'P' INT  -> SP_statement\n"
    "state stack now 0 s\n"
    "Entering state s\n"
    "Reducing via rule 83 (line l), SP_statement  -> hpgl_statement\n"
    "state stack now 0 s\n"
    "Entering state s\n"
    "Reducing via rule 3 (line l), hpgl_statements hpgl_statement  -> hpgl_statements\n"
    "state stack now 0\n"
    "Entering state s\n"
    "Reading a token: Next token is 59 (';')\n"
    "Shifting token 59 (';'), Entering state s\n"
    "Reducing via rule 94 (line l), ';'  -> hpgl_statement\n"
    "state stack now 0 s\n"
    "Entering state s\n"
    "Reducing via rule 3 (line l), hpgl_statements hpgl_statement  -> hpgl_statements\n"
    "state stack now 0\n"
    "Entering state s\n"
    "Reading a token: Now at end of input.\n"
    "Reducing via rule 1 (line l), hpgl_statements  -> hpgl_spec\n"
    "state stack now 0\n"
    "Entering state s\n"
    "Now at end of input.\n"
    "Shifting token 0 ($), Entering state s\n"
    "Now at end of input.\n";

TEST(Trace, SelectingAPen) {
    Result r = convert("SP1;", {"-YYDEBUG"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "PARSER DEBUGGING ENABLED\n");
    EXPECT_EQ(mask_trace(r.err),
              mask_trace(stderr_preamble() + sp1_trace + "Errors: 0, Warnings: 0\n"));
}

TEST(Trace, StateNumbersAndLinesAreRealNumbers) {
    Result r = convert("SP1;", {"-YYDEBUG"});
    EXPECT_NE(r.err.find("Reducing via rule 284 (line "), std::string::npos);
    EXPECT_EQ(r.err.find("Entering state s"), std::string::npos);
}

TEST(Trace, SyntaxErrorPopsToTheBottomState) {
    Result r = convert("PA1,2,3;", {"-YYDEBUG"});
    EXPECT_EQ(r.status, 1);
    std::string t = mask_trace(r.err);
    std::string tail = "Reading a token: Next token is 59 (';')\n" +
                       report(1, 8, "parse error, expecting `',''") +
                       "Error: state stack now 0 s s s s s s\n"
                       "Error: state stack now 0 s s s s s\n"
                       "Error: state stack now 0 s s s s\n"
                       "Error: state stack now 0 s s s\n"
                       "Error: state stack now 0 s s\n"
                       "Error: state stack now 0 s\n"
                       "Error: state stack now 0\n"
                       "Errors: 1, Warnings: 0\n";
    EXPECT_TRUE(t.ends_with(tail)) << t;
    // The marker and the first point were reduced before the error.
    EXPECT_NE(t.find("Reducing via rule 232 (line l),  -> @1\n"), std::string::npos);
    EXPECT_NE(t.find("Reducing via rule 114 (line l), INT ',' INT  -> point\n"), std::string::npos);
}

TEST(Trace, ErrorInTheBottomStatePopsNothing) {
    Result r = convert("5", {"-YYDEBUG"});
    std::string t = mask_trace(r.err);
    EXPECT_TRUE(t.ends_with(report(1, 1, "parse error, expecting `$'") +
                            "Error: state stack now 0\nErrors: 1, Warnings: 0\n"))
        << t;
}

TEST(Trace, ScannerLinesSitBetweenReadingAndNextToken) {
    Result r = convert("PU5", {"-YYDEBUG", "-d"});
    EXPECT_EQ(r.out, "PARSER DEBUGGING ENABLED\nLOCAL DEBUGGING ENABLED\n");
    std::string t = mask_trace(r.err);
    EXPECT_NE(
        t.find("Reading a token: token=\"P\", tokenpos=1, yyleng=1\nNext token is 80 ('P')\n"),
        std::string::npos);
    EXPECT_NE(t.find("Reading a token: token=\"5\", tokenpos=3, yyleng=1\nToken value = \"0x5\"\n"
                     "Next token is 260 (INT)\n"),
              std::string::npos);
}

} // namespace
