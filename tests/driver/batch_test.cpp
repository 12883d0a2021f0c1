// HP-GL/2 mode's batch form: several plots in one call, each converted as a run of its own,
// checked against the single-file form of the same plots.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "e2e/harness.h"

namespace {

namespace fs = std::filesystem;

const std::string square = "IN;SP1;PD1016,0,1016,1016,0,1016,0,0;";
const std::string label = "IN;SP2;PU500,500;SI0.2,0.3;LBplot\x03;CI300;";

// 26 unknown mnemonics (a warning each, more than standard error shows) and a command whose
// parameter is no number (an error).
std::string faulty_plot() {
    std::string plot = "SP1;PD1016,0;";
    for (char c = 'A'; c <= 'Z'; ++c)
        plot += std::string("Z") + c + ";";
    return plot + "PA1,x;";
}

std::string stem_of(const std::string& name) {
    return name.substr(0, name.rfind('.'));
}

// The single-file form's run of the plot `name`, its DXF and log named as the batch names them.
Result single(const std::string& name, const std::string& plot) {
    std::string stem = stem_of(name);
    RunSpec run{.args = {"--hpgl2", "-i", name, "-o", stem + ".dxf", "--log=" + stem + ".log"},
                .files = {{name, plot}},
                .dxf_name = stem + ".dxf"};
    if (name.find('/') != std::string::npos) run.directories = {fs::path(name).parent_path()};
    return run_penwright(run);
}

// What a single-file run wrote on standard error between its stream messages and its summary.
std::string diagnostics_of(const Result& single_run) {
    std::string err = single_run.err;
    size_t from = err.find("for log output\n") + 15;
    size_t to = err.rfind("Errors: ");
    return err.substr(from, to - from);
}

// The batch wrote for `name` what the single-file form writes; the single run's status.
int expect_as_single(const Result& batch, const std::string& name, const std::string& plot) {
    Result one = single(name, plot);
    std::string stem = stem_of(name);
    EXPECT_EQ(batch.folder.at(stem + ".dxf"), one.folder.at(stem + ".dxf")) << name;
    EXPECT_EQ(batch.folder.at(stem + ".log"), one.folder.at(stem + ".log")) << name;
    std::string summary = one.err.substr(one.err.rfind("Errors: "));
    EXPECT_NE(batch.err.find(diagnostics_of(one) + name + ": " + summary), std::string::npos)
        << name << "\n"
        << batch.err;
    return one.status;
}

TEST(Batch, EachPlotBesideItselfAsItsOwnRun) {
    Result r = run_penwright({.args = {"--hpgl2", "a.plt", "sub/b.hpgl"},
                              .files = {{"a.plt", square}, {"sub/b.hpgl", label}},
                              .directories = {"sub"}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              banner() + "a.plt: Errors: 0, Warnings: 0\nsub/b.hpgl: Errors: 0, Warnings: 0\n");
    EXPECT_EQ(r.folder.size(), 6u); // the plots, their DXFs and their logs
    expect_as_single(r, "a.plt", square);
    expect_as_single(r, "sub/b.hpgl", label);

    // Counts and diagnostics budgets start afresh for every plot.
    std::string faulty = faulty_plot();
    r = run_penwright(
        {.args = {"--hpgl2", "x.plt", "y.hp"}, .files = {{"x.plt", faulty}, {"y.hp", faulty}}});
    EXPECT_EQ(r.status, 1);
    expect_as_single(r, "x.plt", faulty);
    expect_as_single(r, "y.hp", faulty);
    EXPECT_TRUE(r.err.ends_with("y.hp: Errors: 1, Warnings: 26\n"));
}

TEST(Batch, WhatCannotBeReadOrWrittenIsReportedAndTheRestConverted) {
    Result r = run_penwright(
        {.args = {"--hpgl2", "missing.plt", "folder.plt", "d.plt", "e.plt", "good.plt", "x.dxf"},
         .files = {{"d.plt", square},
                   {"e.plt", square},
                   {"e.dxf", "kept"},
                   {"good.plt", square},
                   {"x.dxf", square}},
         .directories = {"folder.plt", "d.dxf", "e.log"}});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, banner() + "missing.plt: cannot read: No such file or directory\n"
                                "folder.plt: cannot read: Is a directory\n"
                                "d.dxf: cannot write: Is a directory\n"
                                "e.log: cannot write: Is a directory\n"
                                "good.plt: Errors: 0, Warnings: 0\n"
                                "x.dxf: cannot write: it is an input file\n");
    EXPECT_EQ(r.folder["e.dxf"], "kept"); // a refused run changes no file
    EXPECT_EQ(r.folder["x.dxf"], square); // never written over its own input
    EXPECT_EQ(r.folder.size(), 7u);       // the five plots, good.dxf and good.log
    expect_as_single(r, "good.plt", square);

    // Nothing falls back to standard output, and two plots never share a DXF.
    r = run_penwright(
        {.args = {"--hpgl2", "-o", "nodir/out.dxf", "a.plt"}, .files = {{"a.plt", square}}});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, banner() + "nodir/out.dxf: cannot write: No such file or directory\n");
    r = run_penwright(
        {.args = {"--hpgl2", "a.plt", "a.hpgl"}, .files = {{"a.plt", square}, {"a.hpgl", label}}});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.ends_with("a.plt: Errors: 0, Warnings: 0\n"
                                "a.dxf: cannot write: it is the DXF of a.plt\n"));
}

