// The three streams of a conversion, their file names and the rules that keep them apart.
#pragma once

#include <cstdio>

#include "format/format.h"

extern char* input_path; // also named in every positional error report
extern char* dxf_path;   // "stdout" after the fallback
extern char* log_path;   // "stderr" after the fallback

extern FILE* input_stream; // null: the scanner reads standard input
extern OutputStream dxf_stream;
extern OutputStream log_stream;

// Sets a file name (a heap copy kept for the run).
void set_name(char*& slot, const char* name);

// The input file, or null when it cannot be opened or is the DXF file just created.
FILE* open_input_file(const char* path);
// The DXF file, created or truncated; null when it cannot be, or when it is the input or the
// file standard output or standard error writes to.
FILE* open_dxf_file(const char* path);
// The log file; null for the same reasons, and when it is the DXF file.
FILE* open_log_file(const char* path);

// The file the conversion will read, known before any file is opened, so that no output
// replaces it: the input's name, or, when that cannot be found, whatever standard input is.
void expect_input(const char* name);

// Gives the streams their files: `dxf` and `log` may be standard output and standard error.
void attach_dxf(FILE* dxf);
void attach_log(FILE* log);

// Writes out what the DXF and log streams hold (before the process ends early).
void flush_outputs();

// Flushes and closes an output stream; a write that failed, now or earlier, counts one error.
void close_output(OutputStream& stream);

// The same for a stream that may stay open for more (`close` false: a standard stream, a log
// shared by the runs of a batch). On failure errno tells why, or is 0 when nothing does.
bool finish_output(OutputStream& stream, bool close);

// Closes whatever the streams hold and puts every name back to its start value.
void streams_reset();
