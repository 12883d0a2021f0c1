// Attribute commands that are accepted and echoed: every entity keeps its layer's colour
// and line type.
#include "driver/streams.h"
#include "format/format.h"
#include "plotter/handlers.h"

namespace classic {

void cmd_LT() {
    emit<"LT\n">(log_stream);
}
void cmd_MC() {
    emit<"MC\n">(log_stream);
}
void cmd_NP() {
    emit<"NP\n">(log_stream);
}
void cmd_PC() {
    emit<"PC\n">(log_stream);
}
void cmd_PS() {
    emit<"PS\n">(log_stream);
}
void cmd_PW() {
    emit<"PW\n">(log_stream);
}
void cmd_QL() {
    emit<"QL\n">(log_stream);
}
void cmd_TR() {
    emit<"TR\n">(log_stream);
}

} // namespace classic
