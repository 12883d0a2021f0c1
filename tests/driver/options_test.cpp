// The command line: usage requests, unrecognized options, file names and stream fallbacks.
#include <gtest/gtest.h>

#include "e2e/harness.h"

namespace {

const std::string usage = "\nUsage: penwright [-i hpgl_file][-o dxf_file][-h]\n\n"
                          "where: hpgl_file  is a valid HPGL plotter input file\n"
                          "       dxf_file   is any filename for dxf output data\n"
                          "\n"
                          "Synopsis: This program converts HPGL plot file data to dxf format.\n"
                          "\n";

TEST(Usage, NoArgumentsShowsUsageAndCreatesNothing) {
    Result r = run_penwright({});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, banner());
    EXPECT_EQ(r.out, usage);
    EXPECT_TRUE(r.folder.empty());
}

TEST(Usage, HelpAndQuestionMarkShowUsage) {
    for (const char* opt : {"-h", "-?"}) {
        Result r = run_penwright({.args = {opt}});
        EXPECT_EQ(r.status, 0) << opt;
        EXPECT_EQ(r.err, banner()) << opt;
        EXPECT_EQ(r.out, usage) << opt;
        EXPECT_TRUE(r.folder.empty()) << opt;
    }
}

TEST(Usage, OutputFileIsCreatedEmptyBeforeHelp) {
    Result r = run_penwright({.args = {"-o", "made.dxf", "-h"}, .dxf_name = "made.dxf"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, usage);
    ASSERT_TRUE(r.dxf_exists);
    EXPECT_EQ(r.dxf, "");
    EXPECT_FALSE(r.log_exists);
}

TEST(Options, TrailingDashIIsUnrecognizedAndDefaultInputIsUsed) {
    Result r = run_penwright({.args = {"-i"}, .files = {{"penwright.plt", ""}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Unrecognized command line option: -i\n");
    EXPECT_EQ(r.err,
              stderr_preamble("penwright.plt", "penwright.pdf") + "Errors: 0, Warnings: 1\n");
    EXPECT_EQ(r.log, log_file("", 0, 1, "penwright.plt", "penwright.pdf"));
    EXPECT_EQ(r.dxf, dxf_document(""));
}

TEST(Options, TrailingDashOIsUnrecognized) {
    Result r = run_penwright({.args = {"-o"}, .files = {{"penwright.plt", ""}}});
    EXPECT_EQ(r.out, "Unrecognized command line option: -o\n");
    EXPECT_EQ(r.dxf, dxf_document(""));
}

TEST(Options, LoneFileNameIsUnrecognized) {
    Result r = run_penwright(
        {.args = {"plot.plt"}, .files = {{"plot.plt", "junk"}, {"penwright.plt", ""}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Unrecognized command line option: plot.plt\n");
    EXPECT_EQ(r.log, log_file("", 0, 1, "penwright.plt", "penwright.pdf"));
}

TEST(Options, CaseVariantsAreUnrecognized) {
    Result r =
        run_penwright({.args = {"-D", "-H", "-yydebug", "-I"}, .files = {{"penwright.plt", ""}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Unrecognized command line option: -D\n"
                     "Unrecognized command line option: -H\n"
                     "Unrecognized command line option: -yydebug\n"
                     "Unrecognized command line option: -I\n");
    EXPECT_EQ(r.err,
              stderr_preamble("penwright.plt", "penwright.pdf") + "Errors: 0, Warnings: 4\n");
}

TEST(Options, SecondInputWinsAndFirstMissingIsReported) {
    Result r = run_penwright({.args = {"-i", "missing.plt", "-i", "b.plt", "-o", "out.dxf"},
                              .files = {{"b.plt", ""}},
                              .dxf_name = "out.dxf"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, banner() + "missing.plt: file not found\n" +
                         "Using b.plt for HPGL input file\n"
                         "Using out.dxf for DXF output data\n"
                         "Using penwright.log for log output\n"
                         "Errors: 0, Warnings: 0\n");
    EXPECT_EQ(r.log, log_file("", 0, 0, "b.plt", "out.dxf"));
}

TEST(Options, MissingInputFileFallsBackToStandardInputQuietly) {
    Result r = run_penwright({.args = {"-i", "gone.plt", "-o", "out.dxf"}, .dxf_name = "out.dxf"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, banner() + "gone.plt: file not found\n" +
                         "Using out.dxf for DXF output data\n"
                         "Using penwright.log for log output\n"
                         "Errors: 0, Warnings: 0\n");
    EXPECT_EQ(r.log, log_file("", 0, 0, "gone.plt", "out.dxf"));
    EXPECT_EQ(r.dxf, dxf_document(""));
}

TEST(Options, MissingDefaultInputSaysNothing) {
    Result r = run_penwright({.args = {"-o", "out.dxf"}, .dxf_name = "out.dxf"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, banner() + "Using out.dxf for DXF output data\n"
                                "Using penwright.log for log output\n"
                                "Errors: 0, Warnings: 0\n");
    EXPECT_EQ(r.log, log_file("", 0, 0, "penwright.plt", "out.dxf"));
}

TEST(Fallback, UnwritableOutputGoesToStandardOutputAfterOptionMessages) {
    Result r = run_penwright({.args = {"-x", "-o", "folder", "-i", "in.plt"},
                              .files = {{"in.plt", ""}},
                              .directories = {"folder"}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, banner() + "folder: file not found\n" +
                         "Using in.plt for HPGL input file\n"
                         "ERROR: folder, unable to open dxf file\n"
                         "Using stdout for DXF output data\n"
                         "Using penwright.log for log output\n"
                         "Errors: 0, Warnings: 1\n");
    EXPECT_EQ(r.out, "Unrecognized command line option: -x\n" + dxf_document(""));
    EXPECT_EQ(r.log, log_file("", 0, 1, "in.plt", "stdout"));
}

TEST(Fallback, DefaultOutputUnwritableIsReportedOnce) {
    Result r = run_penwright(
        {.args = {"-i", "in.plt"}, .files = {{"in.plt", ""}}, .directories = {"penwright.pdf"}});
    EXPECT_EQ(r.err, banner() + "Using in.plt for HPGL input file\n" +
                         "ERROR: penwright.pdf, unable to open dxf file\n"
                         "Using stdout for DXF output data\n"
                         "Using penwright.log for log output\n"
                         "Errors: 0, Warnings: 0\n");
    EXPECT_EQ(r.out, dxf_document(""));
}

TEST(Fallback, LogOnStandardErrorWritesTheSummaryOnce) {
    Result r = run_penwright({.args = {"-i", "in.plt", "-o", "out.dxf"},
                              .files = {{"in.plt", ""}},
                              .directories = {"penwright.log"},
                              .dxf_name = "out.dxf"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, banner() + "Using in.plt for HPGL input file\n" +
                         "Using out.dxf for DXF output data\n"
                         "Could not open penwright.log as log file\n"
                         "Using stderr for log output\n"
                         "HPGL input file: in.plt\n"
                         "DXF output file: out.dxf\n"
                         "Errors: 0, Warnings: 0\n");
    EXPECT_EQ(r.dxf, dxf_document(""));
}

} // namespace

namespace {

TEST(LongOptions, ModeUnitsAndTheLogsName) {
    // --log names the log in both modes; --units matters in HP-GL/2 mode only.
    Result r =
        run_penwright({.args = {"-i", "in.plt", "-o", "out.dxf", "--log=plot.log", "--units=mm"},
                       .files = {{"in.plt", "SP1;PD40,0;"}},
                       .dxf_name = "out.dxf"});
    EXPECT_EQ(r.status, 0);
    EXPECT_FALSE(r.log_exists);
    EXPECT_EQ(r.folder["plot.log"],
              log_file("SP 1\nPD\nmove to 40 0\n", 0, 0, "in.plt", "out.dxf"));
    EXPECT_EQ(r.err, stderr_preamble("in.plt", "out.dxf", "plot.log") + "Errors: 0, Warnings: 0\n");
    r = run_penwright(
        {.args = {"--hpgl2", "-i", "in.plt", "--units=mm", "-o", "out.dxf", "--log=-"},
         .files = {{"in.plt", "SP1;PD40,0;"}},
         .dxf_name = "out.dxf"});
    EXPECT_EQ(r.status, 0);
    EXPECT_FALSE(r.log_exists);
    EXPECT_NE(r.dxf.find(" 10\n1\n 20\n0\n"), std::string::npos); // 40 plotter units: 1 mm
    EXPECT_EQ(r.err, stderr_preamble("in.plt", "out.dxf", "stderr") +
                         "HPGL input file: in.plt\nDXF output file: out.dxf\n"
                         "Drawn: 1 polylines, 0 arcs, 0 circles, 0 texts, 0 points on 1 layers\n"
                         "Errors: 0, Warnings: 0\n");
}

TEST(LongOptions, AnythingElseIsUnrecognized) {
    Result r = convert("", {"--hpgl", "--units=cm", "--log=", "--HPGL2", "-hpgl2"});
    EXPECT_EQ(
        r.out,
        "Unrecognized command line option: --hpgl\nUnrecognized command line option: --units=cm\n"
        "Unrecognized command line option: --log=\nUnrecognized command line option: --HPGL2\n"
        "Unrecognized command line option: -hpgl2\n");
    EXPECT_EQ(r.log, log_file("", 0, 5));
    EXPECT_EQ(r.dxf, dxf_document("")); // the classic document: --hpgl2 was not given
}

} // namespace
