// The entities of an HP-GL/2 drawing until the end of the input, as compact records: in
// memory, and beyond a few megabytes in a temporary file, so that memory stays bounded. They
// are written in order and read back once, in order, when the document is written.
#pragma once

#include <cstddef>

#include "format/format.h"

void kept_begin();
// The records as they are written.
extern OutputStream kept;
// Room for `n` bytes (at most kept_record_max) at the end; kept_advance says where they ended.
constexpr size_t kept_record_max = 256;
char* kept_space_on(size_t n); // when the buffer holds less room
inline char* kept_space(size_t n) {
    if (kept.capacity - kept.used < n) return kept_space_on(n);
    return kept.buffer + kept.used;
}
inline void kept_advance(const char* end) {
    kept.used = static_cast<size_t>(end - kept.buffer);
}
// Bytes of any number.
void kept_bytes(const char* bytes, size_t n);
// The offset of the next byte, and bytes rewritten where they stand.
long long kept_offset();
void kept_patch(long long offset, const char* bytes, size_t n);

// Reading back from the first byte: the next `n` bytes (at most kept_record_max), null when
// fewer are left; and, for long texts, up to `most` of the next bytes.
void kept_rewind();
const char* kept_read_on(size_t n); // when the window holds fewer than n bytes
inline const char* kept_read(size_t n);
size_t kept_read_some(const char*& bytes, size_t most);

// Gives back the memory and the temporary file.
void kept_reset();

// What is read back: a window on the records, the memory buffer or a block of the file.
struct KeptReader {
    const char* data = nullptr;
    size_t size = 0, pos = 0;
    bool from_file = false;
    char* block = nullptr; // a block of the file, and room for a record beyond it
};
extern KeptReader kept_reader;

inline const char* kept_read(size_t n) {
    KeptReader& r = kept_reader;
    if (r.size - r.pos < n) return kept_read_on(n);
    const char* bytes = r.data + r.pos;
    r.pos += n;
    return bytes;
}
