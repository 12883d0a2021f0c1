#include "hpgl2/drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "driver/streams.h"
#include "dxf/document.h"

namespace {

std::map<int, int> layer_colours; // by pen: the colour the pen had when it first drew
DrawnCounts counts;

// The current pen's layer name and entity colour, looked up again only when they change.
struct PenLayer {
    int pen = -1;
    Rgb rgb{-1, -1, -1};
    char name[24] = "";
    Layer layer{{name, 0}, by_layer};
};
PenLayer current;
std::map<int, std::pair<Rgb, int>> colour_cache; // by pen: its colour and that colour's ACI

// The extents of what is drawn; empty while min_x > max_x. Points are finite.
struct Box {
    Extents e{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    void add(Point p) {
        e.min_x = std::min(e.min_x, p.x);
        e.min_y = std::min(e.min_y, p.y);
        e.max_x = std::max(e.max_x, p.x);
        e.max_y = std::max(e.max_y, p.y);
    }
    bool any() const { return e.min_x <= e.max_x; }
};
Box box;

// The open run of straight moves. Its last vertex is held back: it is not written when it
// closes the run.
struct Run {
    bool open = false;
    unsigned style_version = 0; // the device's, when the run's style was last seen to hold
    Point first{0, 0}, second{0, 0}, last{0, 0};
    bool has_second = false, three_distinct = false;
    bool last_held = false; // the last vertex is not written yet
};
Run run;

struct Dot {
    bool pending = false;
    Point at{0, 0};
};
Dot dot;

void use_pen() {
    int pen = device.pen;
    Rgb rgb = pen_colour(pen);
    if (pen == current.pen && rgb.r == current.rgb.r && rgb.g == current.rgb.g &&
        rgb.b == current.rgb.b)
        return;
    auto& cached = colour_cache[pen];
    if (cached.second == 0 || cached.first.r != rgb.r || cached.first.g != rgb.g ||
        cached.first.b != rgb.b)
        cached = {rgb, nearest_aci(rgb)};
    int aci = cached.second;
    auto layer = layer_colours.try_emplace(pen, aci).first;
    current.pen = pen;
    current.rgb = rgb;
    int n = snprintf(current.name, sizeof current.name, "PEN%d", pen);
    current.layer = {{current.name, static_cast<size_t>(n)}, aci == layer->second ? by_layer : aci};
}

void start_run(Point from) {
    use_pen();
    run.style_version = device.style_version;
    document_polyline(current.layer);
    document_vertex(from.x, from.y);
    box.add(from);
    run = Run{true, run.style_version, from, from, from, false, false, false};
    ++counts.polylines;
}

void add_vertex(Point v) {
    box.add(v);
    if (run.last_held) document_vertex(run.last.x, run.last.y);
    run.last = v;
    run.last_held = true;
    if (!run.has_second) {
        run.has_second = !(v == run.first);
        run.second = v;
    } else if (!run.three_distinct && !(v == run.first) && !(v == run.second)) {
        run.three_distinct = true;
    }
}

double normal_angle(double a) {
    a = std::fmod(a, 360.0);
    return a < 0 ? a + 360.0 : a;
}

// Whether the arc from `start` sweeping `sweep` degrees passes through direction `a`.
bool passes(double start, double sweep, double a) {
    double from = sweep >= 0 ? start : start + sweep;
    return normal_angle(a - from) <= std::fabs(sweep);
}

void add_arc_box(Point c, double r, double start, double sweep) {
    constexpr double radians = 0.017453292519943295;
    for (double a : {start, start + sweep})
        box.add({c.x + r * std::cos(a * radians), c.y + r * std::sin(a * radians)});
    const Point extremes[4] = {{c.x + r, c.y}, {c.x, c.y + r}, {c.x - r, c.y}, {c.x, c.y - r}};
    for (int q = 0; q < 4; ++q)
        if (passes(start, sweep, 90.0 * q)) box.add(extremes[q]);
}

} // namespace

void drawing_begin(int divisor) {
    layer_colours.clear();
    colour_cache.clear();
    counts = DrawnCounts{};
    current = PenLayer{};
    box = Box{};
    run = Run{};
    dot = Dot{};
    document_begin(divisor);
}

// Whether the run in progress has the style the pen now draws with (pen and colour).
bool run_style_holds() {
    if (run.style_version == device.style_version) return true;
    int pen = current.pen;
    Rgb rgb = current.rgb;
    use_pen();
    bool same = pen == current.pen && rgb.r == current.rgb.r && rgb.g == current.rgb.g &&
                rgb.b == current.rgb.b;
    run.style_version = device.style_version;
    return same;
}

void draw_to(Point from, Point to) {
    if (from == to) return; // no move, no vertex
    drawn_from(from);
    if (run.open && (!(run.last == from) || !run_style_holds())) end_run();
    if (!run.open) start_run(from);
    add_vertex(to);
}

void lower_pen(Point page) {
    dot = {true, page};
}

void drawn_from(Point page) {
    if (dot.pending && dot.at == page) dot.pending = false;
}

void end_run() {
    if (!run.open) return;
    bool closed = run.three_distinct && run.last == run.first;
    if (!closed && run.last_held) document_vertex(run.last.x, run.last.y);
    document_polyline_end(closed);
    run.open = false;
}

void settle_dot() {
    end_run();
    if (!dot.pending) return;
    dot.pending = false;
    draw_point(dot.at);
}

void draw_circle(Point centre, double radius) {
    end_run();
    use_pen();
    radius = std::fabs(radius);
    document_circle(current.layer, centre.x, centre.y, radius);
    box.add({centre.x - radius, centre.y - radius});
    box.add({centre.x + radius, centre.y + radius});
    ++counts.circles;
}

void draw_arc(Point centre, double radius, double start, double sweep) {
    end_run();
    use_pen();
    double a50 = sweep >= 0 ? start : start + sweep;
    double a51 = sweep >= 0 ? start + sweep : start;
    document_arc(current.layer, centre.x, centre.y, radius, normal_angle(a50), normal_angle(a51));
    add_arc_box(centre, radius, start, sweep);
    ++counts.arcs;
}

void draw_point(Point page) {
    if (run.open) end_run();
    use_pen();
    document_point(current.layer, page.x, page.y);
    box.add(page);
    ++counts.points;
}

void outline_begin() {
    end_run();
    use_pen();
    document_polyline(current.layer);
    ++counts.polylines;
}

void outline_vertex(Point page) {
    document_vertex(page.x, page.y);
    box.add(page);
}

void outline_end() {
    document_polyline_end(true);
}

void draw_text(Point at, double height, double angle, double width_factor, double oblique,
               const char* text, size_t length) {
    end_run();
    use_pen();
    TextEntity t{at.x, at.y, height, angle, width_factor, oblique, text, length};
    document_text(current.layer, t);
    box.add(at);
    ++counts.texts;
}

bool writable(Point page) {
    return std::isfinite(page.x) && std::isfinite(page.y);
}

DrawnCounts drawn_counts() {
    DrawnCounts c = counts;
    c.layers = static_cast<int>(layer_colours.size());
    return c;
}

void drawing_finish() {
    settle_dot();
    std::vector<std::string> names;
    std::vector<DocumentLayer> layers;
    for (auto [pen, aci] : layer_colours)
        names.push_back("PEN" + std::to_string(pen));
    size_t i = 0;
    for (auto [pen, aci] : layer_colours) // pen 0 draws on a layer that is switched off
        layers.push_back({names[i++].c_str(), pen == 0 ? -aci : aci});
    Extents e = box.any() ? box.e : Extents{0, 0, 0, 0};
    document_write(dxf_stream, e, layers.data(), static_cast<int>(layers.size()));
    document_reset();
}
