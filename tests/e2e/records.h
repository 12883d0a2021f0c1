// Expected DXF entity records, formatted with the C library so that the program's own
// formatter is checked against an independent one.
#pragma once

#include <cstdio>
#include <string>

inline std::string real(double v) {
    char b[400];
    snprintf(b, sizeof b, "%f", v);
    return b;
}

inline std::string line_record(int layer, double x1, double y1, double x2, double y2) {
    return "0\nLINE\n8\n" + std::to_string(layer) + "\n10\n" + real(x1) + "\n  20\n" + real(y1) +
           "\n11\n" + real(x2) + "\n  21\n" + real(y2) + "\n";
}

// A line between two points given in plotter units.
inline std::string line_units(int layer, int x1, int y1, int x2, int y2) {
    return line_record(layer, x1 / 1016.0, y1 / 1016.0, x2 / 1016.0, y2 / 1016.0);
}

inline std::string centre(double x, double y, bool aa_form) {
    return "10\n" + real(x) + (aa_form ? "\n20\n" : "\n  20\n") + real(y) + "\n";
}

inline std::string arc_record(int layer, double x, double y, double r, double a50, double a51,
                              bool aa_form) {
    return "0\nARC\n8\n" + std::to_string(layer) + "\n" + centre(x, y, aa_form) + "40\n" + real(r) +
           "\n50\n" + real(a50) + "\n  51\n" + real(a51) + "\n";
}

inline std::string circle_record(int layer, double x, double y, double r, bool aa_form) {
    return "0\nCIRCLE\n8\n" + std::to_string(layer) + "\n" + centre(x, y, aa_form) + "40\n" +
           real(r) + "\n";
}

inline std::string text_record(int layer, double x, double y, double h, double angle, double wf,
                               const std::string& text) {
    return "0\nTEXT\n8\n" + std::to_string(layer) + "\n10\n" + real(x) + "\n  20\n" + real(y) +
           "\n40\n" + real(h) + "\n  50\n" + real(angle) + "\n41\n" + real(wf) + "\n1\n" + text +
           "\n";
}
