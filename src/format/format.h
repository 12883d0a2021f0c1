// Formatted output that writes exactly what printf's "%d" and "%f" write, without its cost.
//
// emit<"move to %d %d\n">(stream, x, y) splits its format at compile time: each record is a
// few fixed-size copies and number conversions straight into the stream's own buffer, which
// goes to the C library with fwrite_unlocked when it is full or flushed.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>

// Room for the longest text of each: "%f" of -DBL_MAX has 317 characters.
constexpr int int_text_max = 12;
constexpr int real_text_max = 320;

char* put_int(char* p, int v);     // "%d"
char* put_real(char* p, double v); // "%f": six decimals, "-0.000000" for negative zero

// An output file with a buffer of its own. Without a buffer (capacity 0) every record is
// written through at once, as an unbuffered stream such as standard error needs.
struct OutputStream {
    FILE* file = nullptr;
    char* buffer = nullptr;
    size_t used = 0;
    size_t capacity = 0;
};

// Makes `stream` write to `file`, through `buffer` when one is given.
void output_attach(OutputStream& stream, FILE* file, char* buffer, size_t capacity);
// Hands the buffered bytes to the file.
void output_flush(OutputStream& stream);
// Writes bytes as they are.
void output_bytes(OutputStream& stream, const char* bytes, size_t n);

// A format string usable as a template argument. Directives: %d %f %s %c %%.
template <size_t N> struct Format {
    char text[N];
    constexpr Format(const char (&s)[N]) {
        for (size_t i = 0; i < N; ++i)
            text[i] = s[i];
    }
    static constexpr size_t length = N - 1;
    constexpr size_t next_directive(size_t from) const {
        while (from < length && text[from] != '%')
            ++from;
        return from;
    }
    // Bytes the formatted text can take, strings apart (they are written directly).
    constexpr size_t bound() const {
        size_t n = 0;
        for (size_t i = 0; i < length; ++i) {
            if (text[i] != '%') {
                ++n;
                continue;
            }
            char d = text[++i];
            n += d == 'd' ? int_text_max : d == 'f' ? real_text_max : 1;
        }
        return n;
    }
};

namespace format_detail {

// Texts share a little slack beyond the bound; a longer one is written straight through.
constexpr size_t text_slack = 256;

struct Out {
    OutputStream& stream;
    char* base; // where the bytes not yet written begin
    size_t slack = text_slack;
    void put_text(char*& p, const char* s);
};

template <Format F, size_t Pos> char* put_rest(Out& out, char* p) {
    constexpr size_t d = F.next_directive(Pos);
    memcpy(p, F.text + Pos, d - Pos);
    p += d - Pos;
    if constexpr (d < F.length) {
        static_assert(F.text[d + 1] == '%', "more directives than arguments");
        *p++ = '%';
        return put_rest<F, d + 2>(out, p);
    }
    return p;
}

template <Format F, size_t Pos, typename A, typename... Rest>
char* put_rest(Out& out, char* p, A a, Rest... rest) {
    constexpr size_t d = F.next_directive(Pos);
    static_assert(d < F.length, "more arguments than directives");
    memcpy(p, F.text + Pos, d - Pos);
    p += d - Pos;
    constexpr char kind = F.text[d + 1];
    if constexpr (kind == '%') {
        *p++ = '%';
        return put_rest<F, d + 2>(out, p, a, rest...);
    } else {
        if constexpr (kind == 'd')
            p = put_int(p, a);
        else if constexpr (kind == 'f')
            p = put_real(p, a);
        else if constexpr (kind == 'c')
            *p++ = static_cast<char>(a);
        else if constexpr (kind == 's')
            out.put_text(p, a);
        else
            static_assert(kind == 'd', "unknown directive");
        return put_rest<F, d + 2>(out, p, rest...);
    }
}

} // namespace format_detail

#ifdef PENWRIGHT_PRINTF_WRITERS

// The comparison build: every formatted write goes through the C library.
template <Format F, typename... Args> void emit(OutputStream& stream, Args... args) {
    if constexpr (sizeof...(Args) == 0)
        fputs(F.text, stream.file);
    else
        fprintf(stream.file, F.text, args...);
}

#else

template <Format F, typename... Args> void emit(OutputStream& stream, Args... args) {
    constexpr size_t room = F.bound() + format_detail::text_slack;
    static_assert(room <= 4096, "record too long for one buffer");
    if (stream.capacity - stream.used < room) output_flush(stream);
    if (stream.capacity >= room) {
        format_detail::Out out{stream, stream.buffer};
        char* end = format_detail::put_rest<F, 0>(out, stream.buffer + stream.used, args...);
        stream.used = static_cast<size_t>(end - stream.buffer);
        return;
    }
    char local[room]; // an unbuffered stream: the record is written at once
    format_detail::Out out{stream, local};
    char* end = format_detail::put_rest<F, 0>(out, local, args...);
    fwrite_unlocked(local, 1, static_cast<size_t>(end - local), stream.file);
}

#endif
