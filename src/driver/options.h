// The command line and the three streams it opens.
#pragma once

#include <cstdio>

extern char* input_path; // also named in every positional error report
extern char* dxf_path;   // "stdout" after the fallback
extern char* log_path;   // "stderr" after the fallback

extern FILE* input_stream; // null: the scanner reads standard input
extern FILE* dxf_stream;
extern FILE* log_stream;

extern const char* const program_name;

// Reads the command line, opens the streams and reports which file each one uses.
// Ends the process (status 0) after the usage text.
void parse_options(int argc, char** argv);
void show_usage();

// Closes whatever the streams hold and puts every name back to its start value.
void options_reset();
