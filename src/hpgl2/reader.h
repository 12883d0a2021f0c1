// HP-GL/2 mode's reader: bytes to commands, through the HP-GL/2, PCL and PJL states. It knows
// how each command's parameters are written, never what a command does.
#pragma once

#include <cstddef>
#include <cstdio>

// Numbers come in batches, so that a point list of any length takes bounded memory. A batch
// holds whole pairs and whole six-number Bézier groups.
constexpr int batch_size = 1536;

// Where a byte of the input stands: its line (from 1) and its byte column (from 1).
struct Where {
    int line, column;
};

struct Command {
    char name[4];     // "PA" in upper case, "!PZ" for a vendor command, "%E" and "%F" for a
                      // printer job's reset and form feed
    int line, column; // where the mnemonic begins
    double numbers[batch_size];
    int number_line[batch_size], number_column[batch_size]; // where each number begins
    int count;                                              // numbers in this batch
    int total;     // numbers of the command so far, this batch included
    bool more;     // another batch of the same command follows
    bool unusable; // a parameter was not a number, or too large (reported): skip the command
    // A text parameter (labels, encoded polylines, comments, the symbol of SM).
    const char* text;
    size_t text_length;
    bool terminated; // the text ended at its terminator, not at the end of the input
    Where text_at;   // where the text begins
    char symbol;     // the text of SM
};

// Where byte i of the command's text stands (counting the line ends before it).
Where text_where(const Command& c, size_t i);

void reader_begin(FILE* input);
void reader_release();

// The next command with its first batch of numbers, or its text; false at the end of input.
bool read_command(Command& command);

// The next batch of numbers of the same command (when `more` was set).
void read_more(Command& command);

// The label terminator set by DT, and whether it is printed as part of the label.
extern char label_terminator;
extern bool terminator_printed;
void reader_default_terminator(); // ETX, not printed (DF, IN)
