// The parse tables generated from hpgl.grammar at build time.
#pragma once

namespace parse_tables {
#include "parse_tables.inc"
} // namespace parse_tables
