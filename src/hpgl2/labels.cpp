// Labels: LB text as TEXT entities placed as the plotter places them (size, cell and line
// spacing, direction, slant, origin), the pen after the label, CP, SM symbols, BL and PB.
#include "hpgl2/labels.h"

#include <cmath>
#include <string>
#include <vector>

#include "drawing/model.h"
#include "hpgl2/commands.h"

namespace hpgl2 {

namespace {

constexpr double plu_per_cm = 400;

struct LabelSettings {
    bool relative_size = false;               // SR rather than SI
    double width = 0.19, height = 0.27;       // SI: centimetres; SR: percent of P2 - P1
    double extra_spaces = 0, extra_lines = 0; // ES
    bool relative_direction = false;          // DR rather than DI
    double run = 1, rise = 0;
    double slant = 0; // SL: the tangent of the slant
    int origin = 1;   // LO
    bool symbol_mode = false;
    char symbol = 0;
};

struct LabelState {
    LabelSettings settings;
    std::string buffered; // BL's text, for PB
    Point carriage{0, 0}; // where CR goes back to
    bool fresh = true;    // the pen was moved since the last label: the next one sets the point
};
LabelState labels;

// Labels written one after another share the carriage-return point of the first: the pen's
// place when it began.
void find_carriage() {
    if (!labels.fresh) return;
    labels.carriage = device.pen_position;
    labels.fresh = false;
}

void move_by_label(Point to) {
    set_pen_position(to);
}

// The character size in plotter units: width and cap height.
Point character_size() {
    const LabelSettings& s = labels.settings;
    if (!s.relative_size)
        return {std::fabs(s.width) * plu_per_cm, std::fabs(s.height) * plu_per_cm};
    return {std::fabs(s.width / 100 * (device.p2.x - device.p1.x)),
            std::fabs(s.height / 100 * (device.p2.y - device.p1.y))};
}

// The text direction in the turned frame, in degrees.
double direction() {
    const LabelSettings& s = labels.settings;
    double run = s.run, rise = s.rise;
    if (s.relative_direction) {
        run *= (device.p2.x - device.p1.x) / 100;
        rise *= (device.p2.y - device.p1.y) / 100;
    }
    return atan2_degrees(rise, run);
}

// How a label lies about the pen: its size, cell, line spacing and axes.
struct Layout {
    Point size;      // character width and cap height
    double cell;     // from one character to the next
    double line;     // from one line to the next
    double angle;    // degrees, in the turned frame
    Point along, up; // unit vectors of the text's axes
};

Layout layout() {
    const LabelSettings& s = labels.settings;
    Layout l;
    l.size = character_size();
    l.cell = 1.5 * l.size.x * (1 + s.extra_spaces);
    l.line = 2 * l.size.y * (1 + s.extra_lines);
    l.angle = direction();
    l.along = direction_of(l.angle);
    l.up = {-l.along.y, l.along.x};
    return l;
}

Point offset(Point from, const Layout& l, double x, double y) {
    return {from.x + l.along.x * x + l.up.x * y, from.y + l.along.y * x + l.up.y * y};
}

// The origin's offset of the insertion point from the pen, for a line of n characters.
Point origin_offset(int origin, const Layout& l, int n) {
    int o = origin > 10 ? origin - 10 : origin;
    double length = n > 0 ? (n - 1) * l.cell + l.size.x : 0;
    int column = (o - 1) / 3, row = (o - 1) % 3; // 0 left, 1 centre, 2 right; 0 bottom ... 2 top
    double x = -length * column / 2, y = -l.size.y * row / 2;
    if (origin > 10) { // moved away from the pen by half a character
        x += column == 0 ? l.size.x / 2 : column == 2 ? -l.size.x / 2 : 0;
        y += row == 0 ? l.size.y / 2 : row == 2 ? -l.size.y / 2 : 0;
    }
    return {x, y};
}

// The text as the DXF writes it: '%' doubled twice, since "%%" begins a control code.
std::string dxf_text(const std::string& printed) {
    std::string out;
    for (char c : printed)
        out += c == '%' ? std::string("%%%") : std::string(1, c);
    return out;
}

void write_run(const Layout& l, Point at, const std::string& printed) {
    Point page = to_page(at);
    if (printed.empty() || !std::isfinite(page.x) || !std::isfinite(page.y)) return;
    std::string text = dxf_text(printed);
    double factor = 1.5 * l.size.x / l.size.y;
    double oblique = std::atan(labels.settings.slant) * (180.0 / M_PI);
    double angle = l.angle + device.rotation;
    angle -= 360 * std::floor(angle / 360);
    model_text({page, l.size.y, angle, factor, oblique, text.data(), text.size()});
}

bool is_printed(unsigned char c) {
    return c >= 32 && c != 127;
}

// The printed characters of each line (up to a CR or LF): every line is placed by its own
// length, as a label of its own. A backspace does not count.
std::vector<int> line_lengths(const char* text, size_t n) {
    std::vector<int> lengths{0};
    for (size_t i = 0; i < n; ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n' || c == '\r')
            lengths.push_back(0);
        else if (is_printed(c))
            ++lengths.back();
    }
    return lengths;
}

bool concatenating(int origin) {
    return origin == 1 || origin == 2 || origin == 3 || origin == 11 || origin == 12 ||
           origin == 13;
}

// How far along the text direction a carriage return takes the pen: back to the carriage
// point's place along the line, on the pen's own line.
double carriage_return_from(Point pen, const Layout& l) {
    return (labels.carriage.x - pen.x) * l.along.x + (labels.carriage.y - pen.y) * l.along.y;
}

// Draws a label from the pen and returns the cursor after it, in the label's own axes. A line
// begins at the label's start, after a CR at the carriage-return point's column, and after an
// LF one line below where the previous line left the pen, taken as a label of its own.
Point draw_label(const char* text, size_t n, const Layout& l, int origin) {
    Point pen = device.pen_position;
    std::vector<int> lengths = line_lengths(text, n);
    double carriage_x = carriage_return_from(pen, l);
    double x = 0, y = 0, run_x = 0, line_x = 0; // the cursor, a run's start, the line's start
    size_t line = 0;
    std::string run;
    auto flush = [&] {
        Point o = origin_offset(origin, l, lengths[line]);
        write_run(l, offset(pen, l, run_x + o.x, y + o.y), run);
        run.clear();
    };
    for (size_t i = 0; i < n; ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (is_printed(c)) {
            if (run.empty()) run_x = x;
            run += static_cast<char>(c);
            x += l.cell;
            continue;
        }
        if (c != '\r' && c != '\n' && c != '\b') continue; // other control bytes are not printed
        flush();
        if (c == '\b') {
            x -= l.cell;
            continue;
        }
        ++line;
        if (c == '\r') x = carriage_x;
        if (c == '\n') {
            if (!concatenating(origin)) x = line_x;
            y -= l.line;
        }
        line_x = x;
    }
    flush();
    return {x, y};
}

// A label from the pen: drawn, and the pen moved on or put back as its origin says.
void label(const Command& c, const char* text, size_t n) {
    find_carriage();
    Layout l = layout();
    if (l.size.y == 0) return warn(c, "height", "label of height 0: not drawn");
    Point pen = device.pen_position;
    Point cursor = draw_label(text, n, l, labels.settings.origin);
    if (concatenating(labels.settings.origin)) move_by_label(offset(pen, l, cursor.x, cursor.y));
}

bool numbers_pair(Command& c, double& a, double& b) {
    if (!numbers_between(c, 0, 2)) return false;
    if (c.count == 1) {
        fail(c, "few", (std::string(c.name) + " with 1 number: needs 2, skipped").c_str());
        return false;
    }
    a = c.numbers[0];
    b = c.numbers[1];
    return true;
}

} // namespace

bool marking_symbols() {
    return labels.settings.symbol_mode;
}

void mark_symbol() {
    // A control byte as the symbol prints nothing, as in a label (and a line end would break
    // the DXF's text).
    if (!labels.settings.symbol_mode || !is_printed(labels.settings.symbol)) return;
    Layout l = layout();
    if (l.size.y == 0) return;
    Point o = origin_offset(5, l, 1);
    write_run(l, offset(device.pen_position, l, o.x, o.y), std::string(1, labels.settings.symbol));
}

void labels_default() {
    labels.settings = LabelSettings{};
}

void labels_reset() {
    labels = LabelState{};
}

void labels_pen_moved() {
    labels.carriage = device.pen_position;
    labels.fresh = true;
}

void cmd_LB(Command& c) {
    if (!c.terminated) warn(c, "end", "label without terminator at end of input: drawn");
    label(c, c.text, c.text_length);
}

void cmd_BL(Command& c) {
    labels.buffered.assign(c.text, c.text_length);
    if (!c.terminated) warn(c, "end", "label without terminator at end of input: kept");
}

void cmd_PB(Command& c) {
    drop_rest(c, 0);
    label(c, labels.buffered.data(), labels.buffered.size());
}

void cmd_DT(Command&) {} // the reader keeps the terminator

namespace {

// SI and SR: width and height, or the default for none; SR's are percent of P2 - P1.
void size_command(Command& c, bool relative, double w, double h) {
    if (c.count == 0 && !c.unusable)
        drop_rest(c, 0);
    else if (!numbers_pair(c, w, h))
        return;
    labels.settings.relative_size = relative;
    labels.settings.width = w;
    labels.settings.height = h;
}

// DI and DR: run and rise, or 0 degrees for none; DR's are percent of P2 - P1.
void direction_command(Command& c, bool relative) {
    double run = 1, rise = 0;
    if (c.count == 0 && !c.unusable)
        drop_rest(c, 0);
    else if (!numbers_pair(c, run, rise))
        return;
    if (run == 0 && rise == 0)
        return fail_at(c, number_where(c, 0), "direction",
                       (std::string(c.name) + " 0,0 has no direction: skipped").c_str());
    LabelSettings& s = labels.settings;
    bool change = s.relative_direction != relative || s.run != run || s.rise != rise;
    s.relative_direction = relative;
    s.run = run;
    s.rise = rise;
    if (change) labels_pen_moved(); // a new direction starts a new carriage-return point
}

} // namespace

void cmd_SI(Command& c) {
    size_command(c, false, 0.19, 0.27);
}

void cmd_SR(Command& c) {
    size_command(c, true, 0.75, 1.5);
}

void cmd_DI(Command& c) {
    direction_command(c, false);
}

void cmd_DR(Command& c) {
    direction_command(c, true);
}

void cmd_SL(Command& c) {
    if (!numbers_between(c, 0, 1)) return;
    labels.settings.slant = c.count ? c.numbers[0] : 0;
}

void cmd_LO(Command& c) {
    if (!numbers_between(c, 0, 1)) return;
    int origin = c.count ? integer(c.numbers[0]) : 1;
    if (origin < 1 || origin > 19 || origin == 10) {
        std::string text = "LO " + std::to_string(origin) + " is not 1 to 9 or 11 to 19: skipped";
        return fail_at(c, number_where(c, 0), "origin", text.c_str());
    }
    labels.settings.origin = origin;
}

void cmd_ES(Command& c) {
    if (!numbers_between(c, 0, 2)) return;
    labels.settings.extra_spaces = c.count > 0 ? c.numbers[0] : 0;
    labels.settings.extra_lines = c.count > 1 ? c.numbers[1] : 0;
}

// CP spaces,lines: by cells and lines (lines up when positive); CP; is a carriage return and a
// line feed from the pen's line, which may be below the carriage point's after a label of
// several lines. The pen moves; the carriage-return point stays.
void cmd_CP(Command& c) {
    if (!numbers_between(c, 0, 2)) return;
    Layout l = layout();
    Point to;
    if (c.count == 0) {
        to = offset(device.pen_position, l, carriage_return_from(device.pen_position, l), -l.line);
    } else {
        double lines = c.count > 1 ? c.numbers[1] : 0;
        to = offset(device.pen_position, l, c.numbers[0] * l.cell, lines * l.line);
    }
    if (!check_writable(c, to)) return;
    move_by_label(to);
}

void cmd_SM(Command& c) {
    labels.settings.symbol_mode = c.text_length == 1;
    labels.settings.symbol = c.text_length == 1 ? c.text[0] : 0;
}

} // namespace hpgl2
