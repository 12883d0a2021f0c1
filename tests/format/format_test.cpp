// The number formatter must write exactly what the C library's "%d" and "%f" write.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "format/format.h"

namespace {

std::string ours_real(double v) {
    char buf[real_text_max + 8];
    char* end = put_real(buf, v);
    return std::string(buf, end);
}

std::string libc_real(double v) {
    char buf[400];
    snprintf(buf, sizeof buf, "%f", v);
    return buf;
}

std::string ours_int(int v) {
    char buf[int_text_max];
    return std::string(buf, put_int(buf, v));
}

TEST(Format, IntegersMatchPrintf) {
    std::mt19937 rng(7);
    for (int v : {0, 1, -1, 9, 10, -10, INT_MAX, INT_MIN, INT_MIN + 1})
        EXPECT_EQ(ours_int(v), std::to_string(v));
    for (int i = 0; i < 1000000; ++i) {
        int v = static_cast<int>(rng());
        ASSERT_EQ(ours_int(v), std::to_string(v));
    }
}

TEST(Format, PlotterUnitCoordinatesMatchPrintfOverTheWholeIntRange) {
    std::mt19937_64 rng(11);
    auto check = [](long long k) {
        for (double sign : {1.0, -1.0}) {
            double v = static_cast<double>(k) * sign / 1016.0;
            ASSERT_EQ(ours_real(v), libc_real(v)) << k << " sign " << sign;
        }
    };
    for (long long k = -5000; k <= 5000; ++k)
        check(k);
    for (long long k : {2147483647LL, -2147483648LL, 4294967295LL, -4294967296LL, 8589934592LL,
                        -8589934592LL, 8589934593LL, 17179869184LL})
        check(k);
    for (int i = 0; i < 2000000; ++i)
        check(static_cast<int>(rng()));
    for (int i = 0; i < 200000; ++i)
        check(static_cast<long long>(rng() % 17179869184ULL) - 8589934592LL);
}

TEST(Format, NegativeZeroKeepsItsSign) {
    EXPECT_EQ(ours_real(-0.0), "-0.000000");
    EXPECT_EQ(ours_real(0.0 * -1.0 / 1016.0), "-0.000000");
    EXPECT_EQ(ours_real(0.0), "0.000000");
}

TEST(Format, ArbitraryDoublesMatchPrintf) {
    std::mt19937_64 rng(3);
    for (double v : {DBL_MAX,
                     -DBL_MAX,
                     DBL_MIN,
                     DBL_TRUE_MIN,
                     0.5e-6,
                     1.5e-6,
                     2.5e-6,
                     0.0000005,
                     0.0000015,
                     1e15 + 0.5,
                     123456.0000005,
                     57.29577951471995,
                     90.0,
                     1.0 / 3.0,
                     HUGE_VAL,
                     -HUGE_VAL,
                     std::nan(""),
                     -4e-7,
                     -5e-7,
                     -0.0,
                     3999999999.9999995,
                     -3999999999.9999995,
                     4e9,
                     999999.9999995,
                     0.9999995})
        EXPECT_EQ(ours_real(v), libc_real(v)) << v;
    for (int i = 0; i < 1000000; ++i) {
        uint64_t bits = rng();
        double v;
        memcpy(&v, &bits, sizeof v);
        if (std::isnan(v)) continue;
        ASSERT_EQ(ours_real(v), libc_real(v)) << bits;
    }
    std::uniform_real_distribution<double> angles(-1000.0, 1000.0);
    for (int i = 0; i < 1000000; ++i) {
        double v = angles(rng);
        ASSERT_EQ(ours_real(v), libc_real(v));
    }
    // Values with exactly representable halves at the seventh decimal.
    for (int i = 0; i < 100000; ++i) {
        double v =
            std::ldexp(static_cast<double>(rng() % 100000000), -(static_cast<int>(rng() % 30)));
        ASSERT_EQ(ours_real(v), libc_real(v)) << v;
    }
}

// The same records through an output stream with a buffer of `capacity` bytes (0: none).
std::string emitted(size_t capacity) {
    char* text = nullptr;
    size_t size = 0;
    FILE* file = open_memstream(&text, &size);
    std::vector<char> buffer(capacity);
    OutputStream ours;
    output_attach(ours, file, capacity ? buffer.data() : nullptr, capacity);
    std::string long_text(5000, 'x');
    for (int i = 0; i < 20; ++i) { // enough to fill and empty a small buffer several times
        emit<"a%db%fc%sd%c%%e\n">(ours, -42, 3.25, "str", 'Z');
        emit<"%s|%f|%f|%d|%s|%s\n">(ours, long_text.c_str(), DBL_MAX, -DBL_MAX, INT_MIN, "",
                                    "tail");
        emit<"%s%s%s\n">(ours, long_text.c_str() + 4800, long_text.c_str() + 4900,
                         long_text.c_str() + 4990);
        emit<"no directives\n">(ours);
        output_bytes(ours, "raw\0bytes", 9);
    }
    output_flush(ours);
    fclose(file);
    std::string s(text, size);
    free(text);
    return s;
}

TEST(Format, EmitMatchesFprintfWithAnyBuffer) {
    std::string expected;
    std::string long_text(5000, 'x');
    char line[6000];
    for (int i = 0; i < 20; ++i) {
        snprintf(line, sizeof line, "a%db%fc%sd%c%%e\n", -42, 3.25, "str", 'Z');
        expected += line;
        expected += long_text + "|" + libc_real(DBL_MAX) + "|" + libc_real(-DBL_MAX) + "|" +
                    std::to_string(INT_MIN) + "||tail\n";
        expected += long_text.substr(4800) + long_text.substr(4900) + long_text.substr(4990) + "\n";
        expected += "no directives\n";
        expected += std::string("raw\0bytes", 9);
    }
    for (size_t capacity : {0, 700, 4096, 1 << 16})
        EXPECT_EQ(emitted(capacity), expected) << capacity;
}

} // namespace

