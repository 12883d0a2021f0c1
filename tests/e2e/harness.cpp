#include "e2e/harness.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

namespace {

void write_file(const fs::path& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary);
    out << data;
}

std::string make_temp_folder() {
    std::string pattern = (fs::temp_directory_path() / "penwright-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

// A pipe whose read end is already closed: every write to it fails with EPIPE.
int broken_pipe() {
    int ends[2];
    if (pipe(ends) != 0) _exit(127);
    close(ends[0]);
    return ends[1];
}

int spawn(const fs::path& work, const fs::path& input, const fs::path& out, const fs::path& err,
          const RunSpec& run) {
    const std::vector<std::string>& args = run.args;
    std::vector<char*> argv;
    std::string program = PENWRIGHT_BIN;
    argv.push_back(program.data());
    std::vector<std::string> copies(args);
    for (auto& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(work.c_str()) != 0) _exit(127);
        auto output = [](const fs::path& path) {
            return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        };
        int in = open(input.c_str(), O_RDONLY);
        int o = output(run.stdout_to.empty() ? out : fs::path(run.stdout_to));
        int e = output(run.stderr_to.empty() ? err : fs::path(run.stderr_to));
        dup2(in, 0);
        dup2(o, 1);
        dup2(e, 2);
        close(in);
        close(o);
        close(e);
        for (int fd : run.broken_pipes) {
            int p = broken_pipe();
            dup2(p, fd);
            close(p);
        }
        for (int fd : run.closed_fds)
            close(fd);
        if (run.address_space_kb > 0) {
            auto bytes = static_cast<rlim_t>(run.address_space_kb) * 1024;
            rlimit limit{bytes, bytes};
            setrlimit(RLIMIT_AS, &limit);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);
}

// When PENWRIGHT_DXF_DUMP names a folder, every distinct drawing the tests produce (up to
// 1 MB) is kept there for the interoperability test, which reads them with an independent
// DXF reader.
void keep_for_the_reader(const std::string& dxf) {
    const char* folder = getenv("PENWRIGHT_DXF_DUMP");
    if (!folder || !dxf.starts_with("  0\nSECTION\n") || dxf.size() > (1 << 20)) return;
    fs::create_directories(folder);
    write_file(fs::path(folder) / (std::to_string(std::hash<std::string>{}(dxf)) + ".dxf"), dxf);
}

} // namespace

Result run_penwright(const RunSpec& run) {
    fs::path root = make_temp_folder();
    fs::path work = root / "work";
    fs::create_directory(work);
    for (auto& d : run.directories)
        fs::create_directories(work / d);
    for (auto& [name, data] : run.files)
        write_file(work / name, data);
    for (auto& [name, target] : run.symlinks)
        fs::create_symlink(target, work / name);
    for (auto& d : run.read_only)
        chmod((work / d).c_str(), 0555);
    write_file(root / "stdin", run.stdin_data);

    Result r;
    r.status = spawn(work, root / "stdin", root / "stdout", root / "stderr", run);
    for (auto& d : run.read_only)
        chmod((work / d).c_str(), 0755);
    r.out = read_file(root / "stdout");
    r.err = read_file(root / "stderr");
    r.log_exists = fs::is_regular_file(work / "penwright.log");
    if (r.log_exists) r.log = read_file(work / "penwright.log");
    r.dxf_exists = fs::is_regular_file(work / run.dxf_name);
    if (r.dxf_exists) r.dxf = read_file(work / run.dxf_name);
    for (auto& entry : fs::recursive_directory_iterator(work))
        if (entry.is_regular_file() && !entry.is_symlink())
            r.folder[entry.path().lexically_relative(work).string()] = read_file(entry.path());
    fs::remove_all(root);
    if (r.status == 0 || r.status == 1) { // a complete run: the drawing is a whole document
        keep_for_the_reader(r.dxf);
        keep_for_the_reader(r.out);
    }
    return r;
}

Result convert(const std::string& input, const std::vector<std::string>& extra) {
    RunSpec run;
    run.files["penwright.plt"] = input;
    run.args = {"-i", "penwright.plt", "-o", "out.dxf"};
    run.args.insert(run.args.end(), extra.begin(), extra.end());
    run.dxf_name = "out.dxf";
    return run_penwright(run);
}

std::string banner() {
    return "penwright Version 1.7\n"
           "Converts HPGL plot files into ASCII DXF (AC1009) drawings.\n"
           "Send all bug reports or questions to:\n"
           "    the penwright maintainers, through the project's issue tracker,\n"
           "    with the plot file, the command line and penwright.log attached.\n";
}

std::string stderr_preamble(const std::string& input, const std::string& dxf,
                            const std::string& log) {
    return banner() + "Using " + input + " for HPGL input file\n" + "Using " + dxf +
           " for DXF output data\n" + "Using " + log + " for log output\n";
}

std::string dxf_document(const std::string& entities) {
    std::string d = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  0\nENDSEC\n"
                    "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n10\n";
    for (int n = 0; n <= 9; ++n) {
        d += "  0\nLAYER\n  2\n" + std::to_string(n) + "\n 70\n" + (n == 0 ? "64" : "0") +
             "\n 62\n" + (n == 0 ? "7" : std::to_string(n)) + "\n  6\nCONTINUOUS\n";
    }
    d += "  0\nENDTAB\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n";
    d += entities;
    d += "  0\nENDSEC\n  0\nEOF\n";
    return d;
}

std::string log_file(const std::string& body, int errors, int warnings, const std::string& input,
                     const std::string& dxf) {
    return "HPGL input file: " + input + "\nDXF output file: " + dxf + "\n" + body +
           "Errors: " + std::to_string(errors) + ", Warnings: " + std::to_string(warnings) + "\n";
}

namespace {

// Replaces the number after each `marker` by `mask`.
std::string mask_number_after(const std::string& s, const std::string& marker,
                              const std::string& mask) {
    std::string out;
    size_t at = 0;
    for (size_t hit; (hit = s.find(marker, at)) != std::string::npos;) {
        size_t digits = hit + marker.size();
        size_t end = digits;
        while (end < s.size() && isdigit(static_cast<unsigned char>(s[end])))
            ++end;
        out.append(s, at, digits - at);
        out += end > digits ? mask : "";
        at = end;
    }
    out.append(s, at);
    return out;
}

// "state stack now 0 7 12" becomes "state stack now 0 s s": the depth stays visible.
std::string mask_stacks(const std::string& s) {
    const std::string marker = "state stack now";
    std::string out;
    size_t at = 0;
    for (size_t hit; (hit = s.find(marker, at)) != std::string::npos;) {
        size_t p = hit + marker.size();
        out.append(s, at, p - at);
        bool first = true;
        while (p + 1 < s.size() && s[p] == ' ' && isdigit(static_cast<unsigned char>(s[p + 1]))) {
            size_t end = p + 1;
            while (end < s.size() && isdigit(static_cast<unsigned char>(s[end])))
                ++end;
            out += first ? s.substr(p, end - p) : " s";
            first = false;
            p = end;
        }
        at = p;
    }
    out.append(s, at);
    return out;
}

} // namespace

std::string mask_trace(const std::string& trace) {
    std::string s = mask_number_after(trace, "Entering state ", "s");
    s = mask_number_after(s, "(line ", "l");
    return mask_stacks(s);
}
