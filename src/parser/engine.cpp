#include "parser/engine.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/diagnostics.h"
#include "parser/actions.h"
#include "parser/tables.h"
#include "scanner/scanner.h"
#include "scanner/text.h"

using namespace parse_tables;

bool parser_quick_lists = true;

namespace {

constexpr int initial_depth = 200;
constexpr int max_depth = 10000;
constexpr int no_token = -2; // the lookahead is empty

// The two stacks, as deep as a parse may go: the state and the value of each level.
short state_stack[max_depth];
TokenValue value_stack[max_depth];

int translate(int code) {
    return code <= max_token_code ? token_symbol[code] : undefined_symbol;
}

// A line built in a fixed buffer, so that reporting never allocates; trace lines are
// written whole because standard error is unbuffered.
struct LineBuffer {
    char text[1024];
    size_t used = 0;
    void add(const char* s) {
        size_t n = strlen(s);
        if (n > sizeof text - 1 - used) n = sizeof text - 1 - used;
        memcpy(text + used, s, n);
        used += n;
        text[used] = '\0';
    }
    void add(int v) {
        char digits[16];
        snprintf(digits, sizeof digits, "%d", v);
        add(digits);
    }
};

void trace_stack(const char* prefix, int top) {
    fputs(prefix, stderr);
    LineBuffer line;
    for (int i = 0; i <= top; ++i) {
        if (line.used > sizeof line.text - 16) {
            fputs(line.text, stderr);
            line = LineBuffer{};
        }
        line.add(" ");
        line.add(state_stack[i]);
    }
    line.add("\n");
    fputs(line.text, stderr);
}

void trace_reduction(int rule) {
    LineBuffer line;
    line.add("Reducing via rule ");
    line.add(rule);
    line.add(" (line ");
    line.add(rule_line[rule]);
    line.add("), ");
    for (int i = rule_rhs_start[rule]; i < rule_rhs_start[rule + 1]; ++i) {
        line.add(symbol_names[rule_rhs[i]]);
        line.add(" ");
    }
    line.add(" -> ");
    line.add(symbol_names[rule_lhs[rule]]);
    line.add("\n");
    fputs(line.text, stderr);
}

// "parse error", with the terminals the state could shift when there are fewer than five.
void report_syntax_error(int state) {
    const short* row = shift_to + state * terminal_count;
    int expected = 0;
    for (int t = 0; t < terminal_count; ++t)
        expected += row[t] != 0;
    LineBuffer message;
    message.add("parse error");
    if (expected < 5) {
        int listed = 0;
        for (int t = 0; t < terminal_count; ++t) {
            if (!row[t]) continue;
            message.add(listed++ == 0 ? ", expecting `" : " or `");
            message.add(symbol_names[t]);
            message.add("'");
        }
    }
    hpgl_error(message.text);
}

// The one place where texts handed over by the scanner are given back.
void release_value(int symbol, TokenValue& value) {
    if (owns_text[symbol]) {
        text_release(value.text);
        value.text = nullptr;
    }
}

int goto_state(int state, int lhs) {
    return goto_to[state * (symbol_count - terminal_count) + lhs - terminal_count];
}

// Rules that only rename a symbol: one symbol on the right, no action, no text to give back.
bool renames(int rule) {
    return rule != 0 && rule_length[rule] == 1 && !rule_has_action[rule] && !rule_has_text[rule];
}

// States that do nothing but reduce by a renaming rule: entering one would push a value and pop
// it again under a new state.
bool only_renames[state_count];

void find_renaming_states() {
    for (int state = 0; state < state_count; ++state)
        only_renames[state] = !reads_token[state] && renames(default_rule[state]);
}

// The goto from `state` on `lhs`, and on through the states that only rename. Found the first
// time each is needed (0: not yet; no goto leads to the start state).
short goto_through_renames[state_count * (symbol_count - terminal_count)];

int goto_on(int state, int lhs) {
    short& known =
        goto_through_renames[state * (symbol_count - terminal_count) + lhs - terminal_count];
    if (known) return known;
    int to = goto_state(state, lhs);
    while (only_renames[to])
        to = goto_state(state, rule_lhs[default_rule[to]]);
    known = static_cast<short>(to);
    return to;
}

// The parse in progress: the depth of the stacks and the lookahead. The depth granted, `room`,
// doubles from initial_depth as the parse goes deeper, as the trace reports.
struct Parse {
    int top = -1; // the level of the state on top
    int room = initial_depth;
    int state = 0;
    int token = no_token; // the lookahead's code
    int symbol = 0;       // and its terminal symbol
    TokenValue value{};   // and its value
    TokenValue pushed{};  // the value that goes with the state entered next
};

// Pushes the state with its value; false when the stacks cannot grow.
template <bool traced> [[gnu::always_inline]] inline bool enter_state(Parse& p) {
    state_stack[++p.top] = static_cast<short>(p.state);
    value_stack[p.top] = p.pushed;
    if (p.top >= p.room - 1) [[unlikely]] {
        if (p.room >= max_depth) {
            hpgl_error("parser stack overflow");
            return false;
        }
        p.room = p.room * 2 > max_depth ? max_depth : p.room * 2;
        if (traced) fprintf(stderr, "Stack size increased to %d\n", p.room);
    }
    if (traced) fprintf(stderr, "Entering state %d\n", p.state);
    return true;
}

// Makes sure there is a lookahead and finds its terminal symbol.
// The lookahead `token` just scanned, with its value and terminal symbol; the end of the input
// is token 0.
[[gnu::always_inline]] inline void take_lookahead(Parse& p, int token) {
    p.value = token_value;
    p.token = token <= 0 ? 0 : token;
    p.symbol = token <= 0 ? symbol_end : translate(token);
}

template <bool traced> [[gnu::always_inline]] inline void look_ahead(Parse& p) {
    if (p.token == no_token) {
        if (traced) fputs("Reading a token: ", stderr);
        take_lookahead(p, hpgl_scan());
    }
    if (!traced) return;
    if (p.token == 0)
        fputs("Now at end of input.\n", stderr);
    else
        fprintf(stderr, "Next token is %d (%s)\n", p.token, symbol_names[p.symbol]);
}

// After a syntax error nothing can resume: every state but the first is popped.
template <bool traced> void give_up(Parse& p) {
    report_syntax_error(p.state);
    if (p.token > 0) release_value(p.symbol, p.value);
    while (p.top > 0) {
        release_value(accessing_symbol[state_stack[p.top]], value_stack[p.top]);
        --p.top;
        if (traced) trace_stack("Error: state stack now", p.top);
    }
}

template <bool traced> [[gnu::always_inline]] inline void reduce(Parse& p, int rule) {
    if (traced) trace_reduction(rule);
    int length = rule_length[rule];
    TokenValue* right = value_stack + p.top - length; // right[1] .. right[length]
    if (rule_has_action[rule]) run_action(rule, right);
    if (rule_has_text[rule])
        for (int i = 1; i <= length; ++i)
            release_value(rule_rhs[rule_rhs_start[rule] + i - 1], right[i]);
    p.pushed = length > 0 ? right[1] : TokenValue{};
    p.top -= length;
    if (traced) trace_stack("state stack now", p.top);
    int below = state_stack[p.top];
    p.state = traced ? goto_state(below, rule_lhs[rule]) : goto_on(below, rule_lhs[rule]);
}

// The states of the loop that reads a point list: in `list` (after a list of points) a ','
// leads to `comma`, INT to `x`, ',' to `x_comma` and INT to `y`; there the point is reduced,
// then the longer list, which leaves the stack as it was. Found in the tables once.
struct PointLoop {
    int list = -1, comma = 0, x = 0, x_comma = 0, point_rule = 0;
};
PointLoop point_loop;
int comma_symbol;

int shift_state(int state, int symbol) {
    return shift_to[state * terminal_count + symbol];
}

int rule_with(int lhs, int length) {
    for (int r = 1; r <= rule_count; ++r)
        if (rule_lhs[r] == lhs && rule_length[r] == length) return r;
    return 0;
}

// Whether, from `list`, the states and rules are those of the loop, each state reading its
// token (or not) as the fast path does.
bool is_point_loop(int list, int point_rule, int list_rule) {
    int comma = shift_state(list, comma_symbol), x = comma ? shift_state(comma, symbol_INT) : 0;
    int x_comma = x ? shift_state(x, comma_symbol) : 0;
    int y = x_comma ? shift_state(x_comma, symbol_INT) : 0;
    if (!y || !reads_token[list] || !reads_token[comma] || !reads_token[x] || !reads_token[x_comma])
        return false;
    int point = goto_state(comma, symbol_point);
    if (reads_token[y] || default_rule[y] != point_rule || reads_token[point] ||
        default_rule[point] != list_rule)
        return false;
    point_loop = {list, comma, x, x_comma, point_rule};
    return true;
}

void find_point_loop() {
    comma_symbol = translate(',');
    int point_rule = rule_with(symbol_point, 3), list_rule = rule_with(symbol_oom_point_list, 3);
    for (int state = 0; state < state_count; ++state)
        if (accessing_symbol[state] == symbol_oom_point_list &&
            is_point_loop(state, point_rule, list_rule))
            return;
}

// Puts a state on the stack without the checks of enter_state: there is room for it.
[[gnu::always_inline]] inline void push(Parse& p, int state, TokenValue value) {
    state_stack[++p.top] = static_cast<short>(state);
    value_stack[p.top] = value;
}

// The next state to enter, its value and the lookahead after it.
[[gnu::always_inline]] inline void resume(Parse& p, int state, TokenValue value, int token) {
    p.state = state;
    p.pushed = value;
    take_lookahead(p, token);
}

// The points that lie whole in the scanner's buffer, each reduced as it comes. True when there
// were any.
[[gnu::always_inline]] inline bool read_whole_points(int point_rule) {
    constexpr int batch = 64;
    int xy[2 * batch];
    bool any = false;
    while (int n = hpgl_scan_points(xy, batch)) {
        for (int i = 0; i < n; ++i) {
            TokenValue v[4] = {};
            v[1].i = xy[2 * i];
            v[3].i = xy[2 * i + 1];
            run_action(point_rule, v);
        }
        any = true;
        if (n < batch) break;
    }
    return any;
}

// The point list without the tables: each point is reduced as the tables would reduce it, the
// tokens are read in the same order, and whatever does not continue the list leaves the parse
// where the tables would have it. True when a state is to be entered next; false when the parse
// is back in the list state with a new lookahead.
[[gnu::always_inline]] inline bool read_point_list(Parse& p) {
    const PointLoop& loop = point_loop;
    for (;;) {
        // The lookahead is a comma again, with the value a comma has after the points.
        if (read_whole_points(loop.point_rule)) take_lookahead(p, ',');
        TokenValue comma = p.value;
        PointTokens t = hpgl_scan_point();
        switch (t.matched) {
        case 0: return resume(p, loop.comma, comma, t.next), true;
        case 1: push(p, loop.comma, comma); return resume(p, loop.x, t.x, t.next), true;
        case 2:
            push(p, loop.comma, comma);
            push(p, loop.x, t.x);
            return resume(p, loop.x_comma, t.comma, t.next), true;
        }
        TokenValue v[4] = {{}, t.x, t.comma, t.y}; // the values of INT ',' INT
        run_action(loop.point_rule, v);
        take_lookahead(p, t.next);
        if (p.token != ',') return false;
    }
}

template <bool traced> int parse() {
    Parse p;
    if (traced) fputs("Starting parse\n", stderr);
    for (;;) {
        if (!enter_state<traced>(p)) return 2;
        int rule = default_rule[p.state];
        if (reads_token[p.state]) {
            look_ahead<traced>(p);
            if (!traced && p.state == point_loop.list && p.symbol == comma_symbol &&
                parser_quick_lists && p.top + 5 < p.room) { // the stacks need not grow
                if (read_point_list(p)) continue;
            }
            int target = shift_to[p.state * terminal_count + p.symbol];
            if (target) {
                if (target == final_state) return 0;
                if (traced)
                    fprintf(stderr, "Shifting token %d (%s), ", p.token, symbol_names[p.symbol]);
                p.pushed = p.value;
                if (p.token != 0) p.token = no_token; // the end of input stays the lookahead
                if (!traced && only_renames[target])
                    target = goto_on(p.state, rule_lhs[default_rule[target]]);
                p.state = target;
                continue;
            }
            if (rule == 0) {
                give_up<traced>(p);
                return 1;
            }
        }
        reduce<traced>(p, rule);
    }
}

} // namespace

// The traced engine is a build of its own, so that the usual one carries no trace checks.
int hpgl_parse() {
    if (point_loop.list < 0) {
        find_point_loop();
        find_renaming_states();
    }
    return parser_trace ? parse<true>() : parse<false>();
}