TEST(Batch, WhereTheOutputsGo) {
    // -o DIR: every DXF and log in that folder.
    Result r = run_penwright({.args = {"--hpgl2", "-o", "out", "a.plt", "sub/b.hpgl"},
                              .files = {{"a.plt", square}, {"sub/b.hpgl", label}},
                              .directories = {"sub", "out"}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.folder["out/a.dxf"], single("a.plt", square).folder["a.dxf"]);
    EXPECT_TRUE(r.folder["out/b.log"].starts_with("HPGL input file: sub/b.hpgl\n"
                                                  "DXF output file: out/b.dxf\n"));
    EXPECT_EQ(r.folder.size(), 6u);
    // -o FILE with one plot: the log beside it.
    r = run_penwright(
        {.args = {"--hpgl2", "a.plt", "-o", "one.dxf"}, .files = {{"a.plt", square}}});
    EXPECT_EQ(r.folder["one.dxf"], single("a.plt", square).folder["a.dxf"]);
    EXPECT_TRUE(
        r.folder["one.log"].starts_with("HPGL input file: a.plt\nDXF output file: one.dxf\n"));
    // -o - and standard input: the DXF on standard output, the log on standard error.
    Result from_stdin = run_penwright({.args = {"--hpgl2", "-"}, .stdin_data = square});
    r = run_penwright({.args = {"--hpgl2", "-o", "-", "a.plt"}, .files = {{"a.plt", square}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, single("a.plt", square).folder["a.dxf"]);
    EXPECT_EQ(from_stdin.out, r.out);
    EXPECT_EQ(from_stdin.err, banner() + "HPGL input file: stdin\nDXF output file: stdout\n"
                                         "Drawn: 1 polylines, 0 arcs, 0 circles, 0 texts, 0 "
                                         "points on 1 layers\nErrors: 0, Warnings: 0\n"
                                         "stdin: Errors: 0, Warnings: 0\n");
    EXPECT_TRUE(from_stdin.folder.empty());
    // --log=FILE: every run's log in that file, in turn.
    r = run_penwright({.args = {"--hpgl2", "--log=all.log", "a.plt", "sub/b.hpgl"},
                       .files = {{"a.plt", square}, {"sub/b.hpgl", label}},
                       .directories = {"sub"}});
    EXPECT_EQ(r.folder["all.log"], single("a.plt", square).folder["a.log"] +
                                       single("sub/b.hpgl", label).folder["sub/b.log"]);
    EXPECT_EQ(r.folder.count("a.log") + r.folder.count("sub/b.log"), 0u);
}

TEST(Batch, CommandLineFaultsConvertNothing) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--hpgl2", "-o", "one.dxf", "a.plt", "b.plt"},
         "penwright: -o one.dxf names one DXF, but 2 plots are named: -o must name an existing "
         "folder\n"},
        {{"--hpgl2", "-", "a.plt", "-"}, "penwright: standard input (-) can be read once only\n"},
        {{"--hpgl2", "a.plt", "--units=cm"},
         "penwright: unrecognized option --units=cm (penwright --hpgl2 --help lists them)\n"},
        {{"--hpgl2", "a.plt", "-o"}, "penwright: -o needs a file name\n"},
        {{"--hpgl2", "--log=a.plt", "a.plt"}, "a.plt: cannot write: it is an input file\n"},
    };
    for (const auto& [args, message] : cases) {
        Result r = run_penwright({.args = args, .files = {{"a.plt", square}, {"b.plt", square}}});
        EXPECT_EQ(r.status, 2) << message;
        EXPECT_EQ(r.err, banner() + message);
        EXPECT_EQ(r.folder.size(), 2u) << message; // the plots alone
    }
    // After "--" every argument is a plot.
    Result r = run_penwright({.args = {"--hpgl2", "--", "-x.plt"}, .files = {{"-x.plt", square}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.folder["-x.dxf"], single("a.plt", square).folder["a.dxf"]);
}

// A line of the manual page in bold (.B, .BI, .BR) names `option` as a word of its own.
bool names_option(const std::string& manual, const std::string& option) {
    std::istringstream lines(manual);
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with(".B")) continue;
        for (size_t at = line.find(option); at != std::string::npos;
             at = line.find(option, at + 1)) {
            size_t end = at + option.size();
            if (line[at - 1] == ' ' && (option.ends_with('=') || end == line.size() ||
                                        line[end] == ' ' || line[end] == '"'))
                return true;
        }
    }
    return false;
}

