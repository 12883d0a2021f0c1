// The imaginary HP-GL/2 plotter: its page and frame, the scaling from user units to plotter
// units, the pen and its palette.
#pragma once

#include <map>

#include "drawing/style.h"
#include "geometry/point.h"

enum class Scaling { off, anisotropic, isotropic, point_factor };

struct Device {
    double page_width = 10000, page_height = 7200; // the scaling-point rectangle of the page
    int rotation = 0;                              // RO: 0, 90, 180 or 270 degrees
    Point p1{0, 0}, p2{10000, 7200};               // in the turned frame, plotter units
    Scaling scaling = Scaling::off;
    double window[4] = {0, 0, 0, 0};       // SC's first four numbers
    double left = 50, bottom = 50;         // where an isotropic window sits in P1-P2 (percent)
    double ax = 1, bx = 0, ay = 1, by = 0; // user to frame: x * ax + bx, y * ay + by
    Point pen_position{0, 0};              // in the turned frame, plotter units
    Point pen_page{0, 0}; // the same place on the page, kept so that a turn moves nothing
    bool pen_down = false;
    bool relative = false;      // PR rather than PA
    int pen = 1;                // the selected pen; pen 1 draws before any SP
    std::map<int, Rgb> colours; // pens whose colour PC has set
};

extern Device device;

void device_reset();

// User units to the turned frame's plotter units, and relative steps likewise.
inline Point to_frame(double x, double y) {
    return {x * device.ax + device.bx, y * device.ay + device.by};
}
inline Point frame_step(double dx, double dy) {
    return {dx * device.ax, dy * device.ay};
}
// The turned frame's plotter units back to user units.
Point to_user(Point frame);

// A point of the turned frame on the page.
inline Point to_page(Point f) {
    if (device.rotation == 0) return f;
    double w = device.page_width, h = device.page_height;
    switch (device.rotation) {
    case 90: return {w - f.y, f.x};
    case 180: return {w - f.x, h - f.y};
    default: return {f.y, h - f.x}; // 270
    }
}
// A point of the page in the turned frame.
inline Point from_page(Point p) {
    double w = device.page_width, h = device.page_height;
    switch (device.rotation) {
    case 90: return {p.y, w - p.x};
    case 180: return {w - p.x, h - p.y};
    case 270: return {h - p.y, p.x};
    default: return p;
    }
}
// The diagonal D of P1-P2, in plotter units: relative lengths are shares of it.
double diagonal();
// The turned page's width and height.
double frame_width();
double frame_height();

// Whether both axes have the same scale magnitude (circles stay circles), and whether one of
// them is mirrored.
bool uniform_scaling();
bool mirrored();
// The magnitude of the scale (plotter units per user unit) when it is uniform.
double scale_magnitude();

// P1 and P2 back to the corners of the turned page; the scaling follows them.
void reset_scaling_points();
// Computes the user-unit mapping again from SC's numbers and P1, P2.
void rescale();

// Pens and their colours.
Rgb pen_colour(int pen);
