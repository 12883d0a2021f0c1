// Build-time generator: hpgl.grammar in, the parser's C++ tables out. Fails on any conflict.
#include <fstream>
#include <iostream>
#include <sstream>

#include "parser/lalr.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: lalrgen grammar-file tables-file\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    std::stringstream text;
    text << in.rdbuf();
    Grammar grammar;
    if (std::string problem = read_grammar(text.str(), grammar); !problem.empty()) {
        std::cerr << argv[1] << ": " << problem << "\n";
        return 1;
    }
    Automaton automaton = build_automaton(grammar);
    std::vector<std::string> conflicts = find_conflicts(grammar, automaton);
    for (const std::string& c : conflicts) std::cerr << argv[1] << ": " << c << "\n";
    if (!conflicts.empty()) return 1;
    std::ofstream out(argv[2]);
    out << emit_tables(grammar, automaton);
    return out ? 0 : 1;
}
