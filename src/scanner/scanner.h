// Bytes of the HPGL input to tokens, in four modes.
#pragma once

#include <cstdio>

#include "scanner/tokens.h"

// The next token's kind, 0 at the end of the input.
int hpgl_scan();

// The tokens of a point in a list, after its comma: INT ',' INT and the token after them, as
// four calls of hpgl_scan would give them. `matched` counts those that came as expected; `next`
// is the kind of the token after those, whose value is in token_value.
struct PointTokens {
    int matched = 0;
    int next = 0;
    TokenValue x{}, comma{}, y{};
};
PointTokens hpgl_scan_point();

// Whole points INT ',' INT ',' that lie in the buffer, at most `room`: their coordinates into
// xy (x then y), their number returned, 0 when the next is no such point or tokens are traced.
// The scanner is then where hpgl_scan_point would have left it after them, the last comma
// the lookahead.
int hpgl_scan_points(int* xy, int room);

// Asked at each end of the input whether another input follows: never.
int hpgl_wrap();

// The stream read from the next time the buffer is created; null means standard input.
void scanner_set_input(FILE* stream);

// Puts the scanner back to its start: no buffer, INITIAL mode, nothing read.
void scanner_reset();

// Most bytes asked of one block read (8192). Tests lower it to move the block boundaries.
extern int scanner_read_limit;

// Lone characters and integers are matched without the automaton. Tests turn this off to
// compare with what the automaton alone gives.
extern bool scanner_quick_path;
