// Encoded polylines (PE): pairs of base-64 (8-bit) or base-32 (7-bit) numbers, least
// significant digit first, with flags for pen-up moves, absolute pairs, pens and fractions.
#include <algorithm>
#include <cmath>
#include <string>

#include "drawing/model.h"
#include "hpgl2/commands.h"

namespace hpgl2 {

namespace {

struct Decoder {
    bool seven_bit = false;
    bool pen_up_next = false, absolute_next = false;
    enum { coordinate, pen, fraction } next = coordinate;
    double scale = 1; // a coordinate is its number times this (2^-fractional bits)
    double x = 0;     // the first of a pair
    bool have_x = false;
    double value = 0, weight = 1; // the number being read
    bool in_number = false;
    int strange = 0;          // bytes that are neither digits nor flags
    size_t first_strange = 0; // where the first of them stands in the data
    size_t number_start = 0;  // where the number being read, or the pair's first, begins
    bool stopped = false;
};

// The move of one pair, in current units.
void move(Decoder& d, const Command& c, double x, double y) {
    Point to = d.absolute_next ? to_frame(x, y)
                               : Point{device.pen_position.x + frame_step(x, y).x,
                                       device.pen_position.y + frame_step(x, y).y};
    if (!check_writable(c, to)) {
        d.stopped = true;
        return;
    }
    if (d.pen_up_next)
        lift_pen();
    else
        put_pen_down();
    move_pen(to);
    d.pen_up_next = d.absolute_next = false;
}

// A whole number: its lowest bit is the sign.
void number(Decoder& d, const Command& c) {
    double v = d.value;
    double n = std::fmod(v, 2) == 1 ? -(v - 1) / 2 : v / 2;
    d.value = 0;
    d.weight = 1;
    d.in_number = false;
    if (d.next == Decoder::pen) {
        int pen = integer(n);
        if (pen >= 0) select_pen(pen);
    } else if (d.next == Decoder::fraction) {
        d.scale = std::ldexp(1.0, -std::max(0, std::min(integer(n), 1000)));
    } else if (!d.have_x) {
        d.x = n * d.scale;
        d.have_x = true;
    } else {
        d.have_x = false;
        move(d, c, d.x, n * d.scale);
    }
    if (d.next != Decoder::coordinate) d.next = Decoder::coordinate;
}

void flag(Decoder& d, unsigned char b) {
    d.value = 0;
    d.weight = 1;
    d.in_number = false;
    switch (b) {
    case ':': d.next = Decoder::pen; break;
    case '<': d.pen_up_next = true; break;
    case '>': d.next = Decoder::fraction; break;
    case '=': d.absolute_next = true; break;
    case '7': d.seven_bit = true; break;
    }
}

// One byte of the data: a digit that goes on or ends a number, a flag, or something else.
void byte(Decoder& d, const Command& c, unsigned char b, size_t at) {
    if (b <= 32 || b == 127) return; // line ends and blanks
    if (b == ':' || b == '<' || b == '>' || b == '=' || b == '7') return flag(d, b);
    int base = d.seven_bit ? 32 : 64;
    int last_low = d.seven_bit ? 95 : 191, last_high = d.seven_bit ? 126 : 254;
    bool goes_on = b >= 63 && b < 63 + base;
    bool ends = b >= last_low && b <= last_high;
    if (!goes_on && !ends) {
        if (d.strange++ == 0) d.first_strange = at;
        return;
    }
    if (!d.in_number && !d.have_x) d.number_start = at;
    int digit = goes_on ? b - 63 : b - last_low;
    if (d.weight < 1e300) d.value += digit * d.weight;
    d.weight *= base;
    d.in_number = true;
    if (ends) number(d, c);
}

} // namespace

void cmd_PE(Command& c) {
    Decoder d;
    auto data = reinterpret_cast<const unsigned char*>(c.text);
    for (size_t i = 0; i < c.text_length && !d.stopped; ++i)
        byte(d, c, data[i], i);
    if (d.strange > 0) {
        std::string text = "PE with " + std::to_string(d.strange) +
                           (d.strange == 1 ? " byte that is" : " bytes that are") +
                           " neither digits nor flags: ignored";
        warn_at(c, text_where(c, d.first_strange), "bytes", text.c_str());
    }
    if (d.have_x || d.in_number)
        warn_at(c, text_where(c, d.number_start), "odd", "PE with an unpaired coordinate: dropped");
    if (!c.terminated) warn(c, "end", "encoded polyline without its ; at end of input: drawn");
    labels_pen_moved();
}

} // namespace hpgl2