TEST(Batch, HelpAndVersionBelongToHpgl2Mode) {
    Result r = run_penwright({.args = {"--hpgl2", "a.plt", "--help"}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.folder.empty());
    for (const char* option :
         {"-i FILE", "-o FILE", "-d ", "-YYDEBUG", "--hpgl2", "--units=in|mm", "--dxf=r12|r2000",
          "--log=FILE", "-h, -?", "--help", "--version", "-o DIR", "-o -", " -- "})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
    // The manual page names each in a bold macro, its dashes escaped.
    std::string manual = read_file(EXAMPLES_DIR "/../docs/penwright.1");
    for (std::string option : {"-i", "-o", "-d", "-YYDEBUG", "--hpgl2", "--units=", "--dxf=",
                               "--log=", "-h", "-?", "--help", "--version", "--"}) {
        std::string escaped;
        for (char c : option)
            escaped += c == '-' ? "\\-" : std::string(1, c);
        EXPECT_TRUE(names_option(manual, escaped)) << option;
    }
    r = run_penwright({.args = {"--version", "--hpgl2"}});
    EXPECT_EQ(r.out, "penwright Version 1.7\n");
    EXPECT_EQ(r.err, "");
    // Without --hpgl2 the command line is classic mode's: both are unknown, --dxf is accepted.
    r = run_penwright(
        {.args = {"--help", "--version", "--dxf=r2000"}, .files = {{"penwright.plt", ""}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Unrecognized command line option: --help\n"
                     "Unrecognized command line option: --version\n");
}

} // namespace

namespace {

// The corpus of real plots converted in one call gives, plot for plot, the bytes of single calls.
TEST(BatchCorpus, OneCallWritesWhatOneCallPerPlotWrites) {
    if (!fs::is_directory(CORPUS_DIR)) GTEST_SKIP() << "no corpus at " CORPUS_DIR;
    RunSpec batch{.args = {"--hpgl2"}};
    for (auto& entry : fs::directory_iterator(CORPUS_DIR)) {
        std::string name = entry.path().filename().string();
        batch.files[name] = read_file(entry.path());
        batch.args.push_back(name);
    }
    ASSERT_GE(batch.files.size(), 50u);
    Result r = run_penwright(batch);
    int worst = 0;
    for (auto& [name, plot] : batch.files)
        worst = std::max(worst, expect_as_single(r, name, plot));
    EXPECT_EQ(r.status, worst);
}

} // namespace
