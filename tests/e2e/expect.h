// Assertions over a whole conversion: the log's command lines and the DXF's entity records.
#pragma once

#include <gtest/gtest.h>

#include "e2e/harness.h"

inline void expect_conversion(const std::string& input, const std::string& log_body,
                              const std::string& entities, int errors = 0, int warnings = 0) {
    Result r = convert(input);
    EXPECT_EQ(r.status, errors ? 1 : 0) << input;
    EXPECT_EQ(r.log, log_file(log_body, errors, warnings)) << input;
    EXPECT_EQ(r.dxf, dxf_document(entities)) << input;
}

inline void expect_log(const std::string& input, const std::string& log_body, int errors = 0,
                       int warnings = 0) {
    Result r = convert(input);
    EXPECT_EQ(r.log, log_file(log_body, errors, warnings)) << input;
}
