// Failing disks, closed standard streams, unwritable folders, and an output that names the
// input: nothing crashes, no failure passes as success, and the input file survives.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cfloat>

#include "e2e/harness.h"
#include "e2e/records.h"

namespace {

const std::string plot = "SP1;PD1016,0;";

TEST(Faults, LogOnAFullDiskFailsTheRun) {
    Result r = run_penwright({.args = {"-i", "in.plt", "-o", "out.dxf"},
                              .files = {{"in.plt", plot}},
                              .dxf_name = "out.dxf",
                              .symlinks = {{"penwright.log", "/dev/full"}}});
    EXPECT_EQ(r.status, 1);
    // The failure shows when the log is closed, after the summary was written.
    EXPECT_EQ(r.err, stderr_preamble("in.plt") + "Errors: 0, Warnings: 0\n");
    EXPECT_EQ(r.dxf,
              dxf_document(
                  "0\nLINE\n8\n0\n10\n0.000000\n  20\n0.000000\n11\n1.000000\n  21\n0.000000\n"));
}

TEST(Faults, ClosedStandardOutputDoesNotReachTheDrawing) {
    // The DXF is the first file opened: it would take the free descriptor 1.
    Result r = run_penwright({.args = {"-o", "out.dxf", "-x", "-i", "in.plt"},
                              .files = {{"in.plt", plot}},
                              .dxf_name = "out.dxf",
                              .closed_fds = {1}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.dxf,
              dxf_document(
                  "0\nLINE\n8\n0\n10\n0.000000\n  20\n0.000000\n11\n1.000000\n  21\n0.000000\n"));
    EXPECT_EQ(r.log, log_file("SP 1\nPD\nmove to 1016 0\n", 0, 1, "in.plt", "out.dxf"));
}

TEST(Faults, DrawingOnAClosedStandardOutputIsAnErrorAndSparesTheLog) {
    // Input from standard input, so the log is the first file opened: with descriptor 1
    // free it would take it, and the drawing meant for standard output would land in it.
    Result r = run_penwright({.args = {"-o", "folder"},
                              .stdin_data = plot,
                              .directories = {"folder"},
                              .closed_fds = {1}});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.log, log_file("SP 1\nPD\nmove to 1016 0\n", 1, 0, "penwright.plt", "stdout"));
}

TEST(Faults, ClosedStandardErrorStillConverts) {
    Result r = run_penwright({.args = {"-i", "in.plt", "-o", "out.dxf"},
                              .files = {{"in.plt", plot}},
                              .dxf_name = "out.dxf",
                              .closed_fds = {2}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.log, log_file("SP 1\nPD\nmove to 1016 0\n", 0, 0, "in.plt", "out.dxf"));
}

TEST(Faults, OutputThroughARegularFileFallsBack) {
    Result r = run_penwright(
        {.args = {"-i", "in.plt", "-o", "in.plt/out.dxf"}, .files = {{"in.plt", plot}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, banner() + "in.plt/out.dxf: file not found\n" +
                         "Using in.plt for HPGL input file\n"
                         "ERROR: in.plt/out.dxf, unable to open dxf file\n"
                         "Using stdout for DXF output data\n"
                         "Using penwright.log for log output\n"
                         "Errors: 0, Warnings: 0\n");
    EXPECT_TRUE(r.out.starts_with("  0\nSECTION\n"));
}

TEST(Faults, UnwritableFolderSendsBothOutputsToTheStandardStreams) {
    if (geteuid() == 0) {
        // Permissions do not bind the superuser; the fallbacks are checked by the other tests.
        GTEST_SKIP() << "running as root: a mode-0555 folder is still writable";
    }
    Result r = run_penwright({.args = {"-i", "../in.plt", "-o", "out.dxf"},
                              .files = {{"in.plt", plot}},
                              .read_only = {"."}});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("Could not open penwright.log as log file\n"), std::string::npos);
    EXPECT_NE(r.err.find("ERROR: out.dxf, unable to open dxf file\n"), std::string::npos);
}

TEST(Faults, LabelThatCannotBeCopiedReachesItsHandlerEmpty) {
#ifdef PENWRIGHT_SANITIZED
    GTEST_SKIP() << "the sanitizers reserve more address space than the limit this test sets";
#endif
    // 70 MB fit the scanner's buffer (128 MB) under the limit; a copy of them does not.
    Result r = run_penwright(
        {.args = {"-i", "in.plt", "-o", "out.dxf"},
         .files = {{"in.plt", "SP1;LB" + std::string(70'000'000, 'x') + "\x03;PD1,1;"}},
         .dxf_name = "out.dxf",
         .address_space_kb = 180'000});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, stderr_preamble("in.plt") +
                         "(in.plt) line 1, pos 7 : lexer out of memory(0x6c)\n" +
                         "Errors: 1, Warnings: 0\n");
    EXPECT_EQ(r.log, log_file("SP 1\nLB \"\"\nPD\nmove to 1 1\n", 1, 0, "in.plt", "out.dxf"));
}

// The input file must come out of every run unchanged.
void expect_input_kept(const RunSpec& run, const std::string& input_name,
                       const std::string& fallback_err) {
    Result r = run_penwright(run);
    EXPECT_EQ(r.folder[input_name], plot) << "the input was overwritten";
    EXPECT_NE(r.err.find(fallback_err), std::string::npos) << r.err;
    EXPECT_EQ(r.status, 0);
}

TEST(InputKept, OutputNamingTheInputFallsBackToStandardOutput) {
    const std::string refused =
        "a.plt: file not found\nUsing a.plt for HPGL input file\n"
        "ERROR: a.plt, unable to open dxf file\nUsing stdout for DXF output data\n";
    expect_input_kept({.args = {"-i", "a.plt", "-o", "a.plt"}, .files = {{"a.plt", plot}}}, "a.plt",
                      refused);
    expect_input_kept({.args = {"-o", "a.plt", "-i", "a.plt"}, .files = {{"a.plt", plot}}}, "a.plt",
                      refused);
}

TEST(InputKept, TheSameFileUnderAnotherName) {
    expect_input_kept({.args = {"-i", "a.plt", "-o", "link.dxf"},
                       .files = {{"a.plt", plot}},
                       .symlinks = {{"link.dxf", "a.plt"}}},
                      "a.plt", "ERROR: link.dxf, unable to open dxf file\n");
    expect_input_kept({.args = {"-i", "./a.plt", "-o", "a.plt"}, .files = {{"a.plt", plot}}},
                      "a.plt", "ERROR: a.plt, unable to open dxf file\n");
}

TEST(InputKept, DefaultNamesAreProtectedToo) {
    expect_input_kept({.args = {"-o", "penwright.plt"}, .files = {{"penwright.plt", plot}}},
                      "penwright.plt", "ERROR: penwright.plt, unable to open dxf file\n");
    expect_input_kept({.args = {"-i", "penwright.pdf"}, .files = {{"penwright.pdf", plot}}},
                      "penwright.pdf", "ERROR: penwright.pdf, unable to open dxf file\n");
}

TEST(InputKept, LogNamingTheInputFallsBackToStandardError) {
    RunSpec run{.args = {"-i", "penwright.log", "-o", "out.dxf"},
                .files = {{"penwright.log", plot}},
                .dxf_name = "out.dxf"};
    expect_input_kept(run, "penwright.log",
                      "Could not open penwright.log as log file\nUsing stderr for log output\n");
    Result r = run_penwright(run);
    EXPECT_NE(r.err.find("HPGL input file: penwright.log\nDXF output file: out.dxf\nSP 1\n"),
              std::string::npos);
}

TEST(InputKept, RedirectedStandardInputIsTheInput) {
    // No input file: standard input is read, and it is the file -o names.
    Result r = run_penwright({.args = {"-o", "/dev/stdin"}, .stdin_data = plot});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("ERROR: /dev/stdin, unable to open dxf file\n"), std::string::npos)
        << r.err;
    EXPECT_NE(r.log.find("move to 1016 0\n"), std::string::npos);
}

TEST(InputKept, LogAndDrawingNeverShareAFile) {
    Result r = run_penwright({.args = {"-i", "in.plt", "-o", "penwright.log"},
                              .files = {{"in.plt", plot}},
                              .dxf_name = "penwright.log"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("Could not open penwright.log as log file\n"), std::string::npos);
    EXPECT_EQ(r.folder["penwright.log"].rfind("  0\nSECTION\n", 0), 0u);
    EXPECT_TRUE(r.folder["penwright.log"].ends_with("  0\nEOF\n"));
}

} // namespace

namespace {

const std::string plot_line =
    "0\nLINE\n8\n0\n10\n0.000000\n  20\n0.000000\n11\n1.000000\n  21\n0.000000\n";

TEST(Streams, DrawingIntoABrokenPipeIsAnErrorAndTheLogIsComplete) {
    Result r = run_penwright({.args = {"-i", "in.plt", "-o", "folder"},
                              .files = {{"in.plt", plot}},
                              .directories = {"folder"},
                              .broken_pipes = {1}});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.log, log_file("SP 1\nPD\nmove to 1016 0\n", 1, 0, "in.plt", "stdout"));
    EXPECT_TRUE(r.err.ends_with("Using penwright.log for log output\nErrors: 1, Warnings: 0\n"))
        << r.err;
}

TEST(Streams, BrokenStandardErrorDoesNotStopTheRun) {
    Result r = run_penwright({.args = {"-i", "in.plt", "-o", "out.dxf", "-x"},
                              .files = {{"in.plt", plot}},
                              .dxf_name = "out.dxf",
                              .broken_pipes = {2}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.dxf, dxf_document(plot_line));
    EXPECT_EQ(r.log, log_file("SP 1\nPD\nmove to 1016 0\n", 0, 1, "in.plt", "out.dxf"));
}

TEST(Streams, NoFileTakesTheNumberOfAClosedStandardStream) {
    for (std::vector<int> closed : {std::vector<int>{0, 1}, {1, 2}, {0, 2}, {0, 1, 2}}) {
        Result r = run_penwright({.args = {"-o", "out.dxf", "-x", "-i", "in.plt"},
                                  .files = {{"in.plt", plot}},
                                  .dxf_name = "out.dxf",
                                  .closed_fds = closed});
        EXPECT_EQ(r.dxf, dxf_document(plot_line)) << closed.size();
        EXPECT_EQ(r.log, log_file("SP 1\nPD\nmove to 1016 0\n", 0, 1, "in.plt", "out.dxf"))
            << closed.size();
    }
}

TEST(Streams, LogThatIsStandardErrorsFileFallsBackToStandardError) {
    Result r = run_penwright({.args = {"-i", "in.plt", "-o", "out.dxf"},
                              .files = {{"in.plt", plot}},
                              .dxf_name = "out.dxf",
                              .stderr_to = "penwright.log"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.log, banner() +
                         "Using in.plt for HPGL input file\nUsing out.dxf for DXF output data\n"
                         "Could not open penwright.log as log file\nUsing stderr for log output\n" +
                         log_file("SP 1\nPD\nmove to 1016 0\n", 0, 0, "in.plt", "out.dxf"));
    EXPECT_EQ(r.dxf, dxf_document(plot_line));
}

TEST(Streams, DrawingThatIsStandardOutputsFileFollowsTheMessages) {
    Result r = run_penwright({.args = {"-i", "in.plt", "-o", "out.dxf", "-x"},
                              .files = {{"in.plt", plot}},
                              .dxf_name = "out.dxf",
                              .stdout_to = "out.dxf"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.dxf, "Unrecognized command line option: -x\n" + dxf_document(plot_line));
    EXPECT_EQ(r.err,
              banner() +
                  "out.dxf: file not found\nUsing in.plt for HPGL input file\n"
                  "ERROR: out.dxf, unable to open dxf file\nUsing stdout for DXF output data\n"
                  "Using penwright.log for log output\nErrors: 0, Warnings: 1\n");
}

TEST(Streams, TheDrawingJustCreatedIsNeverTheInput) {
    // The default input is missing, and -o creates it: standard input is read.
    Result r = run_penwright({.args = {"-o", "penwright.plt"}, .stdin_data = plot});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.folder["penwright.plt"], dxf_document(plot_line));
    r = run_penwright({.args = {"-i", "x.plt", "-o", "x.plt"}, .stdin_data = plot});
    EXPECT_EQ(r.folder["x.plt"], dxf_document(plot_line));
    EXPECT_EQ(r.log, log_file("SP 1\nPD\nmove to 1016 0\n", 0, 0, "x.plt", "x.plt"));
    r = run_penwright({.args = {"-o", "x.plt", "-i", "x.plt"}, .stdin_data = plot});
    EXPECT_EQ(r.folder["x.plt"], dxf_document(plot_line));
}

TEST(Streams, LabelHeightBeyondTheDoublesKeepsTheTrueWidthRatio) {
    std::string height = "1" + std::string(306, '0') + ".0",
                width = "1" + std::string(305, '0') + ".0";
    Result r = convert("SP1;SI" + width + "," + height + ";LBx\x03;");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.dxf, dxf_document(text_record(0, 0, 0, DBL_MAX / 1016.0, 0, 0.0, "x")));
}

} // namespace
