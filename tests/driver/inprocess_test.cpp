// Conversions run inside the test process: state resets between runs, and real plots cut at
// every offset still give a complete document.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <random>

#include "e2e/harness.h"
#include "inprocess/inprocess.h"
#include "parser/engine.h"
#include "scanner/scanner.h"

namespace {

struct Converted {
    std::string dxf, log, err;
};

Converted convert_here(const std::string& input) {
    char* dxf = nullptr;
    size_t dxf_size = 0;
    char* log = nullptr;
    size_t log_size = 0;
    FILE* d = open_memstream(&dxf, &dxf_size);
    FILE* l = open_memstream(&log, &log_size);
    char* err = nullptr;
    size_t err_size = 0;
    FILE* saved_err = stderr;
    stderr = open_memstream(&err, &err_size);
    convert_in_memory(input.data(), input.size(), d, l);
    fclose(stderr);
    stderr = saved_err;
    fclose(d);
    fclose(l);
    Converted c{std::string(dxf, dxf_size), std::string(log, log_size), std::string(err, err_size)};
    free(dxf);
    free(log);
    free(err);
    return c;
}

std::string body(const std::string& log) { // the log between the file lines and the summary
    size_t start = log.find('\n', log.find('\n') + 1) + 1;
    return log.substr(start, log.rfind("Errors:") - start);
}

TEST(InProcess, SameResultAsTheProgram) {
    std::string plot = read_file(TEST_DATA_DIR "/feature_exercise.plt");
    Converted here = convert_here(plot);
    Result there = convert(plot);
    EXPECT_EQ(here.dxf, there.dxf);
    EXPECT_EQ(body(here.log), body(there.log));
    EXPECT_TRUE(here.log.ends_with("Errors: 1, Warnings: 0\n"));
}

TEST(InProcess, EveryRunStartsFromTheStartState) {
    // Pen, axis signs, sizes, modes, scanner mode and counters must not leak between runs.
    std::string first = "SP3;SC1,1,0,0;SI.5,.5;DI0,1;PR;PD5,5;LB\x03+";
    std::string second = "PD1016,0;LBx\x03;PE\xd3\xc6;";
    Converted reference = convert_here(second);
    convert_here(first);
    convert_here("LBunterminated");
    Converted again = convert_here(second);
    EXPECT_EQ(again.dxf, reference.dxf);
    EXPECT_EQ(again.log, reference.log);
    EXPECT_EQ(reference.log.find("SP"), std::string::npos);
}

TEST(InProcess, RealPlotsCutAtEveryOffset) {
    for (const char* name : {"/feature_exercise.plt", "/xanadu_body.plt"}) {
        std::string plot = read_file(std::string(TEST_DATA_DIR) + name);
        ASSERT_GT(plot.size(), 1000u);
        for (size_t cut = 0; cut <= plot.size(); ++cut) {
            Converted c = convert_here(plot.substr(0, cut));
            ASSERT_TRUE(c.dxf.ends_with("  0\nENDSEC\n  0\nEOF\n")) << name << " cut at " << cut;
            ASSERT_NE(c.log.find("Errors: "), std::string::npos) << name << " cut at " << cut;
        }
    }
}

// A coordinate: mostly a few digits, sometimes up to eleven (beyond the int range), with
// leading zeros or a sign.
std::string coordinate(std::mt19937& rng) {
    if (rng() % 4) return std::to_string(static_cast<int>(rng() % 4000) - 2000);
    std::string number = rng() % 3 ? "" : "-";
    for (int i = 0, n = 1 + static_cast<int>(rng() % 11); i < n; ++i)
        number += static_cast<char>('0' + rng() % (i == 0 && rng() % 2 ? 1 : 10));
    return number;
}

// Statements of point lists, one of them broken off somewhere by what can end a list.
std::string point_lists(std::mt19937& rng) {
    const char* commands[] = {"PA", "PD", "PU", "PR", "SP1;PD"};
    const char* breaks[] = {"", ";", "2.5", ",", " ", "\n", ",,", "LBx\x03", "K", ";12"};
    std::string input;
    int statements = 1 + static_cast<int>(rng() % 6), broken = static_cast<int>(rng() % 8);
    for (int s = 0; s < statements; ++s) {
        input += commands[rng() % std::size(commands)];
        for (int i = 0, n = static_cast<int>(rng() % 40); i < n; ++i) {
            if (i) input += ',';
            input += coordinate(rng);
            if (s == broken && i == n / 2) input += breaks[rng() % std::size(breaks)];
            input.append(",").append(coordinate(rng));
        }
        if (rng() % 4) input += ';';
    }
    return input;
}

TEST(InProcess, QuickPathsParseAsTheTablesAndTheAutomaton) {
    std::mt19937 rng(11);
    for (int round = 0; round < 600; ++round) {
        std::string input = point_lists(rng);
        scanner_read_limit = round % 3 ? 8192 : 1 + static_cast<int>(rng() % 40); // block ends
        Converted quick = convert_here(input);
        parser_quick_lists = scanner_quick_path = false;
        Converted tables = convert_here(input);
        parser_quick_lists = scanner_quick_path = true;
        ASSERT_EQ(quick.dxf, tables.dxf) << input;
        ASSERT_EQ(quick.log, tables.log) << input;
        ASSERT_EQ(quick.err, tables.err) << input;
    }
    scanner_read_limit = 8192;
}

} // namespace
