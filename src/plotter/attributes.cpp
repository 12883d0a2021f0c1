// Attribute commands that are accepted and echoed: every entity keeps its layer's colour
// and line type.
#include "driver/options.h"
#include "dxf/format.h"
#include "plotter/handlers.h"

void cmd_LT() { out_format(log_stream, "LT\n"); }
void cmd_MC() { out_format(log_stream, "MC\n"); }
void cmd_NP() { out_format(log_stream, "NP\n"); }
void cmd_PC() { out_format(log_stream, "PC\n"); }
void cmd_PS() { out_format(log_stream, "PS\n"); }
void cmd_PW() { out_format(log_stream, "PW\n"); }
void cmd_QL() { out_format(log_stream, "QL\n"); }
void cmd_TR() { out_format(log_stream, "TR\n"); }
