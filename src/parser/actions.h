// What the rule actions of hpgl.grammar call; run_action itself is generated from them.
#pragma once

#include "driver/diagnostics.h"
#include "driver/streams.h"
#include "format/format.h"
#include "plotter/handlers.h"
#include "plotter/state.h"
#include "scanner/tokens.h"

// The actions name classic mode's handlers as the grammar writes them: cmd_AA, plot_to.
using namespace classic;

// Runs the action of `rule` over the values of its right side, v[1] to v[n].
void run_action(int rule, TokenValue* v);

// A number where the handler takes an int: a real is truncated toward zero.
inline int as_int(int v) {
    return v;
}
inline int as_int(double v) {
    return saturating_int(v);
}

// A number where the handler takes a double: an int converts exactly.
inline double as_real(int v) {
    return v;
}
inline double as_real(double v) {
    return v;
}

// Statements the grammar accepts and the plotter does not carry out.
inline void unimplemented(const char* mnemonic) {
    emit<"Warning: unimplemented command: %s\n">(log_stream, mnemonic);
}
