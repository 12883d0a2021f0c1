#include "driver/run.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <initializer_list>

#include "driver/batch.h"
#include "driver/diagnostics.h"
#include "driver/options.h"
#include "driver/streams.h"
#include "dxf/writer.h"
#include "hpgl2/convert.h"
#include "parser/convert.h"

namespace {

void write_banner() {
    fprintf(stderr, "%s %s\n%s\n", program_name, "Version 1.7",
            "Converts HPGL plot files into ASCII DXF (AC1009) drawings.");
    fputs("Send all bug reports or questions to:\n", stderr);
    fputs("    the penwright maintainers, through the project's issue tracker,\n", stderr);
    fputs("    with the plot file, the command line and penwright.log attached.\n", stderr);
}

// A closed standard stream must not let a file we open take its number (the DXF would then
// receive stray messages). Each is filled, lowest first, with a descriptor that refuses what
// the stream is for, so that reading or writing it still fails as it would have.
void guard_standard_streams() {
    for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        int filler = open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (filler >= 0 && filler != fd) {
            dup2(filler, fd);
            close(filler);
        }
    }
}

} // namespace

void convert() {
    if (hpgl2_mode) return hpgl2_convert(units_mm ? 40 : 1016);
    dxf_begin();
    run_conversion_step();
    dxf_end();
}

void write_file_lines(const char* input, const char* dxf) {
    emit<"HPGL input file: %s\nDXF output file: %s\n">(log_stream, input, dxf);
}

void write_summary(OutputStream& stream) {
    emit<"Errors: %d, Warnings: %d\n">(stream, error_count, warning_count);
}

int penwright_main(int argc, char** argv) {
    guard_standard_streams();
    // A reader that goes away makes writes fail, which is counted, instead of ending the run.
    signal(SIGPIPE, SIG_IGN);
    switch (command_form(argc, argv)) {
    case CommandForm::help: show_help(); return 0;
    case CommandForm::version: fputs("penwright Version 1.7\n", stdout); return 0;
    case CommandForm::batch: write_banner(); return run_batch(argc, argv);
    case CommandForm::single: break;
    }
    write_banner();
    parse_options(argc, argv);
    write_file_lines(input_path, dxf_path);
    convert();
    close_output(dxf_stream);
    note_more_diagnostics();
    write_summary(log_stream);
    if (log_stream.file != stderr) {
        OutputStream error_stream{stderr};
        write_summary(error_stream);
    }
    close_output(log_stream);
    if (input_failed) return 2;
    return error_count == 0 ? 0 : 1;
}
