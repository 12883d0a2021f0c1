// Plotter state, initialization and pen selection.
#include "plotter/state.h"

#include "driver/streams.h"
#include "format/format.h"
#include "plotter/handlers.h"

namespace classic {

PlotterState plotter_state;

void plotter_reset() {
    plotter_state = PlotterState{};
    bezier_reset();
}

void cmd_DF() {
    emit<"DF\n">(log_stream);
    plotter_state.label_angle = 0.0;
    plotter_state.relative = 0;
}

void cmd_IN() {
    emit<"IN\n">(log_stream);
    cmd_DF();
    plotter_state.pos_x = 0;
    plotter_state.pos_y = 0;
    plotter_state.pen_down = 0;
}

void cmd_SP(int n) {
    emit<"SP %d\n">(log_stream, n);
    plotter_state.pen = n >= 10 ? 1 : n; // pens of 10 and above fold onto pen 1
}

} // namespace classic
