#include "hpgl2/device.h"

#include <cmath>

Device device;

namespace {

// The window's placement inside P1-P2 for isotropic scaling: both axes take the smaller scale
// magnitude, each keeping its sign; the room left over goes left and below by percentages.
void isotropic(double w, double h, double user_w, double user_h) {
    double sx = w / user_w, sy = h / user_h;
    double m = std::fmin(std::fabs(sx), std::fabs(sy));
    device.ax = std::copysign(m, sx);
    device.ay = std::copysign(m, sy);
    double room_x = w - user_w * device.ax, room_y = h - user_h * device.ay;
    device.bx = device.p1.x + room_x * device.left / 100 - device.window[0] * device.ax;
    device.by = device.p1.y + room_y * device.bottom / 100 - device.window[2] * device.ay;
}

} // namespace

void device_reset() {
    device = Device{};
}

Point to_user(Point frame) {
    return {(frame.x - device.bx) / device.ax, (frame.y - device.by) / device.ay};
}

double diagonal() {
    return std::hypot(device.p2.x - device.p1.x, device.p2.y - device.p1.y);
}

double frame_width() {
    return device.rotation % 180 ? device.page_height : device.page_width;
}

double frame_height() {
    return device.rotation % 180 ? device.page_width : device.page_height;
}

bool uniform_scaling() {
    double a = std::fabs(device.ax), b = std::fabs(device.ay);
    return std::fabs(a - b) <= 1e-12 * std::fmax(a, b);
}

bool mirrored() {
    return (device.ax < 0) != (device.ay < 0);
}

double scale_magnitude() {
    return std::fabs(device.ax);
}

void reset_scaling_points() {
    device.p1 = {0, 0};
    device.p2 = {frame_width(), frame_height()};
    rescale();
}

void rescale() {
    const double* w = device.window;
    Point p1 = device.p1, p2 = device.p2;
    switch (device.scaling) {
    case Scaling::off:
        device.ax = device.ay = 1;
        device.bx = device.by = 0;
        return;
    case Scaling::anisotropic:
        device.ax = (p2.x - p1.x) / (w[1] - w[0]);
        device.ay = (p2.y - p1.y) / (w[3] - w[2]);
        break;
    case Scaling::isotropic: isotropic(p2.x - p1.x, p2.y - p1.y, w[1] - w[0], w[3] - w[2]); return;
    case Scaling::point_factor:
        device.ax = w[1];
        device.ay = w[3];
        break;
    }
    device.bx = p1.x - w[0] * device.ax;
    device.by = p1.y - w[2] * device.ay;
}

Rgb pen_colour(int pen) {
    auto set = device.colours.find(pen);
    if (set != device.colours.end()) return set->second;
    static constexpr Rgb defaults[8] = {{255, 255, 255}, {0, 0, 0},   {255, 0, 0},   {0, 255, 0},
                                        {255, 255, 0},   {0, 0, 255}, {255, 0, 255}, {0, 255, 255}};
    return pen >= 0 && pen < 8 ? defaults[pen] : Rgb{0, 0, 0};
}
