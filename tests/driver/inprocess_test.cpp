// Conversions run inside the test process: state resets between runs, and real plots cut at
// every offset still give a complete document.
#include <gtest/gtest.h>

#include <cstdlib>

#include "e2e/harness.h"
#include "inprocess/inprocess.h"

namespace {

struct Converted {
    std::string dxf, log;
};

Converted convert_here(const std::string& input) {
    char* dxf = nullptr;
    size_t dxf_size = 0;
    char* log = nullptr;
    size_t log_size = 0;
    FILE* d = open_memstream(&dxf, &dxf_size);
    FILE* l = open_memstream(&log, &log_size);
    FILE* saved_err = stderr;
    stderr = fopen("/dev/null", "w"); // error reports are not what is checked here
    convert_in_memory(input.data(), input.size(), d, l);
    fclose(stderr);
    stderr = saved_err;
    fclose(d);
    fclose(l);
    Converted c{std::string(dxf, dxf_size), std::string(log, log_size)};
    free(dxf);
    free(log);
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

} // namespace
