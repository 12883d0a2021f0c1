// Fuzz target: the scanner alone. The same bytes must give the same tokens, positions and
// errors whatever the size of the blocks the input is read in.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "driver/diagnostics.h"
#include "scanner/scanner.h"
#include "scanner/text.h"

struct Token {
    int kind, value, line, pos, length;
    bool operator!=(const Token& o) const {
        return kind != o.kind || value != o.value || line != o.line || pos != o.pos ||
               length != o.length;
    }
};

static std::vector<Token> scan(const uint8_t* data, size_t size, int read_limit) {
    diagnostics_reset();
    scanner_reset();
    FILE* in = fmemopen(const_cast<uint8_t*>(data), size, "r");
    scanner_set_input(in);
    scanner_read_limit = read_limit;
    std::vector<Token> tokens;
    while (int kind = hpgl_scan()) {
        unsigned value = 0;
        if (kind == INT) value = static_cast<unsigned>(token_value.i);
        if (kind == LBSTR || kind == QSTR || kind == PESTR) {
            for (const char* t = token_value.text; t && *t; ++t)
                value = value * 31u + static_cast<unsigned char>(*t);
            text_release(token_value.text);
        }
        tokens.push_back({kind, static_cast<int>(value), line_number, tokenpos, yyleng});
    }
    tokens.push_back({0, error_count, line_number, tokenpos, yyleng});
    fclose(in);
    scanner_reset();
    return tokens;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<Token> blocks = scan(data, size, 8192);
    std::vector<Token> bytes = scan(data, size, 3);
    if (blocks.size() != bytes.size()) abort();
    for (size_t i = 0; i < blocks.size(); ++i)
        if (blocks[i] != bytes[i]) abort();
    return 0;
}
