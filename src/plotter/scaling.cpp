// Scaling points, user units, window, rotation and width units: echoed, never applied,
// except the axis directions that a reversed SC window gives.
#include "driver/diagnostics.h"
#include "driver/streams.h"
#include "format/format.h"
#include "plotter/handlers.h"
#include "plotter/state.h"

namespace classic {

void cmd_IP(int form, int a, int b, int c, int d) {
    emit<"IP ">(log_stream);
    switch (form) {
    case 0: emit<"\n">(log_stream); break;
    case 1: emit<"%d %d\n">(log_stream, a, b); break;
    case 2: emit<"%d %d %d %d\n">(log_stream, a, b, c, d); break;
    default: emit<"Error, Illegal number of points in IP statement\n">(log_stream); ++error_count;
    }
}

void cmd_SC(int form, int a, int b, int c) {
    PlotterState& s = plotter_state;
    emit<"SC ">(log_stream);
    switch (form) {
    case 0: emit<"\n">(log_stream); break;
    case 1: emit<"%d %d %d %d\n">(log_stream, s.sc_x1, s.sc_x2, s.sc_y1, s.sc_y2); break;
    case 2: emit<"%d %d %d %d %d\n">(log_stream, s.sc_x1, s.sc_x2, s.sc_y1, s.sc_y2, a); break;
    case 3:
        emit<"%d %d %d %d %d %d %d\n">(log_stream, s.sc_x1, s.sc_x2, s.sc_y1, s.sc_y2, a, b, c);
        break;
    default: emit<"Error, Illegal argcode in SC statement\n">(log_stream); ++error_count;
    }
    // A window that runs from larger to smaller mirrors that axis.
    s.x_scale = s.sc_x1 > s.sc_x2 ? -1.0 : 1.0;
    s.y_scale = s.sc_y1 > s.sc_y2 ? -1.0 : 1.0;
}

void cmd_IW(int x1, int y1, int x2, int y2) {
    PlotterState& s = plotter_state;
    emit<"IW %d %d %d %d\n">(log_stream, x1, y1, x2, y2);
    s.iw_x1 = x1;
    s.iw_y1 = y1;
    s.iw_x2 = x2;
    s.iw_y2 = y2;
}

void cmd_RO(double angle) {
    emit<"RO %f\n">(log_stream, angle);
}

void cmd_WU() {
    emit<"WU\n">(log_stream);
}

} // namespace classic
