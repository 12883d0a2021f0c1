#include "driver/options.h"

#include <cstdlib>
#include <initializer_list>
#include <cstring>

#include "driver/diagnostics.h"

const char* const program_name = "penwright";

char* input_path = nullptr;
char* dxf_path = nullptr;
char* log_path = nullptr;
FILE* input_stream = nullptr;
FILE* dxf_stream = nullptr;
FILE* log_stream = nullptr;

namespace {

char* copy_name(const char* name) {
    char* copy = strdup(name);
    if (!copy) fatal_error("penwright: out of memory while copying a file name");
    return copy;
}

void replace_name(char*& slot, const char* name) {
    free(slot);
    slot = copy_name(name);
}

// A repeated -i or -o replaces the stream of the earlier one.
void replace_stream(FILE*& slot, FILE* stream) {
    if (slot) fclose(slot);
    slot = stream;
}

bool has_operand(int argc, int i) { return argc - i >= 2; }

// Output files get a large buffer: a conversion writes about eight bytes per input byte.
constexpr size_t output_buffer_size = 1 << 18;
char dxf_buffer[output_buffer_size];
char log_buffer[output_buffer_size];

FILE* open_output(const char* path, char* buffer) {
    FILE* f = fopen(path, "w");
    if (f) setvbuf(f, buffer, _IOFBF, output_buffer_size);
    return f;
}

void open_input(const char* name) {
    replace_name(input_path, name);
    replace_stream(input_stream, fopen(input_path, "r"));
    if (!input_stream) fprintf(stderr, "%s: file not found\n", input_path);
}

void open_dxf(const char* name) {
    replace_name(dxf_path, name);
    replace_stream(dxf_stream, open_output(dxf_path, dxf_buffer));
    if (!dxf_stream) fprintf(stderr, "%s: file not found\n", dxf_path);
}

void walk_arguments(int argc, char** argv) {
    for (int i = 1; i < argc;) {
        const char* arg = argv[i];
        if (strcmp(arg, "-i") == 0 && has_operand(argc, i)) {
            open_input(argv[i + 1]);
            i += 2;
        } else if (strcmp(arg, "-o") == 0 && has_operand(argc, i)) {
            open_dxf(argv[i + 1]);
            i += 2;
        } else if (strcmp(arg, "-d") == 0) {
            fputs("LOCAL DEBUGGING ENABLED\n", stdout);
            scanner_trace = 1;
            ++i;
        } else if (strcmp(arg, "-YYDEBUG") == 0) {
            fputs("PARSER DEBUGGING ENABLED\n", stdout);
            parser_trace = 1;
            ++i;
        } else if (strcmp(arg, "-h") == 0 || strcmp(arg, "-?") == 0) {
            show_usage();
            exit(0);
        } else {
            fprintf(stdout, "Unrecognized command line option: %s\n", arg);
            ++warning_count;
            ++i;
        }
    }
}

void settle_input() {
    if (!input_stream) input_stream = fopen(input_path, "r");
    if (input_stream) fprintf(stderr, "Using %s for HPGL input file\n", input_path);
}

void settle_dxf() {
    if (!dxf_stream) dxf_stream = open_output(dxf_path, dxf_buffer);
    if (!dxf_stream) {
        fprintf(stderr, "ERROR: %s, unable to open dxf file\n", dxf_path);
        dxf_stream = stdout;
        replace_name(dxf_path, "stdout");
    }
    fprintf(stderr, "Using %s for DXF output data\n", dxf_path);
}

void settle_log() {
    log_stream = open_output(log_path, log_buffer);
    if (!log_stream) {
        fprintf(stderr, "Could not open %s as log file\n", log_path);
        log_stream = stderr;
        replace_name(log_path, "stderr");
    }
    fprintf(stderr, "Using %s for log output\n", log_path);
}

} // namespace

void show_usage() {
    fprintf(stdout, "\nUsage: %s [-i hpgl_file][-o dxf_file][-h]\n\n", program_name);
    fputs("where: hpgl_file  is a valid HPGL plotter input file\n", stdout);
    fputs("       dxf_file   is any filename for dxf output data\n", stdout);
    fputs("\n", stdout);
    fputs("Synopsis: This program converts HPGL plot file data to dxf format.\n", stdout);
    fputs("\n", stdout);
}

void parse_options(int argc, char** argv) {
    error_count = 0;
    warning_count = 0;
    scanner_trace = 0;
    if (argc == 1) {
        show_usage();
        exit(0);
    }
    input_stream = dxf_stream = log_stream = nullptr;
    replace_name(input_path, "penwright.plt");
    replace_name(dxf_path, "penwright.pdf");
    replace_name(log_path, "penwright.log");
    walk_arguments(argc, argv);
    settle_input();
    settle_dxf();
    settle_log();
}

void options_reset() {
    for (FILE** s : {&input_stream, &dxf_stream, &log_stream}) {
        if (*s && *s != stdin && *s != stdout && *s != stderr) fclose(*s);
        *s = nullptr;
    }
    free(input_path);
    free(dxf_path);
    free(log_path);
    input_path = dxf_path = log_path = nullptr;
}
