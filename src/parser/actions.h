// What each grammar rule does when it is reduced.
#pragma once

#include "scanner/tokens.h"

// Runs the action of `rule` over the values of its right side, values[1] to values[n].
void run_action(int rule, const TokenValue* values);
