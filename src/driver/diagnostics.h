// Counters, input position and the positional error report shared by every layer.
#pragma once

#include <cstdio>

extern int error_count;
extern int warning_count;

// Maintained by the scanner, printed by hpgl_error.
extern int line_number; // 1-based input line being scanned
extern int tokenpos;    // bytes consumed on the line up to and including the current token
extern int yyleng;      // length of the text the scanner matched last

extern int scanner_trace; // -d
extern int parser_trace;  // -YYDEBUG

// "(file) line L, pos C : message(0xNN)" on standard error; counts one error.
void hpgl_error(const char* message);

// Writes "message\n" on standard error and ends the process with status 2.
[[noreturn]] void fatal_error(const char* message);

// HP-GL/2 mode: the input could not be read to its end. The conversion finishes what it has,
// and the exit status is 2.
extern bool input_failed;
void input_failure(const char* message);
// In the batch form the failure is told as "FILE: cannot read: REASON" instead of `message`.
extern bool name_input_failures;

// Adds to an int the way the hardware does, without signed-overflow undefined behaviour.
inline int wrap_add(int a, int b) {
    return static_cast<int>(static_cast<unsigned>(a) + static_cast<unsigned>(b));
}
inline int wrap_sub(int a, int b) {
    return static_cast<int>(static_cast<unsigned>(a) - static_cast<unsigned>(b));
}
inline int wrap_neg(int a) {
    return static_cast<int>(0u - static_cast<unsigned>(a));
}

// Truncates toward zero; values beyond the int range saturate, NaN gives 0.
int saturating_int(double v);

// A diagnostic of HP-GL/2 mode, "FILE:LINE:COLUMN: error: TEXT" (or "warning"), in the log and,
// for the first 20, on standard error. It counts one error or warning. The same `kind` of
// message (a message and its mnemonic) is written at its first three places only.
enum class Severity { error, warning };
void diagnose(Severity severity, int line, int column, const char* kind, const char* text);

// "... N more diagnostics in LOG" on standard error, when more went to the log than to it.
void note_more_diagnostics();

// Every counter and budget of one conversion back to its start, for the next plot of a batch;
// the traces asked for stay on.
void diagnostics_next_run();
// That, and the traces off: a fresh process.
void diagnostics_reset();
