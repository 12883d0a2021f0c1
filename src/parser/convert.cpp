#include "parser/convert.h"

#include "driver/diagnostics.h"
#include "driver/streams.h"
#include "parser/engine.h"
#include "scanner/scanner.h"

void run_conversion_step() {
    line_number = 1;
    scanner_set_input(input_stream); // none open: the scanner reads standard input
    hpgl_parse();
}
