// Polyline encoded (PE): base-64 coordinate pairs in the 8-bit form, drawn through plot_to.
#include <cstring>

#include "driver/diagnostics.h"
#include "driver/streams.h"
#include "format/format.h"
#include "plotter/handlers.h"
#include "plotter/state.h"

namespace classic {

namespace {

// "PE", the bytes as text (printable ones as themselves), two blanks, the bytes in hex.
void echo(const unsigned char* data, size_t n) {
    static const char hex[] = "0123456789abcdef";
    char buffer[4096] = {};
    size_t used = 0;
    auto put = [&](char c) {
        if (used == sizeof buffer) {
            output_bytes(log_stream, buffer, used);
            used = 0;
        }
        buffer[used++] = c;
    };
    put('P');
    put('E');
    put(' ');
    for (size_t i = 0; i < n; ++i)
        put(data[i] >= 33 && data[i] <= 126 ? static_cast<char>(data[i]) : '.');
    put(' ');
    put(' ');
    for (size_t i = 0; i < n; ++i) {
        put(hex[data[i] >> 4]);
        put(hex[data[i] & 15]);
        put(' ');
    }
    put('\n');
    output_bytes(log_stream, buffer, used);
}

void warn(const char* message) {
    emit<"%s">(log_stream, message);
    ++warning_count;
}

// One number: base-64 digits, least significant first, 63 meaning zero, the last digit
// with bit 7 set. False when the data ends first. Digits beyond the 32 bits fall away.
bool decode_number(const unsigned char*& p, const unsigned char* end, int& coordinate) {
    unsigned value = 0;
    for (unsigned shift = 0;; shift += 6) {
        if (p == end) return false;
        unsigned char b = *p++;
        unsigned digit = static_cast<unsigned>((b & 127) - 63);
        if (shift < 32) value += digit << shift;
        if (b & 128) break;
    }
    int v = static_cast<int>(value);
    coordinate = (v & 1) ? v / -2 : v / 2; // the lowest bit carries the sign
    return true;
}

enum class Flags { decode, stop };

// Acts on the flag bytes before a pair's x; the pen selection's one-byte number is skipped.
Flags read_flags(const unsigned char*& p, const unsigned char* end, int& pen, int& mode) {
    while (p < end && *p >= '7' && *p <= '>') {
        switch (*p) {
        case ':':
            warn("Warning, pen selection not supported within PE command\n");
            p += end - p >= 2 ? 2 : 1;
            break;
        case '<':
            pen = 0;
            ++p;
            break;
        case '=':
            mode = 0;
            ++p;
            break;
        case '>':
            warn("Warning, fractional data not supported within PE command\n");
            return Flags::stop;
        case '7': warn("Warning, 7 bit data not supported within PE command\n"); return Flags::stop;
        default: ++p; // '8', '9' and ';' mean nothing here
        }
    }
    return Flags::decode;
}

} // namespace

void pe_point(int x, int y, int pen, int mode) {
    emit<"  x:%d, y:%d, %s with pen %s\n">(log_stream, x, y, mode ? "relative" : "absolute",
                                           pen ? "down" : "up");
    plotter_state.pen_down = pen;
    plotter_state.relative = mode;
    plot_to(x, y);
}

void cmd_PE(const char* text) {
    auto* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* end = p + strlen(text);
    echo(p, static_cast<size_t>(end - p));
    int saved_pen_down = plotter_state.pen_down;
    while (p < end) {
        int pen = 1, mode = 1;
        if (read_flags(p, end, pen, mode) == Flags::stop) break;
        int x, y;
        // A pair cut short by the end of the data is dropped.
        if (!decode_number(p, end, x) || !decode_number(p, end, y)) break;
        pe_point(x, y, pen, mode);
    }
    plotter_state.pen_down = saved_pen_down;
}

} // namespace classic
