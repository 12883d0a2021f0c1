#include "drawing/model.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "geometry/fill.h"
#include "geometry/hatch.h"

namespace {

// The extents of what is drawn on a page; empty while min_x > max_x. Points are finite.
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

// The open run of straight strokes. Its last vertex is held back: it is not written when it
// closes the run.
struct Run {
    bool open = false;
    Point first{0, 0}, second{0, 0}, last{0, 0};
    bool has_second = false, three_distinct = false;
    bool last_held = false; // the last vertex is not written yet
    long long head = 0;     // where its record begins
    uint64_t vertices = 0;  // written so far
};

struct Dot {
    bool pending = false;
    Point at{0, 0};
};

// The open outline of an edge.
struct Outline {
    long long head = 0;
    uint64_t vertices = 0;
};

struct Model {
    Style style;    // what is drawn from now on
    Style recorded; // the style of the last style record
    bool any_recorded = false;
    Run run;
    Dot dot;
    Outline outline;
    Box page;                // the extents of what is drawn on the page in progress
    std::vector<Box> pages;  // those of the pages before it
    bool page_drawn = false; // something was drawn on the page in progress
    std::map<int, PenLayer> layers;
    std::vector<Pattern> patterns;
    std::vector<bool> pattern_used;
    std::vector<int> patterns_used;
    DrawnCounts counts{};
    DrawingSummary summary;
    std::vector<Piece> pieces; // of the fill being drawn
    std::vector<Segment> lines;
};
Model model;

Box& box() {
    return model.page;
}

// What an entity of a kind is drawn with: points, texts and solid areas have no pattern, and
// only straight strokes leave dots alone.
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

// Before each entity: its style recorded when it differs from the last, its pen's layer and its
// pattern noted at their first use.
void begin_entity(const Style& s) {
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
    model.page_drawn = true;
}

void start_run(Point from) {
    begin_entity(stroke_style());
    Run& run = model.run;
    run = Run{true, from, from, from, false, false, false, record_polyline(), 1};
    record_vertex(from);
    box().add(from);
    ++model.counts.polylines;
}

void add_vertex(Point v) {
    Run& run = model.run;
    box().add(v);
    if (run.last_held) {
        record_vertex(run.last);
        ++run.vertices;
    }
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

constexpr double most_hatch_lines = 100000;

// The number of lines of a hatch family that meet the region: those whose offset from the
// anchor, along the perpendicular, lies between the region's least and greatest.
double hatch_line_count(const Rings& region, Point anchor, double angle, double spacing) {
    double radians = angle * (M_PI / 180);
    double nx = -std::sin(radians), ny = std::cos(radians);
    double low = HUGE_VAL, high = -HUGE_VAL;
    for (Point p : region.points) {
        double offset = (p.x - anchor.x) * nx + (p.y - anchor.y) * ny;
        low = std::min(low, offset);
        high = std::max(high, offset);
    }
    if (!(low <= high)) return 0;
    return std::floor(high / spacing) - std::ceil(low / spacing) + 1;
}

// The hatch lines of a fill into model.lines, or the reason it is filled solid instead.
FillOutcome hatch(const Rings& region, FillRecord& f) {
    model.lines.clear();
    double families = f.cross ? 2 : 1;
    if (!(f.spacing >= 1)) return FillOutcome::solid_for_close_lines;
    double count = hatch_line_count(region, f.anchor, f.angle, f.spacing);
    if (f.cross) count += hatch_line_count(region, f.anchor, f.angle + 90, f.spacing);
    if (count > most_hatch_lines) return FillOutcome::solid_for_many_lines;
    size_t most = static_cast<size_t>(most_hatch_lines * families) + 2;
    hatch_lines(region, f.rule, f.anchor, f.angle, f.spacing, most, model.lines);
    if (f.cross) hatch_lines(region, f.rule, f.anchor, f.angle + 90, f.spacing, most, model.lines);
    return FillOutcome::drawn;
}

void record_region(const Rings& region) {
    for (size_t r = 0; r < region.starts.size(); ++r) {
        size_t end = r + 1 < region.starts.size() ? region.starts[r + 1] : region.points.size();
        record_ring(region.points.data() + region.starts[r], end - region.starts[r]);
    }
}

// The pages side by side: page k moves right by k times the width of everything and a gap.
void lay_out_pages() {
    constexpr double gap = 400;
    DrawingSummary& s = model.summary;
    std::vector<Box> pages = model.pages;
    pages.push_back(model.page);
    Box all;
    for (const Box& b : pages)
        if (b.any()) {
            all.add({b.e.min_x, b.e.min_y});
            all.add({b.e.max_x, b.e.max_y});
        }
    double width = all.any() ? all.e.max_x - all.e.min_x : 0;
    Box laid;
    s.page_shift.clear();
    for (const Box& b : pages) {
        double shift = static_cast<double>(s.page_shift.size()) * (width + gap);
        s.page_shift.push_back(shift);
        if (!b.any()) continue;
        laid.add({b.e.min_x + shift, b.e.min_y});
        laid.add({b.e.max_x + shift, b.e.max_y});
    }
    s.extents = laid.any() ? laid.e : Extents{0, 0, 0, 0};
}

} // namespace

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
    if (model.style.pattern == dots_only) return dots_stroke(from, to, lowered_here);
    Run& run = model.run;
    if (run.open && !(run.last == from)) model_end_run();
    if (!run.open) start_run(from);
    add_vertex(to);
}

