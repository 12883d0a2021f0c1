#include "drawing/kept.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/diagnostics.h"
#include "format/format.h"

OutputStream kept; // the records as they are written

namespace {

constexpr size_t kept_in_memory = 4 << 20; // beyond this the records go to a temporary file
constexpr size_t block_size = 1 << 16;

[[noreturn]] void unreadable() {
    fatal_error("penwright: the temporary file of the drawing cannot be read");
}

// At least `n` bytes in the window when the file has them: the rest moves to the front first.
void refill(size_t n) {
    size_t left = kept_reader.size - kept_reader.pos;
    if (left > 0) memmove(kept_reader.block, kept_reader.data + kept_reader.pos, left);
    kept_reader.data = kept_reader.block;
    kept_reader.size = left;
    kept_reader.pos = 0;
    while (kept_reader.size < n) {
        size_t got = fread(kept_reader.block + kept_reader.size, 1, block_size, kept.file);
        if (ferror(kept.file)) unreadable();
        if (got == 0) return;
        kept_reader.size += got;
    }
}

} // namespace

KeptReader kept_reader;

void kept_begin() {
    kept_reset();
    char* buffer = static_cast<char*>(malloc(kept_in_memory));
    if (!buffer) fatal_error("penwright: out of memory for the drawing");
    // Without a temporary file the records stay in memory, in a buffer that grows.
    output_attach(kept, tmpfile(), buffer, kept_in_memory);
}

char* kept_space_on(size_t n) {
    while (kept.capacity - kept.used < n)
        output_flush(kept);
    return kept.buffer + kept.used;
}

void kept_bytes(const char* bytes, size_t n) {
    while (n > 0) {
        size_t room = kept.capacity - kept.used;
        if (room == 0) {
            output_flush(kept);
            continue;
        }
        size_t part = n < room ? n : room;
        memcpy(kept.buffer + kept.used, bytes, part);
        kept.used += part;
        bytes += part;
        n -= part;
    }
}

long long kept_offset() {
    return kept.flushed + static_cast<long long>(kept.used);
}

void kept_patch(long long offset, const char* bytes, size_t n) {
    if (offset >= kept.flushed) { // still in the buffer: a record never straddles a flush
        memcpy(kept.buffer + (offset - kept.flushed), bytes, n);
        return;
    }
    fflush(kept.file);
    if (pwrite(fileno(kept.file), bytes, n, offset) != static_cast<ssize_t>(n))
        fatal_error("penwright: the temporary file of the drawing cannot be written");
}

void kept_rewind() {
    kept_reader = KeptReader{};
    if (!kept.file) {
        kept_reader.data = kept.buffer;
        kept_reader.size = kept.used;
        return;
    }
    output_flush(kept);
    if (fflush(kept.file) != 0 || fseeko(kept.file, 0, SEEK_SET) != 0) unreadable();
    kept_reader.from_file = true;
    kept_reader.block = kept.buffer; // the records are all in the file: the buffer is free
}

const char* kept_read_on(size_t n) {
    if (kept_reader.from_file) refill(n);
    if (kept_reader.size - kept_reader.pos < n) return nullptr;
    const char* bytes = kept_reader.data + kept_reader.pos;
    kept_reader.pos += n;
    return bytes;
}

size_t kept_read_some(const char*& bytes, size_t most) {
    if (kept_reader.size == kept_reader.pos && kept_reader.from_file) refill(1);
    size_t n = kept_reader.size - kept_reader.pos;
    if (n > most) n = most;
    bytes = kept_reader.data + kept_reader.pos;
    kept_reader.pos += n;
    return n;
}

void kept_reset() {
    if (kept.file) fclose(kept.file);
    free(kept.buffer);
    kept = OutputStream{};
    kept_reader = KeptReader{};
}
