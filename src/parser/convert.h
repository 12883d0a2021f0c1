// The conversion step: one parse of the whole input between the DXF frame's start and end.
#pragma once

void run_conversion_step();
