// Fuzz target: the whole conversion, in process. Whatever the input, the drawing must be a
// complete document and the log must end with its summary.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "inprocess/inprocess.h"

static bool ends_with(const char* text, size_t size, const char* tail) {
    size_t n = strlen(tail);
    return size >= n && memcmp(text + size - n, tail, n) == 0;
}

// The last line is "Errors: N, Warnings: M" (the log may hold any byte before it).
static bool ends_with_summary(const char* log, size_t size) {
    std::string_view text(log, size);
    if (!text.ends_with('\n')) return false;
    size_t start = text.rfind('\n', size - 2);
    std::string_view last = text.substr(start == std::string_view::npos ? 0 : start + 1);
    return last.starts_with("Errors: ") && last.find(", Warnings: ") != std::string_view::npos;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char* dxf = nullptr;
    size_t dxf_size = 0;
    char* log = nullptr;
    size_t log_size = 0;
    FILE* d = open_memstream(&dxf, &dxf_size);
    FILE* l = open_memstream(&log, &log_size);
    convert_in_memory(reinterpret_cast<const char*>(data), size, d, l);
    fclose(d);
    fclose(l);
    if (!ends_with(dxf, dxf_size, "  0\nENDSEC\n  0\nEOF\n")) abort();
    if (!ends_with_summary(log, log_size)) abort();
    free(dxf);
    free(log);
    return 0;
}
