// What the handlers share: checking parameters, messages, integers and angles.
#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>

#include "drawing/model.h"
#include "driver/diagnostics.h"
#include "hpgl2/commands.h"

namespace hpgl2 {

namespace {

// A number as a plot would write it: "20", "20.5".
std::string written(double v) {
    char text[64];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

std::string kind_of(const Command& c, const char* kind) {
    return std::string(c.name) + ":" + kind;
}

std::string count_of(int n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

// "the last one, 20," or "the last 3"
std::string last_ones(const Command& c, int n) {
    if (n == 1 && c.count > 0) return "the last one, " + written(c.numbers[c.count - 1]) + ",";
    return n == 1 ? "the last one" : "the last " + std::to_string(n);
}

} // namespace

void warn(const Command& c, const char* kind, const char* text) {
    warn_at(c, {c.line, c.column}, kind, text);
}

void fail(const Command& c, const char* kind, const char* text) {
    fail_at(c, {c.line, c.column}, kind, text);
}

void warn_at(const Command& c, Where at, const char* kind, const char* text) {
    diagnose(Severity::warning, at.line, at.column, kind_of(c, kind).c_str(), text);
}

void fail_at(const Command& c, Where at, const char* kind, const char* text) {
    diagnose(Severity::error, at.line, at.column, kind_of(c, kind).c_str(), text);
}

Where number_where(const Command& c, int i) {
    int first_of_batch = c.total - c.count;
    if (i < first_of_batch || i >= c.total) return {c.line, c.column};
    int k = i - first_of_batch;
    return {c.number_line[k], c.number_column[k]};
}

void skip_rest(Command& c) {
    while (c.more)
        read_more(c);
}

void drop_rest(Command& c, int most) {
    if (!c.more && c.total <= most) return;
    // The numbers the handler takes stay in the batch, though later batches are read past them.
    constexpr int held_most = 16;
    int held = c.total == c.count ? std::min({most, c.count, held_most}) : 0;
    double numbers[held_most];
    int lines[held_most], columns[held_most];
    std::copy(c.numbers, c.numbers + held, numbers);
    std::copy(c.number_line, c.number_line + held, lines);
    std::copy(c.number_column, c.number_column + held, columns);
    Where first_dropped = number_where(c, most);
    while (c.more) {
        read_more(c);
        if (most >= c.total - c.count && most < c.total) first_dropped = number_where(c, most);
    }
    if (c.total > most) {
        int dropped = c.total - most;
        std::string text = std::string(c.name) + " with " + count_of(c.total, "number") + ": " +
                           last_ones(c, dropped) + " dropped";
        warn_at(c, first_dropped, "extra", text.c_str());
    }
    if (held == 0) return;
    std::copy(numbers, numbers + held, c.numbers);
    std::copy(lines, lines + held, c.number_line);
    std::copy(columns, columns + held, c.number_column);
    c.count = held;
}

bool numbers_between(Command& c, int least, int most) {
    if (c.unusable) {
        skip_rest(c);
        return false;
    }
    if (c.count < least && !c.more) {
        std::string text = std::string(c.name) + " with " + count_of(c.count, "number") +
                           ": needs " + std::to_string(least) + ", skipped";
        fail(c, "few", text.c_str());
        return false;
    }
    drop_rest(c, most);
    return true;
}

void drop_unpaired(Command& c, const char* what) {
    if (c.total % 2 == 0 || c.more) return;
    std::string text = std::string(c.name) + " with " + count_of(c.total, what) + ": " +
                       last_ones(c, 1) + " dropped";
    warn_at(c, number_where(c, c.total - 1), "odd", text.c_str());
}

int integer(double v) {
    double r = std::round(v); // halves away from zero
    if (!(r > INT_MIN)) return INT_MIN;
    if (!(r < INT_MAX)) return INT_MAX;
    return static_cast<int>(r);
}

bool refuse_unwritable(const Command& c) {
    std::string text = std::string("coordinate out of range: ") + c.name + " skipped";
    fail(c, "range", text.c_str());
    return false;
}

int chord_count(double sweep, double chord) {
    double chords = std::fabs(sweep) / chord;
    // A sweep that is a whole number of chords but for rounding has no sliver of a last chord.
    double n = std::ceil(chords - 1e-9);
    return n < 1 ? 1 : static_cast<int>(n);
}

double chord_turn(double sweep, double chord, int k, int n) {
    return k >= n ? sweep : std::copysign(k * chord, sweep);
}

Point direction_of(double a) {
    double r = std::fabs(a) < 360 ? a : std::fmod(a, 360.0); // fmod gives a itself below 360
    if (r == 0) return {1, 0};
    if (r == 90 || r == -270) return {0, 1};
    if (r == 180 || r == -180) return {-1, 0};
    if (r == 270 || r == -90) return {0, -1};
    double radians = r * (M_PI / 180.0);
    return {std::cos(radians), std::sin(radians)}; // one sincos call
}

double atan2_degrees(double y, double x) {
    if (y == 0 && x >= 0) return 0;
    if (x == 0) return y > 0 ? 90 : -90;
    if (y == 0) return 180;
    return std::atan2(y, x) * (180.0 / M_PI);
}

} // namespace hpgl2
