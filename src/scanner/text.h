// The texts of label, comment and encoded-polyline tokens: heap copies made by the scanner and
// released by the parser once their statement is done.
#pragma once

#include <cstddef>

// A copy of the first `n` bytes (up to a NUL byte). When memory runs out, "lexer out of
// memory" is reported and the empty text stands in, so a handler always gets a text.
char* text_copy(const char* bytes, size_t n);

// Gives back a text made by text_copy (never the empty text that stood in for a failed copy).
// The last one given back is kept for the next copy.
void text_release(char* text);

// Frees the text kept for the next copy.
void text_forget_spare();
