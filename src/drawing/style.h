// How something is drawn: the pen (whose layer it is on), its colour, the line pattern and the
// pen's width. The drawing keeps a style with every entity; a writer turns styles into layers,
// colours, line types and lineweights.
#pragma once

#include <vector>

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

// A line pattern: its elements in plotter units, pen-down lengths positive, pen-up lengths
// negative, a dot 0; `type` is the number the plot gave it (1 to 8).
struct Pattern {
    int type;
    std::vector<double> elements;
    bool operator==(const Pattern&) const = default;
};

constexpr int solid_line = -1; // a style's pattern when lines are drawn solid
constexpr int dots_only = -2;  // straight strokes leave only dots at their ends

struct Style {
    int pen = 1;
    Rgb colour{0, 0, 0};
    int pattern = solid_line; // an index of the drawing's patterns, or solid_line, dots_only
    double width_mm = 0.35;   // the pen's width
    bool operator==(const Style&) const = default;
};
