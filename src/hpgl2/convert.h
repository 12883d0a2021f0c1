// HP-GL/2 mode's conversion: the whole input read and drawn, the DXF document written, and the
// log's "Drawn" and "Not drawn" lines.
#pragma once

void hpgl2_convert(int divisor);
