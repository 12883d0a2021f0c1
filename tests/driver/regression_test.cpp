// Every fuzzing seed and every input that once crashed, hung or tripped a sanitizer converts
// to a complete document.
#include <gtest/gtest.h>

#include <filesystem>

#include "e2e/harness.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> files_in(const char* folder) {
    std::vector<fs::path> found;
    for (auto& e : fs::directory_iterator(folder))
        if (e.is_regular_file() && e.path().filename() != "README.md") found.push_back(e.path());
    return found;
}

// In both modes.
void expect_complete(const std::string& input, const std::string& name) {
    for (const std::vector<std::string>& mode : {std::vector<std::string>{}, {"--hpgl2"}}) {
        Result r = convert(input, mode);
        EXPECT_TRUE(r.status == 0 || r.status == 1) << name << " status " << r.status;
        EXPECT_TRUE(r.dxf.ends_with("  0\nENDSEC\n  0\nEOF\n")) << name;
        EXPECT_NE(r.log.find("Errors: "), std::string::npos) << name;
    }
}

TEST(Regressions, FuzzingInputsConvertCompletely) {
    auto regressions = files_in(FUZZ_DIR "/regressions");
    auto seeds = files_in(FUZZ_DIR "/seeds/convert");
    ASSERT_GE(seeds.size(), 5u);
    for (auto& f : files_in(FUZZ_DIR "/seeds/hpgl2"))
        seeds.push_back(f);
    for (auto& f : regressions)
        expect_complete(read_file(f), f.filename());
    for (auto& f : seeds)
        expect_complete(read_file(f), f.filename());
    for (auto& f : files_in(FUZZ_DIR "/seeds/encoded"))
        expect_complete("SP1;PD;PE" + read_file(f) + ";", f.filename());
}

} // namespace
