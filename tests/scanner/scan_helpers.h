// Runs the scanner in-process over a byte string and describes every token it returns.
#pragma once

#include <string>
#include <vector>

struct Scanned {
    std::vector<std::string> tokens;    // "'P'", "INT(1)", "DBL(2.500000)", "LBSTR[text]", "ESC"...
    std::vector<std::string> positions; // "line:tokenpos:yyleng" after each token
    int errors = 0;
};

Scanned scan_bytes(const std::string& input, int read_limit = 8192);
std::vector<std::string> tokens_of(const std::string& input);
