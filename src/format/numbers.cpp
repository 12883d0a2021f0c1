#include "format/format.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// "00" to "99", two characters per entry.
constexpr char pairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

void put_pair(char* p, unsigned v) {
    memcpy(p, pairs + 2 * v, 2);
}

int digit_count(unsigned long long v) {
    int n = 1;
    for (; v >= 10000; v /= 10000)
        n += 4;
    return n + (v >= 10) + (v >= 100) + (v >= 1000);
}

char* put_digits(char* p, unsigned long long v) {
    char* end = p + digit_count(v);
    char* q = end;
    for (; v >= 100; v /= 100) {
        q -= 2;
        put_pair(q, static_cast<unsigned>(v % 100));
    }
    if (v >= 10)
        put_pair(q - 2, static_cast<unsigned>(v));
    else
        q[-1] = static_cast<char>('0' + v);
    return end;
}

// ".dddddd" for each remainder r of a division by 1016: r / 1016 rounded to six decimals.
// No remainder rounds up to a whole unit (1015 / 1016 is 0.999016), and none lies on a tie.
struct Fractions {
    char text[1016][8];
    constexpr Fractions() : text{} {
        for (unsigned r = 0; r < 1016; ++r) {
            unsigned f = (r * 1000000u + 508u) / 1016u;
            text[r][0] = '.';
            for (int i = 6; i >= 1; --i, f /= 10)
                text[r][i] = static_cast<char>('0' + f % 10);
            text[r][7] = '\0';
        }
    }
};
constexpr Fractions fractions;

// k / 1016 with six decimals. For |k| <= 2^33 the double nearest k / 1016 lies closer to
// k / 1016 than any rounding boundary of the sixth decimal, so this matches "%f" of it.
char* put_plotter_units(char* p, long long k, bool negative) {
    if (negative) *p++ = '-';
    unsigned long long u = static_cast<unsigned long long>(k < 0 ? -k : k);
    p = put_digits(p, u / 1016);
    memcpy(p, fractions.text[u % 1016], 8); // the eighth byte is overwritten by what follows
    return p + 7;
}

constexpr double exact_path_limit = 8589934592.0; // 2^33

} // namespace

char* put_int(char* p, int v) {
    unsigned magnitude = static_cast<unsigned>(v);
    if (v < 0) {
        *p++ = '-';
        magnitude = 0u - magnitude;
    }
    return put_digits(p, magnitude);
}

char* put_real(char* p, double v) {
    if (!std::isfinite(v)) return p + snprintf(p, real_text_max, "%f", v);
    // Coordinates are whole plotter units divided by 1016: format those with integers.
    double scaled = v * 1016.0;
    if (std::fabs(scaled) <= exact_path_limit) {
        auto k = static_cast<long long>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
        if (static_cast<double>(k) / 1016.0 == v) return put_plotter_units(p, k, std::signbit(v));
    }
    return std::to_chars(p, p + real_text_max, v, std::chars_format::fixed, 6).ptr;
}
