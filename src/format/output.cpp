#include "format/format.h"

void output_attach(OutputStream& stream, FILE* file, char* buffer, size_t capacity) {
    stream = OutputStream{file, buffer, 0, buffer ? capacity : 0};
}

void output_flush(OutputStream& stream) {
    if (stream.used > 0) fwrite_unlocked(stream.buffer, 1, stream.used, stream.file);
    stream.used = 0;
}

void output_bytes(OutputStream& stream, const char* bytes, size_t n) {
#ifndef PENWRIGHT_PRINTF_WRITERS
    if (n <= stream.capacity - stream.used) {
        memcpy(stream.buffer + stream.used, bytes, n);
        stream.used += n;
        return;
    }
    output_flush(stream);
#endif
    fwrite_unlocked(bytes, 1, n, stream.file);
}

namespace format_detail {

void Out::put_text(char*& p, const char* s) {
    size_t n = strlen(s);
    if (n <= slack) {
        memcpy(p, s, n);
        p += n;
        slack -= n;
        return;
    }
    // Everything before the text, then the text itself; the record goes on from the start.
    fwrite_unlocked(base, 1, static_cast<size_t>(p - base), stream.file);
    fwrite_unlocked(s, 1, n, stream.file);
    p = base;
}

} // namespace format_detail
