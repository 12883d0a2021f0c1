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
        auto* v = static_cast<TokenValue*>(realloc(values, sizeof(TokenValue) * static_cast<size_t>(n)));
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

int translate(int code) { return code <= max_token_code ? token_symbol[code] : undefined_symbol; }

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
    for (int t = 0; t < terminal_count; ++t) expected += row[t] != 0;
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

} // namespace

int hpgl_parse() {
    Stacks st;
    if (!st.reserve(initial_depth)) {
        hpgl_error("parser stack overflow");
        return 2;
    }
    if (parser_trace) fputs("Starting parse\n", stderr);
    int state = 0;
    int token = no_token; // the lookahead's code
    int symbol = 0;       // and its terminal symbol
    TokenValue value{};   // and its value
    TokenValue pushed{};  // value that goes with the state entered next

    for (;;) {
        // Enter `state`.
        st.states[++st.top] = static_cast<short>(state);
        st.values[st.top] = pushed;
        if (st.top >= st.room - 1) {
            if (st.room >= max_depth) {
                hpgl_error("parser stack overflow");
                return 2;
            }
            int grown = st.room * 2 > max_depth ? max_depth : st.room * 2;
            if (!st.reserve(grown)) {
                hpgl_error("parser stack overflow");
                return 2;
            }
            if (parser_trace) fprintf(stderr, "Stack size increased to %d\n", grown);
        }
        if (parser_trace) fprintf(stderr, "Entering state %d\n", state);

        int rule = default_rule[state];
        if (reads_token[state]) {
            if (token == no_token) {
                if (parser_trace) fputs("Reading a token: ", stderr);
                token = hpgl_scan();
                value = token_value;
            }
            if (token <= 0) {
                token = 0;
                symbol = symbol_end;
                if (parser_trace) fputs("Now at end of input.\n", stderr);
            } else {
                symbol = translate(token);
                if (parser_trace) fprintf(stderr, "Next token is %d (%s)\n", token, symbol_names[symbol]);
            }
            int target = shift_to[state * terminal_count + symbol];
            if (target) {
                if (target == final_state) return 0;
                if (parser_trace) fprintf(stderr, "Shifting token %d (%s), ", token, symbol_names[symbol]);
                pushed = value;
                if (token != 0) token = no_token; // the end of input stays the lookahead
                state = target;
                continue;
            }
            if (rule == 0) {
                report_syntax_error(state);
                if (token > 0) release_value(symbol, value);
                while (st.top > 0) {
                    release_value(accessing_symbol[st.states[st.top]], st.values[st.top]);
                    --st.top;
                    if (parser_trace) trace_stack("Error: state stack now", st);
                }
                return 1;
            }
        }

        // Reduce by `rule`.
        if (parser_trace) trace_reduction(rule);
        int length = rule_length[rule];
        TokenValue* right = st.values + st.top - length; // right[1] .. right[length]
        run_action(rule, right);
        if (rule_has_text[rule])
            for (int i = 1; i <= length; ++i) release_value(rule_rhs[rule_rhs_start[rule] + i - 1], right[i]);
        pushed = length > 0 ? right[1] : TokenValue{};
        st.top -= length;
        if (parser_trace) trace_stack("state stack now", st);
        state = goto_state(st.states[st.top], rule_lhs[rule]);
    }
}
