// The drawing's runs, dots and entities; the window's cuts are in cut.cpp, fills in filling.cpp
// and the pages in pages.cpp.
#include "drawing/model.h"

#include <algorithm>

#include "drawing/state.h"

Model model;

namespace {

void start_run(Point from) {
    begin_entity(stroke_style());
    Run& run = model.run;
    run = Run{true, {}, false, record_polyline(), 1};
    run.shape.start(from);
    record_vertex(from);
    box().add(from);
    ++model.counts.polylines;
}

void add_vertex(Point v) {
    Run& run = model.run;
    box().add(v);
    if (run.last_held) {
        record_vertex(run.shape.last);
        ++run.vertices;
    }
    run.shape.add(v);
    run.last_held = true;
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
        box().add({c.x + r * std::cos(a * radians), c.y + r * std::sin(a * radians)});
    const Point extremes[4] = {{c.x + r, c.y}, {c.x, c.y + r}, {c.x - r, c.y}, {c.x, c.y - r}};
    for (int q = 0; q < 4; ++q)
        if (passes(start, sweep, 90.0 * q)) box().add(extremes[q]);
}

// Under dots only, a stroke leaves a dot at its end, and at its start when the pen was lowered
// there.
void dots_stroke(Point from, Point to, bool lowered_here) {
    if (lowered_here) model_point(from);
    model_point(to);
}

} // namespace

Style stroke_style() {
    Style s = model.style;
    if (s.pattern == dots_only) s.pattern = solid_line;
    return s;
}

Style plain_style() {
    Style s = model.style;
    s.pattern = solid_line;
    return s;
}

void begin_entity(const Style& s) {
    if (model.page_ended) {
        record_page();
        model.page_ended = false;
    }
    if (!model.any_recorded || !(s == model.recorded)) {
        record_style(s);
        model.recorded = s;
        model.any_recorded = true;
    }
    model.layers.try_emplace(s.pen, PenLayer{s.pen, s.colour, s.width_mm});
    if (s.pattern >= 0 && !model.pattern_used[static_cast<size_t>(s.pattern)]) {
        model.pattern_used[static_cast<size_t>(s.pattern)] = true;
        model.patterns_used.push_back(s.pattern);
    }
}

void write_polyline(const Point* v, size_t n, bool closed) {
    begin_entity(stroke_style());
    long long head = record_polyline();
    for (size_t i = 0; i < n; ++i) {
        record_vertex(v[i]);
        box().add(v[i]);
    }
    record_polyline_end(head, closed, n);
    ++model.counts.polylines;
}

void write_arc(Point centre, double radius, double start, double sweep) {
    begin_entity(stroke_style());
    double from = sweep >= 0 ? start : start + sweep;
    double to = sweep >= 0 ? start + sweep : start;
    const double v[5] = {centre.x, centre.y, radius, normal_angle(from), normal_angle(to)};
    record_reals(tag_arc, v, 5);
    add_arc_box(centre, radius, start, sweep);
    ++model.counts.arcs;
}

void write_circle(Point centre, double radius) {
    begin_entity(stroke_style());
    const double v[3] = {centre.x, centre.y, radius};
    record_reals(tag_circle, v, 3);
    box().add({centre.x - radius, centre.y - radius});
    box().add({centre.x + radius, centre.y + radius});
    ++model.counts.circles;
}

void model_begin() {
    model_release();
    model = Model{};
    kept_begin();
}

void model_style(const Style& style) {
    if (style == model.style) return;
    model_end_run();
    model.style = style;
}

int model_pattern(const Pattern& pattern) {
    auto found = std::find(model.patterns.begin(), model.patterns.end(), pattern);
    if (found != model.patterns.end()) return static_cast<int>(found - model.patterns.begin());
    model.patterns.push_back(pattern);
    model.pattern_used.push_back(false);
    return static_cast<int>(model.patterns.size()) - 1;
}

