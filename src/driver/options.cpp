#include "driver/options.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

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

// A repeated -i or -o replaces the stream of the earlier one, which is closed first (the
// output buffer passes to the new stream).
void close_stream(FILE*& slot) {
    if (slot) fclose(slot);
    slot = nullptr;
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

// The file the conversion will read: the last -i operand, or the default name, or, when that
// cannot be found, whatever standard input is.
const char* predicted_input = nullptr;

const char* final_input_name(int argc, char** argv) {
    const char* name = "penwright.plt";
    for (int i = 1; i < argc;) {
        bool takes_operand = (strcmp(argv[i], "-i") == 0 || strcmp(argv[i], "-o") == 0) && has_operand(argc, i);
        if (takes_operand && argv[i][1] == 'i') name = argv[i + 1];
        if (strcmp(argv[i], "-h") == 0 || strcmp(argv[i], "-?") == 0) break;
        i += takes_operand ? 2 : 1;
    }
    return name;
}

bool same_file(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool input_identity(struct stat& input) {
    if (predicted_input && stat(predicted_input, &input) == 0) return true;
    return fstat(STDIN_FILENO, &input) == 0 && S_ISREG(input.st_mode);
}

// Writing to the file being read would destroy it: such an output counts as one that cannot
// be opened.
bool is_the_input(const char* path) {
    struct stat input, output;
    return stat(path, &output) == 0 && input_identity(input) && same_file(input, output);
}

bool is_the_dxf(const char* path) {
    struct stat dxf, log;
    return dxf_stream && fstat(fileno(dxf_stream), &dxf) == 0 && stat(path, &log) == 0 &&
           same_file(dxf, log);
}

// A file that standard output or standard error already writes to: opening it again would
// truncate it under them and the two writers would overwrite each other.
bool is_a_standard_output(const char* path) {
    struct stat file, standard;
    if (stat(path, &file) != 0 || !S_ISREG(file.st_mode)) return false;
    for (int fd : {STDOUT_FILENO, STDERR_FILENO})
        if (fstat(fd, &standard) == 0 && same_file(file, standard)) return true;
    return false;
}

FILE* open_dxf_file(const char* path) {
    bool taken = is_the_input(path) || is_a_standard_output(path);
    return taken ? nullptr : open_output(path, dxf_buffer);
}

// The input is never the DXF file (a missing input that -o has just created).
FILE* open_input_file(const char* path) {
    FILE* f = fopen(path, "r");
    struct stat in, dxf;
    if (f && dxf_stream && fstat(fileno(f), &in) == 0 && fstat(fileno(dxf_stream), &dxf) == 0 &&
        same_file(in, dxf)) {
        fclose(f);
        return nullptr;
    }
    return f;
}

void open_input(const char* name) {
    replace_name(input_path, name);
    close_stream(input_stream);
    input_stream = open_input_file(input_path);
    if (!input_stream) fprintf(stderr, "%s: file not found\n", input_path);
}

void open_dxf(const char* name) {
    replace_name(dxf_path, name);
    close_stream(dxf_stream);
    dxf_stream = open_dxf_file(dxf_path);
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
    if (!input_stream) input_stream = open_input_file(input_path);
    if (input_stream) fprintf(stderr, "Using %s for HPGL input file\n", input_path);
}

void settle_dxf() {
    if (!dxf_stream) dxf_stream = open_dxf_file(dxf_path);
    if (!dxf_stream) {
        fprintf(stderr, "ERROR: %s, unable to open dxf file\n", dxf_path);
        dxf_stream = stdout;
        replace_name(dxf_path, "stdout");
    }
    fprintf(stderr, "Using %s for DXF output data\n", dxf_path);
}

void settle_log() {
    bool taken = is_the_input(log_path) || is_the_dxf(log_path) || is_a_standard_output(log_path);
    log_stream = taken ? nullptr : open_output(log_path, log_buffer);
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
    predicted_input = final_input_name(argc, argv);
    walk_arguments(argc, argv);
    settle_input();
    settle_dxf();
    settle_log();
}

void options_reset() {
    predicted_input = nullptr;
    for (FILE** s : {&input_stream, &dxf_stream, &log_stream}) {
        if (*s && *s != stdin && *s != stdout && *s != stderr) fclose(*s);
        *s = nullptr;
    }
    free(input_path);
    free(dxf_path);
    free(log_path);
    input_path = dxf_path = log_path = nullptr;
}
