// The DXF document of HP-GL/2 mode as ASCII AC1009, which every DXF reader opens: group codes
// right-aligned in three columns ("  0", " 10"), a layer per pen, POLYLINE, POINT, ARC, CIRCLE
// and TEXT entities, and fills as SOLIDs or the LINEs of a hatch.
#pragma once

#include "drawing/model.h"
#include "format/format.h"

// The document on `out`, from the drawing's records; `divisor` is plotter units per drawing
// unit.
void write_ac1009(OutputStream& out, const DrawingSummary& drawing, int divisor);