void model_stroke(Point from, Point to) {
    if (from == to) return; // no move, no vertex
    Dot& dot = model.dot;
    bool lowered_here = dot.pending && dot.at == from;
    if (lowered_here) dot.pending = false;
    if (model.style.pattern == dots_only && !model.curve)
        return dots_stroke(from, to, lowered_here);
    if (model.cut.on) return cut_stroke(from, to);
    Run& run = model.run;
    if (run.open && !(run.shape.last == from)) model_end_run();
    if (!run.open) start_run(from);
    add_vertex(to);
}

void model_curve(bool on) {
    if (model.style.pattern == dots_only) model_end_run(); // the curve's run is its own
    model.curve = on;
}

void model_lower(Point at) {
    model.dot = {true, at};
}

void model_drawn_from(Point at) {
    if (model.dot.pending && model.dot.at == at) model.dot.pending = false;
}

void model_end_run() {
    if (model.cut.on) return cut_run_end();
    Run& run = model.run;
    if (!run.open) return;
    bool closed = run.shape.closed();
    if (!closed && run.last_held) {
        record_vertex(run.shape.last);
        ++run.vertices;
    }
    record_polyline_end(run.head, closed, run.vertices);
    run.open = false;
}

void model_settle() {
    model_end_run();
    if (!model.dot.pending) return;
    model.dot.pending = false;
    model_point(model.dot.at);
}

void model_point(Point at) {
    model_end_run();
    if (model.cut.on && !inside(model.cut.window, at)) return;
    begin_entity(plain_style());
    record_reals(tag_point, &at.x, 2);
    box().add(at);
    ++model.counts.points;
}

void model_circle(Point centre, double radius) {
    model_end_run();
    radius = std::fabs(radius);
    if (model.cut.on) return cut_arc(centre, radius, 0, 360);
    write_circle(centre, radius);
}

void model_arc(Point centre, double radius, double start, double sweep) {
    model_end_run();
    if (model.cut.on) return cut_arc(centre, radius, start, sweep);
    write_arc(centre, radius, start, sweep);
}

void model_outline_begin() {
    model_end_run();
    if (model.cut.on) {
        model.cut.path.clear();
        model.cut.outline = true;
        return;
    }
    begin_entity(stroke_style());
    model.outline = {record_polyline(), 0};
    ++model.counts.polylines;
}

void model_outline_vertex(Point v) {
    if (model.cut.on) return model.cut.path.push_back(v);
    record_vertex(v);
    ++model.outline.vertices;
    box().add(v);
}

void model_outline_end() {
    if (model.cut.on) return cut_run_end();
    record_polyline_end(model.outline.head, true, model.outline.vertices);
}

void model_text(const TextSpec& t) {
    model_end_run();
    if (model.cut.on && !inside(model.cut.window, t.at)) return;
    begin_entity(plain_style());
    const double v[6] = {t.at.x, t.at.y, t.height, t.angle, t.width_factor, t.oblique};
    record_text(v, t.text, t.length);
    box().add(t.at);
    ++model.counts.texts;
}

void model_window(const Window* window) {
    const Window& w = model.cut.window;
    bool same = window ? model.cut.on && w.min_x == window->min_x && w.min_y == window->min_y &&
                             w.max_x == window->max_x && w.max_y == window->max_y
                       : !model.cut.on;
    if (same) return; // no change of window: the run goes on
    model_end_run();
    model.cut.on = window != nullptr;
    if (window) model.cut.window = *window;
}

DrawnCounts model_counts() {
    DrawnCounts c = model.counts;
    c.layers = static_cast<int>(model.layers.size());
    c.pages = static_cast<int>(std::count_if(model.pages.begin(), model.pages.end(),
                                             [](const Box& b) { return b.any(); })) +
              (model.page.any() ? 1 : 0);
    return c;
}

const DrawingSummary& model_finish() {
    model_settle();
    DrawingSummary& s = model.summary;
    s.layers.clear();
    for (const auto& [pen, layer] : model.layers)
        s.layers.push_back(layer);
    s.patterns = model.patterns;
    s.patterns_used = model.patterns_used;
    const DrawnCounts& c = model.counts;
    s.entities = c.polylines + c.arcs + c.circles + c.texts + c.points + c.fills;
    lay_out_pages();
    return s;
}

void model_release() {
    kept_reset();
}
