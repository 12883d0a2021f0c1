// Build-time generator: hpgl.grammar in, the parser's C++ tables and rule actions out. Fails on
// any conflict and on any action that names a value its rule does not have.
#include <fstream>
#include <iostream>
#include <sstream>

#include "parser/lalr.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: lalrgen grammar-file tables-file actions-file\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    std::stringstream text;
    text << in.rdbuf();
    Grammar grammar;
    std::string problem = read_grammar(text.str(), grammar);
    if (!problem.empty()) {
        std::cerr << argv[1] << ": " << problem << "\n";
        return 1;
    }
    Automaton automaton = build_automaton(grammar);
    std::vector<std::string> conflicts = find_conflicts(grammar, automaton);
    for (const std::string& c : conflicts)
        std::cerr << argv[1] << ": " << c << "\n";
    if (!conflicts.empty()) return 1;
    std::string actions = emit_actions(grammar, problem);
    if (!problem.empty()) {
        std::cerr << argv[1] << ": " << problem << "\n";
        return 1;
    }
    std::ofstream tables(argv[2]);
    tables << emit_tables(grammar, automaton);
    std::ofstream code(argv[3]);
    code << actions;
    return tables && code ? 0 : 1;
}
