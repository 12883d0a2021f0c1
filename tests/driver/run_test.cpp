// The run sequence: the document frame, the summary and the exit status.
#include <gtest/gtest.h>

#include "e2e/harness.h"

namespace {

TEST(RunSequence, EmptyInputGivesCompleteDocumentAndCleanSummary) {
    Result r = convert("");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, stderr_preamble() + "Errors: 0, Warnings: 0\n");
    EXPECT_EQ(r.log, log_file(""));
    EXPECT_EQ(r.dxf, dxf_document(""));
}

TEST(RunSequence, UnknownOptionIsAWarningButNotAFailure) {
    Result r = convert("", {"--verbose"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Unrecognized command line option: --verbose\n");
    EXPECT_EQ(r.log, log_file("", 0, 1));
}

TEST(RunSequence, FullDiskForTheDrawingIsAnError) {
    RunSpec run{.args = {"-i", "in.plt", "-o", "/dev/full"}, .files = {{"in.plt", ""}}};
    Result r = run_penwright(run);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, stderr_preamble("in.plt", "/dev/full") + "Errors: 1, Warnings: 0\n");
    EXPECT_EQ(r.log, log_file("", 1, 0, "in.plt", "/dev/full"));
}

} // namespace

namespace {

TEST(RunSequence, StandardInputIsReadWhenTheInputFileIsMissing) {
    Result r = run_penwright(
        {.args = {"-o", "out.dxf"}, .stdin_data = "SP1;PD1016,0;", .dxf_name = "out.dxf"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.log, log_file("SP 1\nPD\nmove to 1016 0\n", 0, 0, "penwright.plt", "out.dxf"));
    EXPECT_NE(r.dxf.find("0\nLINE\n8\n0\n"), std::string::npos);
}

TEST(RunSequence, ErrorsOnStandardInputStillNameTheInputFile) {
    Result r = run_penwright({.args = {"-i", "gone.plt"}, .stdin_data = "\n\n  +"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("(gone.plt) line 3, pos 3 : Illegal character : + : 0x2b\n(0x49)\n"),
              std::string::npos);
}

TEST(RunSequence, UnreadableInputStopsAtOnceWithStatusTwo) {
    Result r = run_penwright({.args = {"-i", "folder", "-o", "out.dxf"},
                              .directories = {"folder"},
                              .dxf_name = "out.dxf"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, stderr_preamble("folder") + "input in flex scanner failed\n");
    EXPECT_TRUE(r.dxf.ends_with("  0\nSECTION\n  2\nENTITIES\n")); // no trailer
    EXPECT_EQ(r.log, "HPGL input file: folder\nDXF output file: out.dxf\n");
}

} // namespace
