// The drawing: what the pen leaves on the page, with the style it is drawn in. Runs of straight
// strokes become polylines, a pen lowered and lifted in one place a point, and arcs, circles,
// outlines, texts and fills entities of their own. The drawing keeps the extents, the pens and
// patterns used and the pages, and holds every entity (as records, see records.h) until a
// writer reads them at the end. Points are page points in plotter units.
#pragma once

#include <cstddef>
#include <vector>

#include "drawing/records.h"
#include "drawing/style.h"
#include "geometry/clip.h"
#include "geometry/point.h"
#include "geometry/rings.h"

struct DrawnCounts {
    long long polylines, arcs, circles, texts, points, fills;
    int layers, pages;
};

struct Extents {
    double min_x, min_y, max_x, max_y;
};

// A pen that drew: its layer takes the colour and width of the first entity drawn with it.
struct PenLayer {
    int pen;
    Rgb colour;
    double width_mm;
};

// What a writer needs beyond the entities.
struct DrawingSummary {
    Extents extents;                // of everything, pages side by side; zeros when empty
    std::vector<PenLayer> layers;   // by pen number
    std::vector<Pattern> patterns;  // by index, as the styles name them
    std::vector<int> patterns_used; // indexes, in the order of first use by an entity
    std::vector<double> page_shift; // what page k adds to x
    long long entities;             // written in all, a fill counting as one
};

void model_begin();

// What is drawn from now on: a change of style ends the run in progress.
void model_style(const Style& style);
// The index of a pattern, registered at its first appearance.
int model_pattern(const Pattern& pattern);

// A straight stroke with the pen down: it joins the run in progress when it starts at its end.
void model_stroke(Point from, Point to);
// The strokes that follow are the pieces of a curve (an arc drawn as chords, a Bézier): where
// straight strokes leave only dots, they are drawn solid.
void model_curve(bool on);
// The pen is lowered where it stands: a dot, unless something is drawn from there.
void model_lower(Point at);
// Something is drawn from a place: a dot there is no dot.
void model_drawn_from(Point at);
// The run in progress ends (something else is drawn, or a run of its own begins).
void model_end_run();
// The pen goes up or changes: the run ends, and a dot left where the pen was lowered, with
// nothing drawn from there since, becomes a point.
void model_settle();

void model_point(Point at);
void model_circle(Point centre, double radius);
// An arc from `start` degrees sweeping `sweep` degrees (counter-clockwise when positive).
void model_arc(Point centre, double radius, double start, double sweep);

// A closed outline (an edge) given vertex by vertex, the first not repeated at the end.
void model_outline_begin();
void model_outline_vertex(Point v);
void model_outline_end();

struct TextSpec {
    Point at;                            // insertion point (left baseline)
    double height;                       // plotter units
    double angle, width_factor, oblique; // degrees, ratio, degrees
    const char* text;                    // written as it is
    size_t length;
};
void model_text(const TextSpec& text);

// A fill of a region (page points) by its rule, as the record says: SOLID pieces, shaded ones,
// or hatch lines. A hatch of lines closer than 1 plotter unit, or of more than 100,000 lines,
// is filled solid instead (a pen covers it so).
enum class FillOutcome { nothing, drawn, solid_for_close_lines, solid_for_many_lines };
FillOutcome model_fill(const Rings& region, const FillRecord& fill);

// The window: everything drawn from now on is cut to it (points on its border are inside);
// null removes it. A change of window ends the run in progress; setting the window in force
// again, or removing none, changes nothing.
void model_window(const Window* window);

// The page in progress ends (the pen settled first) when something was drawn on it: what is
// drawn next is on the next page.
void model_new_page();

// The counts for the log.
DrawnCounts model_counts();

// Ends the drawing (the run, a dot) and sums it up for a writer, which then reads the records.
const DrawingSummary& model_finish();

// Gives back the memory and the temporary file.
void model_release();
