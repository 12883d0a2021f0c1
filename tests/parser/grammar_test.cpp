// The grammar file yields conflict-free tables, and the program is built with exactly those.
#include <gtest/gtest.h>

#include "e2e/harness.h"
#include "parser/lalr.h"
#include "parser/tables.h"

namespace {

struct Built {
    Grammar grammar;
    Automaton automaton;
    Built() {
        std::string problem = read_grammar(read_file(GRAMMAR_FILE), grammar);
        EXPECT_EQ(problem, "");
        automaton = build_automaton(grammar);
    }
};

const Built& built() {
    static Built b;
    return b;
}

TEST(Grammar, SymbolsAndRulesAreNumberedAsTheLanguageDefines) {
    const Grammar& g = built().grammar;
    ASSERT_EQ(g.symbols.size(), 162u);
    EXPECT_EQ(g.terminals, 54);
    EXPECT_EQ(g.rules.size(), 305u); // the augmented rule and rules 1 to 304
    EXPECT_EQ(g.symbols[0].name, "$");
    EXPECT_EQ(g.symbols[2].name, "$undefined.");
    EXPECT_EQ(g.symbols[36].name, "'\\003'");
    EXPECT_EQ(g.symbols[36].name.size(), 6u);
    EXPECT_EQ(g.symbols[53].name, "'Q'");
    EXPECT_EQ(g.symbols[54].name, "hpgl_spec");
    EXPECT_EQ(g.symbols[70].name, "kv_item");
    EXPECT_EQ(g.symbols[71].name, "AA_statement");
    EXPECT_EQ(g.symbols[161].name, "WU_statement");
    EXPECT_EQ(g.symbols[static_cast<size_t>(g.rules[232].lhs)].name, "@1");
    EXPECT_EQ(g.symbols[static_cast<size_t>(g.rules[304].lhs)].name, "WU_statement");
    EXPECT_EQ(g.symbols[static_cast<size_t>(g.rules[93].rhs[0])].name, "WU_statement");
}

TEST(Grammar, NoConflictsAndAtMostOneCompletedRulePerState) {
    const Built& b = built();
    EXPECT_TRUE(find_conflicts(b.grammar, b.automaton).empty());
    int with_reduction = 0;
    for (const LrState& s : b.automaton.states) {
        EXPECT_LE(s.completed.size(), 1u);
        with_reduction += !s.completed.empty();
    }
    EXPECT_GT(with_reduction, 100);
}

TEST(Grammar, CompiledTablesAreTheOnesTheGrammarGives) {
    using namespace parse_tables;
    const Automaton& a = built().automaton;
    ASSERT_EQ(state_count, static_cast<int>(a.states.size()));
    EXPECT_EQ(final_state, a.final_state);
    for (int s = 0; s < state_count; ++s) {
        const LrState& st = a.states[static_cast<size_t>(s)];
        EXPECT_EQ(default_rule[s], st.completed.empty() ? 0 : st.completed[0]);
        int shifts = 0;
        for (int t = 0; t < terminal_count; ++t)
            shifts += shift_to[s * terminal_count + t] != 0;
        EXPECT_EQ(shifts, static_cast<int>(st.shifts.size()));
    }
}

TEST(Grammar, ConflictsAreFound) {
    Grammar g;
    ASSERT_EQ(read_grammar("%terminal $ 0\n%terminal 'a' 97\n%nonterminal s\n%start s\n"
                           "s:\ns: 'a'\ns: s 'a'\n",
                           g),
              "");
    EXPECT_FALSE(find_conflicts(g, build_automaton(g)).empty());
}

} // namespace

namespace {

TEST(Grammar, ActionsReadTheValuesTheirSymbolsCarry) {
    const std::string head =
        "%terminal $ 0\n%terminal INT 260 <i>\n%terminal ',' 44\n%nonterminal s\n%start s\n";
    Grammar g;
    std::string problem;
    ASSERT_EQ(read_grammar(head + "s: INT ',' INT { f($1, $3); }\ns: INT { f($1, 0); }\n", g), "");
    std::string code = emit_actions(g, problem);
    EXPECT_EQ(problem, "");
    EXPECT_NE(
        code.find("    case 1: // s: INT ',' INT\n        f(v[1].i, v[3].i);\n        return;\n"),
        std::string::npos)
        << code;
    ASSERT_EQ(read_grammar(head + "s: INT ',' INT { f($2); }\n", g), "");
    emit_actions(g, problem);
    EXPECT_EQ(problem, "line 6: $2 has no value");
    ASSERT_EQ(read_grammar(head + "s: INT { f($2); }\n", g), "");
    emit_actions(g, problem);
    EXPECT_EQ(problem, "line 6: $2 is not on the right side");
}

} // namespace
