// The LALR(1) engine: parses the whole input in one call.
#pragma once

// 0: accepted; 1: a syntax error ended the parse; 2: the stacks overflowed.
int hpgl_parse();
