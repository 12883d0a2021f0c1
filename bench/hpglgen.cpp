// Deterministic generator of realistic HPGL for the benchmarks.
//
//   hpglgen PROFILE MEGABYTES [SEED] > plot.plt
//
// Profiles: lines  (pen-plotter art: long PD point lists)
//           hpgl1  (plain HP-GL/1: PA/PR/PU/PD, SP, CI, AA, SC user units)
//           plot   (CAD-like mix: IN, SP, PU/PD, PA/PR, AA/AR/CI, LB with SI/DI, SC, PE, BR)
//           labels (label-heavy drawings)
//           fills  (CAD fills: RA/RR/WG and PM/FP polygons with FT 1, 3, 4 and 10, LT, PW)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

std::mt19937_64 rng;

int uniform(int lo, int hi) {
    return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1));
}

struct Walk {
    int x = 20000, y = 15000;
    void step(int size) {
        x = std::clamp(x + uniform(-size, size), 0, 40000);
        y = std::clamp(y + uniform(-size, size), 0, 30000);
    }
};

void append_point(std::string& out, int x, int y) {
    out += std::to_string(x);
    out += ',';
    out += std::to_string(y);
}

void lines(std::string& out, Walk& w) {
    w.step(3000);
    out += "PU";
    append_point(out, w.x, w.y);
    out += ";PD";
    int n = uniform(30, 120);
    for (int i = 0; i < n; ++i) {
        w.step(200);
        if (i) out += ',';
        append_point(out, w.x, w.y);
    }
    out += ";\n";
}

// One coordinate in the 8-bit base-64 encoding: sign in the lowest bit, digits from 63.
void append_encoded(std::string& out, int v) {
    unsigned z = v >= 0 ? 2u * static_cast<unsigned>(v) : 2u * static_cast<unsigned>(-v) + 1u;
    do {
        unsigned digit = z & 63u;
        z >>= 6;
        out += static_cast<char>(digit + (z ? 63u : 191u));
    } while (z);
}

const char* const words[] = {"BOLT M8", "SECTION A-A", "Scale 1:50", "Item 17",  "DETAIL B",
                             "Rev. C",  "Drawn",       "Checked",    "Weld 5mm", "Hole 12x"};

void label(std::string& out, Walk& w) {
    w.step(2000);
    out += "PU";
    append_point(out, w.x, w.y);
    out += ";DI" + std::to_string(uniform(-10, 10)) + "," + std::to_string(uniform(-10, 10));
    out += ";LB" + std::string(words[uniform(0, 9)]) + " " + std::to_string(uniform(1, 999)) +
           "\x03;\n";
}

void plot(std::string& out, Walk& w) {
    switch (uniform(0, 11)) {
    case 0: out += "SP" + std::to_string(uniform(1, 8)) + ";"; break;
    case 1:
    case 2:
    case 3: lines(out, w); return;
    case 4:
        out += "PR;PD";
        for (int i = 0; i < 20; ++i) {
            if (i) out += ',';
            append_point(out, uniform(-300, 300), uniform(-300, 300));
        }
        out += ";PA;";
        break;
    case 5:
        out += "AA" + std::to_string(w.x + 500) + "," + std::to_string(w.y) + "," +
               std::to_string(uniform(-180, 180)) + ";";
        break;
    case 6:
        out += "AR" + std::to_string(uniform(-800, 800)) + "," +
               std::to_string(uniform(-800, 800)) + "," + std::to_string(uniform(-90, 90)) + ",5;";
        break;
    case 7: out += "CI" + std::to_string(uniform(50, 1500)) + ";"; break;
    case 8:
        out += "SI." + std::to_string(uniform(1, 5)) + ",." + std::to_string(uniform(2, 9)) + ";";
        label(out, w);
        return;
    case 9:
        out += "PE<=";
        append_encoded(out, w.x);
        append_encoded(out, w.y);
        for (int i = 0; i < 20; ++i) {
            append_encoded(out, uniform(-200, 200));
            append_encoded(out, uniform(-200, 200));
        }
        out += ";";
        break;
    case 10:
        out += "BR";
        for (int i = 0; i < 4; ++i) {
            if (i) out += ',';
            out += std::to_string(uniform(-400, 400)) + "," + std::to_string(uniform(-400, 400)) +
                   "," + std::to_string(uniform(-400, 400)) + "," +
                   std::to_string(uniform(-400, 400)) + "," + std::to_string(uniform(-400, 400)) +
                   "," + std::to_string(uniform(-400, 400));
        }
        out += ";";
        break;
    case 11: out += uniform(0, 1) ? "SC0,40000,0,30000;" : "SC0,40000,30000,0;"; break;
    }
    out += "\n";
}

