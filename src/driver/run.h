// The run of one conversion, from the banner to the exit status.
#pragma once

#include "format/format.h"

int penwright_main(int argc, char** argv);

// The log's first two lines and its last.
void write_file_lines(const char* input, const char* dxf);
void write_summary(OutputStream& stream);
