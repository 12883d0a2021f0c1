#include "hpgl2/source.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "driver/diagnostics.h"

Source source;
size_t source_read_limit = 1 << 16;

namespace {

constexpr size_t block = 1 << 16;

// A terminal is read a line at a time, so that every line is acted on as it is typed.
size_t read_line(char* to, size_t amount) {
    size_t n = 0;
    int c = EOF;
    while (n < amount && (c = getc(source.stream)) != EOF) {
        to[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    if (n == 0 && ferror(source.stream)) input_failure("input in flex scanner failed");
    return n;
}

// A read error ends the input where it stands: what was read is drawn.
size_t read_block(char* to, size_t amount) {
    size_t n = fread(to, 1, amount, source.stream);
    if (n == 0 && ferror(source.stream)) input_failure("input in flex scanner failed");
    return n;
}

} // namespace

void source_begin(FILE* stream) {
    source_release();
    source.stream = stream ? stream : stdin;
    source.capacity = 2 * block;
    source.data = static_cast<char*>(malloc(source.capacity + 1));
    if (!source.data) fatal_error("out of dynamic memory in yy_create_buffer()");
    source.data[0] = '\0';
    source.interactive = isatty(fileno(source.stream)) > 0;
}

void source_release() {
    free(source.data);
    source = Source{};
}

bool source_more(size_t& keep) {
    if (source.ended) return false;
    size_t kept = source.size - keep;
    memmove(source.data, source.data + keep, kept);
    source.base += static_cast<long long>(keep);
    source.pos -= keep;
    source.size = kept;
    keep = 0;
    if (source.capacity - source.size < block) { // one text longer than the buffer
        size_t grown = 2 * source.capacity;
        char* data = static_cast<char*>(realloc(source.data, grown + 1));
        if (!data) fatal_error("fatal error - scanner input buffer overflow");
        source.data = data;
        source.capacity = grown;
    }
    char* to = source.data + source.size;
    size_t amount = std::min(block, source_read_limit);
    size_t n = source.interactive ? read_line(to, amount) : read_block(to, amount);
    source.size += n;
    source.data[source.size] = '\0';
    if (n == 0) source.ended = true;
    return n > 0;
}

int source_peek(size_t ahead, size_t& keep) {
    while (source.pos + ahead >= source.size)
        if (!source_more(keep)) return -1;
    return static_cast<unsigned char>(source.data[source.pos + ahead]);
}

void source_count_lines(size_t from, size_t to) {
    const char* p = source.data + from;
    const char* end = source.data + to;
    while (const void* hit = memchr(p, '\n', static_cast<size_t>(end - p))) {
        p = static_cast<const char*>(hit);
        source_new_line(static_cast<size_t>(p - source.data));
        ++p;
    }
}

bool source_skip(size_t n) {
    for (;;) {
        size_t take = std::min(n, source.size - source.pos);
        source_count_lines(source.pos, source.pos + take);
        source.pos += take;
        n -= take;
        if (n == 0) return true;
        size_t keep = source.pos;
        if (!source_more(keep)) return false;
    }
}
