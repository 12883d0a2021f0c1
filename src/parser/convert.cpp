#include "parser/convert.h"

#include "driver/diagnostics.h"

void run_conversion_step() {
    line_number = 1;
    // The scanner and parser arrive next; until then the input is not read.
}
