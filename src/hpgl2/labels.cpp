// Labels: until they are drawn, LB and BL are read (their text skipped to its terminator, DT
// honoured) and the label settings are taken without effect.
#include "hpgl2/labels.h"

#include "hpgl2/commands.h"

void mark_symbol() {}

void labels_default() {}

void labels_reset() {}

void cmd_LB(Command& c) {
    count_not_drawn(c);
    if (!c.terminated) warn(c, "end", "label without terminator at end of input: skipped");
}

void cmd_BL(Command& c) {
    if (!c.terminated) warn(c, "end", "label without terminator at end of input: kept");
}

void cmd_PB(Command& c) {
    drop_rest(c, 0);
}

void cmd_DT(Command&) {}

void cmd_SI(Command& c) {
    numbers_between(c, 0, 2);
}

void cmd_SR(Command& c) {
    numbers_between(c, 0, 2);
}

void cmd_DI(Command& c) {
    numbers_between(c, 0, 2);
}

void cmd_DR(Command& c) {
    numbers_between(c, 0, 2);
}

void cmd_SL(Command& c) {
    numbers_between(c, 0, 1);
}

void cmd_LO(Command& c) {
    numbers_between(c, 0, 1);
}

void cmd_ES(Command& c) {
    numbers_between(c, 0, 2);
}

void cmd_CP(Command& c) {
    numbers_between(c, 0, 2);
}

void cmd_SM(Command&) {}
