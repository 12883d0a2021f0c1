#include "driver/diagnostics.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>

#include "driver/streams.h"
#include "format/format.h"

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

namespace {

constexpr int shown_on_stderr = 20;
constexpr int places_per_kind = 3;
int diagnostics_written = 0;
std::unordered_map<std::string, int> places; // by kind of message

} // namespace

void diagnose(Severity severity, int line, int column, const char* kind, const char* text) {
    ++(severity == Severity::error ? error_count : warning_count);
    if (++places[kind] > places_per_kind) return;
    const char* file = input_path ? input_path : "penwright.plt";
    const char* word = severity == Severity::error ? "error" : "warning";
    emit<"%s:%d:%d: %s: %s\n">(log_stream, file, line, column, word, text);
    if (log_stream.file != stderr && diagnostics_written < shown_on_stderr) {
        fprintf(stderr, "%s:%d:%d: %s: %s\n", file, line, column, word, text);
    }
    ++diagnostics_written;
}

void note_more_diagnostics() {
    int more = diagnostics_written - shown_on_stderr;
    if (log_stream.file != stderr && more > 0)
        fprintf(stderr, "... %d more diagnostics in %s\n", more, log_path);
}

void fatal_error(const char* message) {
    flush_outputs(); // the unfinished document keeps what was written
    fprintf(stderr, "%s\n", message);
    exit(2);
}

bool input_failed = false;
bool name_input_failures = false;

void input_failure(const char* message) {
    int reason = errno; // of the read that failed
    if (!input_failed && name_input_failures)
        fprintf(stderr, "%s: cannot read: %s\n", input_path, strerror(reason));
    else if (!input_failed)
        fprintf(stderr, "%s\n", message);
    input_failed = true;
}

int saturating_int(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<int>(v);
}

void diagnostics_next_run() {
    error_count = 0;
    warning_count = 0;
    line_number = 1;
    tokenpos = 0;
    yyleng = 0;
    diagnostics_written = 0;
    input_failed = false;
    places.clear();
}

void diagnostics_reset() {
    diagnostics_next_run();
    scanner_trace = 0;
    parser_trace = 0;
}
