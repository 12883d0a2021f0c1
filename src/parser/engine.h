// The LALR(1) engine: parses the whole input in one call.
#pragma once

// 0: accepted; 1: a syntax error ended the parse; 2: the stacks overflowed.
int hpgl_parse();

// Point lists are read without the tables (the same parse, fewer steps). Tests turn this off to
// compare with what the tables alone give.
extern bool parser_quick_lists;
