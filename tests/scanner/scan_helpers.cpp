#include "scanner/scan_helpers.h"

#include <cstdio>
#include <cstdlib>

#include "driver/diagnostics.h"
#include "scanner/scanner.h"
#include "scanner/text.h"

namespace {

std::string describe(int kind) {
    switch (kind) {
    case INT: return "INT(" + std::to_string(token_value.i) + ")";
    case DBL: {
        char b[64];
        snprintf(b, sizeof b, "DBL(%f)", token_value.d);
        return b;
    }
    case LBSTR:
    case QSTR:
    case PESTR: {
        std::string name = kind == LBSTR ? "LBSTR" : kind == QSTR ? "QSTR" : "PESTR";
        std::string text = token_value.text;
        text_release(token_value.text);
        return name + "[" + text + "]";
    }
    case ESC: return "ESC";
    case PJL: return "PJL";
    case ENTER: return "ENTER";
    case LANGUAGE: return "LANGUAGE";
    case HPGL2: return "HPGL2";
    case CO: return "CO";
    case LB: return "LB";
    case PE: return "PE";
    default: break;
    }
    if (kind == 3) return "ETX";
    return std::string("'") + static_cast<char>(kind) + "'";
}

} // namespace

Scanned scan_bytes(const std::string& input, int read_limit) {
    FILE* f = tmpfile();
    fwrite(input.data(), 1, input.size(), f);
    rewind(f);
    diagnostics_reset();
    scanner_reset();
    scanner_set_input(f);
    scanner_read_limit = read_limit;
    Scanned s;
    while (int kind = hpgl_scan()) {
        s.tokens.push_back(describe(kind));
        s.positions.push_back(std::to_string(line_number) + ":" + std::to_string(tokenpos) + ":" +
                              std::to_string(yyleng));
    }
    s.errors = error_count;
    scanner_reset();
    scanner_read_limit = 8192;
    fclose(f);
    return s;
}

std::vector<std::string> tokens_of(const std::string& input) {
    return scan_bytes(input).tokens;
}
