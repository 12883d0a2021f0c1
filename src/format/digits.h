// The digits of the number formatter, inline where a record is written: pairs of digits from a
// table, and the six decimals of each remainder of a division by 1016.
#pragma once

#include <cstring>

#include "format/format.h"

namespace format_digits {

// Any number of digits (out of line: the rare case).
char* put_many_digits(char* p, unsigned long long v);

// "00" to "99", two characters per entry.
inline constexpr char pairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

inline void put_pair(char* p, unsigned v) {
    memcpy(p, pairs + 2 * v, 2);
}

// v below 10000, without leading zeros.
inline char* put_few_digits(char* p, unsigned v) {
    if (v < 10) {
        *p = static_cast<char>('0' + v);
        return p + 1;
    }
    if (v < 100) {
        put_pair(p, v);
        return p + 2;
    }
    if (v < 1000) {
        *p = static_cast<char>('0' + v / 100);
        put_pair(p + 1, v % 100);
        return p + 3;
    }
    put_pair(p, v / 100);
    put_pair(p + 2, v % 100);
    return p + 4;
}

// Most numbers written have at most eight digits, and most of those four or fewer.
inline char* put_digits(char* p, unsigned long long v) {
    if (v < 10000) return put_few_digits(p, static_cast<unsigned>(v));
    if (v >= 100000000) return put_many_digits(p, v);
    auto low = static_cast<unsigned>(v % 10000);
    p = put_few_digits(p, static_cast<unsigned>(v / 10000));
    put_pair(p, low / 100);
    put_pair(p + 2, low % 100);
    return p + 4;
}

// ".dddddd" for each remainder r of a division by 1016: r / 1016 rounded to six decimals.
// No remainder rounds up to a whole unit (1015 / 1016 is 0.999016), and none lies on a tie.
struct Fractions {
    char text[1016][8];
    unsigned char short_length[1016]; // without trailing zeros, nor the point when none is left
    constexpr Fractions() : text{}, short_length{} {
        for (unsigned r = 0; r < 1016; ++r) {
            unsigned f = (r * 1000000u + 508u) / 1016u;
            text[r][0] = '.';
            for (int i = 6; i >= 1; --i, f /= 10)
                text[r][i] = static_cast<char>('0' + f % 10);
            text[r][7] = '\0';
            int n = 7;
            while (n > 1 && text[r][n - 1] == '0')
                --n;
            short_length[r] = static_cast<unsigned char>(n == 1 ? 0 : n);
        }
    }
};
inline constexpr Fractions fractions;

// k / 1016 with six decimals. For |k| <= 2^33 the double nearest k / 1016 lies closer to
// k / 1016 than any rounding boundary of the sixth decimal, so this matches "%f" of it.
template <typename Unsigned> inline char* put_inch_text(char* p, Unsigned u, bool negative) {
    if (negative) *p++ = '-';
    Unsigned whole = u / 1016;
    auto rest = static_cast<unsigned>(u - whole * 1016); // one division for both
    p = put_digits(p, whole);
    memcpy(p, fractions.text[rest], 8); // the eighth byte is the place of what follows
    return p + 7;
}

} // namespace format_digits

inline char* put_inches(char* p, Inches v) {
    return format_digits::put_inch_text(p, v.magnitude, v.negative);
}
