#include "driver/run.h"

#include <cstdio>

#include "driver/diagnostics.h"
#include "driver/options.h"
#include "dxf/format.h"
#include "dxf/writer.h"
#include "parser/convert.h"

namespace {

void write_banner() {
    fprintf(stderr, "%s %s\n%s\n", program_name, "Version 1.7",
            "Converts HPGL plot files into ASCII DXF (AC1009) drawings.");
    fputs("Send all bug reports or questions to:\n", stderr);
    fputs("    the penwright maintainers, through the project's issue tracker,\n", stderr);
    fputs("    with the plot file, the command line and penwright.log attached.\n", stderr);
}

// A stream that failed a write earlier, or fails to flush now, counts one error.
void close_output(FILE* stream) {
    bool failed = ferror(stream) != 0;
    if (fclose(stream) != 0) failed = true;
    if (failed) ++error_count;
}

} // namespace

int penwright_main(int argc, char** argv) {
    write_banner();
    parse_options(argc, argv);
    emit<"HPGL input file: %s\n">(log_stream, input_path);
    emit<"DXF output file: %s\n">(log_stream, dxf_path);
    dxf_begin();
    run_conversion_step();
    dxf_end();
    close_output(dxf_stream);
    emit<"Errors: %d, Warnings: %d\n">(log_stream, error_count, warning_count);
    if (log_stream != stderr)
        fprintf(stderr, "Errors: %d, Warnings: %d\n", error_count, warning_count);
    close_output(log_stream);
    return error_count == 0 ? 0 : 1;
}
