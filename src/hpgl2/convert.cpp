#include "hpgl2/convert.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "drawing/model.h"
#include "driver/options.h"
#include "driver/streams.h"
#include "dxf/ac1009.h"
#include "dxf/ac1015.h"
#include "format/format.h"
#include "hpgl2/commands.h"

namespace hpgl2 {

namespace {

struct Entry {
    const char* name;
    Handler handler;
};

constexpr Entry handlers[] = {
    {"AA", cmd_AA}, {"AC", cmd_AC}, {"AR", cmd_AR}, {"AT", cmd_AT}, {"BL", cmd_BL}, {"BP", cmd_BP},
    {"BR", cmd_BR}, {"BZ", cmd_BZ}, {"CI", cmd_CI}, {"CO", cmd_CO}, {"CP", cmd_CP}, {"DF", cmd_DF},
    {"DI", cmd_DI}, {"DR", cmd_DR}, {"DT", cmd_DT}, {"DV", cmd_DV}, {"EA", cmd_EA}, {"EP", cmd_EP},
    {"ER", cmd_ER}, {"ES", cmd_ES}, {"EW", cmd_EW}, {"FP", cmd_FP}, {"FR", cmd_FR}, {"FT", cmd_FT},
    {"IN", cmd_IN}, {"IP", cmd_IP}, {"IR", cmd_IR}, {"IW", cmd_IW}, {"LB", cmd_LB}, {"LO", cmd_LO},
    {"LT", cmd_LT}, {"NP", cmd_NP}, {"PA", cmd_PA}, {"PB", cmd_PB}, {"PC", cmd_PC}, {"PD", cmd_PD},
    {"PE", cmd_PE}, {"PG", cmd_PG}, {"PM", cmd_PM}, {"PR", cmd_PR}, {"PS", cmd_PS}, {"PU", cmd_PU},
    {"PW", cmd_PW}, {"RA", cmd_RA}, {"RF", cmd_RF}, {"RO", cmd_RO}, {"RR", cmd_RR}, {"RT", cmd_RT},
    {"SC", cmd_SC}, {"SI", cmd_SI}, {"SL", cmd_SL}, {"SM", cmd_SM}, {"SP", cmd_SP}, {"SR", cmd_SR},
    {"UL", cmd_UL}, {"WG", cmd_WG}, {"WU", cmd_WU},
};

// Read and not drawn: line and colour attributes a DXF does not carry, fonts, output and device
// commands.
constexpr const char* not_drawn[] = {
    "LA", "TR", "MC", "QL", "SV", "CR", "CT", "SD", "AD", "SS", "SA", "CS",
    "CA", "FN", "SB", "DL", "DV", "OA", "OC", "OD", "OE", "OF", "OG", "OH",
    "OI", "OL", "OO", "OP", "OS", "OT", "OW", "EC", "PP", "NR", "MG", "WD",
};

constexpr int mnemonics = 2 * 26 * 26; // two letters, alone or after '!'

struct NotDrawn {
    long long counts[mnemonics] = {};
    std::vector<int> order; // in the order first met
};
NotDrawn skipped;

int index_of(const char* name) {
    bool vendor = name[0] == '!';
    const char* letters = name + vendor;
    return (vendor ? 26 * 26 : 0) + (letters[0] - 'A') * 26 + (letters[1] - 'A');
}

std::string name_of(int index) {
    std::string name = index >= 26 * 26 ? "!" : "";
    index %= 26 * 26;
    return name + static_cast<char>('A' + index / 26) + static_cast<char>('A' + index % 26);
}

bool is_not_drawn(const char* name) {
    for (const char* n : not_drawn)
        if (n[0] == name[0] && n[1] == name[1]) return true;
    return false;
}

void run(Command& c) {
    Handler h = handler_of(c.name);
    if (h && !c.unusable) // a parameter that is no number skips the whole command, reported
        h(c);
    else if (!h)
        count_not_drawn(c);
    while (c.more)
        read_more(c); // what a handler did not take
}

int held(long long n) {
    return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}

void write_counts() {
    DrawnCounts d = model_counts();
    emit<"Drawn: %d polylines, %d arcs, %d circles, %d texts, %d points on %d layers\n">(
        log_stream, held(d.polylines), held(d.arcs), held(d.circles), held(d.texts), held(d.points),
        d.layers);
    if (d.fills > 0) emit<"Filled: %d areas\n">(log_stream, held(d.fills));
    if (d.pages > 1) emit<"Pages: %d\n">(log_stream, d.pages);
    if (skipped.order.empty()) return;
    std::vector<int> order = skipped.order;
    std::stable_sort(order.begin(), order.end(),
                     [](int a, int b) { return skipped.counts[a] > skipped.counts[b]; });
    std::string line = "Not drawn:";
    for (size_t i = 0; i < order.size(); ++i)
        line +=
            (i ? ", " : " ") + name_of(order[i]) + " " + std::to_string(skipped.counts[order[i]]);
    emit<"%s\n">(log_stream, line.c_str());
}

} // namespace

// The handlers by mnemonic, two letters A to Z: one look-up per command.
struct HandlerTable {
    Handler by_index[26 * 26] = {};
    constexpr HandlerTable() {
        for (const Entry& e : handlers)
            by_index[(e.name[0] - 'A') * 26 + (e.name[1] - 'A')] = e.handler;
    }
};
constexpr HandlerTable handler_table;

Handler handler_of(const char* name) {
    if (name[0] == '!') return nullptr;
    if (name[0] == '%') return name[1] == 'E' ? job_reset : job_form_feed;
    return handler_table.by_index[(name[0] - 'A') * 26 + (name[1] - 'A')];
}

void count_not_drawn(const Command& c) {
    int i = index_of(c.name);
    if (skipped.counts[i]++ > 0) return;
    skipped.order.push_back(i);
    std::string text;
    if (c.name[0] == '!')
        text = std::string("vendor command ") + c.name + ": skipped";
    else if (is_not_drawn(c.name))
        text = std::string(c.name) + " not drawn: skipped";
    else
        text = std::string("unknown command ") + c.name + ": skipped";
    warn(c, "skipped", text.c_str());
}

} // namespace hpgl2

void hpgl2_convert(int divisor) {
    using namespace hpgl2;
    static Command command; // a batch of numbers: too large for the stack
    skipped = NotDrawn{};
    device_reset();
    polygon_reset();
    labels_reset();
    attributes_reset();
    fills_default();
    reader_begin(input_stream);
    model_begin();
    restyle();
    while (read_command(command))
        run(command);
    if (dxf_r2000)
        write_ac1015(dxf_stream, model_finish(), divisor);
    else
        write_ac1009(dxf_stream, model_finish(), divisor);
    model_release();
    write_counts();
    reader_release();
}
