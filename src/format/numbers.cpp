#include "format/digits.h"
#include "format/format.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace format_digits {

namespace {

int digit_count(unsigned long long v) {
    int n = 1;
    for (; v >= 10000; v /= 10000)
        n += 4;
    return n + (v >= 10) + (v >= 100) + (v >= 1000);
}

} // namespace

char* put_many_digits(char* p, unsigned long long v) {
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

} // namespace format_digits

using namespace format_digits;

namespace {

char* put_plotter_units(char* p, long long k, bool negative) {
    return put_inch_text(p, static_cast<unsigned long long>(k < 0 ? -k : k), negative);
}

constexpr double exact_path_limit = 8589934592.0; // 2^33

// Drops the trailing zeros of a fixed-point text (and its point when nothing follows it), and
// the sign of a zero.
char* shorten(char* start, char* end) {
    if (memchr(start, '.', static_cast<size_t>(end - start))) {
        while (end[-1] == '0')
            --end;
        if (end[-1] == '.') --end;
    }
    if (end - start == 2 && start[0] == '-' && start[1] == '0') {
        start[0] = '0';
        return start + 1;
    }
    return end;
}

// a * 10^6 as a double and the exact error of that product (Dekker's product: a is split into
// two halves of 26 bits, each of whose products with 10^6 is exact).
void millionfold(double a, double& product, double& error) {
    constexpr double million = 1e6;
    product = a * million;
    double t = 134217729.0 * a; // 2^27 + 1
    double high = t - (t - a), low = a - high;
    error = (high * million - product) + low * million;
}

// |q| in millionths, rounded as "%.6f" rounds it: to nearest, ties to even, on the exact value
// of q. |q| < 4e9, so q * 10^6 stays below 2^52.
unsigned long long rounded_millionths(double q) {
    double product, error;
    millionfold(std::fabs(q), product, error);
    auto whole = static_cast<unsigned long long>(product);
    double above_half = (product - static_cast<double>(whole)) - 0.5; // exact
    bool up = above_half > 0 || (above_half == 0 && (error > 0 || (error == 0 && (whole & 1))));
    return whole + (up ? 1 : 0);
}

// Six decimals, all of them.
void put_six_decimals(char* p, unsigned f) {
    *p = '.';
    put_pair(p + 1, f / 10000);
    put_pair(p + 3, f / 100 % 100);
    put_pair(p + 5, f % 100);
}

// "%f" of q: six decimals, and a sign for any negative q, even one that rounds to zero.
char* put_fixed(char* p, double q) {
    unsigned long long millionths = rounded_millionths(q);
    if (std::signbit(q)) *p++ = '-';
    p = put_digits(p, millionths / 1000000);
    put_six_decimals(p, static_cast<unsigned>(millionths % 1000000));
    return p + 7;
}

// q rounded to six decimals as "%.6f" rounds it, shortened.
char* put_millionths(char* p, double q) {
    unsigned long long millionths = rounded_millionths(q);
    if (millionths == 0) {
        *p = '0';
        return p + 1;
    }
    if (q < 0) *p++ = '-';
    p = put_digits(p, millionths / 1000000);
    unsigned f = static_cast<unsigned>(millionths % 1000000);
    if (f == 0) return p;
    put_six_decimals(p, f);
    char* end = p + 7;
    while (end[-1] == '0')
        --end;
    return end;
}

// Whole units k over a divisor of 1016 or 40: exact, without a double.
char* put_whole_units(char* p, long long k, int divisor) {
    if (k < 0) *p++ = '-';
    unsigned long long u = static_cast<unsigned long long>(k < 0 ? -k : k);
    unsigned long long d = static_cast<unsigned long long>(divisor);
    p = put_digits(p, u / d);
    unsigned r = static_cast<unsigned>(u % d);
    if (divisor == 1016) {
        memcpy(p, fractions.text[r], 8);
        return p + fractions.short_length[r];
    }
    if (r == 0) return p; // divisor 40: r / 40 has at most three decimals
    char digits[4] = {'.', static_cast<char>('0' + r * 25 / 100),
                      static_cast<char>('0' + r * 25 / 10 % 10),
                      static_cast<char>('0' + r * 25 % 10)};
    int n = 4;
    while (digits[n - 1] == '0')
        --n;
    memcpy(p, digits, 4);
    return p + n;
}

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
    if (std::fabs(v) < 4e9) return put_fixed(p, v);
    return std::to_chars(p, p + real_text_max, v, std::chars_format::fixed, 6).ptr;
}

char* put_scaled(char* p, double v, int divisor) {
    bool whole =
        std::fabs(v) <= exact_path_limit && static_cast<double>(static_cast<long long>(v)) == v;
    if (whole && (divisor == 1016 || divisor == 40))
        return put_whole_units(p, static_cast<long long>(v), divisor);
    double q = v / divisor;
    if (std::fabs(q) < 4e9) return put_millionths(p, q);
    char* end = std::to_chars(p, p + real_text_max, q, std::chars_format::fixed, 6).ptr;
    return shorten(p, end);
}