// Plain HP-GL/1 as instruments and old CAD systems write it: PA, PR, PU, PD, SP, CI, AA and
// SC user units, in the integers of HP-GL/1.
void hpgl1(std::string& out, Walk& w) {
    switch (uniform(0, 9)) {
    case 0: out += "SP" + std::to_string(uniform(1, 6)) + ";"; break;
    case 1: out += uniform(0, 1) ? "SC0,4000,0,3000;" : "SC;"; break;
    case 2: out += "CI" + std::to_string(uniform(20, 600)) + ";"; break;
    case 3:
        out += "AA" + std::to_string(w.x / 10 + 30) + "," + std::to_string(w.y / 10) + "," +
               std::to_string(uniform(-180, 180)) + ";";
        break;
    case 4:
        out += "PR;PD";
        for (int i = 0; i < 12; ++i) {
            if (i) out += ',';
            append_point(out, uniform(-15, 15), uniform(-15, 15));
        }
        out += ";PA;";
        break;
    default:
        w.step(1500);
        out += "PU";
        append_point(out, w.x / 10, w.y / 10);
        out += ";PD";
        for (int i = 0, n = uniform(5, 40); i < n; ++i) {
            w.step(100);
            if (i) out += ',';
            append_point(out, w.x / 10, w.y / 10);
        }
        out += ";";
    }
    out += "\n";
}

// A small polygon in the buffer, as CAD drivers send the letters of a text: a ring about the
// walk, sometimes with a hole.
void polygon(std::string& out, Walk& w) {
    w.step(1500);
    out += "PU";
    append_point(out, w.x, w.y);
    out += ";PM0;PD";
    int n = uniform(4, 24), r = uniform(40, 400);
    for (int i = 1; i <= n; ++i) {
        double a = 6.283185307179586 * i / n;
        int rr = r + uniform(-r / 3, r / 3);
        if (i > 1) out += ',';
        append_point(out, w.x + static_cast<int>(rr * std::cos(a)),
                     w.y + static_cast<int>(rr * std::sin(a)));
    }
    if (uniform(0, 2) == 0) {
        out += ";PM1;PU";
        append_point(out, w.x + r / 4, w.y);
        out += ";PD";
        append_point(out, w.x, w.y + r / 4);
        out += ',';
        append_point(out, w.x - r / 4, w.y);
    }
    out += uniform(0, 3) ? ";PM2;FP;" : ";PM2;FP1;EP;";
}

void fills(std::string& out, Walk& w) {
    switch (uniform(0, 11)) {
    case 0: out += "FT1;"; break;
    case 1:
        out +=
            "FT3," + std::to_string(uniform(40, 200)) + "," + std::to_string(uniform(0, 90)) + ";";
        break;
    case 2: out += "FT4," + std::to_string(uniform(60, 200)) + ",45;"; break;
    case 3: out += "FT10," + std::to_string(uniform(10, 90)) + ";"; break;
    case 4:
        out += "LT" + std::to_string(uniform(0, 8)) + ";PW0." + std::to_string(uniform(1, 9)) + ";";
        break;
    case 5:
        w.step(1000);
        out += "PU";
        append_point(out, w.x, w.y);
        out += ";RA";
        append_point(out, w.x + uniform(50, 800), w.y + uniform(50, 800));
        out += ";";
        break;
    case 6:
        out += "RR" + std::to_string(uniform(-600, 600)) + "," +
               std::to_string(uniform(-600, 600)) + ";";
        break;
    case 7:
        out += "WG" + std::to_string(uniform(50, 600)) + "," + std::to_string(uniform(0, 359)) +
               "," + std::to_string(uniform(10, 300)) + ";";
        break;
    case 8: lines(out, w); return;
    default: polygon(out, w); break;
    }
    out += "\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: hpglgen lines|plot|labels|hpgl1|fills MEGABYTES [SEED]\n");
        return 2;
    }
    std::string profile = argv[1];
    long long target = static_cast<long long>(atof(argv[2]) * 1e6);
    rng.seed(argc > 3 ? strtoull(argv[3], nullptr, 10) : 1);
    void (*next)(std::string&, Walk&) = profile == "lines"    ? lines
                                        : profile == "plot"   ? plot
                                        : profile == "labels" ? label
                                        : profile == "hpgl1"  ? hpgl1
                                        : profile == "fills"  ? fills
                                                              : nullptr;
    if (!next) {
        fprintf(stderr, "hpglgen: unknown profile %s\n", argv[1]);
        return 2;
    }
    Walk w;
    std::string out = profile == "labels" ? "IN;SP1;SI.2,.3;\n" : "IN;SP1;\n";
    long long written = 0;
    while (written + static_cast<long long>(out.size()) < target) {
        if (out.size() > (1 << 20)) {
            fwrite(out.data(), 1, out.size(), stdout);
            written += static_cast<long long>(out.size());
            out.clear();
        }
        next(out, w);
    }
    fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
