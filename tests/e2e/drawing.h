// HP-GL/2 mode's documents read back in short, exact words: one line per entity with its
// numbers as the file writes them, the layer table, the extents.
#pragma once

#include <string>
#include <vector>

#include "e2e/harness.h"

// Converts `input` with --hpgl2 (and `extra` arguments), as convert() does.
Result convert2(const std::string& input, const std::vector<std::string>& extra = {});

struct Converted {
    std::string dxf, log;
};
// An HP-GL/2 conversion inside this process, for tests that convert many plots: the input read
// `read_limit` bytes at a time; the diagnostics on standard error are not kept.
Converted convert_in_process(const std::string& input, size_t read_limit = 1 << 16);

// "POLYLINE PEN1 (0,0) (1,0) (1,1)", "POLYLINE PEN1 LT2 closed ...", "POINT PEN1 (x,y)",
// "SOLID PEN1 (x,y) (x,y) (x,y) (x,y)" in the DXF's corner order, "LINE PEN1 (x,y) (x,y)",
// "ARC PEN1 (0,0) r1 0..90", "CIRCLE PEN1 (x,y) r2", "TEXT PEN1 (x,y) h0.1 [AB] ..." with
// " colour N" when an entity carries one. One line each, in file order.
std::string entities(const std::string& dxf);

// "0:7 PEN1:7 PEN2:1"
std::string layers(const std::string& dxf);

// "(xmin,ymin)-(xmax,ymax)"
std::string extents(const std::string& dxf);

// The log between its two file lines and its summary.
std::string log_body(const std::string& log);

// The DXF as group code and value pairs; empty when the file breaks the pairing.
std::vector<std::pair<std::string, std::string>> groups(const std::string& dxf);
