// The scanner's input buffer: blocks of the input stream with two end markers after them.
#pragma once

#include <cstdio>

struct InputBuffer {
    char* bytes = nullptr; // capacity data bytes, two end markers, input_read_ahead spare bytes
    int capacity = 0;
    int length = 0;     // valid bytes
    long long base = 0; // offset in the stream of bytes[0]
    bool interactive = false;
    bool eof_pending = false; // the stream ended while a token was pending
    FILE* stream = nullptr;
};

extern InputBuffer input;

// Bytes after the end markers that a reader may load (never use) in one word.
constexpr int input_read_ahead = 8;

// Creates the buffer at the first call of the scanner.
void input_create(FILE* stream);

// Moves the pending text that begins at `start` to the front and appends what the stream
// gives. Returns how far the pending text moved (indices into bytes drop by it) and sets
// `added` to the number of new bytes, 0 when the stream has ended.
int input_fill(int start, int& added);

// Empties the buffer so that the next fill reads from the stream again.
void input_flush();

void input_release();
