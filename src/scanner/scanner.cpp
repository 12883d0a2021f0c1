#include "scanner/scanner.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

#include "driver/diagnostics.h"
#include "scanner/automaton.h"
#include "scanner/input.h"
#include "scanner/text.h"

using namespace automaton;

TokenValue token_value;

namespace {

enum Mode { INITIAL, LABEL_MODE, COMMENT_MODE, ENCODED_MODE };

constexpr char ETX = 3;
constexpr long long nowhere = -1;

struct ScannerState {
    bool created = false;
    FILE* source = nullptr;
    Mode mode = INITIAL;
    int position = 0; // next byte to scan in input.bytes
    // Stream offsets from which a text terminator is known not to occur again: once the
    // stream has ended without one, no later text rule can match.
    long long no_etx_from = nowhere;
    long long no_quote_from = nowhere;
    long long no_semicolon_from = nowhere;
};

ScannerState scanner;

struct Match {
    int start; // index of the token's first byte
    int end;   // one past its last byte (the ';' after encoded text is not part of it)
    Rule rule;
};

// Makes the byte at `index` available if the stream has more. Indices held by the caller
// drop by the returned amount. False at the end of the input.
bool have_byte(int& start, int& index) {
    while (index >= input.length) {
        int added = 0;
        int moved = input_fill(start, added);
        start -= moved;
        index -= moved;
        if (added == 0) return false;
    }
    return true;
}

bool known_absent(long long memo, int index) {
    return memo != nowhere && input.base + index >= memo;
}

// Index of the first `terminator` at or after `from`, reading on as far as needed; -1 when
// the input ends first (remembered, so that the rest of the input is not searched again).
int find_terminator(char terminator, long long& memo, int& start, int from) {
    if (known_absent(memo, from)) return -1;
    long long searched_from = input.base + from;
    for (;;) {
        if (from < input.length) {
            const void* hit = memchr(input.bytes + from, terminator,
                                     static_cast<size_t>(input.length - from));
            if (hit) return static_cast<int>(static_cast<const char*>(hit) - input.bytes);
            from = input.length;
        }
        if (!have_byte(start, from)) {
            if (memo == nowhere || searched_from < memo) memo = searched_from;
            return -1;
        }
    }
}

// The text rule of the current mode, which wins wherever it matches.
bool match_text(int& start, Match& m) {
    switch (scanner.mode) {
    case LABEL_MODE: {
        if (input.bytes[start] == ETX) return false; // an empty label is the character ETX
        int e = find_terminator(ETX, scanner.no_etx_from, start, start + 1);
        if (e < 0) return false;
        m = {start, e + 1, rule_label};
        return true;
    }
    case COMMENT_MODE: {
        if (input.bytes[start] != '"') return false;
        int second = start + 1;
        if (!have_byte(start, second) || input.bytes[second] == '"') return false;
        int e = find_terminator('"', scanner.no_quote_from, start, second + 1);
        if (e < 0) return false;
        m = {start, e + 1, rule_quoted};
        return true;
    }
    case ENCODED_MODE: {
        int e = find_terminator(';', scanner.no_semicolon_from, start, start);
        if (e < 0) return false;
        m = {start, e, rule_encoded};
        return true;
    }
    case INITIAL: break;
    }
    return false;
}

// Longest match of the general rules, backing up to the last accepting position.
Match match_general(int start) {
    uint8_t state = automaton::start;
    int p = start;
    Match m{start, start, no_rule};
    for (;;) {
        auto c = static_cast<unsigned char>(input.bytes[p]);
        if (c == 0 && p >= input.length) {
            int old_start = start;
            bool more = have_byte(start, p);
            m.start = start;
            m.end -= old_start - start;
            if (!more) break;
            continue;
        }
        state = transitions.next[state * 32 + tables.byte_class[c]];
        if (state == dead) break;
        ++p;
        if (tables.accept[state] != no_rule) {
            m.rule = static_cast<Rule>(tables.accept[state]);
            m.end = p;
        }
    }
    return m;
}

// Byte after the token, set to NUL while the token's action runs.
struct TerminatedText {
    char* text;
    char* end;
    char held;
    TerminatedText(int start, int stop)
        : text(input.bytes + start), end(input.bytes + stop), held(*end) {
        *end = '\0';
    }
    ~TerminatedText() { *end = held; }
};

void trace_token(const char* text) {
    if (!scanner_trace) return;
    if (text[0] == '\t') fprintf(stderr, "token=\"TAB\", tokenpos=%d, yyleng=%d\n", tokenpos, yyleng);
    else fprintf(stderr, "token=\"%s\", tokenpos=%d, yyleng=%d\n", text, tokenpos, yyleng);
}

// INT values wrap modulo 2^32 however long the number is.
int int_value(const char* text) {
    bool negative = *text == '-';
    if (negative) ++text;
    unsigned v = 0;
    for (; *text; ++text) v = v * 10u + static_cast<unsigned>(*text - '0');
    return static_cast<int>(negative ? 0u - v : v);
}

double dbl_value(const char* text, int length) {
    double v = 0;
    auto r = std::from_chars(text, text + length, v);
    if (r.ec != std::errc()) v = strtod(text, nullptr); // out of range: infinity or zero
    return v;
}

int make_token(int kind, bool has_value, const char* text) {
    tokenpos = wrap_add(tokenpos, yyleng);
    trace_token(text);
    if (!has_value) return kind;
    switch (kind) {
    case INT:
        token_value.i = int_value(text);
        if (scanner_trace) fprintf(stderr, "Token value = \"0x%x\"\n", static_cast<unsigned>(token_value.i));
        return kind;
    case DBL:
        token_value.d = dbl_value(text, yyleng);
        if (scanner_trace) fprintf(stderr, "Token value = \"%lf\"\n", token_value.d);
        return kind;
    case LBSTR: token_value.text = text_copy(text, static_cast<size_t>(yyleng - 1)); break;
    default: token_value.text = text_copy(text, static_cast<size_t>(yyleng)); break;
    }
    if (scanner_trace) fprintf(stderr, "Token value = \"%s\"\n", token_value.text);
    return kind;
}

void report_illegal(char c) {
    char message[64];
    snprintf(message, sizeof message, "Illegal character : %c : 0x%x\n", c,
             static_cast<unsigned>(static_cast<int>(static_cast<signed char>(c))));
    hpgl_error(message);
}

// Runs the action of the matched rule: a token kind to return, or 0 to scan on.
int act(const Match& m) {
    TerminatedText token(m.start, m.end);
    const char* text = token.text;
    switch (m.rule) {
    case rule_newline:
        ++line_number;
        tokenpos = 0;
        return 0;
    case rule_blanks:
        tokenpos = wrap_add(tokenpos, yyleng);
        trace_token(text);
        return 0;
    case rule_illegal:
        tokenpos = wrap_add(tokenpos, yyleng);
        trace_token(text);
        report_illegal(text[0]);
        return 0;
    case rule_single:
        tokenpos = wrap_add(tokenpos, yyleng);
        trace_token(text);
        return static_cast<unsigned char>(text[0]);
    case rule_int: return make_token(INT, true, text);
    case rule_dbl: return make_token(DBL, true, text);
    case rule_escape: return make_token(ESC, false, text);
    case rule_pjl: return make_token(PJL, false, text);
    case rule_enter: return make_token(ENTER, false, text);
    case rule_language: return make_token(LANGUAGE, false, text);
    case rule_hpgl2: return make_token(HPGL2, false, text);
    case rule_co: scanner.mode = COMMENT_MODE; return make_token(CO, false, text);
    case rule_lb: scanner.mode = LABEL_MODE; return make_token(LB, false, text);
    case rule_pe: scanner.mode = ENCODED_MODE; return make_token(PE, false, text);
    case rule_label: scanner.mode = INITIAL; return make_token(LBSTR, true, text);
    case rule_quoted: scanner.mode = INITIAL; return make_token(QSTR, true, text);
    case rule_encoded: scanner.mode = INITIAL; return make_token(PESTR, true, text);
    case no_rule: break;
    }
    fatal_error("fatal flex scanner internal error--no action found");
}

// The commonest tokens, a lone character and an integer that ends inside the buffer, are
// taken without running the automaton; anything else returns -1 and goes the general way.
int scan_common(int start) {
    const char* b = input.bytes;
    auto c = static_cast<unsigned char>(b[start]);
    uint8_t to = transitions.next[automaton::start * 32 + tables.byte_class[c]];
    if (to == tables.single_state) {
        yyleng = 1;
        scanner.position = start + 1;
        tokenpos = wrap_add(tokenpos, 1);
        return c;
    }
    bool negative = c == '-';
    int p = start + negative;
    if (to != tables.integer_state && !(negative && is_digit(b[p]))) return -1;
    unsigned v = 0;
    for (; is_digit(b[p]); ++p) v = v * 10u + static_cast<unsigned>(b[p] - '0');
    if (p >= input.length || b[p] == '.') return -1; // may go on: let the automaton decide
    yyleng = p - start;
    scanner.position = p;
    tokenpos = wrap_add(tokenpos, yyleng);
    token_value.i = static_cast<int>(negative ? 0u - v : v);
    return INT;
}

} // namespace

int hpgl_wrap() { return 1; }

int hpgl_scan() {
    if (!scanner.created) {
        input_create(scanner.source);
        scanner.created = true;
    }
    for (;;) {
        int start = scanner.position;
        int first = start;
        if (!have_byte(start, first)) {
            input_flush();
            scanner.position = 0;
            yyleng = 1; // the end-of-buffer mark counts as the last text matched
            if (hpgl_wrap()) return 0;
            continue;
        }
        if (scanner.mode == INITIAL && !scanner_trace) {
            int kind = scan_common(start);
            if (kind >= 0) return kind;
        }
        Match m;
        if (scanner.mode == INITIAL || !match_text(start, m)) m = match_general(start);
        yyleng = m.end - m.start;
        scanner.position = m.end;
        int kind = act(m);
        if (kind != 0) return kind;
    }
}

void scanner_set_input(FILE* stream) { scanner.source = stream; }

void scanner_reset() {
    input_release();
    scanner = ScannerState{};
    token_value = TokenValue{};
}
