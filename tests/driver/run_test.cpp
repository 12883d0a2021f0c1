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
