// Conversions inside this process, many in a row: for the fuzz targets and the tests.
#pragma once

#include <cstddef>
#include <cstdio>

// Puts every piece of global state back to its start value.
void reset_all();

// One conversion of bytes held in memory into the given streams: the log's file lines, the
// DXF document and the summary line; in HP-GL/2 mode when `hpgl2` is set.
void convert_in_memory(const char* data, size_t size, FILE* dxf, FILE* log, bool hpgl2 = false);
