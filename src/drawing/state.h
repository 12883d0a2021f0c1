// What the drawing's own files share: the one instance of the drawing in progress and the steps
// every entity takes. Nothing outside src/drawing includes this.
#pragma once

#include <cmath>
#include <map>
#include <vector>

#include "drawing/model.h"
#include "geometry/clip.h"
#include "geometry/fill.h"
#include "geometry/hatch.h"

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

// Whether a run closes: it ends where it began, with at least three distinct vertices. Kept
// vertex by vertex.
struct Closing {
    Point first{0, 0}, second{0, 0}, last{0, 0};
    bool has_second = false, three_distinct = false;
    void start(Point v) { *this = Closing{v, v, v, false, false}; }
    void add(Point v) {
        last = v;
        if (!has_second) {
            has_second = !(v == first);
            second = v;
        } else if (!three_distinct && !(v == first) && !(v == second)) {
            three_distinct = true;
        }
    }
    bool closed() const { return three_distinct && last == first; }
};

// The open run of straight strokes. Its last vertex is held back: it is not written when it
// closes the run.
struct Run {
    bool open = false;
    Closing shape;
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

// While a window is set, a run (or an outline) is held whole and cut when it ends.
struct Cutting {
    bool on = false;
    Window window{0, 0, 0, 0};
    std::vector<Point> path; // the run or outline in progress, as drawn
    Closing shape;           // of the run
    bool outline = false;    // the path is an edge's outline, closed whatever its points
    Rings pieces;            // what is left of a path, or of a region, inside the window
    std::vector<ArcPiece> arcs;
};

struct Model {
    Style style;    // what is drawn from now on
    Style recorded; // the style of the last style record
    bool any_recorded = false;
    Run run;
    Dot dot;
    Outline outline;
    Cutting cut;
    bool curve = false;      // the strokes are the pieces of a curve
    Box page;                // the extents of what is drawn on the page in progress
    std::vector<Box> pages;  // those of the pages before it
    bool page_ended = false; // the next entity begins a new page
    std::map<int, PenLayer> layers;
    std::vector<Pattern> patterns;
    std::vector<bool> pattern_used;
    std::vector<int> patterns_used;
    DrawnCounts counts{};
    DrawingSummary summary;
    std::vector<Piece> pieces; // of the fill being drawn
    std::vector<Segment> lines;
};
extern Model model;

inline Box& box() {
    return model.page;
}

// What an entity of a kind is drawn with: points, texts and solid areas have no pattern, and
// only straight strokes leave dots alone.
Style stroke_style();
Style plain_style();

// Before each entity: its style recorded when it differs from the last, its pen's layer and its
// pattern noted at their first use, a new page begun when the last one ended.
void begin_entity(const Style& s);

// A whole polyline of the given vertices (a closed one without its first repeated).
void write_polyline(const Point* v, size_t n, bool closed);
// An arc or circle as it stands (the window already applied).
void write_arc(Point centre, double radius, double start, double sweep);
void write_circle(Point centre, double radius);

// With a window set: the run in progress cut and written; a stroke added to it; an arc, a
// circle or a region cut; whether a point lies inside.
void cut_run_end();
void cut_stroke(Point from, Point to);
void cut_arc(Point centre, double radius, double start, double sweep);
const Rings& cut_region(const Rings& region);

// The pages laid out side by side, into the summary.
void lay_out_pages();
