#include "inprocess/inprocess.h"

#include "driver/diagnostics.h"
#include "driver/options.h"
#include "driver/run.h"
#include "driver/streams.h"
#include "plotter/state.h"
#include "scanner/scanner.h"

void reset_all() {
    diagnostics_reset();
    streams_reset();
    scanner_reset();
    classic::plotter_reset();
}

void convert_in_memory(const char* data, size_t size, FILE* dxf, FILE* log, bool hpgl2) {
    reset_all();
    hpgl2_mode = hpgl2;
    input_stream = fmemopen(const_cast<char*>(data), size, "r");
    attach_dxf(dxf);
    attach_log(log);
    write_file_lines("memory", "memory");
    convert();
    write_summary(log_stream);
    flush_outputs();
    fclose(input_stream);
    input_stream = nullptr;
    dxf_stream = log_stream = OutputStream{};
    scanner_reset();
    hpgl2_mode = false;
}
