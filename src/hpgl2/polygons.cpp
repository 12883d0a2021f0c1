// Polygon mode: PM gathers moves and arcs into the polygon buffer instead of the drawing; EP
// draws its edges (each subpolygon one closed polyline) and FP fills the region it bounds. The
// buffer stays for later EP and FP, and each draws it again.
#include <vector>

#include "drawing/model.h"
#include "hpgl2/commands.h"

namespace hpgl2 {

namespace {

constexpr size_t most_vertices = 1 << 18; // a plotter's buffer is finite too

struct Vertex {
    Point page;
    bool drawn; // the edge that leads to it is drawn (a pen-down move)
};

struct PolygonBuffer {
    bool active = false; // between PM0 and PM2
    bool full = false;
    std::vector<Vertex> vertices;
    std::vector<size_t> starts; // where each subpolygon begins
};
PolygonBuffer polygon;

void start_subpolygon() {
    polygon.starts.push_back(polygon.vertices.size());
    polygon_add(device.pen_position, false);
}

// A subpolygon whose edges are all drawn is one closed polyline, from where its first edge
// starts; pen-up edges are left out, and what is drawn of it is then open runs, the closing
// edge included.
void write_subpolygon(size_t from, size_t to) {
    const Vertex* v = polygon.vertices.data();
    while (from + 1 < to && !v[from + 1].drawn)
        ++from; // pen-up moves before its first edge only place it
    if (to - from < 2) return;
    size_t last = to - 1;
    while (last > from && v[last].page == v[from].page)
        --last; // the repeated start point
    bool all_drawn = true;
    for (size_t i = from + 1; i <= last; ++i)
        all_drawn = all_drawn && v[i].drawn;
    if (all_drawn) {
        if (last == from) return;
        model_outline_begin();
        for (size_t i = from; i <= last; ++i)
            model_outline_vertex(v[i].page);
        return model_outline_end();
    }
    model_end_run();
    for (size_t i = from + 1; i < to; ++i)
        if (v[i].drawn) model_stroke(v[i - 1].page, v[i].page);
    model_stroke(v[to - 1].page, v[from].page);
    model_end_run();
}

size_t subpolygon_end(size_t s) {
    return s + 1 < polygon.starts.size() ? polygon.starts[s + 1] : polygon.vertices.size();
}

void edge_buffer() {
    for (size_t s = 0; s < polygon.starts.size(); ++s)
        write_subpolygon(polygon.starts[s], subpolygon_end(s));
}

// Every subpolygon is a ring, from where it started, its pen-up moves included.
void fill_buffer(const Command& c, FillRule rule) {
    static Rings region;
    region.points.clear();
    region.starts.clear();
    for (size_t s = 0; s < polygon.starts.size(); ++s) {
        region.starts.push_back(region.points.size());
        for (size_t i = polygon.starts[s]; i < subpolygon_end(s); ++i)
            region.points.push_back(polygon.vertices[i].page);
    }
    fill_region(c, region, rule);
}

} // namespace

bool in_polygon_mode() {
    return polygon.active;
}

void polygon_add(Point frame, bool drawn) {
    if (polygon.vertices.size() >= most_vertices) {
        polygon.full = true;
        return;
    }
    polygon.vertices.push_back({to_page(frame), drawn});
}

void polygon_add_closed(const Point* frame, int n) {
    polygon.starts.push_back(polygon.vertices.size());
    for (int i = 0; i < n; ++i)
        polygon_add(frame[i], i > 0);
    polygon_add(frame[0], true);
    start_subpolygon(); // the moves after it go on from the pen
}

void polygon_reset() {
    polygon = PolygonBuffer{};
}

void cmd_PM(Command& c) {
    if (!numbers_between(c, 0, 1)) return;
    int mode = c.count ? integer(c.numbers[0]) : 0;
    if (mode == 0) {
        polygon = PolygonBuffer{};
        polygon.active = true;
        model_end_run();
        start_subpolygon();
    } else if ((mode == 1 || mode == 2) && polygon.active) {
        if (mode == 1)
            start_subpolygon();
        else
            polygon.active = false;
    }
    if (polygon.full) {
        polygon.full = false;
        warn(c, "full", "polygon buffer full: the later points were dropped");
    }
}

void cmd_EP(Command& c) {
    drop_rest(c, 0);
    if (polygon.vertices.size() > 1) model_drawn_from(device.pen_page);
    edge_buffer();
}

// FP and FP0 fill by the even-odd rule, FP1 by the non-zero winding rule.
void cmd_FP(Command& c) {
    if (!numbers_between(c, 0, 1)) return;
    int method = c.count ? integer(c.numbers[0]) : 0;
    if (method != 0 && method != 1)
        return fail_at(c, number_where(c, 0), "method", "FP method is not 0 or 1: skipped");
    fill_buffer(c, method == 1 ? FillRule::non_zero : FillRule::even_odd);
}

} // namespace hpgl2
