// Runs the built program in a fresh temporary folder and collects everything it produced.
#pragma once

#include <map>
#include <string>
#include <vector>

struct RunSpec {
    std::vector<std::string> args{};               // after the program name
    std::string stdin_data{};                      // fed on standard input
    std::map<std::string, std::string> files{};    // created in the folder, after `directories`
    std::vector<std::string> directories{};        // created in the folder first
    std::string dxf_name = "penwright.pdf";        // which file to collect as the DXF
    std::map<std::string, std::string> symlinks{}; // name -> target, made in the folder first
    std::vector<int> closed_fds{};                 // standard descriptors closed for the run
    std::vector<std::string> read_only{};          // folders made unwritable (mode 0555)
    long address_space_kb = 0;                     // a limit on the run's memory, 0 for none
    std::string stdout_to{}, stderr_to{};          // a file in the folder instead (as "> name")
    std::vector<int> broken_pipes{};               // 1 or 2: a pipe whose reader has gone
};

struct Result {
    int status = -1;
    std::string out, err, log, dxf;
    bool log_exists = false, dxf_exists = false;
    std::map<std::string, std::string> folder; // every regular file left, by path in the folder
};

Result run_penwright(const RunSpec& run);

// Convenience: converts `input` given as penwright.plt with -i and -o out.dxf plus `extra` args.
Result convert(const std::string& input, const std::vector<std::string>& extra = {});

// The banner and the stream messages before the conversion, as the program writes them.
std::string stderr_preamble(const std::string& input = "penwright.plt",
                            const std::string& dxf = "out.dxf",
                            const std::string& log = "penwright.log");
std::string banner();

// The complete DXF frame around the given entity records.
std::string dxf_document(const std::string& entities);

// The log around the given command lines.
std::string log_file(const std::string& body, int errors = 0, int warnings = 0,
                     const std::string& input = "penwright.plt",
                     const std::string& dxf = "out.dxf");

// Masks what the parser trace leaves free: state numbers and grammar line numbers.
std::string mask_trace(const std::string& trace);

std::string read_file(const std::string& path);
