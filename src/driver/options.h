// The command line: read once into the steps it asks for, then carried out in order.
#pragma once

extern const char* const program_name;

extern bool hpgl2_mode; // --hpgl2: the plot is read as an HP-GL/2 plotter reads it
extern bool units_mm;   // --units=mm: HP-GL/2 drawings in millimetres instead of inches

// Reads the command line, opens the streams and reports which file each one uses.
// Ends the process (status 0) after the usage text.
void parse_options(int argc, char** argv);
void show_usage();
