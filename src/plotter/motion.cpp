// Pen motion: the four mode commands and plot_to, the one writer of LINE records.
#include "driver/diagnostics.h"
#include "driver/streams.h"
#include "dxf/writer.h"
#include "format/format.h"
#include "plotter/handlers.h"
#include "plotter/state.h"

namespace classic {

void cmd_PA() {
    emit<"PA\n">(log_stream);
    plotter_state.relative = 0;
}

void cmd_PR() {
    emit<"PR\n">(log_stream);
    plotter_state.relative = 1;
}

void cmd_PD() {
    emit<"PD\n">(log_stream);
    plotter_state.pen_down = 1;
}

void cmd_PU() {
    emit<"PU\n">(log_stream);
    plotter_state.pen_down = 0;
}

void plot_to(int x, int y) {
    PlotterState& s = plotter_state;
    if (s.relative)
        emit<"move rel %d %d\n">(log_stream, x, y);
    else
        emit<"move to %d %d\n">(log_stream, x, y);
    // Relative moves wrap around the 32-bit range like the hardware registers would.
    int to_x = s.relative ? wrap_add(s.pos_x, x) : x;
    int to_y = s.relative ? wrap_add(s.pos_y, y) : y;
    if (drawing()) {
        dxf_line(dxf_layer(), {s.pos_x, s.pos_y}, {to_x, to_y}, s.x_scale < 0, s.y_scale < 0);
    }
    s.pos_x = to_x;
    s.pos_y = to_y;
}

} // namespace classic
