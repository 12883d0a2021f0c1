#include "dxf/aci.h"

#include <cstddef>

int nearest_aci(Rgb c) {
    bool dark = c.r <= 32 && c.g <= 32 && c.b <= 32;
    bool light = c.r >= 224 && c.g >= 224 && c.b >= 224;
    if (dark || light) return 7;
    int best = 1;
    long best_distance = -1;
    for (int i = 1; i < 256; ++i) {
        const Rgb& a = aci_colours[static_cast<size_t>(i)];
        long dr = a.r - c.r, dg = a.g - c.g, db = a.b - c.b;
        long d = dr * dr + dg * dg + db * db;
        if (best_distance < 0 || d < best_distance) {
            best = i;
            best_distance = d;
        }
    }
    return best;
}
