// Reading the grammar file and building its LR(0) automaton with LALR(1) lookaheads.
// Used at build time by lalrgen, and by the tests that check the tables.
#pragma once

#include <string>
#include <vector>

struct GrammarSymbol {
    std::string name;
    int token_code = -1; // terminals: the code the scanner returns; -1 for none
    std::string value;   // the member of the token value it carries ("i", "d", "text"), if any
    bool owns_text() const { return value == "text"; } // a heap text the parser releases
};

struct GrammarRule {
    int lhs = 0;
    std::vector<int> rhs;
    int line = 0;       // line in the grammar file
    std::string action; // C++ statements, $k naming the k-th value of the right side
};

struct Grammar {
    std::vector<GrammarSymbol> symbols; // terminals first
    int terminals = 0;
    int start = -1;
    // rules[0] is the augmented rule: $accept -> start $ $ (its left side is symbols.size()).
    std::vector<GrammarRule> rules;
};

// Reads the grammar text; returns an empty string or the first problem found.
std::string read_grammar(const std::string& text, Grammar& grammar);

struct LrState {
    int accessing_symbol = -1;                // symbol shifted or reduced to enter it
    std::vector<std::pair<int, int>> shifts;  // terminal, target
    std::vector<std::pair<int, int>> gotos;   // nonterminal, target
    std::vector<int> completed;               // rules whose item ends here
    std::vector<std::vector<bool>> lookahead; // per completed rule, by terminal
};

struct Automaton {
    std::vector<LrState> states;
    int final_state = -1; // entered by shifting the end of input twice after the start symbol
};

Automaton build_automaton(const Grammar& grammar);

// Conflicts and states with more than one completed rule, one line each.
std::vector<std::string> find_conflicts(const Grammar& grammar, const Automaton& automaton);

// The C++ tables the parser engine is compiled with.
std::string emit_tables(const Grammar& grammar, const Automaton& automaton);

// The C++ function that runs each rule's action; an empty `problem` or the first one found.
std::string emit_actions(const Grammar& grammar, std::string& problem);
