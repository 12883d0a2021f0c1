#include "format/format.h"

#include <cstdlib>

#include "driver/diagnostics.h"

void output_attach(OutputStream& stream, FILE* file, char* buffer, size_t capacity) {
    stream = OutputStream{file, buffer, 0, buffer ? capacity : 0, 0, 0};
}

void output_flush(OutputStream& stream) {
    if (!stream.file) {
        size_t grown = stream.capacity ? 2 * stream.capacity : 1 << 16;
        char* bytes = static_cast<char*>(realloc(stream.buffer, grown));
        if (!bytes) fatal_error("penwright: out of memory for the drawing");
        stream.buffer = bytes;
        stream.capacity = grown;
        return;
    }
    if (stream.used > 0) output_write(stream, stream.buffer, stream.used);
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
    if (!stream.file) { // a buffer that grows takes the bytes whatever their number
        while (n > stream.capacity - stream.used)
            output_flush(stream);
        memcpy(stream.buffer + stream.used, bytes, n);
        stream.used += n;
        return;
    }
#endif
    output_write(stream, bytes, n);
}

namespace format_detail {

void Out::put_long(char*& p, const char* s, size_t n) {
    if (n <= slack) {
        memcpy(p, s, n);
        p += n;
        slack -= n;
        return;
    }
    if (!stream.file) { // a buffer that grows: room for the text and the rest of the record
        size_t at = static_cast<size_t>(p - stream.buffer);
        while (stream.capacity - at < n + room)
            output_flush(stream);
        base = stream.buffer;
        p = stream.buffer + at;
        memcpy(p, s, n);
        p += n;
        return;
    }
    // Everything before the text, then the text itself; the record goes on from the start.
    output_write(stream, base, static_cast<size_t>(p - base));
    output_write(stream, s, n);
    p = base;
}

} // namespace format_detail
