// Formatted output that writes exactly what printf's "%d" and "%f" write, without its cost.
//
// emit<"move to %d %d\n">(stream, x, y) splits its format at compile time: each record is a
// few fixed-size copies and number conversions straight into the stream's own buffer, which
// goes to the C library with fwrite_unlocked when it is full or flushed.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>

// Room for the longest text of each: "%f" of -DBL_MAX has 317 characters.
constexpr int int_text_max = 12;
constexpr int real_text_max = 320;

char* put_int(char* p, int v);                  // "%d"
inline char* put_small_or_int(char* p, int v) { // layers and pens are mostly one digit
    if (static_cast<unsigned>(v) < 10) {
        *p = static_cast<char>('0' + v);
        return p + 1;
    }
    return put_int(p, v);
}
char* put_real(char* p, double v); // "%f": six decimals, "-0.000000" for negative zero
// v / divisor with at most six decimals, trailing zeros and a trailing point dropped, and no
// negative zero: "1", "0.5", "-2.125", "0". v must be finite.
char* put_scaled(char* p, double v, int divisor);

// Whole plotter units (1/1016 inch) in inches, as "%f" writes the double units / 1016.0. The
// sign stands apart from the magnitude so that a negative zero is written "-0.000000".
struct Inches {
    unsigned magnitude; // 8 bytes in all: passed in one register
    bool negative;
    bool operator==(const Inches&) const = default;
};
inline char* put_inches(char* p, Inches v); // in format/digits.h
// Whole plotter units on an axis that may be mirrored: the sign of u * scale, zero included,
// so that a mirrored 0 is written "-0.000000", as "%f" writes 0 * -1.0.
inline Inches inches_of_units(int u, bool mirrored) {
    return {u < 0 ? 0u - static_cast<unsigned>(u) : static_cast<unsigned>(u), (u < 0) != mirrored};
}
constexpr int inches_text_max = 17;

// The argument of a "%u" directive: a value in some unit, written in another.
struct Scaled {
    double value;
    int divisor;
};

// The argument of a "%t" directive: a text of known length.
struct Counted {
    const char* text;
    size_t length;
};

// The argument of a "%k" directive: a short text kept in a buffer of `kept_text_room` bytes or
// more, copied whole at once and cut to its length (at most kept_text_room).
struct Kept {
    const char* text;
    size_t length;
};
constexpr size_t kept_text_room = 32;

// An output file with a buffer of its own. Without a buffer (capacity 0) every record is
// written through at once, as an unbuffered stream such as standard error needs. Without a
// file, the bytes stay in the buffer, which then is a heap block that grows.
struct OutputStream {
    FILE* file = nullptr;
    char* buffer = nullptr;
    size_t used = 0;
    size_t capacity = 0;
    long long flushed = 0; // bytes handed to the file so far
    int failure = 0;       // errno of the first write the file refused, 0 while none did
};

// Makes `stream` write to `file`, through `buffer` when one is given.
void output_attach(OutputStream& stream, FILE* file, char* buffer, size_t capacity);
// Hands the buffered bytes to the file; without a file, doubles the buffer instead.
void output_flush(OutputStream& stream);
// Writes bytes as they are.
void output_bytes(OutputStream& stream, const char* bytes, size_t n);
// Hands bytes to the file at once, keeping the reason of a failure for the report.
inline void output_write(OutputStream& stream, const char* bytes, size_t n) {
    if (fwrite_unlocked(bytes, 1, n, stream.file) != n && stream.failure == 0)
        stream.failure = errno;
    stream.flushed += static_cast<long long>(n);
}

// A format string usable as a template argument. Directives: %d %f %s %c %%, %u for a Scaled
// value, %i for Inches, %t for a Counted text and %k for a Kept one.
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
    constexpr bool uses(char directive) const {
        for (size_t i = 0; i + 1 < length; ++i)
            if (text[i] == '%' && text[++i] == directive) return true;
        return false;
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
            n += d == 'd'               ? int_text_max
                 : d == 'f' || d == 'u' ? real_text_max
                 : d == 'k'             ? kept_text_room
                 : d == 'i'             ? inches_text_max
                                        : 1;
        }
        return n;
    }
};

namespace format_detail {

// Texts share a little slack beyond the bound; a longer one is written straight through.
constexpr size_t text_slack = 256;

struct Out {
    OutputStream& stream;
    char* base;  // where the bytes not yet written begin
    size_t room; // the most the record can take, texts within the slack included
    size_t slack = text_slack;
    void put_text(char*& p, const char* s) { put_counted(p, s, strlen(s)); }
    void put_counted(char*& p, const char* s, size_t n) {
        if (n > 16) return put_long(p, s, n);
        if (n >= 8) { // two copies that overlap in the middle, for any length up to 16
            memcpy(p, s, 8);
            memcpy(p + n - 8, s + n - 8, 8);
        } else if (n >= 4) {
            memcpy(p, s, 4);
            memcpy(p + n - 4, s + n - 4, 4);
        } else {
            for (size_t i = 0; i < n; ++i)
                p[i] = s[i];
        }
        p += n;
        slack -= n;
    }
    void put_long(char*& p, const char* s, size_t n);
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
            p = put_small_or_int(p, a);
        else if constexpr (kind == 'f')
            p = put_real(p, a);
        else if constexpr (kind == 'i')
            p = put_inches(p, a);
        else if constexpr (kind == 'u')
            p = put_scaled(p, a.value, a.divisor);
        else if constexpr (kind == 'c')
            *p++ = static_cast<char>(a);
        else if constexpr (kind == 's')
            out.put_text(p, a);
        else if constexpr (kind == 't')
            out.put_counted(p, a.text, a.length);
        else if constexpr (kind == 'k') {
            memcpy(p, a.text, kept_text_room);
            p += a.length;
        } else
            static_assert(kind == 'd', "unknown directive");
        return put_rest<F, d + 2>(out, p, rest...);
    }
}

// A record formatted on the stack and handed to the file at once.
template <Format F, typename... Args> void write_through(OutputStream& stream, Args... args) {
    constexpr size_t room = F.bound() + text_slack;
    char local[room];
    Out out{stream, local, room};
    char* end = put_rest<F, 0>(out, local, args...);
    output_write(stream, local, static_cast<size_t>(end - local));
}

} // namespace format_detail

#ifdef PENWRIGHT_PRINTF_WRITERS

// The comparison build: every formatted write goes through the C library (the C library has no
// directive for a Scaled value: those records are formatted here and written at once).
template <Format F, typename... Args> void emit(OutputStream& stream, Args... args) {
    if constexpr (F.uses('u') || F.uses('t') || F.uses('k') || F.uses('i'))
        format_detail::write_through<F>(stream, args...);
    else if constexpr (sizeof...(Args) == 0)
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
        format_detail::Out out{stream, stream.buffer, room};
        char* end = format_detail::put_rest<F, 0>(out, stream.buffer + stream.used, args...);
        stream.used = static_cast<size_t>(end - stream.buffer);
        return;
    }
    format_detail::write_through<F>(stream, args...); // an unbuffered stream
}

#endif
