// The device's setup: IN, DF, BP, PG, the scaling points (IP, IR), user units (SC), the page
// (PS), rotation (RO), the window (IW), pens and their colours (SP, NP, PC).
#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "drawing/model.h"
#include "hpgl2/commands.h"

namespace hpgl2 {

namespace {

// The pen stays where it is on the page when the frame turns under it.
void set_rotation(int degrees) {
    if (degrees == device.rotation) return;
    model_window(nullptr); // the window stays with the frame it was set in
    device.rotation = degrees;
    keep_pen_on_page();
    reset_scaling_points();
    restyle(); // lengths relative to P1-P2 follow it
    labels_pen_moved();
}

void defaults() {
    labels_default();
    line_types_default();
    fills_default();
    reader_default_terminator();
    device.relative = false;
    device.scaling = Scaling::off;
    rescale();
    polygon_reset();
    model_window(nullptr);
}

// Sets P1 (and P2 with it, keeping their offset) or both.
void set_scaling_points(Point p1, const Point* p2) {
    Point offset{device.p2.x - device.p1.x, device.p2.y - device.p1.y};
    device.p1 = p1;
    device.p2 = p2 ? *p2 : Point{p1.x + offset.x, p1.y + offset.y};
    rescale();
}

// IP and IR: none (the page's corners), two (P1, with P2 keeping its offset) or four numbers.
void scaling_points(Command& c, double x_unit, double y_unit) {
    if (!numbers_between(c, 0, 4)) return;
    if (c.count == 0) {
        reset_scaling_points();
        return restyle();
    }
    if (c.count == 1)
        return fail(c, "few", (std::string(c.name) + " with 1 number: needs 2, skipped").c_str());
    if (c.count == 3) {
        c.total = 3;
        drop_rest(c, 2);
    }
    const double* n = c.numbers;
    Point p1{n[0] * x_unit, n[1] * y_unit};
    Point p2{c.count == 4 ? n[2] * x_unit : 0, c.count == 4 ? n[3] * y_unit : 0};
    set_scaling_points(p1, c.count == 4 ? &p2 : nullptr);
    restyle();
}

bool empty_window(const double* n, int type) {
    return type == 2 ? n[1] == 0 || n[3] == 0 : n[0] == n[1] || n[2] == n[3];
}

} // namespace

void cmd_IN(Command& c) {
    drop_rest(c, 1);
    lift_pen();
    defaults();
    widths_default();
    device.rotation = 0;
    set_pen_position({0, 0});
    device.colours.clear();
    reset_scaling_points();
    restyle();
    labels_pen_moved();
}

void cmd_DF(Command& c) {
    drop_rest(c, 0);
    defaults();
    restyle();
    labels_pen_moved();
}

void cmd_BP(Command& c) {
    drop_rest(c, INT_MAX); // its kind and value pairs name the plot: nothing to draw
    if (!c.terminated) warn(c, "end", "BP title without its closing quote: skipped");
    c.total = 0;
    cmd_IN(c);
}

// PG and FR: the page ends; their number is not used.
void cmd_PG(Command& c) {
    drop_rest(c, 1);
    lift_pen();
    model_new_page();
}

void cmd_FR(Command& c) {
    cmd_PG(c);
}

void job_reset(Command& c) {
    model_new_page();
    cmd_IN(c);
}

void job_form_feed(Command&) {
    lift_pen();
    model_new_page();
}

// IW x1,y1,x2,y2: the window, its corners in current units, fixed on the page; IW; removes it.
void cmd_IW(Command& c) {
    if (!numbers_between(c, 0, 4)) return;
    if (c.count == 0) return model_window(nullptr);
    if (c.count < 4) {
        std::string text = "IW with " + std::to_string(c.count) + " numbers: needs 4, skipped";
        return fail(c, "few", text.c_str());
    }
    Point a = to_frame(c.numbers[0], c.numbers[1]), b = to_frame(c.numbers[2], c.numbers[3]);
    if (!check_writable(c, a) || !check_writable(c, b)) return;
    a = to_page(a);
    b = to_page(b);
    Window w{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    model_window(&w);
}

void cmd_IP(Command& c) {
    scaling_points(c, 1, 1);
}

void cmd_IR(Command& c) {
    scaling_points(c, frame_width() / 100, frame_height() / 100);
}

void cmd_SC(Command& c) {
    if (c.count == 0 && !c.unusable) {
        drop_rest(c, 0);
        device.scaling = Scaling::off;
        return rescale();
    }
    if (!numbers_between(c, 4, 7)) return;
    int type = c.count >= 5 ? integer(c.numbers[4]) : 0;
    if (type < 0 || type > 2) {
        std::string text = "SC type " + std::to_string(type) + " is not 0, 1 or 2: skipped";
        return fail_at(c, number_where(c, 4), "type", text.c_str());
    }
    if (empty_window(c.numbers, type))
        return fail_at(c, number_where(c, 0), "window", "SC with an empty window: skipped");
    std::copy(c.numbers, c.numbers + 4, device.window);
    device.scaling = type == 0   ? Scaling::anisotropic
                     : type == 1 ? Scaling::isotropic
                                 : Scaling::point_factor;
    device.left = type == 1 && c.count >= 6 ? c.numbers[5] : 50;
    device.bottom = type == 1 && c.count >= 7 ? c.numbers[6] : 50;
    rescale();
}

void cmd_PS(Command& c) {
    if (!numbers_between(c, 0, 2)) return;
    device.page_width = c.count >= 1 ? c.numbers[0] : 10000;
    device.page_height = c.count >= 2 ? c.numbers[1] : c.count == 1 ? c.numbers[0] : 7200;
    keep_pen_on_page();
    reset_scaling_points();
    restyle();
}

void cmd_RO(Command& c) {
    if (!numbers_between(c, 0, 1)) return;
    int degrees = c.count ? integer(c.numbers[0]) : 0;
    if (degrees != 0 && degrees != 90 && degrees != 180 && degrees != 270) {
        std::string text = "RO " + std::to_string(degrees) + " is not 0, 90, 180 or 270: skipped";
        return fail_at(c, number_where(c, 0), "angle", text.c_str());
    }
    set_rotation(degrees);
}

void cmd_SP(Command& c) {
    if (!numbers_between(c, 0, 1)) return;
    int pen = c.count ? integer(c.numbers[0]) : 0;
    if (pen < 0) {
        std::string text = "SP " + std::to_string(pen) + ": pens are numbered from 0, skipped";
        return fail_at(c, number_where(c, 0), "pen", text.c_str());
    }
    select_pen(pen);
}

void cmd_NP(Command& c) {
    numbers_between(c, 0, 1); // the palette holds every pen a plot names
}

void cmd_PC(Command& c) {
    if (!numbers_between(c, 0, 4)) return;
    if (c.count == 0) {
        device.colours.clear();
    } else if (c.count < 4) {
        device.colours.erase(integer(c.numbers[0]));
    } else {
        auto level = [&](int i) { return std::clamp(integer(c.numbers[i]), 0, 255); };
        device.colours[integer(c.numbers[0])] = {level(1), level(2), level(3)};
    }
    restyle(); // a colour that stays as it was keeps the run in progress
}

void cmd_CO(Command& c) {
    drop_rest(c, 0); // a comment: its quoted text is skipped
    if (!c.terminated) warn(c, "end", "comment without its closing quote: skipped");
}

void cmd_DV(Command& c) {
    if (c.count > 0 && integer(c.numbers[0]) != 0) count_not_drawn(c); // vertical labels
    drop_rest(c, 2);
}

} // namespace hpgl2
