// Fill types (FT), the anchor corner of hatches (AC), raster patterns (RF), and the fill of a
// region that RA, RR, WG and FP hand over, as the fill type says.
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>

#include "drawing/model.h"
#include "hpgl2/commands.h"

namespace hpgl2 {

namespace {

// The options each fill type keeps, as last given for that type.
struct Options {
    double spacing = 0; // plotter units; 0 is 1 % of D, worked out when the fill is drawn
    double angle = 0;   // degrees, in the turned frame
    double level = 100; // shading, percent
    int pattern = 1;    // FT11's raster pattern, FT21's cross-hatch pattern
};

struct Fills {
    int type = 1;
    std::map<int, Options> options; // by fill type
    Point anchor{0, 0};             // the turned frame's plotter units
    std::map<int, double> rasters;  // RF patterns: the percentage of cells that are set
};
Fills fills;

bool valid_type(int type) {
    return type == 1 || type == 2 || type == 3 || type == 4 || type == 10 || type == 11 ||
           type == 21 || type == 22;
}

// The pen's colour lightened to a shading level.
Rgb shaded(Rgb c, double level) {
    auto light = [&](int v) {
        return static_cast<int>(std::lround(255 - (255 - v) * level / 100));
    };
    return {light(c.r), light(c.g), light(c.b)};
}

FillRecord shading(double level) {
    FillRecord f;
    if (level >= 100) return f;
    f.kind = FillKind::shaded;
    f.shade = shaded(pen_colour(device.pen), level);
    return f;
}

FillRecord hatching(double spacing, double angle, bool cross) {
    FillRecord f;
    f.kind = FillKind::hatched;
    f.spacing = spacing > 0 ? spacing : diagonal() / 100;
    f.angle = angle + device.rotation;
    f.anchor = to_page(fills.anchor);
    f.cross = cross;
    return f;
}

// FT21's patterns: hatches at 0, 90, 45 and 135 degrees, cross-hatches at 0 and 45.
FillRecord cross_hatch_pattern(int pattern) {
    constexpr std::array<double, 6> angles = {0, 90, 45, 135, 0, 45};
    int i = std::clamp(pattern, 1, 6) - 1;
    return hatching(0, angles[static_cast<size_t>(i)], i >= 4);
}

// What the fill type in force draws; `level` is left at 0 when it draws nothing.
FillRecord fill_in_force(double& level) {
    Options o = fills.options[fills.type];
    level = 100;
    switch (fills.type) {
    case 3: return hatching(o.spacing, o.angle, false);
    case 4: return hatching(o.spacing, o.angle, true);
    case 10: level = std::clamp(o.level, 0.0, 100.0); return shading(level);
    case 11: {
        auto raster = fills.rasters.find(o.pattern); // looked up when the fill is drawn
        level = raster == fills.rasters.end() ? 100 : raster->second;
        return shading(level);
    }
    case 21: return cross_hatch_pattern(o.pattern);
    case 22: level = 50; return shading(level);
    default: return FillRecord{};
    }
}

bool options_valid(const Command& c, int type) {
    if ((type == 3 || type == 4) && c.count > 1 && c.numbers[1] < 0) {
        fail_at(c, number_where(c, 1), "spacing", "FT with a negative spacing: skipped");
        return false;
    }
    int most = type == 11 ? 8 : 6;
    if ((type == 11 || type == 21) && c.count > 1) {
        int p = integer(c.numbers[1]);
        if (p < 1 || p > most) {
            std::string text = "FT " + std::to_string(type) + " pattern " + std::to_string(p) +
                               " is not 1 to " + std::to_string(most) + ": skipped";
            fail_at(c, number_where(c, 1), "pattern", text.c_str());
            return false;
        }
    }
    return true;
}

void keep_options(const Command& c, int type) {
    Options& o = fills.options[type];
    if (c.count < 2) return;
    double a = c.numbers[1];
    if (type == 3 || type == 4) {
        o.spacing = a * std::fabs(device.ax); // current units along x, kept in plotter units
        if (c.count > 2) o.angle = c.numbers[2];
    } else if (type == 10) {
        o.level = a;
    } else if (type == 11 || type == 21) {
        o.pattern = integer(a);
    }
}

} // namespace

void fills_default() {
    fills = Fills{};
}

void fill_region(const Command& c, const Rings& region, FillRule rule) {
    double level = 100;
    FillRecord f = fill_in_force(level);
    if (level <= 0) return; // shading at 0 leaves the paper white
    f.rule = rule;
    FillOutcome outcome = model_fill(region, f);
    if (outcome == FillOutcome::nothing) return;
    model_drawn_from(device.pen_page);
    if (outcome == FillOutcome::solid_for_close_lines)
        warn(c, "hatch", "hatch lines closer than 1 plotter unit: filled solid");
    if (outcome == FillOutcome::solid_for_many_lines)
        warn(c, "hatch", "more than 100000 hatch lines: filled solid");
}

void cmd_FT(Command& c) {
    if (!numbers_between(c, 0, 3)) return;
    if (c.count == 0) {
        fills.type = 1;
        fills.options.clear();
        return;
    }
    int type = integer(c.numbers[0]);
    if (!valid_type(type)) {
        std::string text = "FT " + std::to_string(type) + " is not a fill type: skipped";
        return fail_at(c, number_where(c, 0), "type", text.c_str());
    }
    if (!options_valid(c, type)) return;
    keep_options(c, type);
    fills.type = type;
}

void cmd_AC(Command& c) {
    if (!numbers_between(c, 0, 2)) return;
    if (c.count == 1) return fail(c, "few", "AC with 1 number: needs 2, skipped");
    Point anchor = c.count == 2 ? to_frame(c.numbers[0], c.numbers[1]) : Point{0, 0};
    if (!check_writable(c, anchor)) return;
    fills.anchor = anchor;
}

// RF n,w,h,cells: pattern n of w by h cells; only the share of set cells is used.
void cmd_RF(Command& c) {
    if (c.count == 0 && !c.more) return fills.rasters.clear();
    int n = integer(c.numbers[0]);
    if (n < 1 || n > 8) {
        skip_rest(c);
        return fail_at(c, number_where(c, 0), "pattern", "RF pattern is not 1 to 8: skipped");
    }
    if (c.count == 1 && !c.more) return void(fills.rasters.erase(n));
    double w = c.count > 1 ? std::round(c.numbers[1]) : 0,
           h = c.count > 2 ? std::round(c.numbers[2]) : 0;
    double cells = w * h, set = 0, given = 0;
    bool negative = false;
    for (int i = 3;; i = 0) {
        for (; i < c.count; ++i, ++given) {
            negative = negative || c.numbers[i] < 0;
            if (given < cells && c.numbers[i] != 0) ++set;
        }
        if (!c.more) break;
        read_more(c);
    }
    if (!(cells >= 1) || given < cells || negative)
        return fail(c, "cells",
                    "RF with fewer cells than its width by height, or a negative one: skipped");
    if (given > cells)
        warn(c, "extra", "RF with more cells than its width by height: the rest dropped");
    fills.rasters[n] = 100 * set / cells;
}

} // namespace hpgl2
