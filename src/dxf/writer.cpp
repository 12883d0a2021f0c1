#include "dxf/writer.h"

#include "driver/streams.h"
#include "format/format.h"

namespace {

void write_centre(CentreForm form, double cx, double cy) {
    if (form == CentreForm::absolute_arc)
        emit<"10\n%f\n20\n%f\n">(dxf_stream, cx, cy);
    else
        emit<"10\n%f\n  20\n%f\n">(dxf_stream, cx, cy);
}

} // namespace

void dxf_begin() {
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

void dxf_line(int layer, double x1, double y1, double x2, double y2) {
    emit<"0\nLINE\n8\n%d\n10\n%f\n  20\n%f\n11\n%f\n  21\n%f\n">(dxf_stream, layer, x1, y1, x2, y2);
}

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

void dxf_text(int layer, double x, double y, double height, double angle, double width_factor,
              const char* text) {
    emit<"0\nTEXT\n8\n%d\n10\n%f\n  20\n%f\n40\n%f\n  50\n%f\n41\n%f\n1\n%s\n">(
        dxf_stream, layer, x, y, height, angle, width_factor, text);
}
