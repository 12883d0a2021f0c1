// The run of one conversion, from the banner to the exit status.
#pragma once

int penwright_main(int argc, char** argv);

#include <cstddef>
#include <cstdio>

// Puts every piece of global state back to its start value.
void reset_all();

// One conversion of bytes held in memory into the given streams, inside this process (for
// fuzzing and tests): the log's file lines, the DXF document and the summary line.
void convert_in_memory(const char* data, size_t size, FILE* dxf, FILE* log);
