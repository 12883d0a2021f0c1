// Number formatting that writes exactly what printf's "%d" and "%f" write, without its cost.
#pragma once

#include <cstdio>

// Room for the longest text of each: "%f" of -DBL_MAX has 317 characters.
constexpr int int_text_max = 12;
constexpr int real_text_max = 320;

char* put_int(char* p, int v);     // "%d"
char* put_real(char* p, double v); // "%f": six decimals, "-0.000000" for negative zero

// fprintf for the directives %d, %f, %s, %c and %%, byte-identical to it.
void out_format(FILE* stream, const char* format, ...);
