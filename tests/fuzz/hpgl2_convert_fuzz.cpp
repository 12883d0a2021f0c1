// Fuzz target: the whole conversion in HP-GL/2 mode, in process. Whatever the input, the
// drawing must be a complete document without inf or nan, and the log must end with its
// counts and summary.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "inprocess/inprocess.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char *dxf = nullptr, *log = nullptr;
    size_t dxf_size = 0, log_size = 0;
    FILE* d = open_memstream(&dxf, &dxf_size);
    FILE* l = open_memstream(&log, &log_size);
    convert_in_memory(reinterpret_cast<const char*>(data), size, d, l, true);
    fclose(d);
    fclose(l);
    std::string document(dxf, dxf_size), text(log, log_size);
    if (!document.ends_with("  0\nENDSEC\n  0\nEOF\n") || !document.starts_with("  0\nSECTION\n"))
        abort();
    if (document.find("inf") != std::string::npos || document.find("nan") != std::string::npos)
        abort();
    if (text.find("\nDrawn: ") == std::string::npos || text.find("\nErrors: ") == std::string::npos)
        abort();
    free(dxf);
    free(log);
    return 0;
}
