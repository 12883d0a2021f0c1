#include "driver/diagnostics.h"

#include <climits>
#include <cmath>
#include <cstdlib>

#include "driver/streams.h"

int error_count = 0;
int warning_count = 0;
int line_number = 1;
int tokenpos = 0;
int yyleng = 0;
int scanner_trace = 0;
int parser_trace = 0;

void hpgl_error(const char* message) {
    int column = wrap_sub(wrap_add(tokenpos, 1), yyleng);
    // The code printed is that of the message's own first character, read as a signed char.
    int code = static_cast<signed char>(message[0]);
    const char* file = input_path ? input_path : "penwright.plt";
    fprintf(stderr, "(%s) line %d, pos %d : %s(0x%02x)\n", file, line_number, column, message,
            static_cast<unsigned>(code));
    ++error_count;
}

void fatal_error(const char* message) {
    flush_outputs(); // the unfinished document keeps what was written
    fprintf(stderr, "%s\n", message);
    exit(2);
}

int saturating_int(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<int>(v);
}

void diagnostics_reset() {
    error_count = 0;
    warning_count = 0;
    line_number = 1;
    tokenpos = 0;
    yyleng = 0;
    scanner_trace = 0;
    parser_trace = 0;
}
