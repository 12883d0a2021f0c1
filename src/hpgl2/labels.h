// Labels of HP-GL/2 mode.
#pragma once

namespace hpgl2 {

// The symbol of SM at a point of a PA, PR, PU or PD list, when symbol mode is on.
void mark_symbol();
// Whether SM has set a symbol for the points of lists.
bool marking_symbols();

} // namespace hpgl2
