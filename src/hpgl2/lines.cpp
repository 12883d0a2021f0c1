// Pen motion: PA, PR, PU and PD, and the one move routine every drawing command goes through.
#include "drawing/model.h"
#include "hpgl2/commands.h"
#include "hpgl2/labels.h"

namespace hpgl2 {

void set_pen_position(Point frame) {
    device.pen_position = frame;
    device.pen_page = to_page(frame);
}

void keep_pen_on_page() {
    device.pen_position = from_page(device.pen_page);
}

namespace {

// A straight move, with polygon mode known.
[[gnu::always_inline]] inline void move_pen_in(Point to, bool polygon) {
    Point page = to_page(to);
    if (polygon)
        polygon_add(to, device.pen_down);
    else if (device.pen_down)
        model_stroke(device.pen_page, page);
    device.pen_position = to;
    device.pen_page = page;
}

} // namespace

void move_pen(Point to) {
    move_pen_in(to, in_polygon_mode());
}

void lift_pen() {
    model_settle();
    device.pen_down = false;
}

void put_pen_down() {
    if (device.pen_down) return;
    device.pen_down = true;
    if (!in_polygon_mode()) model_lower(device.pen_page);
}

namespace {

// The points of a PA, PR, PU or PD list, batch by batch, as absolute or relative moves.
void plot_points(Command& c) {
    if (c.unusable) return skip_rest(c);
    bool polygon = in_polygon_mode(), symbols = marking_symbols(); // the same for the whole list
    for (;;) {
        for (int i = 0; i + 1 < c.count; i += 2) {
            double x = c.numbers[i], y = c.numbers[i + 1];
            Point to = device.relative ? Point{device.pen_position.x + frame_step(x, y).x,
                                               device.pen_position.y + frame_step(x, y).y}
                                       : to_frame(x, y);
            if (!check_writable(c, to)) return skip_rest(c);
            move_pen_in(to, polygon);
            if (symbols) mark_symbol();
        }
        if (!c.more) break;
        read_more(c);
        if (c.unusable) return skip_rest(c);
    }
    drop_unpaired(c, "coordinate");
}

} // namespace

void cmd_PA(Command& c) {
    device.relative = false;
    plot_points(c);
    labels_pen_moved();
}

void cmd_PR(Command& c) {
    device.relative = true;
    plot_points(c);
    labels_pen_moved();
}

void cmd_PU(Command& c) {
    lift_pen();
    plot_points(c);
    labels_pen_moved();
}

void cmd_PD(Command& c) {
    put_pen_down();
    plot_points(c);
    labels_pen_moved();
}

} // namespace hpgl2
