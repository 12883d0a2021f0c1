#include "scanner/scanner.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "driver/diagnostics.h"
#include "scanner/automaton.h"
#include "scanner/input.h"
#include "scanner/text.h"

using namespace automaton;

TokenValue token_value;
bool scanner_quick_path = true;

namespace {

enum Mode { INITIAL, LABEL_MODE, COMMENT_MODE, ENCODED_MODE };

constexpr char ETX = 3;
constexpr long long nowhere = -1;

struct ScannerState {
    bool created = false;
    FILE* source = nullptr;
    Mode mode = INITIAL;
    int token_start = 0; // the first byte of the token being matched, in input.bytes
    int cursor = 0;      // the next byte to look at
    // Stream offsets from which a text terminator is known not to occur again: once the
    // stream has ended without one, no later text rule can match.
    long long no_etx_from = nowhere;
    long long no_quote_from = nowhere;
    long long no_semicolon_from = nowhere;
};

ScannerState scanner;

// A token: its length from token_start (the ';' after encoded text is not part of it).
struct Match {
    int length;
    Rule rule;
};

// Makes the byte at the cursor available if the stream has more. A refill moves the pending
// text (from token_start) to the buffer's front, and the two indices with it.
bool more_bytes() {
    while (scanner.cursor >= input.length) {
        int added = 0;
        int moved = input_fill(scanner.token_start, added);
        scanner.token_start -= moved;
        scanner.cursor -= moved;
        if (added == 0) return false;
    }
    return true;
}

bool known_absent(long long memo, int index) {
    return memo != nowhere && input.base + index >= memo;
}

// Offset from token_start of the first `terminator` at or after offset `from`, reading on as
// far as needed; -1 when the input ends first (remembered, so that the rest of the input is
// not searched again).
int find_terminator(char terminator, long long& memo, int from) {
    scanner.cursor = scanner.token_start + from;
    if (known_absent(memo, scanner.cursor)) return -1;
    long long searched_from = input.base + scanner.cursor;
    for (;;) {
        const char* at = input.bytes + scanner.cursor;
        size_t left = static_cast<size_t>(input.length - scanner.cursor);
        if (const void* hit = memchr(at, terminator, left))
            return static_cast<int>(static_cast<const char*>(hit) - input.bytes) -
                   scanner.token_start;
        scanner.cursor = input.length;
        if (!more_bytes()) {
            if (memo == nowhere || searched_from < memo) memo = searched_from;
            return -1;
        }
    }
}

// The text rule of the current mode, which wins wherever it matches.
bool match_text(Match& m) {
    const char first = input.bytes[scanner.token_start];
    int end = -1;
    switch (scanner.mode) {
    case LABEL_MODE:
        if (first == ETX) return false; // an empty label is the character ETX
        end = find_terminator(ETX, scanner.no_etx_from, 1);
        m = {end + 1, rule_label};
        break;
    case COMMENT_MODE:
        if (first != '"') return false;
        scanner.cursor = scanner.token_start + 1;
        if (!more_bytes() || input.bytes[scanner.cursor] == '"') return false;
        end = find_terminator('"', scanner.no_quote_from, 2);
        m = {end + 1, rule_quoted};
        break;
    case ENCODED_MODE:
        end = find_terminator(';', scanner.no_semicolon_from, 0);
        m = {end, rule_encoded};
        break;
    case INITIAL: break;
    }
    return end >= 0;
}

// Longest match of the general rules, backing up to the last accepting position.
Match match_general() {
    uint8_t state = automaton::start;
    Match m{0, no_rule};
    for (scanner.cursor = scanner.token_start;;) {
        auto c = static_cast<unsigned char>(input.bytes[scanner.cursor]);
        if (c == 0 && scanner.cursor >= input.length) {
            if (!more_bytes()) break;
            continue;
        }
        state = transitions.next[state * 32 + tables.byte_class[c]];
        if (state == dead) break;
        ++scanner.cursor;
        if (tables.accept[state] != no_rule)
            m = {scanner.cursor - scanner.token_start, static_cast<Rule>(tables.accept[state])};
    }
    return m;
}

[[gnu::cold]] void trace_token(const char* text) {
    if (text[0] == '\t')
        fprintf(stderr, "token=\"TAB\", tokenpos=%d, yyleng=%d\n", tokenpos, yyleng);
    else
        fprintf(stderr, "token=\"%.*s\", tokenpos=%d, yyleng=%d\n", yyleng, text, tokenpos, yyleng);
}

// Takes the next `length` bytes as the current token, the one place where the position
// advances (a line end resets it instead), and traces it under -d.
[[gnu::always_inline]] inline char* take(int length) {
    char* text = input.bytes + scanner.token_start;
    yyleng = length; // the cursor is set again wherever it is used
    scanner.token_start += length;
    tokenpos = wrap_add(tokenpos, length);
    if (scanner_trace) trace_token(text);
    return text;
}

// A line end, which is no token: the position starts again at the next line.
[[gnu::always_inline]] inline void next_line() {
    yyleng = 1;
    scanner.token_start += 1;
    ++line_number;
    tokenpos = 0;
}

[[gnu::cold]] void trace_int_value() {
    fprintf(stderr, "Token value = \"0x%x\"\n", static_cast<unsigned>(token_value.i));
}

// INT values wrap modulo 2^32 however long the number is.
int int_value(const char* text, int length) {
    bool negative = *text == '-';
    unsigned v = 0;
    for (int i = negative; i < length; ++i)
        v = v * 10u + static_cast<unsigned>(text[i] - '0');
    return static_cast<int>(negative ? 0u - v : v);
}

double dbl_value(char* text, int length) {
    double v = 0;
    auto r = std::from_chars(text, text + length, v);
    if (r.ec != std::errc()) {    // out of range: infinity or zero, as strtod gives
        char held = text[length]; // the buffer always has a byte after the token
        text[length] = '\0';
        v = strtod(text, nullptr);
        text[length] = held;
    }
    return v;
}

// The value of an INT, DBL or text token, traced under -d.
int make_token(int kind, char* text) {
    switch (kind) {
    case INT:
        token_value.i = int_value(text, yyleng);
        if (scanner_trace) trace_int_value();
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

// Takes the matched token and runs its rule's action: a token kind to return, or 0 to scan on.
int act(Match m) {
    if (m.rule == rule_newline) {
        next_line();
        return 0;
    }
    char* text = take(m.length);
    switch (m.rule) {
    case rule_blanks: return 0;
    case rule_illegal: report_illegal(text[0]); return 0;
    case rule_single: return static_cast<unsigned char>(text[0]);
    case rule_int: return make_token(INT, text);
    case rule_dbl: return make_token(DBL, text);
    case rule_escape: return ESC;
    case rule_pjl: return PJL;
    case rule_enter: return ENTER;
    case rule_language: return LANGUAGE;
    case rule_hpgl2: return HPGL2;
    case rule_co: scanner.mode = COMMENT_MODE; return CO;
    case rule_lb: scanner.mode = LABEL_MODE; return LB;
    case rule_pe: scanner.mode = ENCODED_MODE; return PE;
    case rule_label: scanner.mode = INITIAL; return make_token(LBSTR, text);
    case rule_quoted: scanner.mode = INITIAL; return make_token(QSTR, text);
    case rule_encoded: scanner.mode = INITIAL; return make_token(PESTR, text);
    case rule_newline:
    case no_rule: break;
    }
    fatal_error("fatal flex scanner internal error--no action found");
}

// The digits at p, when they are one to seven: their count and value, read as one word. 0 for
// none or eight and more. A byte is a digit when its high nibble and that of the byte plus 6 are
// both 3; a carry out of a byte reaches only the bytes after it.
[[gnu::always_inline]] inline int short_digit_run(const char* p, unsigned& value) {
    if constexpr (std::endian::native != std::endian::little) return 0;
    uint64_t word;
    memcpy(&word, p, sizeof word);
    constexpr uint64_t ones = 0x0101010101010101u;
    uint64_t other =
        ((word & 0xf0 * ones) ^ 0x30 * ones) | (((word + 0x06 * ones) & 0xf0 * ones) ^ 0x30 * ones);
    if (other == 0) return 0;
    int count = __builtin_ctzll(other) / 8;
    if (count == 0) return 0;
    // The digits moved to the top, zeros before them, then summed in pairs, fours and eights.
    uint64_t d = (word - 0x30 * ones) << (64 - 8 * count);
    d = d * 10 + (d >> 8);
    d = ((d & 0x000000ff000000ffu) * (100 + (1000000ull << 32)) +
         ((d >> 16) & 0x000000ff000000ffu) * (1 + (10000ull << 32))) >>
        32;
    value = static_cast<unsigned>(d);
    return count;
}

// The digits at q, as many as there are, in an unsigned that wraps: the byte after them, or
// null when q holds no digit.
[[gnu::always_inline]] inline const char* digits_at(const char* q, unsigned& value) {
    unsigned digit = static_cast<unsigned char>(*q) - 48u;
    if (digit >= 10) return nullptr;
    value = 0;
    do
        value = value * 10u + digit;
    while ((digit = static_cast<unsigned char>(*++q) - 48u) < 10);
    return q;
}

// The length of an integer at b that ends before `end`, the end of the buffer, with its value;
// 0 for anything else. Takes nothing.
[[gnu::always_inline]] inline int int_at(const char* b, const char* end, unsigned& value) {
    bool negative = *b == '-';
    const char* q = b + negative;
    int count = short_digit_run(q, value);
    q = count > 0 ? q + count : digits_at(q, value);
    if (!q || q >= end || *q == '.') return 0; // it may go on
    if (negative) value = 0u - value;
    return static_cast<int>(q - b);
}

// An integer at b, the token start, that ends inside the buffer; -1 for anything else. Most
// are short: the digits one by one cost less here than a word at once.
[[gnu::always_inline]] inline int quick_int(const char* b) {
    bool negative = b[0] == '-';
    unsigned v;
    const char* q = digits_at(b + negative, v);
    if (!q) return -1;
    int length = static_cast<int>(q - b);
    if (scanner.token_start + length >= input.length || *q == '.') return -1; // it may go on
    take(length);
    token_value.i = static_cast<int>(negative ? 0u - v : v);
    if (scanner_trace) trace_int_value();
    return INT;
}

// A token of one or two bytes that the automaton would take, with its rule: a character that
// nothing extends, a keyword's first letter that the next byte does not continue, or a keyword
// of two letters (LB, PE, CO) that the byte after them does not continue. 0 for anything else.
[[gnu::always_inline]] inline Match short_token(const char* b) {
    uint8_t to = transitions.next[automaton::start * 32 + tables.byte_class[*b & 0xff]];
    if (to == tables.single_state) return {1, rule_single};
    if (tables.accept[to] != rule_single || scanner.token_start + 2 >= input.length)
        return {0, no_rule};
    uint8_t second = transitions.next[to * 32 + tables.byte_class[b[1] & 0xff]];
    if (second == dead) return {1, rule_single};
    auto rule = static_cast<Rule>(tables.accept[second]);
    if (rule != no_rule && transitions.next[second * 32 + tables.byte_class[b[2] & 0xff]] == dead)
        return {2, rule};
    return {0, no_rule};
}

// What quick_token gives when it took line ends up to the end of the buffer, and no token.
constexpr int line_ends_only = -2;

// The commonest tokens without the automaton, line ends before them taken as they come. -1 for
// anything else, which the automaton takes.
[[gnu::always_inline]] inline int quick_token() {
    for (;;) {
        const char* b = input.bytes + scanner.token_start;
        if (*b == '\n') {
            next_line();
            if (scanner.token_start >= input.length) return line_ends_only;
            continue;
        }
        Match m = short_token(b);
        if (m.rule == rule_single) {
            take(1);
            return static_cast<unsigned char>(*b);
        }
        if (m.length == 2) return act(m); // a keyword
        return quick_int(b);
    }
}

// The end of the input: the buffer is emptied so that a later call would read on.
bool at_end_of_input() {
    scanner.cursor = scanner.token_start;
    if (more_bytes()) return false;
    input_flush();
    scanner.token_start = scanner.cursor = 0;
    yyleng = 1; // the end-of-buffer mark counts as the last text matched
    return true;
}

// Every token the quick path does not take, the end of the input and the first call included.
[[gnu::noinline]] int scan_on() {
    if (!scanner.created) {
        input_create(scanner.source);
        scanner.created = true;
    }
    for (;;) {
        if (at_end_of_input()) {
            if (hpgl_wrap()) return 0;
            continue;
        }
        if (scanner.mode == INITIAL && scanner_quick_path) {
            int kind = quick_token();
            if (kind >= 0) return kind;
            if (kind == line_ends_only) continue; // the buffer may end here
        }
        Match m;
        if (scanner.mode == INITIAL || !match_text(m)) m = match_general();
        if (int kind = act(m)) return kind;
    }
}

} // namespace

namespace {

[[gnu::always_inline]] inline int next_token() {
    // The usual token: in INITIAL mode, with its first byte in the buffer.
    if (scanner.token_start < input.length && scanner.mode == INITIAL && scanner_quick_path) {
        int kind = quick_token();
        if (kind >= 0) return kind;
    }
    return scan_on();
}

// The usual number of a point: an integer, before anything else.
// The usual number of a point in INITIAL mode with the quick path on: an integer first.
[[gnu::always_inline]] inline int next_int_or_token() {
    if (scanner.token_start < input.length) {
        int kind = quick_int(input.bytes + scanner.token_start);
        if (kind >= 0) return kind;
    }
    return next_token();
}

// The comma between the numbers of a list, likewise.
[[gnu::always_inline]] inline int next_comma_or_token() {
    if (scanner.token_start < input.length && input.bytes[scanner.token_start] == ',') {
        take(1);
        return ',';
    }
    return next_token();
}

} // namespace

int hpgl_scan() {
    return next_token();
}

namespace {

// The tokens of a point, the quick way or each by hpgl_scan.
template <bool quick> PointTokens scan_point() {
    PointTokens t;
    if ((t.next = quick ? next_int_or_token() : hpgl_scan()) != INT) return t;
    t.x = token_value;
    t.matched = 1;
    if ((t.next = quick ? next_comma_or_token() : hpgl_scan()) != ',') return t;
    t.comma = token_value;
    t.matched = 2;
    if ((t.next = quick ? next_int_or_token() : hpgl_scan()) != INT) return t;
    t.y = token_value;
    t.matched = 3;
    t.next = quick ? next_comma_or_token() : hpgl_scan();
    return t;
}

// An integer and the comma after it, both before `end`: the byte after the comma, or null.
[[gnu::always_inline]] inline const char* int_and_comma(const char* b, const char* end,
                                                        unsigned& value) {
    int length = int_at(b, end, value);
    return length > 0 && b[length] == ',' ? b + length + 1 : nullptr;
}

} // namespace

int hpgl_scan_points(int* xy, int room) {
    if (scanner.mode != INITIAL || !scanner_quick_path || scanner_trace) return 0;
    const char* start = input.bytes + scanner.token_start;
    const char* end = input.bytes + input.length;
    const char* b = start;
    int n = 0;
    unsigned x, y = 0;
    while (n < room) {
        const char* c = int_and_comma(b, end, x);
        if (!c) break;
        const char* after = int_and_comma(c, end, y);
        if (!after) break;
        xy[2 * n] = static_cast<int>(x);
        xy[2 * n + 1] = static_cast<int>(y);
        ++n;
        b = after;
    }
    if (n == 0) return 0;
    int length = static_cast<int>(b - start);
    scanner.token_start += length;
    tokenpos = wrap_add(tokenpos, length);
    yyleng = 1;
    token_value.i = static_cast<int>(y);
    return n;
}

PointTokens hpgl_scan_point() {
    // The tokens of a point leave the mode as it is: INITIAL at the start means INITIAL throughout.
    bool quick = scanner.mode == INITIAL && scanner_quick_path;
    return quick ? scan_point<true>() : scan_point<false>();
}

int hpgl_wrap() {
    return 1;
}

void scanner_set_input(FILE* stream) {
    scanner.source = stream;
}

void scanner_reset() {
    input_release();
    text_forget_spare();
    scanner = ScannerState{};
    token_value = TokenValue{};
}
