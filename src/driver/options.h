// The command line: read once into the steps it asks for, then carried out in order.
#pragma once

#include <vector>

extern const char* const program_name;

extern bool hpgl2_mode; // --hpgl2: the plot is read as an HP-GL/2 plotter reads it
extern bool units_mm;   // --units=mm: HP-GL/2 drawings in millimetres instead of inches
extern bool dxf_r2000;  // --dxf=r2000: HP-GL/2 drawings as AC1015 documents instead of AC1009

// What the command line asks for as a whole. Without --hpgl2 it is always the single-file
// form; with it, file names without -i ask for the batch form, --help and --version for
// their texts alone.
enum class CommandForm { single, batch, help, version };
CommandForm command_form(int argc, char** argv);

// Reads the command line, opens the streams and reports which file each one uses.
// Ends the process (status 0) after the usage text.
void parse_options(int argc, char** argv);
void show_usage();

// The batch form: the plots named, and where their DXFs and logs go.
struct BatchRequest {
    std::vector<const char*> inputs; // "-" is standard input
    const char* output = nullptr;    // -o: a folder, the DXF of the only input, or "-"
    const char* log = nullptr;       // --log=: one log for every run; "-" is standard error
};
// Reads the batch form's command line and sets the mode's options. An unknown option is
// reported on standard error and nothing is converted (false). Ends the process (status 0)
// after the usage text of -h.
bool read_batch_request(int argc, char** argv, BatchRequest& request);
// The usage of both modes and of the batch form, for --help.
void show_help();
