#include "dxf/writer.h"

#include <cstring>

#include "driver/streams.h"
#include "format/digits.h"
#include "format/format.h"

namespace {

#ifdef PENWRIGHT_PRINTF_WRITERS

double as_double(Inches v) {
    double d = static_cast<double>(v.magnitude) / 1016.0;
    return v.negative ? -d : d;
}

double as_double(int u, bool mirrored) {
    return as_double(inches_of_units(u, mirrored));
}

#else

// A coordinate's text, kept for the next line: a line usually starts where the last one ended.
struct KeptNumber {
    int units = 0;
    bool mirrored = false;
    size_t length = 0; // 0: nothing kept
    char text[kept_text_room] = {};
    void keep(int u, bool mirror) {
        units = u;
        mirrored = mirror;
        length = static_cast<size_t>(put_inches(text, inches_of_units(u, mirror)) - text);
    }
    bool holds(int u, bool mirror) const { return length && units == u && mirrored == mirror; }
    Kept kept() const { return {text, length}; }
};

// A real's text, kept for the next text record: labels mostly share their height and width.
struct KeptReal {
    double value = 0;
    size_t length = 0; // 0: nothing kept
    char text[real_text_max];
    Counted text_of(double v) {
        if (!length || memcmp(&value, &v, sizeof v) != 0) {
            value = v;
            length = static_cast<size_t>(put_real(text, v) - text);
        }
        return {text, length};
    }
};
KeptReal text_height, text_width;

struct LineEnds {
    KeptNumber end[2][2]; // [which][axis]: the last line's end, and the one before
    KeptNumber start[2];  // a start that is not the last end
    int last = 0;
};
LineEnds line_ends;

// The last end's text when it is the same number, else the number formatted now.
const KeptNumber& start_number(const KeptNumber& last_end, KeptNumber& start, int u, bool mirror) {
    if (last_end.holds(u, mirror)) return last_end;
    start.keep(u, mirror);
    return start;
}

#endif

void write_centre(CentreForm form, double cx, double cy) {
    if (form == CentreForm::absolute_arc)
        emit<"10\n%f\n20\n%f\n">(dxf_stream, cx, cy);
    else
        emit<"10\n%f\n  20\n%f\n">(dxf_stream, cx, cy);
}

} // namespace

void dxf_begin() {
#ifndef PENWRIGHT_PRINTF_WRITERS
    line_ends = LineEnds{};
    text_height.length = text_width.length = 0;
#endif
    emit<"  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  0\nENDSEC\n">(dxf_stream);
    dxf_layer_table();
    emit<"  0\nSECTION\n  2\nENTITIES\n">(dxf_stream);
}

void dxf_layer_table() {
    emit<"  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n%d\n">(dxf_stream, 10);
    for (int n = 0; n <= 9; ++n) {
        int flags = n == 0 ? 64 : 0;
        int colour = n == 0 ? 7 : n;
        emit<"  0\nLAYER\n  2\n%d\n 70\n%d\n 62\n%d\n  6\nCONTINUOUS\n">(dxf_stream, n, flags,
                                                                         colour);
    }
    emit<"  0\nENDTAB\n  0\nENDSEC\n">(dxf_stream);
}

void dxf_end() {
    emit<"  0\nENDSEC\n  0\nEOF\n">(dxf_stream);
}

#ifdef PENWRIGHT_PRINTF_WRITERS

void dxf_line(int layer, UnitPoint from, UnitPoint to, bool mirror_x, bool mirror_y) {
    emit<"0\nLINE\n8\n%d\n10\n%f\n  20\n%f\n11\n%f\n  21\n%f\n">(
        dxf_stream, layer, as_double(from.x, mirror_x), as_double(from.y, mirror_y),
        as_double(to.x, mirror_x), as_double(to.y, mirror_y));
}

#else

void dxf_line(int layer, UnitPoint from, UnitPoint to, bool mirror_x, bool mirror_y) {
    LineEnds& l = line_ends;
    KeptNumber* last_end = l.end[l.last];
    l.last ^= 1; // the start may be the last end's text: this end goes to the other place
    KeptNumber* end = l.end[l.last];
    const KeptNumber& start_x = start_number(last_end[0], l.start[0], from.x, mirror_x);
    const KeptNumber& start_y = start_number(last_end[1], l.start[1], from.y, mirror_y);
    end[0].keep(to.x, mirror_x);
    end[1].keep(to.y, mirror_y);
    emit<"0\nLINE\n8\n%d\n10\n%k\n  20\n%k\n11\n%k\n  21\n%k\n">(
        dxf_stream, layer, start_x.kept(), start_y.kept(), end[0].kept(), end[1].kept());
}

#endif

void dxf_arc(int layer, double cx, double cy, double radius, double angle50, double angle51,
             CentreForm form) {
    emit<"0\nARC\n8\n%d\n">(dxf_stream, layer);
    write_centre(form, cx, cy);
    emit<"40\n%f\n50\n%f\n  51\n%f\n">(dxf_stream, radius, angle50, angle51);
}

void dxf_circle(int layer, double cx, double cy, double radius, CentreForm form) {
    emit<"0\nCIRCLE\n8\n%d\n">(dxf_stream, layer);
    write_centre(form, cx, cy);
    emit<"40\n%f\n">(dxf_stream, radius);
}

#ifdef PENWRIGHT_PRINTF_WRITERS

void dxf_text(int layer, Inches x, Inches y, double height, double angle, double width_factor,
              Counted text) {
    emit<"0\nTEXT\n8\n%d\n10\n%f\n  20\n%f\n40\n%f\n  50\n%f\n41\n%f\n1\n%s\n">(
        dxf_stream, layer, as_double(x), as_double(y), height, angle, width_factor, text.text);
}

#else

void dxf_text(int layer, Inches x, Inches y, double height, double angle, double width_factor,
              Counted text) {
    Counted h = text_height.text_of(height), w = text_width.text_of(width_factor);
    emit<"0\nTEXT\n8\n%d\n10\n%i\n  20\n%i\n40\n%t\n  50\n%f\n41\n%t\n1\n%t\n">(
        dxf_stream, layer, x, y, h, angle, w, text);
}

#endif
