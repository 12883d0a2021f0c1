// The DXF document of HP-GL/2 mode as ASCII AC1015, the flavour current CAD programs read with
// every property a plot carries: lineweights from the pens' widths, fills as HATCH entities,
// LWPOLYLINEs, the drawing's units; every object with its handle, owner and subclass markers.
#pragma once

#include "drawing/model.h"
#include "format/format.h"

// The document on `out`, from the drawing's records; `divisor` is plotter units per drawing
// unit (1016 for inches, 40 for millimetres).
void write_ac1015(OutputStream& out, const DrawingSummary& drawing, int divisor);
