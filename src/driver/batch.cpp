// The batch form: every plot named is converted in turn, as a run of its own, into a DXF and a
// log of its own.
//
// A run starts from fresh counters and diagnostics budgets; the HP-GL/2 conversion resets its
// own state. Before a run writes anything, its DXF and its log are claimed (targets.h): opened
// without truncation, and refused when they are an input, an output of this batch, or a file a
// standard stream writes to. Only when both are claimed are they emptied, so that a refused run
// leaves every file as it was. Nothing falls back to a standard stream: a file that cannot be
// read or written is reported and the next one is converted.
#include "driver/batch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "driver/diagnostics.h"
#include "driver/options.h"
#include "driver/run.h"
#include "driver/streams.h"
#include "driver/targets.h"

namespace {

struct Batch {
    bool output_is_folder = false; // -o names an existing folder
    FILE* shared_log = nullptr;    // --log=: every run's log, in turn
    std::string shared_log_name;
    bool unreadable_or_unwritten = false;
    bool errors_counted = false;
};

// Where one run writes: standard output and standard error are never claimed or closed.
struct Outputs {
    FILE* dxf = nullptr;
    FILE* log = nullptr;
    std::string dxf_name, log_name;
    bool close_dxf = false, close_log = false;
};

bool is(const char* a, const char* b) {
    return strcmp(a, b) == 0;
}

const char* shown_name(const char* input) {
    return is(input, "-") ? "stdin" : input;
}

bool is_folder(const char* path) {
    struct stat s;
    return stat(path, &s) == 0 && S_ISDIR(s.st_mode);
}

// A device or a pipe named as the DXF (-o /dev/stdout) has no folder to keep a log beside it.
bool is_special(const std::string& path) {
    struct stat s;
    return stat(path.c_str(), &s) == 0 && !S_ISREG(s.st_mode) && !S_ISDIR(s.st_mode);
}

void report(const std::string& file, const char* what, const std::string& reason) {
    fprintf(stderr, "%s: %s: %s\n", file.c_str(), what, reason.c_str());
}

// The command line's own faults, found before any file is touched.
bool request_is_sound(const BatchRequest& request, const Batch& batch) {
    int standard_inputs = 0;
    for (const char* input : request.inputs)
        standard_inputs += is(input, "-");
    if (standard_inputs > 1) {
        fputs("penwright: standard input (-) can be read once only\n", stderr);
        return false;
    }
    if (request.output && !batch.output_is_folder && request.inputs.size() > 1) {
        fprintf(stderr,
                "penwright: -o %s names one DXF, but %zu plots are named: -o must name "
                "an existing folder\n",
                request.output, request.inputs.size());
        return false;
    }
    return true;
}

// No output may replace a plot of this batch or what a standard stream writes to.
void protect_inputs(const BatchRequest& request) {
    for (const char* input : request.inputs) {
        if (is(input, "-"))
            protect_descriptor(STDIN_FILENO, "it is an input file");
        else
            protect_path(input, "it is an input file");
    }
    protect_descriptor(STDOUT_FILENO, "standard output writes to it");
    protect_descriptor(STDERR_FILENO, "standard error writes to it");
}

bool open_shared_log(const BatchRequest& request, Batch& batch) {
    if (!request.log) return true;
    if (is(request.log, "-")) {
        batch.shared_log = stderr;
        batch.shared_log_name = "stderr";
        return true;
    }
    Claim claim = claim_output(request.log, "the log file");
    if (!claim.file || !truncate_claim(claim)) {
        report(request.log, "cannot write", claim.reason);
        return false;
    }
    batch.shared_log = claim.file;
    batch.shared_log_name = request.log;
    return true;
}

// The DXF's name; empty for standard output.
std::string dxf_name_of(const char* input, const BatchRequest& request, const Batch& batch) {
    if (request.output && !batch.output_is_folder)
        return is(request.output, "-") ? "" : request.output;
    if (is(input, "-")) return "";
    if (batch.output_is_folder) return in_folder(request.output, with_extension(input, ".dxf"));
    return with_extension(input, ".dxf");
}

struct Claims {
    Claim dxf, log;
    std::string dxf_name, log_name;
};

bool claim_reported(Claim& claim, const std::string& path, const std::string& owner) {
    claim = claim_output(path, owner);
    if (!claim.file) report(path, "cannot write", claim.reason);
    return claim.file != nullptr;
}

bool empty_reported(Claim& claim, const std::string& path) {
    if (truncate_claim(claim)) return true;
    report(path, "cannot write", claim.reason);
    return false;
}

void release_all(Claims& c) {
    if (c.dxf.file) release_claim(c.dxf, c.dxf_name);
    if (c.log.file) release_claim(c.log, c.log_name);
}

// Claims the DXF and the log of one plot, or reports why they cannot be written. A DXF on
// standard output, a device or a pipe has its log on standard error, unless --log names one.
bool claim_outputs(const char* input, const BatchRequest& request, const Batch& batch,
                   Outputs& out) {
    Claims c;
    c.dxf_name = dxf_name_of(input, request, batch);
    bool to_stdout = c.dxf_name.empty();
    bool own_log = !batch.shared_log && !to_stdout && !is_special(c.dxf_name);
    if (own_log) c.log_name = with_extension(c.dxf_name, ".log");
    std::string of = std::string(" of ") + shown_name(input);
    bool claimed = (to_stdout || claim_reported(c.dxf, c.dxf_name, "the DXF" + of)) &&
                   (!own_log || claim_reported(c.log, c.log_name, "the log" + of)) &&
                   (to_stdout || empty_reported(c.dxf, c.dxf_name)) &&
                   (!own_log || empty_reported(c.log, c.log_name));
    if (!claimed) {
        release_all(c);
        return false;
    }
    out.dxf = to_stdout ? stdout : c.dxf.file;
    out.dxf_name = to_stdout ? "stdout" : c.dxf_name;
    out.close_dxf = !to_stdout;
    out.log = own_log ? c.log.file : batch.shared_log ? batch.shared_log : stderr;
    out.log_name = own_log ? c.log_name : batch.shared_log ? batch.shared_log_name : "stderr";
    out.close_log = own_log;
    return true;
}

// The plot's stream, or null when it cannot be read (a folder cannot).
FILE* open_plot(const char* input) {
    if (is(input, "-")) return stdin;
    FILE* in = open_input_file(input);
    struct stat s;
    if (in && fstat(fileno(in), &s) == 0 && S_ISDIR(s.st_mode)) {
        fclose(in);
        in = nullptr;
        errno = EISDIR;
    }
    if (!in) report(input, "cannot read", strerror(errno));
    return in;
}

// A finished output that failed is reported by name; the run then counts one more error.
bool finish_reported(OutputStream& stream, bool close, const std::string& name) {
    if (finish_output(stream, close)) return true;
    report(name, "cannot write", errno ? strerror(errno) : "write error");
    return false;
}

// One plot converted as a run of its own, into outputs already claimed.
void run_one(const char* input, FILE* in, const Outputs& out, Batch& batch) {
    diagnostics_next_run();
    set_name(input_path, shown_name(input));
    set_name(dxf_path, out.dxf_name.c_str());
    set_name(log_path, out.log_name.c_str());
    input_stream = in;
    attach_dxf(out.dxf);
    attach_log(out.log);
    write_file_lines(input_path, dxf_path);
    convert();
    bool written = finish_reported(dxf_stream, out.close_dxf, out.dxf_name);
    note_more_diagnostics();
    write_summary(log_stream);
    written = finish_reported(log_stream, out.close_log, out.log_name) && written;
    fprintf(stderr, "%s: Errors: %d, Warnings: %d\n", input_path, error_count, warning_count);
    if (in != stdin) fclose(in);
    input_stream = nullptr;
    if (input_failed || !written) batch.unreadable_or_unwritten = true;
    if (error_count > 0) batch.errors_counted = true;
}

void convert_file(const char* input, const BatchRequest& request, Batch& batch) {
    FILE* in = open_plot(input);
    Outputs out;
    if (in && claim_outputs(input, request, batch, out)) return run_one(input, in, out, batch);
    if (in && in != stdin) fclose(in);
    batch.unreadable_or_unwritten = true;
}

} // namespace

int run_batch(int argc, char** argv) {
    BatchRequest request;
    Batch batch;
    if (!read_batch_request(argc, argv, request)) return 2;
    batch.output_is_folder =
        request.output && !is(request.output, "-") && is_folder(request.output);
    if (!request_is_sound(request, batch)) return 2;
    protect_inputs(request);
    if (!open_shared_log(request, batch)) return 2;
    name_input_failures = true;
    for (const char* input : request.inputs)
        convert_file(input, request, batch);
    if (batch.shared_log && batch.shared_log != stderr && fclose(batch.shared_log) != 0) {
        report(batch.shared_log_name, "cannot write", strerror(errno));
        batch.unreadable_or_unwritten = true;
    }
    if (batch.unreadable_or_unwritten) return 2;
    return batch.errors_counted ? 1 : 0;
}
