// Fuzz target: the encoded-polyline decoder. It must stop at the end of the data, and leave
// the pen as it found it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/streams.h"
#include "plotter/handlers.h"
#include "plotter/state.h"

using namespace classic;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FILE* null = fopen("/dev/null", "w");
    attach_log(null);
    attach_dxf(null);
    plotter_reset();
    plotter_state.pen = 1;
    plotter_state.pen_down = size & 1;
    // The decoder gets exactly the bytes, in a buffer of their own size, so that reading one
    // byte too far trips AddressSanitizer.
    char* text = static_cast<char*>(malloc(size + 1));
    memcpy(text, data, size);
    text[size] = '\0';
    int pen_before = plotter_state.pen_down;
    cmd_PE(text);
    if (plotter_state.pen_down != pen_before) abort();
    free(text);
    return 0;
}
