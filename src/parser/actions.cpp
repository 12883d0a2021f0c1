// The statement actions: each reduced rule calls its handler with the statement's operands.
// Cases name the rules by their number in hpgl.grammar; $k is the k-th symbol of the right side.
#include "parser/actions.h"

#include <cstring>

#include "driver/diagnostics.h"
#include "driver/streams.h"
#include "format/format.h"
#include "parser/tables.h"
#include "plotter/handlers.h"
#include "plotter/state.h"

using namespace parse_tables;

namespace {

const TokenValue* v;  // values of the rule being reduced, v[1] to v[n]
int current_rule = 0;

int symbol_at(int k) { return rule_rhs[rule_rhs_start[current_rule] + k - 1]; }

// $k where the handler takes an int: a real is truncated toward zero.
int int_at(int k) { return symbol_at(k) == dbl_symbol ? saturating_int(v[k].d) : v[k].i; }

// $k where the handler takes a double: an int converts exactly.
double dbl_at(int k) { return symbol_at(k) == int_symbol ? static_cast<double>(v[k].i) : v[k].d; }

// A fresh empty text: handlers may write into the text they are given.
char* empty_text() {
    static char empty[1];
    empty[0] = '\0';
    return empty;
}

// A text whose copy failed reaches its handler as the empty text.
char* text_at(int k) { return v[k].text ? v[k].text : empty_text(); }

// Statements the grammar accepts and the plotter does not carry out.
void unimplemented(const char* mnemonic) {
    emit<"Warning: unimplemented command: %s\n">(log_stream, mnemonic);
}

bool is_silent(const char* mnemonic) {
    static const char* const silent[] = {"OD", "OE", "OH", "OI", "OP", "OS"};
    for (const char* s : silent)
        if (strncmp(mnemonic, s, 2) == 0) return true;
    return false;
}

// Every command statement rule not handled by name: unimplemented, or silent.
void other_statement(int rule) {
    const char* name = symbol_names[rule_lhs[rule]]; // "XX_statement"
    if (is_silent(name)) return;
    char mnemonic[3] = {name[0], name[1], '\0'};
    unimplemented(mnemonic);
}

constexpr int first_command_rule = 125;

} // namespace

void run_action(int rule, const TokenValue* values) {
    v = values;
    current_rule = rule;
    PlotterState& s = plotter_state;
    switch (rule) {
    // Operand lists.
    case 114: plot_to(v[1].i, v[3].i); return; // point: INT ',' INT
    case 115: // twopoint_item: the SC window's two corners
        s.sc_x1 = v[1].i;
        s.sc_y1 = v[3].i;
        s.sc_x2 = v[5].i;
        s.sc_y2 = v[7].i;
        return;
    case 118: bezier_push(v[1].i, v[3].i, v[5].i, v[7].i, v[9].i, v[11].i); return;

    // Pen motion: the marker runs the handler before the first point is read.
    case 232: cmd_PA(); return;
    case 237: cmd_PD(); return;
    case 247: cmd_PR(); return;
    case 252: cmd_PU(); return;
    case 233: case 238: case 248: case 253: return; // the points were plotted one by one

    case 161: cmd_DF(); return;
    case 194: case 195: cmd_IN(); return;
    case 283: cmd_SP(0); return;
    case 284: cmd_SP(v[3].i); return;

    // Arcs and circles: AA/AR x,y,sweep[,chord].
    case 125: case 126: case 127: case 128: case 129: case 130: cmd_AA(v[3].i, v[5].i, int_at(7)); return;
    case 134: case 135: case 136: case 137: case 138: case 139: cmd_AR(v[3].i, v[5].i, int_at(7)); return;
    case 131: cmd_AC(0, 0); return;
    case 132: cmd_AC(v[3].i, v[5].i); return;
    case 149: case 150: case 151: cmd_CI(v[3].i); return;
    case 158: cmd_CT(0); return;
    case 159: cmd_CT(v[3].i); return;

    // Scaling and rotation.
    case 196: cmd_IP(0, 0, 0, 0, 0); return;
    case 197: cmd_IP(1, v[3].i, v[5].i, 0, 0); return;
    case 198: cmd_IP(2, v[3].i, v[5].i, v[7].i, v[9].i); return;
    case 202: cmd_IW(0, 0, 0, 0); return;
    case 203: cmd_IW(v[3].i, v[5].i, v[7].i, v[9].i); return;
    case 261: cmd_RO(0.0); return;
    case 262: case 263: cmd_RO(dbl_at(3)); return;
    case 273: cmd_SC(0, 0, 0, 0); return; // the stored corners stay as they are
    case 274: cmd_SC(1, 0, 0, 0); return;
    case 275: cmd_SC(2, v[5].i, 0, 0); return;
    case 276: cmd_SC(3, v[5].i, v[7].i, v[9].i); return;
    case 303: case 304: cmd_WU(); return;

    // Encoded polylines: PE with no ';' after it anywhere carries no data.
    case 239: cmd_PE(empty_text()); return;
    case 240: cmd_PE(text_at(2)); return;

    // Labels: SI gives width then height; the handler takes height first.
    case 162: cmd_DI(v[3].i, v[5].i); return;
    case 205: cmd_LB(text_at(2)); return;
    case 279: cmd_SI(0.0, 0.0); return;
    case 280: cmd_SI(v[5].d, v[3].d); return;

    // Bezier curves, polygons and fills.
    case 143: cmd_BP(); return;
    case 144: cmd_BR(); return;
    case 145: // BZ curves are not drawn: drop what its list queued
        unimplemented("BZ");
        bezier_reset();
        return;
    case 173: cmd_EP(); return;
    case 183: case 184: cmd_FP(); return;
    case 185: cmd_FR(); return;
    case 186: cmd_FT(1, 0.0, 0.0); return;
    case 187: cmd_FT(v[3].i, 0.0, 0.0); return;
    case 188: case 189: cmd_FT(v[3].i, dbl_at(5), 0.0); return;
    case 190: case 191: case 192: case 193: cmd_FT(v[3].i, dbl_at(5), dbl_at(7)); return;
    case 241: cmd_PG(0); return;
    case 242: cmd_PG(v[3].i); return;
    case 243: cmd_PM(0); return;
    case 244: cmd_PM(v[3].i); return;
    case 245: case 246: cmd_PP(); return;

    // Attributes: echoed without their numbers.
    case 211: case 212: case 213: case 214: cmd_LT(); return;
    case 215: case 216: case 217: cmd_MC(); return;
    case 222: case 223: cmd_NP(); return;
    case 234: case 235: case 236: cmd_PC(); return;
    case 249: case 250: case 251: cmd_PS(); return;
    case 254: case 255: case 256: cmd_PW(); return;
    case 257: case 258: cmd_QL(); return;
    case 296: case 297: cmd_TR(); return;

    // AT is the one unimplemented command whose line carries its numbers.
    case 140: case 141: case 142:
        emit<"Warning: unimplemented command: AT %d %d %d %d\n">(log_stream, v[3].i, v[5].i,
                   v[7].i, v[9].i);
        return;

    default:
        if (rule >= first_command_rule) other_statement(rule);
        return;
    }
}
