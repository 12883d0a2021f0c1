#include "e2e/drawing.h"

#include <cstdlib>
#include <sstream>

#include "hpgl2/source.h"
#include "inprocess/inprocess.h"

Converted convert_in_process(const std::string& input, size_t read_limit) {
    char *dxf = nullptr, *log = nullptr;
    size_t dxf_size = 0, log_size = 0;
    FILE* d = open_memstream(&dxf, &dxf_size);
    FILE* l = open_memstream(&log, &log_size);
    FILE* saved_err = stderr;
    stderr = fopen("/dev/null", "w");
    source_read_limit = read_limit;
    convert_in_memory(input.data(), input.size(), d, l, true);
    source_read_limit = 1 << 16;
    fclose(stderr);
    stderr = saved_err;
    fclose(d);
    fclose(l);
    Converted c{std::string(dxf, dxf_size), std::string(log, log_size)};
    free(dxf);
    free(log);
    return c;
}

Result convert2(const std::string& input, const std::vector<std::string>& extra) {
    std::vector<std::string> args{"--hpgl2"};
    args.insert(args.end(), extra.begin(), extra.end());
    return convert(input, args);
}

std::vector<std::pair<std::string, std::string>> groups(const std::string& dxf) {
    std::vector<std::pair<std::string, std::string>> g;
    std::istringstream in(dxf);
    for (std::string code, value; std::getline(in, code);) {
        if (!std::getline(in, value)) return {};
        g.push_back({code, value});
    }
    return g;
}

namespace {

using Groups = std::vector<std::pair<std::string, std::string>>;

size_t find_group(const Groups& g, const std::string& code, const std::string& value,
                  size_t from = 0) {
    for (size_t i = from; i < g.size(); ++i)
        if (g[i].first == code && g[i].second == value) return i;
    return g.size();
}

std::string value_of(const Groups& g, size_t from, size_t to, const std::string& code) {
    for (size_t i = from; i < to; ++i)
        if (g[i].first == code) return g[i].second;
    return "";
}

std::string point(const Groups& g, size_t from, size_t to, const char* x = " 10",
                  const char* y = " 20") {
    std::ostringstream s;
    s << " (" << value_of(g, from, to, x) << "," << value_of(g, from, to, y) << ")";
    return s.str();
}

// One entity, groups [from, to): its type, layer, colour and the values that matter.
std::string describe(const Groups& g, size_t from, size_t to) {
    std::string type = g[from].second;
    auto v = [&](const char* code) { return value_of(g, from + 1, to, code); };
    std::ostringstream s;
    s << type << " " << v("  8");
    if (!v("  6").empty()) s << " " << v("  6");
    if (type == "POLYLINE" && (v(" 70") == "1" || v(" 70") == "129")) s << " closed";
    if (type == "SOLID" || type == "LINE") {
        s << point(g, from, to) << point(g, from, to, " 11", " 21");
        if (type == "SOLID")
            s << point(g, from, to, " 12", " 22") << point(g, from, to, " 13", " 23");
    }
    if (type == "POINT" || type == "CIRCLE" || type == "ARC" || type == "TEXT")
        s << point(g, from, to);
    if (type == "CIRCLE" || type == "ARC") s << " r" << v(" 40");
    if (type == "ARC") s << " " << v(" 50") << ".." << v(" 51");
    if (type == "TEXT") {
        s << " h" << v(" 40") << " [" << v("  1") << "]";
        for (const char* code : {" 50", " 41", " 51"})
            if (!v(code).empty()) s << code << "=" << v(code);
    }
    if (!v(" 62").empty()) s << " colour " << v(" 62");
    return s.str();
}

} // namespace

std::string entities(const std::string& dxf) {
    Groups g = groups(dxf);
    size_t i = find_group(g, "  2", "ENTITIES") + 1;
    std::string out;
    while (i < g.size() && !(g[i].first == "  0" && g[i].second == "ENDSEC")) {
        size_t next = i + 1;
        while (next < g.size() && g[next].first != "  0")
            ++next;
        if (g[i].second == "VERTEX")
            out += point(g, i, next);
        else if (g[i].second != "SEQEND")
            out.append(out.empty() ? "" : "\n").append(describe(g, i, next));
        i = next;
    }
    return out.empty() ? out : out + "\n";
}

std::string layers(const std::string& dxf) {
    Groups g = groups(dxf);
    std::string out;
    size_t table = find_group(g, "  2", "LAYER");
    for (size_t i = find_group(g, "  0", "LAYER", table); i < g.size();
         i = find_group(g, "  0", "LAYER", i + 1))
        out.append(out.empty() ? "" : " ")
            .append(value_of(g, i + 1, i + 3, "  2"))
            .append(":")
            .append(value_of(g, i + 1, i + 5, " 62"));
    return out;
}

std::string extents(const std::string& dxf) {
    Groups g = groups(dxf);
    size_t min = find_group(g, "  9", "$EXTMIN"), max = find_group(g, "  9", "$EXTMAX");
    return point(g, min, min + 3).substr(1) + "-" + point(g, max, max + 3).substr(1);
}

std::string log_body(const std::string& log) {
    size_t start = log.find('\n', log.find('\n') + 1) + 1;
    size_t end = log.rfind("Errors: ");
    return start <= end && end != std::string::npos ? log.substr(start, end - start) : log;
}
