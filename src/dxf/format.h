// Formatted output that writes exactly what printf's "%d" and "%f" write, without its cost.
//
// emit<"move to %d %d\n">(stream, x, y) splits its format at compile time: each record is a
// few fixed-size copies and number conversions into a stack buffer, then one fwrite.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>

// Room for the longest text of each: "%f" of -DBL_MAX has 317 characters.
constexpr int int_text_max = 12;
constexpr int real_text_max = 320;

char* put_int(char* p, int v);     // "%d"
char* put_real(char* p, double v); // "%f": six decimals, "-0.000000" for negative zero

// A format string usable as a template argument. Directives: %d %f %s %c %%.
template <size_t N> struct Format {
    char text[N];
    constexpr Format(const char (&s)[N]) {
        for (size_t i = 0; i < N; ++i) text[i] = s[i];
    }
    static constexpr size_t length = N - 1;
    constexpr size_t next_directive(size_t from) const {
        while (from < length && text[from] != '%') ++from;
        return from;
    }
    constexpr bool has_text() const {
        for (size_t i = 0; i + 1 < length; ++i)
            if (text[i] == '%' && text[++i] == 's') return true;
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
            n += d == 'd' ? int_text_max : d == 'f' ? real_text_max : 1;
        }
        return n;
    }
};

namespace format_detail {

// Texts share a little slack beyond the bound; a longer one is written straight through.
constexpr size_t text_slack = 256;

struct Out {
    FILE* stream;
    char* start;
    size_t slack = text_slack;
    void put_text(char*& p, const char* s) {
        size_t n = strlen(s);
        if (n <= slack) {
            memcpy(p, s, n);
            p += n;
            slack -= n;
            return;
        }
        if (p != start) fwrite_unlocked(start, 1, static_cast<size_t>(p - start), stream);
        fwrite_unlocked(s, 1, n, stream);
        p = start;
    }
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
        if constexpr (kind == 'd') p = put_int(p, a);
        else if constexpr (kind == 'f') p = put_real(p, a);
        else if constexpr (kind == 'c') *p++ = static_cast<char>(a);
        else if constexpr (kind == 's') out.put_text(p, a);
        else static_assert(kind == 'd', "unknown directive");
        return put_rest<F, d + 2>(out, p, rest...);
    }
}

} // namespace format_detail

#ifdef PENWRIGHT_PRINTF_WRITERS

// The comparison build: every formatted write goes through the C library.
template <Format F, typename... Args> void emit(FILE* stream, Args... args) {
    if constexpr (sizeof...(Args) == 0) fputs(F.text, stream);
    else fprintf(stream, F.text, args...);
}

#else

template <Format F, typename... Args> void emit(FILE* stream, Args... args) {
    constexpr size_t room = F.bound() + format_detail::text_slack;
    static_assert(room <= 4096, "record too long for one buffer");
#ifdef __GLIBC__
    // Straight into the stream's own buffer when it is fully buffered and has the room,
    // as putc_unlocked does; otherwise through a local buffer and fwrite. A text of any
    // length may have to be written through, so records with one take the second way.
    if (!F.has_text() &&
        static_cast<size_t>(stream->_IO_write_end - stream->_IO_write_ptr) >= room) {
        format_detail::Out out{stream, stream->_IO_write_ptr};
        char* end = format_detail::put_rest<F, 0>(out, stream->_IO_write_ptr, args...);
        stream->_IO_write_ptr = end;
        return;
    }
#endif
    char buffer[room];
    format_detail::Out out{stream, buffer};
    char* end = format_detail::put_rest<F, 0>(out, buffer, args...);
    fwrite_unlocked(buffer, 1, static_cast<size_t>(end - buffer), stream);
}

#endif
