#include "dxf/format.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstring>

namespace {

char* put_digits(char* p, unsigned long long v) {
    char tmp[24];
    int n = 0;
    do {
        tmp[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v);
    while (n) *p++ = tmp[--n];
    return p;
}

// k / 1016 with six decimals. No k has a tie at the sixth decimal (k * 10^6 mod 1016 is
// never 508), and for |k| <= 2^33 the double nearest k / 1016 lies closer to k / 1016 than
// any rounding boundary, so this matches "%f" of that double exactly.
char* put_plotter_units(char* p, long long k, bool negative) {
    if (negative) *p++ = '-';
    unsigned long long u = static_cast<unsigned long long>(k < 0 ? -k : k);
    unsigned long long whole = u / 1016;
    unsigned long long frac = ((u % 1016) * 1000000 + 508) / 1016;
    if (frac == 1000000) {
        ++whole;
        frac = 0;
    }
    p = put_digits(p, whole);
    *p++ = '.';
    for (int i = 5; i >= 0; --i) {
        p[i] = static_cast<char>('0' + frac % 10);
        frac /= 10;
    }
    return p + 6;
}

constexpr double exact_path_limit = 8589934592.0; // 2^33

} // namespace

char* put_int(char* p, int v) {
    unsigned long long magnitude;
    if (v < 0) {
        *p++ = '-';
        magnitude = 0ull - static_cast<unsigned long long>(static_cast<long long>(v));
    } else {
        magnitude = static_cast<unsigned long long>(v);
    }
    return put_digits(p, magnitude);
}

char* put_real(char* p, double v) {
    if (!std::isfinite(v)) return p + snprintf(p, real_text_max, "%f", v);
    // Coordinates are whole plotter units divided by 1016: format those with integers.
    double scaled = v * 1016.0;
    if (std::fabs(scaled) <= exact_path_limit) {
        long long k = std::llrint(scaled);
        if (static_cast<double>(k) / 1016.0 == v) return put_plotter_units(p, k, std::signbit(v));
    }
    return std::to_chars(p, p + real_text_max, v, std::chars_format::fixed, 6).ptr;
}

#ifdef PENWRIGHT_PRINTF_WRITERS

// The comparison build: every formatted write goes through the C library.
void out_format(FILE* stream, const char* format, ...) {
    va_list args;
    va_start(args, format);
    vfprintf(stream, format, args);
    va_end(args);
}

#else

void out_format(FILE* stream, const char* format, ...) {
    char buffer[1024];
    char* p = buffer;
    char* const end = buffer + sizeof buffer;
    auto flush = [&] {
        fwrite(buffer, 1, static_cast<size_t>(p - buffer), stream);
        p = buffer;
    };
    va_list args;
    va_start(args, format);
    for (const char* f = format; *f; ++f) {
        if (end - p < real_text_max) flush();
        if (*f != '%') {
            *p++ = *f;
            continue;
        }
        switch (*++f) {
        case 'd': p = put_int(p, va_arg(args, int)); break;
        case 'f': p = put_real(p, va_arg(args, double)); break;
        case 'c': *p++ = static_cast<char>(va_arg(args, int)); break;
        case 's': {
            const char* s = va_arg(args, const char*);
            size_t n = strlen(s);
            if (n < static_cast<size_t>(end - p)) {
                memcpy(p, s, n);
                p += n;
            } else {
                flush();
                fwrite(s, 1, n, stream);
            }
            break;
        }
        case '%': *p++ = '%'; break;
        default: // not used by the program; keep the directive visible
            *p++ = '%';
            if (*f) *p++ = *f;
            else --f;
        }
    }
    va_end(args);
    flush();
}

#endif
