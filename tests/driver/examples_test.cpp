// The example drawings and logs in the repository are what the program writes today.
#include <gtest/gtest.h>

#include "e2e/harness.h"

namespace {

TEST(Examples, CommittedOutputsAreCurrent) {
    for (const char* plot :
         {"cassini.hpgl", "hp.hpgl", "doge.hpgl", "feature_exercise.plt", "square.plt"}) {
        std::string name = plot;
        std::string stem = name.substr(0, name.rfind('.'));
        Result r = run_penwright({.args = {"-i", name, "-o", stem + ".dxf"},
                                  .files = {{name, read_file(EXAMPLES_DIR "/" + name)}},
                                  .dxf_name = stem + ".dxf"});
        EXPECT_EQ(r.dxf, read_file(EXAMPLES_DIR "/" + stem + ".dxf")) << plot;
        EXPECT_EQ(r.log, read_file(EXAMPLES_DIR "/" + stem + ".log")) << plot;
    }
}

} // namespace