namespace {

// What put_scaled must write: "%.6f" of v / divisor, without trailing zeros nor a negative zero.
std::string short_libc(double v, int divisor) {
    std::string s = libc_real(v / divisor);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

std::string ours_scaled(double v, int divisor) {
    char buf[real_text_max + 8];
    return std::string(buf, put_scaled(buf, v, divisor));
}

TEST(Format, ScaledValuesMatchPrintfShortened) {
    std::mt19937_64 rng(3);
    for (int divisor : {1016, 40, 1}) {
        for (double v : {0.0, -0.0, 1.0, -1.0, 0.5, 1e-7, -1e-7, 2032.0, 9.5e15, -9.5e15, 1e300})
            EXPECT_EQ(ours_scaled(v, divisor), short_libc(v, divisor)) << v << "/" << divisor;
        for (int k = -100001; k <= 100001; k += 2) // k / 128: exact ties of the sixth decimal
            ASSERT_EQ(ours_scaled(k / 128.0 * divisor, divisor),
                      short_libc(k / 128.0 * divisor, divisor))
                << k;
        for (int i = 0; i < 300000; ++i) {
            double v;
            switch (i % 4) {
            case 0: v = static_cast<double>(static_cast<int64_t>(rng()) >> (rng() % 60)); break;
            case 1:
                v = std::ldexp(static_cast<double>(rng() % 100000000),
                               -static_cast<int>(rng() % 40));
                break;
            case 2:
                v = (static_cast<double>(rng() % 2000000001) - 1e9) / 1000.0;
                break; // halves of millionths
            default: {
                uint64_t bits = rng();
                memcpy(&v, &bits, sizeof v);
                if (!std::isfinite(v) || std::fabs(v) > 1e30) v = 1.25;
            }
            }
            ASSERT_EQ(ours_scaled(v, divisor), short_libc(v, divisor)) << v << "/" << divisor;
        }
    }
}

} // namespace
