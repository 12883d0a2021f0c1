// The parse tables generated from hpgl.grammar at build time.
#pragma once

namespace parse_tables {
#include "parse_tables.inc"

// Symbols the engine and the actions refer to by number.
constexpr int end_symbol = 0;
constexpr int undefined_symbol = 2;
constexpr int int_symbol = 5;
constexpr int dbl_symbol = 9;
constexpr bool is_text_symbol(int s) { return s >= 6 && s <= 8; } // LBSTR, QSTR, PESTR
} // namespace parse_tables
