#include "driver/options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "driver/diagnostics.h"
#include "driver/streams.h"

const char* const program_name = "penwright";
bool hpgl2_mode = false;
bool units_mm = false;

namespace {

enum class Action {
    input,
    output,
    scanner_trace,
    parser_trace,
    usage,
    unrecognized,
    hpgl2,
    units,
    log
};

// One thing the command line asks for, with the argument it names.
struct Step {
    Action action;
    const char* argument;
};

bool is(const char* arg, const char* option) {
    return strcmp(arg, option) == 0;
}

// The step an argument asks for, when it needs no operand.
Step single_step(const char* arg) {
    if (is(arg, "-d")) return {Action::scanner_trace, arg};
    if (is(arg, "-YYDEBUG")) return {Action::parser_trace, arg};
    if (is(arg, "-h") || is(arg, "-?")) return {Action::usage, arg};
    if (is(arg, "--hpgl2")) return {Action::hpgl2, arg};
    if (is(arg, "--units=in") || is(arg, "--units=mm")) return {Action::units, arg + 8};
    if (strncmp(arg, "--log=", 6) == 0 && arg[6] != '\0') return {Action::log, arg + 6};
    return {Action::unrecognized, arg};
}

// The steps in the order the arguments give them; nothing after a usage request is read.
std::vector<Step> read_arguments(int argc, char** argv) {
    std::vector<Step> steps;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        bool has_operand = i + 1 < argc;
        if (is(arg, "-i") && has_operand)
            steps.push_back({Action::input, argv[++i]});
        else if (is(arg, "-o") && has_operand)
            steps.push_back({Action::output, argv[++i]});
        else
            steps.push_back(single_step(arg));
        if (steps.back().action == Action::usage) break;
    }
    return steps;
}

// The name of the file the conversion will read: the last -i, or the default.
const char* final_input(const std::vector<Step>& steps) {
    const char* name = "penwright.plt";
    for (const Step& s : steps)
        if (s.action == Action::input) name = s.argument;
    return name;
}

// A repeated -i or -o replaces the stream of the earlier one, which is closed first.
void open_input(const char* name) {
    set_name(input_path, name);
    if (input_stream) fclose(input_stream);
    input_stream = open_input_file(input_path);
    if (!input_stream) fprintf(stderr, "%s: file not found\n", input_path);
}

FILE* dxf_file = nullptr; // the DXF file opened by the last -o, if it could be

void open_dxf(const char* name) {
    set_name(dxf_path, name);
    if (dxf_file) fclose(dxf_file);
    dxf_file = open_dxf_file(dxf_path);
    attach_dxf(dxf_file); // the input check of a later -i compares against it
    if (!dxf_file) fprintf(stderr, "%s: file not found\n", dxf_path);
}

void carry_out(const Step& step) {
    switch (step.action) {
    case Action::input: open_input(step.argument); return;
    case Action::output: open_dxf(step.argument); return;
    case Action::scanner_trace:
        fputs("LOCAL DEBUGGING ENABLED\n", stdout);
        scanner_trace = 1;
        return;
    case Action::parser_trace:
        fputs("PARSER DEBUGGING ENABLED\n", stdout);
        parser_trace = 1;
        return;
    case Action::usage: show_usage(); exit(0);
    case Action::unrecognized:
        fprintf(stdout, "Unrecognized command line option: %s\n", step.argument);
        ++warning_count;
        return;
    case Action::hpgl2: hpgl2_mode = true; return;
    case Action::units: units_mm = is(step.argument, "mm"); return;
    case Action::log: set_name(log_path, step.argument); return;
    }
}

void settle_input() {
    if (!input_stream) input_stream = open_input_file(input_path);
    if (input_stream) fprintf(stderr, "Using %s for HPGL input file\n", input_path);
}

void settle_dxf() {
    if (!dxf_file) dxf_file = open_dxf_file(dxf_path);
    if (!dxf_file) {
        fprintf(stderr, "ERROR: %s, unable to open dxf file\n", dxf_path);
        dxf_file = stdout;
        set_name(dxf_path, "stdout");
    }
    attach_dxf(dxf_file);
    dxf_file = nullptr;
    fprintf(stderr, "Using %s for DXF output data\n", dxf_path);
}

void settle_log() {
    bool to_stderr = is(log_path, "-");
    FILE* log = to_stderr ? stderr : open_log_file(log_path);
    if (!log) {
        fprintf(stderr, "Could not open %s as log file\n", log_path);
        log = stderr;
    }
    if (log == stderr) set_name(log_path, "stderr");
    attach_log(log);
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
    set_name(input_path, "penwright.plt");
    set_name(dxf_path, "penwright.pdf");
    set_name(log_path, "penwright.log");
    std::vector<Step> steps = read_arguments(argc, argv);
    expect_input(final_input(steps));
    for (const Step& step : steps)
        carry_out(step);
    settle_input();
    settle_dxf();
    settle_log();
}
