#include "driver/streams.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "driver/diagnostics.h"

char* input_path = nullptr;
char* dxf_path = nullptr;
char* log_path = nullptr;
FILE* input_stream = nullptr;
OutputStream dxf_stream;
OutputStream log_stream;

namespace {

// A conversion writes about eight bytes per input byte: the outputs get large buffers.
constexpr size_t output_buffer_size = 1 << 18;
char dxf_buffer[output_buffer_size];
char log_buffer[output_buffer_size];

const char* expected_input = nullptr;

bool same_file(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool input_identity(struct stat& input) {
    if (expected_input && stat(expected_input, &input) == 0) return true;
    return fstat(STDIN_FILENO, &input) == 0 && S_ISREG(input.st_mode);
}

// Writing to the file being read would destroy it.
bool is_the_input(const char* path) {
    struct stat input, output;
    return stat(path, &output) == 0 && input_identity(input) && same_file(input, output);
}

bool is_the_dxf(const char* path) {
    struct stat dxf, file;
    return dxf_stream.file && fstat(fileno(dxf_stream.file), &dxf) == 0 && stat(path, &file) == 0 &&
           same_file(dxf, file);
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

// Standard error and terminals see every record at once.
bool is_buffered(FILE* file) {
    return file != stderr && !isatty(fileno(file));
}

} // namespace

void set_name(char*& slot, const char* name) {
    free(slot);
    slot = strdup(name);
    if (!slot) fatal_error("penwright: out of memory while copying a file name");
}

FILE* open_input_file(const char* path) {
    FILE* f = fopen(path, "r");
    struct stat in, dxf;
    if (f && dxf_stream.file && fstat(fileno(f), &in) == 0 &&
        fstat(fileno(dxf_stream.file), &dxf) == 0 && same_file(in, dxf)) {
        fclose(f);
        return nullptr;
    }
    // The scanner asks for 8 KB at a time; the kernel is asked for 64 KB. A terminal is read
    // as it types. An earlier input is closed before the next one is opened.
    static char read_buffer[1 << 16];
    if (f && !isatty(fileno(f))) setvbuf(f, read_buffer, _IOFBF, sizeof read_buffer);
    return f;
}

FILE* open_dxf_file(const char* path) {
    if (is_the_input(path) || is_a_standard_output(path)) return nullptr;
    return fopen(path, "w");
}

FILE* open_log_file(const char* path) {
    if (is_the_input(path) || is_the_dxf(path) || is_a_standard_output(path)) return nullptr;
    return fopen(path, "w");
}

void expect_input(const char* name) {
    expected_input = name;
}

void attach_dxf(FILE* dxf) {
    output_attach(dxf_stream, dxf, dxf && is_buffered(dxf) ? dxf_buffer : nullptr,
                  output_buffer_size);
}

void attach_log(FILE* log) {
    output_attach(log_stream, log, log && is_buffered(log) ? log_buffer : nullptr,
                  output_buffer_size);
}

void flush_outputs() {
    for (OutputStream* s : {&dxf_stream, &log_stream})
        if (s->file) output_flush(*s);
}

void close_output(OutputStream& stream) {
    output_flush(stream);
    bool failed = ferror(stream.file) != 0;
    if (fclose(stream.file) != 0) failed = true;
    if (failed) ++error_count;
    stream = OutputStream{};
}

bool finish_output(OutputStream& stream, bool close) {
    output_flush(stream);
    errno = 0;
    bool failed = fflush(stream.file) != 0 || ferror(stream.file) != 0;
    int reason = stream.failure ? stream.failure : errno;
    if (close && fclose(stream.file) != 0 && !failed) {
        failed = true;
        reason = errno;
    }
    if (!close) clearerr(stream.file);
    if (failed) ++error_count;
    stream = OutputStream{};
    errno = reason;
    return !failed;
}

void streams_reset() {
    expected_input = nullptr;
    if (input_stream && input_stream != stdin) fclose(input_stream);
    input_stream = nullptr;
    for (OutputStream* s : {&dxf_stream, &log_stream}) {
        if (s->file && s->file != stdout && s->file != stderr) fclose(s->file);
        *s = OutputStream{};
    }
    for (char** name : {&input_path, &dxf_path, &log_path}) {
        free(*name);
        *name = nullptr;
    }
}