void model_lower(Point at) {
    model.dot = {true, at};
}

void model_drawn_from(Point at) {
    if (model.dot.pending && model.dot.at == at) model.dot.pending = false;
}

void model_end_run() {
    Run& run = model.run;
    if (!run.open) return;
    bool closed = run.three_distinct && run.last == run.first;
    if (!closed && run.last_held) {
        record_vertex(run.last);
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
    begin_entity(plain_style());
    record_reals(tag_point, &at.x, 2);
    box().add(at);
    ++model.counts.points;
}

void model_circle(Point centre, double radius) {
    model_end_run();
    begin_entity(stroke_style());
    radius = std::fabs(radius);
    const double v[3] = {centre.x, centre.y, radius};
    record_reals(tag_circle, v, 3);
    box().add({centre.x - radius, centre.y - radius});
    box().add({centre.x + radius, centre.y + radius});
    ++model.counts.circles;
}

void model_arc(Point centre, double radius, double start, double sweep) {
    model_end_run();
    begin_entity(stroke_style());
    double from = sweep >= 0 ? start : start + sweep;
    double to = sweep >= 0 ? start + sweep : start;
    const double v[5] = {centre.x, centre.y, radius, normal_angle(from), normal_angle(to)};
    record_reals(tag_arc, v, 5);
    add_arc_box(centre, radius, start, sweep);
    ++model.counts.arcs;
}

void model_outline_begin() {
    model_end_run();
    begin_entity(stroke_style());
    model.outline = {record_polyline(), 0};
    ++model.counts.polylines;
}

void model_outline_vertex(Point v) {
    record_vertex(v);
    ++model.outline.vertices;
    box().add(v);
}

void model_outline_end() {
    record_polyline_end(model.outline.head, true, model.outline.vertices);
}

void model_text(const TextSpec& t) {
    model_end_run();
    begin_entity(plain_style());
    const double v[6] = {t.at.x, t.at.y, t.height, t.angle, t.width_factor, t.oblique};
    record_text(v, t.text, t.length);
    box().add(t.at);
    ++model.counts.texts;
}

FillOutcome model_fill(const Rings& region, const FillRecord& fill) {
    model_end_run();
    FillRecord f = fill;
    FillOutcome outcome = FillOutcome::drawn;
    if (f.kind == FillKind::hatched) {
        outcome = hatch(region, f);
        if (outcome != FillOutcome::drawn)
            f.kind = FillKind::solid;
        else if (model.lines.empty())
            return FillOutcome::nothing;
    }
    if (f.kind != FillKind::hatched) {
        model.pieces.clear();
        fill_pieces(region, f.rule, model.pieces);
        if (model.pieces.empty()) return FillOutcome::nothing;
    }
    begin_entity(f.kind == FillKind::hatched ? stroke_style() : plain_style());
    record_fill(f);
    if (f.kind == FillKind::hatched) {
        for (const Segment& s : model.lines) {
            record_line(s.a, s.b);
            box().add(s.a);
            box().add(s.b);
        }
    } else {
        for (const Piece& p : model.pieces) {
            record_piece(p.corner, p.count);
            for (int i = 0; i < p.count; ++i)
                box().add(p.corner[i]);
        }
    }
    record_region(region);
    record_fill_end();
    ++model.counts.fills;
    return outcome;
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
    lay_out_pages();
    return s;
}

void model_release() {
    kept_reset();
}
