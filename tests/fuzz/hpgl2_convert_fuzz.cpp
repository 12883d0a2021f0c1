// Fuzz target: the whole conversion in HP-GL/2 mode, in process, in the flavour the input's
// length picks (odd lengths AC1015). Whatever the input, the drawing must be a complete
// document whose numbers are neither inf nor nan, and the log must end with its counts and
// summary.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "driver/options.h"
#include "inprocess/inprocess.h"

// Every value of a numeric group (codes 10 and above; 0 to 9 are names and texts, which may
// hold any word) is a finite number.
static bool numbers_are_finite(const std::string& document) {
    size_t at = 0;
    while (at < document.size()) {
        size_t code_end = document.find('\n', at);
        size_t value_end = document.find('\n', code_end + 1);
        if (code_end == std::string::npos || value_end == std::string::npos) return false;
        int code = atoi(document.c_str() + at);
        std::string value = document.substr(code_end + 1, value_end - code_end - 1);
        if (code >= 10 &&
            (value.find("inf") != std::string::npos || value.find("nan") != std::string::npos))
            return false;
        at = value_end + 1;
    }
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char *dxf = nullptr, *log = nullptr;
    size_t dxf_size = 0, log_size = 0;
    FILE* d = open_memstream(&dxf, &dxf_size);
    FILE* l = open_memstream(&log, &log_size);
    dxf_r2000 = size % 2 == 1;
    convert_in_memory(reinterpret_cast<const char*>(data), size, d, l, true);
    dxf_r2000 = false;
    fclose(d);
    fclose(l);
    std::string document(dxf, dxf_size), text(log, log_size);
    if (!document.ends_with("  0\nENDSEC\n  0\nEOF\n") || !document.starts_with("  0\nSECTION\n"))
        abort();
    if (!numbers_are_finite(document)) abort();
    if (text.find("\nDrawn: ") == std::string::npos || text.find("\nErrors: ") == std::string::npos)
        abort();
    free(dxf);
    free(log);
    return 0;
}
