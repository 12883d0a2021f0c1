// The deterministic automaton of the general token rules, over byte classes.
//
// It recognises, longest match first and the lower rule number on ties:
//   1 LF   2 [ \t\r\x1a]+   3 -?[0-9]+   4 -?[0-9]*\.[0-9]+   5 ESC
//   6 PJL  7 ENTER  8 LANGUAGE  9 HPGL2  10 CO  11 LB  12 PE
//   16 one of ETX % & * , . : ; = @ A-Z a-z   17 any other byte but LF
// The text rules of the label, comment and encoded modes are matched apart (scanner.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace automaton {

enum Rule : uint8_t {
    no_rule = 0,
    rule_newline = 1,
    rule_blanks = 2,
    rule_int = 3,
    rule_dbl = 4,
    rule_escape = 5,
    rule_pjl = 6,
    rule_enter = 7,
    rule_language = 8,
    rule_hpgl2 = 9,
    rule_co = 10,
    rule_lb = 11,
    rule_pe = 12,
    rule_label = 13,
    rule_quoted = 14,
    rule_encoded = 15,
    rule_single = 16,
    rule_illegal = 17,
};

constexpr int max_states = 48;
constexpr uint8_t dead = 0;
constexpr uint8_t start = 1;

constexpr bool is_blank(int c) {
    return c == '\t' || c == '\r' || c == 0x1a || c == ' ';
}
constexpr bool is_digit(int c) {
    return c >= '0' && c <= '9';
}
constexpr bool is_single(int c) {
    return c == 3 || c == '%' || c == '&' || c == '*' || c == ',' || c == '.' || c == ':' ||
           c == ';' || c == '=' || c == '@' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// First built over all 256 bytes, then bytes with identical columns share one class.
struct Tables {
    uint8_t byte_class[256] = {};
    int classes = 0;
    uint8_t next[max_states][256] = {};
    uint8_t accept[max_states] = {};
    int states = 2;
    uint8_t single_state = 0;  // a character token that nothing can extend
    uint8_t integer_state = 0; // digits so far

    constexpr uint8_t add_state(Rule rule) {
        accept[states] = rule;
        return static_cast<uint8_t>(states++);
    }
};

// The numbers, blanks, line ends and single characters.
constexpr void add_general_rules(Tables& t) {
    uint8_t newline = t.add_state(rule_newline);
    uint8_t blanks = t.add_state(rule_blanks);
    uint8_t minus = t.add_state(rule_illegal); // "-" alone is an illegal character
    uint8_t integer = t.add_state(rule_int);
    uint8_t lone_point = t.add_state(rule_single); // "." alone is a character token
    uint8_t point = t.add_state(no_rule);          // "-." or "12." still needs a digit
    uint8_t fraction = t.add_state(rule_dbl);
    uint8_t escape = t.add_state(rule_escape);
    uint8_t single = t.add_state(rule_single);
    uint8_t illegal = t.add_state(rule_illegal);
    t.single_state = single;
    t.integer_state = integer;
    for (int c = 0; c < 256; ++c) {
        uint8_t to = illegal;
        if (c == '\n')
            to = newline;
        else if (is_blank(c))
            to = blanks;
        else if (is_digit(c))
            to = integer;
        else if (c == '-')
            to = minus;
        else if (c == '.')
            to = lone_point;
        else if (c == 0x1b)
            to = escape;
        else if (is_single(c))
            to = single;
        t.next[start][c] = to;
        if (is_blank(c)) t.next[blanks][c] = blanks;
        if (is_digit(c)) {
            t.next[minus][c] = integer;
            t.next[integer][c] = integer;
            t.next[lone_point][c] = fraction;
            t.next[point][c] = fraction;
            t.next[fraction][c] = fraction;
        }
    }
    t.next[minus][static_cast<unsigned char>('.')] = point;
    t.next[integer][static_cast<unsigned char>('.')] = point;
}

// Keywords are taken in full wherever they stand; a prefix falls back to its first letter.
constexpr void add_keywords(Tables& t) {
    const std::pair<std::string_view, Rule> keywords[] = {
        {"PJL", rule_pjl},     {"ENTER", rule_enter}, {"LANGUAGE", rule_language},
        {"HPGL2", rule_hpgl2}, {"CO", rule_co},       {"LB", rule_lb},
        {"PE", rule_pe}};
    for (auto [word, rule] : keywords) {
        uint8_t state = start;
        for (size_t i = 0; i < word.size(); ++i) {
            auto c = static_cast<unsigned char>(word[i]);
            bool last = i + 1 == word.size();
            uint8_t to = t.next[state][c];
            if (state == start && to == t.single_state) {
                to = t.add_state(rule_single);
                t.next[state][c] = to;
            } else if (to == dead) {
                to = t.add_state(last ? rule : no_rule);
                t.next[state][c] = to;
            }
            state = to;
        }
    }
}

// Classes: bytes whose transitions agree in every state.
constexpr void find_classes(Tables& t) {
    for (int c = 0; c < 256; ++c) {
        int found = -1;
        for (int d = 0; d < c && found < 0; ++d) {
            bool same = true;
            for (int s = 0; s < t.states && same; ++s)
                same = t.next[s][c] == t.next[s][d];
            if (same) found = t.byte_class[d];
        }
        t.byte_class[c] = static_cast<uint8_t>(found >= 0 ? found : t.classes++);
    }
}

constexpr Tables build() {
    Tables t;
    add_general_rules(t);
    add_keywords(t);
    find_classes(t);
    return t;
}

inline constexpr Tables tables = build();

// Transition table indexed by state * classes + class.
struct Compact {
    uint8_t next[max_states * 32] = {};
};

constexpr Compact compact() {
    Compact c;
    static_assert(build().classes <= 32);
    for (int s = 0; s < tables.states; ++s)
        for (int b = 0; b < 256; ++b)
            c.next[s * 32 + tables.byte_class[b]] = tables.next[s][b];
    return c;
}

inline constexpr Compact transitions = compact();

} // namespace automaton
