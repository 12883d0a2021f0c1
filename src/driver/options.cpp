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
bool dxf_r2000 = false;

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
    dxf_flavour,
    log,
    help,
    version,
    operand
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
Step single_step(const char* arg, bool hpgl2_walk) {
    if (is(arg, "-d")) return {Action::scanner_trace, arg};
    if (is(arg, "-YYDEBUG")) return {Action::parser_trace, arg};
    if (is(arg, "-h") || is(arg, "-?")) return {Action::usage, arg};
    if (is(arg, "--hpgl2")) return {Action::hpgl2, arg};
    if (is(arg, "--units=in") || is(arg, "--units=mm")) return {Action::units, arg + 8};
    if (is(arg, "--dxf=r12") || is(arg, "--dxf=r2000")) return {Action::dxf_flavour, arg + 6};
    if (strncmp(arg, "--log=", 6) == 0 && arg[6] != '\0') return {Action::log, arg + 6};
    if (!hpgl2_walk) return {Action::unrecognized, arg};
    if (is(arg, "--help")) return {Action::help, arg};
    if (is(arg, "--version")) return {Action::version, arg};
    if (arg[0] != '-' || is(arg, "-")) return {Action::operand, arg};
    return {Action::unrecognized, arg};
}

// The steps in the order the arguments give them; nothing after a usage request is read.
// Classic mode's walk knows options only; HP-GL/2 mode's also takes file names, and every
// argument after "--" as one.
std::vector<Step> read_arguments(int argc, char** argv, bool hpgl2_walk = false) {
    std::vector<Step> steps;
    bool options_ended = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        bool has_operand = i + 1 < argc;
        if (hpgl2_walk && !options_ended && is(arg, "--")) {
            options_ended = true;
            continue;
        }
        if (options_ended)
            steps.push_back({Action::operand, arg});
        else if (is(arg, "-i") && has_operand)
            steps.push_back({Action::input, argv[++i]});
        else if (is(arg, "-o") && has_operand)
            steps.push_back({Action::output, argv[++i]});
        else
            steps.push_back(single_step(arg, hpgl2_walk));
        if (steps.back().action == Action::usage) break;
    }
    return steps;
}

bool has_step(const std::vector<Step>& steps, Action action) {
    for (const Step& s : steps)
        if (s.action == action) return true;
    return false;
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
    case Action::dxf_flavour: dxf_r2000 = is(step.argument, "r2000"); return;
    case Action::log: set_name(log_path, step.argument); return;
    case Action::help:
    case Action::version:
    case Action::operand: return; // not steps of the single-file form
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

// The options that only set how plots are read and written, in the batch form: nothing is
// announced on standard output, which may carry a DXF.
void set_quietly(const Step& step) {
    switch (step.action) {
    case Action::scanner_trace: scanner_trace = 1; return;
    case Action::parser_trace: parser_trace = 1; return;
    case Action::hpgl2: hpgl2_mode = true; return;
    case Action::units: units_mm = is(step.argument, "mm"); return;
    case Action::dxf_flavour: dxf_r2000 = is(step.argument, "r2000"); return;
    default: return;
    }
}

void report_unrecognized(const char* arg) {
    if (is(arg, "-o") || is(arg, "-i"))
        fprintf(stderr, "penwright: %s needs a file name\n", arg);
    else
        fprintf(stderr, "penwright: unrecognized option %s (penwright --hpgl2 --help lists them)\n",
                arg);
}

} // namespace

CommandForm command_form(int argc, char** argv) {
    if (!has_step(read_arguments(argc, argv), Action::hpgl2)) return CommandForm::single;
    std::vector<Step> steps = read_arguments(argc, argv, true);
    for (const Step& s : steps) { // the first of the two is answered
        if (s.action == Action::help) return CommandForm::help;
        if (s.action == Action::version) return CommandForm::version;
    }
    bool names_files = has_step(steps, Action::operand) && !has_step(steps, Action::input);
    return names_files && has_step(steps, Action::hpgl2) ? CommandForm::batch : CommandForm::single;
}

bool read_batch_request(int argc, char** argv, BatchRequest& request) {
    for (const Step& step : read_arguments(argc, argv, true)) {
        switch (step.action) {
        case Action::operand: request.inputs.push_back(step.argument); break;
        case Action::output: request.output = step.argument; break;
        case Action::log: request.log = step.argument; break;
        case Action::usage: show_usage(); exit(0);
        case Action::unrecognized: report_unrecognized(step.argument); return false;
        default: set_quietly(step);
        }
    }
    return true;
}

void show_usage() {
    fprintf(stdout, "\nUsage: %s [-i hpgl_file][-o dxf_file][-h]\n\n", program_name);
    fputs("where: hpgl_file  is a valid HPGL plotter input file\n", stdout);
    fputs("       dxf_file   is any filename for dxf output data\n", stdout);
    fputs("\n", stdout);
    fputs("Synopsis: This program converts HPGL plot file data to dxf format.\n", stdout);
    fputs("\n", stdout);
}

void show_help() {
    fputs("Usage: penwright [-i hpgl_file] [-o dxf_file] [options]\n"
          "       penwright --hpgl2 [options] FILE...\n"
          "\n"
          "Converts HPGL plot files into ASCII DXF drawings. Classic mode (the default)\n"
          "reads HP-GL with its grammar and stops at the first syntax error; HP-GL/2\n"
          "mode (--hpgl2) reads a plot as an HP-GL/2 plotter does, at its true size.\n"
          "\n"
          "Both modes:\n"
          "  -i FILE          the plot (default penwright.plt; standard input when it\n"
          "                   cannot be opened)\n"
          "  -o FILE          the DXF (default penwright.pdf; standard output when it\n"
          "                   cannot be created)\n"
          "  --log=FILE       the log instead of penwright.log; --log=- is standard error\n"
          "  -d               trace the scanner's tokens on standard error (HP-GL/2 mode:\n"
          "                   each command as it is read)\n"
          "  -YYDEBUG         trace the parser on standard error (classic mode)\n"
          "  -h, -?           the short usage text\n"
          "HP-GL/2 mode:\n"
          "  --hpgl2          read the plot as an HP-GL/2 plotter does\n"
          "  --units=in|mm    the drawing in inches (the default) or millimetres\n"
          "  --dxf=r12|r2000  a DXF of version AC1009 (the default) or AC1015\n"
          "  --help           this text\n"
          "  --version        the program's name and version\n"
          "\n"
          "Several plots at once (HP-GL/2 mode, file names without -i):\n"
          "  Each FILE is converted on its own into FILE with its extension replaced by\n"
          "  .dxf, its log beside it as .log. - is standard input, whose DXF goes to\n"
          "  standard output and its log to standard error; -- ends the options.\n"
          "  -o DIR           the DXFs and logs go into the existing folder DIR\n"
          "  -o FILE, -o -    with one FILE: its DXF, or standard output\n"
          "  --log=FILE       every log in turn into FILE; --log=- is standard error\n"
          "  A plot that cannot be read, or whose DXF or log cannot be written, is\n"
          "  reported and the next one converted; no DXF is written over an input.\n"
          "\n"
          "Exit status: 0 no error; 1 errors counted in a conversion; 2 an input could\n"
          "not be read or an output not written.\n",
          stdout);
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
