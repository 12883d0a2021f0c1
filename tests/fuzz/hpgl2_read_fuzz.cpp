// Fuzz target: HP-GL/2 mode's reader alone. The same bytes must give the same commands, with
// the same positions, numbers and texts, whatever the size of the blocks they are read in.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "driver/diagnostics.h"
#include "hpgl2/reader.h"
#include "hpgl2/source.h"

static void describe(const Command& c, std::string& seen) {
    seen += std::string(c.name) + " " + std::to_string(c.line) + ":" + std::to_string(c.column);
    for (int i = 0; i < c.count; ++i)
        seen += " " + std::to_string(c.numbers[i]);
    if (c.text) seen += "[" + std::string(c.text, c.text_length) + "]";
    seen += c.unusable ? "!\n" : "\n";
}

static std::string read_all(const uint8_t* data, size_t size, size_t read_limit) {
    diagnostics_reset();
    FILE* in = fmemopen(const_cast<uint8_t*>(data), size, "r");
    source_read_limit = read_limit;
    reader_begin(in);
    static Command c;
    std::string seen;
    while (read_command(c)) {
        describe(c, seen);
        while (c.more) {
            read_more(c);
            describe(c, seen);
        }
    }
    seen += std::to_string(error_count) + " " + std::to_string(warning_count);
    reader_release();
    fclose(in);
    source_read_limit = 1 << 16;
    return seen;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (read_all(data, size, 1 << 16) != read_all(data, size, 3)) abort();
    return 0;
}
