// The run of one conversion, from the banner to the exit status.
#pragma once

#include "format/format.h"

int penwright_main(int argc, char** argv);

// The conversion of the mode the command line chose: the whole input into the DXF document.
void convert();

// The log's first two lines and its last.
void write_file_lines(const char* input, const char* dxf);
void write_summary(OutputStream& stream);
