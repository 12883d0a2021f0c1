#include "scanner/text.h"

#include <cstdlib>
#include <cstring>

#include "driver/diagnostics.h"

namespace {

char failed_copy[1]; // writable: a handler may cut its text in place

} // namespace

char* text_copy(const char* bytes, size_t n) {
    n = strnlen(bytes, n);
    char* copy = static_cast<char*>(malloc(n + 1));
    if (!copy) {
        hpgl_error("lexer out of memory");
        failed_copy[0] = '\0';
        return failed_copy;
    }
    memcpy(copy, bytes, n);
    copy[n] = '\0';
    return copy;
}

void text_release(char* text) {
    if (text != failed_copy) free(text);
}
