// Bezier curves (BR drawn as ten strokes per curve, BZ discarded), begin plot, and the
// polygon, fill and page commands, which are only echoed.
#include <climits>
#include <cstdlib>
#include <cstring>

#include "driver/diagnostics.h"
#include "driver/streams.h"
#include "format/format.h"
#include "plotter/handlers.h"
#include "plotter/state.h"

namespace classic {

namespace {

struct BezierRecord {
    int c1x, c1y, c2x, c2y, ex, ey; // offsets from the curve's start point
};

// Filled while one BR or BZ statement is read. It starts with room for 100 curves and
// grows for longer statements, so that no curve is ever dropped.
constexpr int usual_curves = 100;
BezierRecord usual_queue[usual_curves];
BezierRecord* bezier_queue = usual_queue;
int bezier_room = usual_curves;
int bezier_count = 0;
int bezier_next = 0;

void grow_queue() {
    long long room = 2LL * bezier_room;
    void* grown = room <= INT_MAX / static_cast<long long>(sizeof(BezierRecord))
                      ? malloc(static_cast<size_t>(room) * sizeof(BezierRecord))
                      : nullptr;
    if (!grown) fatal_error("penwright: out of memory for the Bezier curves of one statement");
    memcpy(grown, bezier_queue, static_cast<size_t>(bezier_count) * sizeof(BezierRecord));
    if (bezier_queue != usual_queue) free(bezier_queue);
    bezier_queue = static_cast<BezierRecord*>(grown);
    bezier_room = static_cast<int>(room);
}

// A move to an absolute point whatever the plotting mode.
void draw_to(int x, int y) {
    int saved = plotter_state.relative;
    plotter_state.relative = 0;
    plot_to(x, y);
    plotter_state.relative = saved;
}

} // namespace

void bezier_push(int c1x, int c1y, int c2x, int c2y, int ex, int ey) {
    if (bezier_count == bezier_room) grow_queue();
    bezier_queue[bezier_count++] = {c1x, c1y, c2x, c2y, ex, ey};
}

int bezier_pop(int& c1x, int& c1y, int& c2x, int& c2y, int& ex, int& ey) {
    if (bezier_next == bezier_count) return 0;
    const BezierRecord& r = bezier_queue[bezier_next++];
    c1x = r.c1x;
    c1y = r.c1y;
    c2x = r.c2x;
    c2y = r.c2y;
    ex = r.ex;
    ey = r.ey;
    return 1;
}

void bezier_reset() {
    bezier_count = 0;
    bezier_next = 0;
    if (bezier_queue != usual_queue) { // a long statement's room is given back
        free(bezier_queue);
        bezier_queue = usual_queue;
        bezier_room = usual_curves;
    }
}

void bezier_point(double t, int p0x, int p0y, int c1x, int c1y, int c2x, int c2y, int ex, int ey,
                  int& x, int& y) {
    double u = 1.0 - t;
    double b0 = u * u * u;
    double b1 = u * u * t * 3.0;
    double b2 = u * t * t * 3.0;
    double b3 = t * t * t;
    double sx = 0.0, sy = 0.0;
    sx += p0x * b0;
    sx += c1x * b1;
    sx += c2x * b2;
    sx += ex * b3;
    sy += p0y * b0;
    sy += c1y * b1;
    sy += c2y * b2;
    sy += ey * b3;
    x = saturating_int(sx + 0.5);
    y = saturating_int(sy + 0.5);
}

void cmd_BR() {
    emit<"BR\n">(log_stream);
    int c1x, c1y, c2x, c2y, ex, ey;
    while (bezier_pop(c1x, c1y, c2x, c2y, ex, ey)) {
        int p0x = plotter_state.pos_x, p0y = plotter_state.pos_y;
        // All three points are offsets from the curve's own start.
        c1x = wrap_add(c1x, p0x);
        c1y = wrap_add(c1y, p0y);
        c2x = wrap_add(c2x, p0x);
        c2y = wrap_add(c2y, p0y);
        ex = wrap_add(ex, p0x);
        ey = wrap_add(ey, p0y);
        emit<"  bezier polygon: %d %d %d %d %d %d %d %d\n">(log_stream, p0x, p0y, c1x, c1y, c2x,
                                                            c2y, ex, ey);
        for (int i = 1; i <= 9; ++i) {
            int x, y;
            bezier_point(i / 10.0, p0x, p0y, c1x, c1y, c2x, c2y, ex, ey, x, y);
            draw_to(x, y);
        }
        draw_to(ex, ey);
    }
    bezier_reset();
}

void cmd_BP() {
    bezier_reset();
    emit<"BP\n">(log_stream);
    emit<" calls ">(log_stream);
    cmd_PG(1);
    emit<" calls ">(log_stream);
    cmd_IN();
}

void cmd_PM(int n) {
    emit<"PM %d\n">(log_stream, n);
}
void cmd_PG(int n) {
    emit<"PG %d\n">(log_stream, n);
}
void cmd_EP() {
    emit<"EP\n">(log_stream);
}
void cmd_FP() {
    emit<"FP\n">(log_stream);
}
void cmd_FR() {
    emit<"FR\n">(log_stream);
}
void cmd_PP() {
    emit<"PP\n">(log_stream);
}
void cmd_FT(int type, double spacing, double angle) {
    emit<"FT %d %f %f\n">(log_stream, type, spacing, angle);
}

} // namespace classic
