// The bytes HP-GL/2 mode reads: blocks of the input stream in a buffer that grows only for a
// text parameter longer than a block, with the line and column of every byte.
#pragma once

#include <cstddef>
#include <cstdio>

struct Source {
    FILE* stream = nullptr;
    char* data = nullptr; // `size` valid bytes, then a NUL that marks their end
    size_t size = 0;
    size_t capacity = 0;
    size_t pos = 0;           // the next byte to read
    long long base = 0;       // the stream offset of data[0]
    long long line_start = 0; // the stream offset of the current line's first byte
    int line = 1;
    bool interactive = false;
    bool ended = false; // the stream has nothing more
};

extern Source source;

// Most bytes asked of one read (65536). Tests lower it to move the block boundaries.
extern size_t source_read_limit;

void source_begin(FILE* stream);
void source_release();

// Reads more, keeping the bytes from `keep` on (they move to the buffer's front, and pos with
// them; `keep` is set to where they now stand). False when the stream has ended.
bool source_more(size_t& keep);

// The byte at pos + ahead, reading on as needed (keeping from `keep`); -1 at the end.
int source_peek(size_t ahead, size_t& keep);

// The 1-based column of the byte at index i of data.
inline int source_column(size_t i) {
    return static_cast<int>(source.base + static_cast<long long>(i) - source.line_start + 1);
}

// Counts a line end at index i of data.
inline void source_new_line(size_t i) {
    ++source.line;
    source.line_start = source.base + static_cast<long long>(i) + 1;
}

// Counts the line ends among data[from, to).
void source_count_lines(size_t from, size_t to);

// Skips n bytes (counting their line ends), reading on as needed; false when the input ends first.
bool source_skip(size_t n);
