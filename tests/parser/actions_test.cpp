// What each statement calls, and in which order.
#include "e2e/expect.h"

namespace {

TEST(Actions, PointStatementsRunTheirHandlerThenEachPoint) {
    expect_log("PD1,2,3,4;PU;", "PD\nmove to 1 2\nmove to 3 4\nPU\n");
    expect_log("PA;PAPD10,10", "PA\nPA\nPD\nmove to 10 10\n");
    expect_log("PR5,5PU", "PR\nmove rel 5 5\nPU\n");
}

TEST(Actions, InitializeAndPenSelectionDropOrDefaultTheirNumbers) {
    expect_log("IN5;SP;SP3;DF;", "IN\nDF\nSP 0\nSP 3\nDF\n");
}

TEST(Actions, ScalingWindowIsStoredBeforeTheStatementEnds) {
    expect_log("SC0,100,0,100;SC;", "SC 0 0 100 100\nSC \n");
    expect_log("SC0,100,0,100,2;SC1,2,3,4,5,6,7;", "SC 0 0 100 100 2\nSC 1 3 2 4 5 6 7\n");
}

TEST(Actions, UnimplementedCommandsWriteOneUncountedLineEach) {
    const char* forms[] = {
        "AD;",         "AD1,2,3,4.5;", "CF;",           "CF1,2;",     "CO;",
        "CO\"text\";", "CP;",          "CP1,2;",        "CR;",        "CR1,2,3,4,5,6;",
        "DC;",         "DL;",          "DL1,2,3;",      "DP;",        "DR;",
        "DR1,2;",      "DV;",          "DV1,2;",        "EA1,2;",     "EC;",
        "EC1;",        "ER1,2;",       "ES;",           "ES1,2;",     "EW;",
        "EW1,2,3;",    "EW1,2,3,4;",   "FI1;",          "FN1;",       "IR;",
        "IR1,2,3,4;",  "LA;",          "LA1,2;",        "LM;",        "LM1,2;",
        "LO;",         "LO1;",         "MG;",           "MT;",        "MT1;",
        "NR;",         "NR1;",         "RA1,2;",        "RF;",        "RF1,2;",
        "RP;",         "RP1;",         "RR1,2;",        "RT1,2,3,4;", "RT1,2,3,4,5.5;",
        "SA;",         "SB;",          "SB1;",          "SD;",        "SD1,2,3,4.5;",
        "SL;",         "SL.5;",        "SR;",           "SR1,2;",     "SS;",
        "ST;",         "ST1;",         "SV;",           "SV1,2,3;",   "TD;",
        "TD1;",        "UL;",          "UL1,2,3;",      "VS;",        "VS1,2;",
        "WG1;",        "WG1,2,3;",     "BZ1,2,3,4,5,6;"};
    for (const char* form : forms) {
        std::string mnemonic(form, 2);
        expect_log(form, "Warning: unimplemented command: " + mnemonic + "\n");
    }
}

TEST(Actions, QuotedTextAfterCommentModeReachesMG) {
    expect_log("CO;MG\"message\";",
               "Warning: unimplemented command: CO\nWarning: unimplemented command: MG\n");
}

TEST(Actions, AtCarriesItsFirstFourNumbers) {
    expect_log("AT1,2,3,4,5;AT5,6,7,8;AT9,8,7,6,5.5;",
               "Warning: unimplemented command: AT 1 2 3 4\n"
               "Warning: unimplemented command: AT 5 6 7 8\n"
               "Warning: unimplemented command: AT 9 8 7 6\n");
}

TEST(Actions, OutputAndDeviceStatementsAreSilent) {
    expect_log("OD;OE;OH;OI;OP;OS;\x1b.@1;2:\x1b.P1:\x1b%0A\x1b%0B\x1b"
               "E\x1b*t300R\x1b*v1N\x1b&a1N"
               "@PJL ENTER LANGUAGE=HPGL2\x03;",
               "");
}

} // namespace
