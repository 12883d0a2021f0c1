#include "scanner/input.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "driver/diagnostics.h"
#include "scanner/scanner.h"

InputBuffer input;
int scanner_read_limit = 8192;

namespace {

constexpr int initial_capacity = 16384;

size_t allocation(long long capacity) {
    return static_cast<size_t>(capacity) + 2 + input_read_ahead;
}

void set_end_markers() {
    input.bytes[input.length] = '\0';
    input.bytes[input.length + 1] = '\0';
}

// Doubles the capacity, or adds one eighth where doubling would leave the int range.
void grow() {
    long long wanted = 2LL * input.capacity;
    if (wanted > INT_MAX - 2) wanted = input.capacity + input.capacity / 8LL;
    if (wanted > INT_MAX - 2) fatal_error("fatal error - scanner input buffer overflow");
    char* bytes = static_cast<char*>(realloc(input.bytes, allocation(wanted)));
    if (!bytes) fatal_error("fatal error - scanner input buffer overflow");
    // What a word-wide read may load past the data is never used, but is kept defined.
    memset(bytes + input.capacity, 0, allocation(wanted) - static_cast<size_t>(input.capacity));
    input.bytes = bytes;
    input.capacity = static_cast<int>(wanted);
}

// A terminal is read a line at a time so that every line is acted on as soon as it is typed.
int read_interactive(char* to, int amount) {
    int n = 0;
    int c = EOF;
    while (n < amount && (c = getc(input.stream)) != EOF && c != '\n')
        to[n++] = static_cast<char>(c);
    if (c == '\n') to[n++] = '\n';
    // Bytes read before a failure are scanned first; the next read that gets none ends the run.
    if (n == 0 && c == EOF && ferror(input.stream)) fatal_error("input in flex scanner failed");
    return n;
}

int read_block(char* to, int amount) {
    size_t n = fread(to, 1, static_cast<size_t>(amount), input.stream);
    if (n == 0 && ferror(input.stream)) fatal_error("input in flex scanner failed");
    return static_cast<int>(n);
}

} // namespace

void input_create(FILE* stream) {
    input.stream = stream ? stream : stdin;
    input.capacity = initial_capacity;
    input.bytes = static_cast<char*>(calloc(allocation(initial_capacity), 1));
    if (!input.bytes) fatal_error("out of dynamic memory in yy_create_buffer()");
    input_flush();
}

void input_flush() {
    input.base += input.length;
    input.length = 0;
    input.eof_pending = false;
    input.interactive = isatty(fileno(input.stream)) > 0;
    set_end_markers();
}

int input_fill(int start, int& added) {
    if (start > input.length + 1)
        fatal_error("fatal flex scanner internal error--end of buffer missed");
    int pending = input.length - start;
    memmove(input.bytes, input.bytes + start, static_cast<size_t>(pending));
    input.base += start;
    input.length = pending;
    added = 0;
    if (!input.eof_pending) {
        while (input.capacity - pending - 1 <= 0)
            grow();
        int amount = input.capacity - pending - 1;
        if (amount > scanner_read_limit) amount = scanner_read_limit;
        char* to = input.bytes + pending;
        added = input.interactive ? read_interactive(to, amount) : read_block(to, amount);
        if (added == 0 && pending > 0) input.eof_pending = true;
    }
    input.length += added;
    set_end_markers();
    return start;
}

void input_release() {
    free(input.bytes);
    input = InputBuffer{};
}
