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

namespace {

constexpr int initial_depth = 200;
constexpr int max_depth = 10000;
constexpr int no_token = -2; // the lookahead is empty

struct Stacks {
    short* states = nullptr;
    TokenValue* values = nullptr;
    int room = 0;
    int top = -1; // index of the state on top

    bool reserve(int n) {
        auto* s = static_cast<short*>(realloc(states, sizeof(short) * static_cast<size_t>(n)));
        if (s) states = s;
        auto* v =
            static_cast<TokenValue*>(realloc(values, sizeof(TokenValue) * static_cast<size_t>(n)));
        if (v) values = v;
        if (!s || !v) return false;
        room = n;
        return true;
    }
    ~Stacks() {
        free(states);
        free(values);
    }
};

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

void trace_stack(const char* prefix, const Stacks& st) {
    fputs(prefix, stderr);
    LineBuffer line;
    for (int i = 0; i <= st.top; ++i) {
        if (line.used > sizeof line.text - 16) {
            fputs(line.text, stderr);
            line = LineBuffer{};
        }
        line.add(" ");
        line.add(st.states[i]);
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

// The parse in progress: the stacks and the lookahead.
struct Parse {
    Stacks st;
    int state = 0;
    int token = no_token; // the lookahead's code
    int symbol = 0;       // and its terminal symbol
    TokenValue value{};   // and its value
    TokenValue pushed{};  // the value that goes with the state entered next
};

// Pushes the state with its value; false when the stacks cannot grow.
template <bool traced> bool enter_state(Parse& p) {
    Stacks& st = p.st;
    st.states[++st.top] = static_cast<short>(p.state);
    st.values[st.top] = p.pushed;
    if (st.top >= st.room - 1) {
        int grown = st.room * 2 > max_depth ? max_depth : st.room * 2;
        if (st.room >= max_depth || !st.reserve(grown)) {
            hpgl_error("parser stack overflow");
            return false;
        }
        if (traced) fprintf(stderr, "Stack size increased to %d\n", grown);
    }
    if (traced) fprintf(stderr, "Entering state %d\n", p.state);
    return true;
}

// Makes sure there is a lookahead and finds its terminal symbol.
template <bool traced> void look_ahead(Parse& p) {
    if (p.token == no_token) {
        if (traced) fputs("Reading a token: ", stderr);
        p.token = hpgl_scan();
        p.value = token_value;
    }
    if (p.token <= 0) {
        p.token = 0;
        p.symbol = symbol_end;
        if (traced) fputs("Now at end of input.\n", stderr);
    } else {
        p.symbol = translate(p.token);
        if (traced) fprintf(stderr, "Next token is %d (%s)\n", p.token, symbol_names[p.symbol]);
    }
}

// After a syntax error nothing can resume: every state but the first is popped.
template <bool traced> void give_up(Parse& p) {
    report_syntax_error(p.state);
    if (p.token > 0) release_value(p.symbol, p.value);
    while (p.st.top > 0) {
        release_value(accessing_symbol[p.st.states[p.st.top]], p.st.values[p.st.top]);
        --p.st.top;
        if (traced) trace_stack("Error: state stack now", p.st);
    }
}

template <bool traced> void reduce(Parse& p, int rule) {
    if (traced) trace_reduction(rule);
    int length = rule_length[rule];
    TokenValue* right = p.st.values + p.st.top - length; // right[1] .. right[length]
    run_action(rule, right);
    if (rule_has_text[rule])
        for (int i = 1; i <= length; ++i)
            release_value(rule_rhs[rule_rhs_start[rule] + i - 1], right[i]);
    p.pushed = length > 0 ? right[1] : TokenValue{};
    p.st.top -= length;
    if (traced) trace_stack("state stack now", p.st);
    p.state = goto_state(p.st.states[p.st.top], rule_lhs[rule]);
}

template <bool traced> int parse() {
    Parse p;
    if (!p.st.reserve(initial_depth)) {
        hpgl_error("parser stack overflow");
        return 2;
    }
    if (traced) fputs("Starting parse\n", stderr);
    for (;;) {
        if (!enter_state<traced>(p)) return 2;
        int rule = default_rule[p.state];
        if (reads_token[p.state]) {
            look_ahead<traced>(p);
            int target = shift_to[p.state * terminal_count + p.symbol];
            if (target) {
                if (target == final_state) return 0;
                if (traced)
                    fprintf(stderr, "Shifting token %d (%s), ", p.token, symbol_names[p.symbol]);
                p.pushed = p.value;
                if (p.token != 0) p.token = no_token; // the end of input stays the lookahead
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
    return parser_trace ? parse<true>() : parse<false>();
}
