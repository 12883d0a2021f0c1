// Random plots, mixed as real files mix their commands, and what holds for any of them: numbers
// that are numbers, every entity inside the extents, and the same drawing however the plot is
// written and however it is read.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "e2e/drawing.h"

namespace {

// A command as a plot holds it: a mnemonic and numbers, or a mnemonic and a text.
struct Written {
    std::string name;
    std::vector<double> numbers = {};
    std::string text = {}; // LB (with its terminator), PE data
    bool has_text = false;
};

struct Generator {
    std::mt19937 rng;
    int pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
    double coordinate() {
        double v = pick(4001) - 1000;
        return pick(5) == 0 ? v + pick(4) * 0.25 : v;
    }
    Written points(const char* name) {
        Written w{name};
        for (int n = 2 * pick(5); n > 0; --n)
            w.numbers.push_back(coordinate());
        return w;
    }
    Written label() {
        static const char* texts[] = {"AB", "x=1", "a\rb", "line\nnext", "A\bB", "50%", "\r\n"};
        return {"LB", {}, std::string(texts[pick(7)]) + "\x03", true};
    }
    Written command();
};

Written Generator::command() {
    switch (pick(24)) {
    case 0: return {"SP", {double(pick(4))}};
    case 1: return {"PC", {double(pick(3)), double(pick(256)), double(pick(256)), 0}};
    case 2: return {"RO", {double(90 * pick(4))}};
    case 3: return {"CP", {double(pick(5) - 2), double(pick(3) - 1)}};
    case 4: return {"CP"};
    case 5: return label();
    case 6: return {"LO", {double(1 + pick(9))}};
    case 7: return {"DI", {double(pick(3) - 1), 1}};
    case 8: return {"SC", {0, double(50 + pick(200)), 0, double(50 + pick(200)), double(pick(2))}};
    case 9: return {"SC"};
    case 10: return {"CI", {double(10 + pick(300))}};
    case 11: return {"AA", {coordinate(), coordinate(), double(pick(721) - 360)}};
    case 12: return {"AT", {coordinate(), coordinate(), coordinate(), coordinate()}};
    case 13: return {"EA", {coordinate(), coordinate()}};
    case 14: return {pick(2) ? "RA" : "RR", {coordinate(), coordinate()}};
    case 15: return {pick(2) ? "EW" : "WG", {double(10 + pick(500)), 0, double(pick(360))}};
    case 16: return {"PM", {double(pick(3))}};
    case 17: return {pick(2) ? "FP" : "EP"};
    case 18: return {"PE", {}, "<=\xd3\xc6G\xc2\xbf", true};
    case 19: return {"IP", {0, 0, double(1000 + pick(9000)), double(1000 + pick(6000))}};
    case 20: return points("PU");
    case 21: return points("PR");
    default: return points(pick(2) ? "PD" : "PA");
    }
}

// As a plot writes a number: no exponent.
std::string number(double v) {
    char text[64];
    snprintf(text, sizeof text, v == std::floor(v) ? "%.0f" : "%.2f", v);
    return text;
}

// How a plot may be written: its separators, the case of its mnemonics, its wrapper.
struct Style {
    std::string between; // numbers
    std::string after;   // a command
    bool lower;
    bool wrapped;
};

std::string written(const std::vector<Written>& plot, const Style& s) {
    std::string out = s.wrapped ? "\x1b%-12345X@PJL ENTER LANGUAGE = HPGL2\r\n" : "";
    for (const Written& w : plot) {
        std::string name = w.name;
        if (s.lower)
            for (char& c : name)
                c = static_cast<char>(std::tolower(c));
        out += name;
        for (size_t i = 0; i < w.numbers.size(); ++i)
            out += (i ? s.between : "") + number(w.numbers[i]);
        out += w.has_text ? w.text + (w.name == "PE" ? ";" : "") : s.after;
    }
    return out + (s.wrapped ? "\x1b%-12345X@PJL EOJ\r\n" : "");
}

// The drawing without its extents' last digits, and the log's counts.
struct Drawing {
    std::string entities, layers, counts;
    bool operator==(const Drawing&) const = default;
};

Drawing drawing_of(const Converted& c) {
    size_t drawn = c.log.find("Drawn: ");
    size_t errors = c.log.find("Errors: ");
    return {entities(c.dxf), layers(c.dxf),
            drawn == std::string::npos ? c.log : c.log.substr(drawn, errors - drawn)};
}

// The places an entity reaches: its points, an arc's ends, a circle's extremes.
std::vector<std::pair<double, double>> places(const std::string& type,
                                              const std::map<int, double>& v) {
    auto at = [&](int code) { return v.count(code) ? v.at(code) : 0.0; };
    double x = at(10), y = at(20), r = at(40);
    if (type == "CIRCLE") return {{x - r, y - r}, {x + r, y + r}};
    if (type == "ARC") {
        double a = at(50) * M_PI / 180, b = at(51) * M_PI / 180;
        return {{x + r * cos(a), y + r * sin(a)}, {x + r * cos(b), y + r * sin(b)}};
    }
    if (type == "POLYLINE" || type == "SEQEND") return {};
    std::vector<std::pair<double, double>> p{{x, y}};
    for (int k = 1; k <= 3; ++k)
        if (v.count(10 + k)) p.push_back({at(10 + k), at(20 + k)});
    return p;
}

// Every numeric value of the entities is finite, and every place an entity reaches lies in the
// box (min x, min y, max x, max y).
void expect_within(const std::string& dxf, const double box[4], const std::string& plot) {
    auto g = groups(dxf);
    ASSERT_FALSE(g.empty()) << plot;
    size_t i = 0;
    while (i < g.size() && g[i].second != "ENTITIES")
        ++i;
    const double slack = 2e-5; // both are written to six decimals; an arc's ends are computed
    for (++i; i < g.size() && g[i].second != "ENDSEC";) {
        std::string type = g[i].second;
        std::map<int, double> values;
        for (++i; i < g.size() && g[i].first != "  0"; ++i) {
            int code = std::stoi(g[i].first);
            if (code < 10) continue;
            values[code] = std::stod(g[i].second);
            ASSERT_TRUE(std::isfinite(values[code])) << plot;
        }
        for (auto [x, y] : places(type, values)) {
            EXPECT_TRUE(x >= box[0] - slack && x <= box[2] + slack) << type << " " << plot;
            EXPECT_TRUE(y >= box[1] - slack && y <= box[3] + slack) << type << " " << plot;
        }
    }
}

// Within the extents the header gives.
void expect_sound(const std::string& dxf, const std::string& plot) {
    auto g = groups(dxf);
    double box[4] = {0, 0, 0, 0}; // EXTMIN x, y, EXTMAX x, y
    for (size_t i = 0; i + 2 < g.size() && g[i].second != "ENTITIES"; ++i)
        if (g[i].second == "$EXTMIN" || g[i].second == "$EXTMAX") {
            int k = g[i].second == "$EXTMIN" ? 0 : 2;
            box[k] = std::stod(g[i + 1].second);
            box[k + 1] = std::stod(g[i + 2].second);
        }
    expect_within(dxf, box, plot);
}

std::vector<Written> random_plot(Generator& gen, bool turns) {
    std::vector<Written> plot{{"IN"}};
    for (int n = 5 + gen.pick(40); n > 0; --n) {
        Written w = gen.command();
        if (turns || w.name != "RO") plot.push_back(w);
    }
    return plot;
}

TEST(RandomPlots, SoundWhateverTheWritingAndTheReads) {
    Generator gen{std::mt19937(19)};
    const Style plain{",", ";", false, false};
    const Style styles[] = {{" ", " ;\r\n", true, false}, {" , ", "", false, true}};
    size_t entity_count = 0;
    for (int p = 0; p < 400; ++p) {
        std::vector<Written> plot = random_plot(gen, true);
        std::string text = written(plot, plain);
        Converted reference = convert_in_process(text);
        expect_sound(reference.dxf, text);
        Drawing expected = drawing_of(reference);
        entity_count += std::count(expected.entities.begin(), expected.entities.end(), '\n');
        for (const Style& s : styles)
            EXPECT_EQ(drawing_of(convert_in_process(written(plot, s))), expected) << text;
        for (size_t limit : {1, 7, 64}) {
            Converted cut = convert_in_process(text, limit);
            EXPECT_EQ(cut.dxf, reference.dxf) << text;
            EXPECT_EQ(cut.log, reference.log) << text;
        }
    }
    EXPECT_GT(entity_count, 3000u); // the plots draw, not only fail
}

// Under a window (set after IN; the plots do not turn, which would remove it) every place drawn
// lies in it, and a window that holds everything changes nothing.
TEST(RandomPlots, WindowsHoldWhatIsDrawn) {
    Generator gen{std::mt19937(21)};
    const Style plain{",", ";", false, false};
    for (int p = 0; p < 300; ++p) {
        std::vector<Written> plot = random_plot(gen, false);
        double x = gen.pick(2000), y = gen.pick(2000);
        double w[4] = {x, y, x + 100 + gen.pick(3000), y + 100 + gen.pick(3000)};
        std::vector<Written> cut = plot, all = plot;
        cut.insert(cut.begin() + 1, Written{"IW", {w[0], w[1], w[2], w[3]}});
        all.insert(all.begin() + 1, Written{"IW", {-1e9, -1e9, 1e9, 1e9}});
        std::string text = written(cut, plain);
        const double box[4] = {w[0] / 1016, w[1] / 1016, w[2] / 1016, w[3] / 1016};
        expect_within(convert_in_process(text).dxf, box, text);
        EXPECT_EQ(convert_in_process(written(all, plain)).dxf,
                  convert_in_process(written(plot, plain)).dxf)
            << written(plot, plain);
    }
}

} // namespace
