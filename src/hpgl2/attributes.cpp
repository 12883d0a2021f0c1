// The pen's attributes and the style they make: which pen draws (SP), its colour, the line type
// (LT, UL) and the pen's width (PW, WU).
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "drawing/model.h"
#include "hpgl2/commands.h"

namespace hpgl2 {

namespace {

// The default pattern of each line type, as shares of the pattern's length: pen down first,
// then pen up, alternating.
const std::array<std::vector<double>, 9> default_patterns = {{
    {},
    {0, 100},
    {50, 50},
    {70, 30},
    {80, 10, 0, 10},
    {70, 10, 10, 10},
    {50, 10, 10, 10, 10, 10},
    {70, 10, 0, 10, 0, 10},
    {50, 10, 0, 10, 10, 10, 0, 10},
}};

struct LineTypes {
    bool solid = true;       // LT; or no LT yet: lines are drawn solid
    bool remembered = false; // a line type that LT99 brings back
    int type = 0;            // the line type last selected, -8 to 8
    double length = 4;       // of a whole pattern: percent of D (mode 0) or millimetres (mode 1)
    int mode = 0;
    std::array<std::vector<double>, 9> patterns = default_patterns;
};

struct Widths {
    bool percent = false;       // WU 1: percent of D; WU 0: millimetres
    double every = 0.35;        // the width of every pen PW has not named
    std::map<int, double> pens; // the pens PW has named
};

struct Attributes {
    LineTypes line;
    Widths widths;
    std::set<int> adaptive_said; // adaptive types warned of, for the whole input
};
Attributes attributes;

// The pattern in force, in plotter units, as the drawing knows it.
int pattern_in_force() {
    const LineTypes& l = attributes.line;
    if (l.solid) return solid_line;
    if (l.type == 0) return dots_only;
    int n = std::abs(l.type);
    const std::vector<double>& shares = l.patterns[static_cast<size_t>(n)];
    double sum = 0;
    for (double s : shares)
        sum += s;
    double length = l.mode == 0 ? l.length / 100 * diagonal() : l.length * 40;
    Pattern p{n, {}};
    for (size_t i = 0; i < shares.size(); ++i) {
        double element = shares[i] / sum * length;
        p.elements.push_back(i % 2 && element != 0 ? -element : element);
    }
    return model_pattern(p);
}

double width_of(int pen) {
    const Widths& w = attributes.widths;
    auto named = w.pens.find(pen);
    double width = named == w.pens.end() ? w.every : named->second;
    return w.percent ? width / 100 * diagonal() / 40 : width;
}

std::string text_of(const Command& c, const char* rest) {
    return std::string(c.name) + " " + rest;
}

void adaptive_warning(const Command& c, int type) {
    if (!attributes.adaptive_said.insert(-type).second) return;
    std::string text = "adaptive line type " + std::to_string(type) + " drawn as fixed type " +
                       std::to_string(-type);
    warn(c, "adaptive", text.c_str());
}

// LT n,length,mode after the checks: the line type selected.
void select_line_type(const Command& c, int type, double length, int mode) {
    LineTypes& l = attributes.line;
    l.solid = false;
    l.remembered = true;
    l.type = type;
    l.length = length;
    l.mode = mode;
    if (type < 0) adaptive_warning(c, type);
    restyle();
}

} // namespace

void restyle() {
    Style s;
    s.pen = device.pen;
    s.colour = pen_colour(device.pen);
    s.pattern = pattern_in_force();
    s.width_mm = width_of(device.pen);
    model_style(s);
}

void select_pen(int pen) {
    if (pen == device.pen) return;
    model_settle();
    device.pen = pen;
    restyle();
}

void attributes_reset() {
    attributes = Attributes{};
}

void line_types_default() {
    attributes.line = LineTypes{};
}

void widths_default() {
    attributes.widths = Widths{};
}

void cmd_LT(Command& c) {
    if (!numbers_between(c, 0, 3)) return;
    LineTypes& l = attributes.line;
    if (c.count == 0) {
        l.solid = true;
        return restyle();
    }
    int type = integer(c.numbers[0]);
    if (type == 99) {
        if (l.remembered) l.solid = false;
        return restyle();
    }
    if (type < -8 || type > 8) {
        std::string text = "LT " + std::to_string(type) + " is not a line type: skipped";
        return fail_at(c, number_where(c, 0), "type", text.c_str());
    }
    double length = c.count > 1 ? c.numbers[1] : l.length;
    int mode = c.count > 2 ? integer(c.numbers[2]) : l.mode;
    if (length <= 0)
        return fail_at(c, number_where(c, 1), "length",
                       text_of(c, "pattern length of 0 or less: skipped").c_str());
    if (mode != 0 && mode != 1)
        return fail_at(c, number_where(c, 2), "mode",
                       text_of(c, "mode is not 0 or 1: skipped").c_str());
    select_line_type(c, type, length, mode);
}

void cmd_UL(Command& c) {
    skip_rest(c);
    LineTypes& l = attributes.line;
    if (c.total == 0) {
        l.patterns = default_patterns;
        return restyle();
    }
    int type = std::abs(integer(c.numbers[0]));
    if (c.total > 21 || type < 1 || type > 8)
        return fail(c, "pattern", "UL with a type outside 1 to 8 or more than 20 gaps: skipped");
    std::vector<double> gaps(c.numbers + 1, c.numbers + c.count);
    double sum = 0;
    for (double g : gaps)
        sum += g;
    if (std::any_of(gaps.begin(), gaps.end(), [](double g) { return g < 0; }) ||
        (!gaps.empty() && !(sum > 0)))
        return fail(c, "gaps", "UL with a negative gap or gaps of no length: skipped");
    l.patterns[static_cast<size_t>(type)] =
        gaps.empty() ? default_patterns[static_cast<size_t>(type)] : gaps;
    restyle();
}

void cmd_PW(Command& c) {
    if (!numbers_between(c, 0, 2)) return;
    Widths& w = attributes.widths;
    double standard = w.percent ? 0.1 : 0.35;
    if (c.count == 0) {
        w.every = standard;
        w.pens.clear();
        return restyle();
    }
    double width = c.numbers[0];
    if (width < 0)
        return fail_at(c, number_where(c, 0), "width", "PW with a negative width: skipped");
    if (c.count == 1) {
        w.every = width;
        w.pens.clear();
        return restyle();
    }
    int pen = integer(c.numbers[1]);
    if (pen < 0)
        return fail_at(c, number_where(c, 1), "pen", "PW with a negative pen number: skipped");
    w.pens[pen] = width;
    restyle();
}

void cmd_WU(Command& c) {
    if (!numbers_between(c, 0, 1)) return;
    int unit = c.count ? integer(c.numbers[0]) : 0;
    if (unit != 0 && unit != 1)
        return fail_at(c, number_where(c, 0), "unit", "WU is not 0 or 1: skipped");
    attributes.widths = Widths{unit == 1, unit == 1 ? 0.1 : 0.35, {}};
    restyle();
}

} // namespace hpgl2
