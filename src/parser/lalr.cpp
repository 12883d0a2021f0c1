#include "parser/lalr.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>

namespace {

std::vector<std::string> split_words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

int find_symbol(const Grammar& g, const std::string& name) {
    for (size_t i = 0; i < g.symbols.size(); ++i)
        if (g.symbols[i].name == name) return static_cast<int>(i);
    return -1;
}

} // namespace

namespace {

// "%terminal NAME CODE [<member>]": CODE is the scanner's token code, '-' for none.
std::string read_terminal(const std::vector<std::string>& words, Grammar& g) {
    if (words.size() != 3 && words.size() != 4) return "bad terminal";
    GrammarSymbol t{words[1], words[2] == "-" ? -1 : std::stoi(words[2]), ""};
    if (words.size() == 4) {
        const std::string& m = words[3];
        if (m.size() < 3 || m.front() != '<' || m.back() != '>') return "bad value member " + m;
        t.value = m.substr(1, m.size() - 2);
    }
    g.symbols.push_back(t);
    g.terminals = static_cast<int>(g.symbols.size());
    return "";
}

// "left: right side [{ action }]".
std::string read_rule(const std::string& line, int number, Grammar& g) {
    size_t colon = line.find(':');
    if (colon == std::string::npos) return "rule without ':'";
    GrammarRule rule;
    rule.line = number;
    rule.lhs = find_symbol(g, line.substr(0, colon));
    if (rule.lhs < g.terminals) return "left side is not a nonterminal";
    std::string right = line.substr(colon + 1);
    if (size_t brace = right.find(" {"); brace != std::string::npos) {
        size_t close = right.rfind('}');
        if (close < brace) return "action without its '}'";
        rule.action = right.substr(brace + 2, close - brace - 2);
        while (!rule.action.empty() && rule.action.back() == ' ')
            rule.action.pop_back();
        rule.action.erase(0, rule.action.find_first_not_of(' '));
        right.resize(brace);
    }
    for (const std::string& w : split_words(right)) {
        int s = find_symbol(g, w);
        if (s < 0) return "unknown symbol " + w;
        rule.rhs.push_back(s);
    }
    g.rules.push_back(rule);
    return "";
}

} // namespace

std::string read_grammar(const std::string& text, Grammar& g) {
    g = Grammar{};
    g.rules.push_back({}); // the augmented rule, completed below
    std::istringstream in(text);
    std::string line;
    bool nonterminals_started = false;
    for (int number = 1; std::getline(in, line); ++number) {
        std::string where = "line " + std::to_string(number) + ": ";
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> words = split_words(line);
        if (words.empty()) continue;
        std::string problem;
        if (words[0] == "%terminal") {
            problem =
                nonterminals_started ? "terminal after the nonterminals" : read_terminal(words, g);
        } else if (words[0] == "%nonterminal") {
            if (words.size() != 2) return where + "bad nonterminal";
            nonterminals_started = true;
            g.symbols.push_back({words[1], -1, ""});
        } else if (words[0] == "%start") {
            if (words.size() != 2 || (g.start = find_symbol(g, words[1])) < g.terminals)
                return where + "bad start symbol";
        } else {
            problem = read_rule(line, number, g);
        }
        if (!problem.empty()) return where + problem;
    }
    if (g.start < 0) return "no start symbol";
    g.rules[0] = {static_cast<int>(g.symbols.size()), {g.start, 0, 0}, 0, ""};
    return "";
}

namespace {

struct Item {
    int rule, dot;
    auto operator<=>(const Item&) const = default;
};

using Lookahead = std::vector<bool>; // by terminal, plus one slot for the propagation mark

struct Builder {
    const Grammar& g;
    int marker; // index of the propagation mark in a Lookahead
    std::vector<bool> nullable;
    std::vector<Lookahead> first; // per symbol
    std::vector<std::vector<Item>> kernels;
    std::map<std::vector<Item>, int> state_of_kernel;

    explicit Builder(const Grammar& grammar) : g(grammar), marker(grammar.terminals) {}

    int symbol_after_dot(const Item& it) const {
        const auto& rhs = g.rules[static_cast<size_t>(it.rule)].rhs;
        return it.dot < static_cast<int>(rhs.size()) ? rhs[static_cast<size_t>(it.dot)] : -1;
    }

    void compute_first() {
        size_t n = g.symbols.size() + 1;
        nullable.assign(n, false);
        first.assign(n, Lookahead(static_cast<size_t>(marker) + 1, false));
        for (int t = 0; t < g.terminals; ++t)
            first[static_cast<size_t>(t)][static_cast<size_t>(t)] = true;
        for (bool changed = true; changed;) {
            changed = false;
            for (const GrammarRule& r : g.rules) {
                auto& f = first[static_cast<size_t>(r.lhs)];
                bool all_nullable = true;
                for (int s : r.rhs) {
                    for (size_t t = 0; t < f.size(); ++t)
                        if (first[static_cast<size_t>(s)][t] && !f[t]) f[t] = changed = true;
                    if (!nullable[static_cast<size_t>(s)]) {
                        all_nullable = false;
                        break;
                    }
                }
                if (all_nullable && !nullable[static_cast<size_t>(r.lhs)])
                    nullable[static_cast<size_t>(r.lhs)] = changed = true;
            }
        }
    }

    std::vector<Item> closure(const std::vector<Item>& kernel) const {
        std::vector<Item> items = kernel;
        std::set<int> added;
        for (size_t i = 0; i < items.size(); ++i) {
            int b = symbol_after_dot(items[i]);
            if (b < g.terminals || added.count(b)) continue;
            added.insert(b);
            for (size_t r = 1; r < g.rules.size(); ++r)
                if (g.rules[r].lhs == b) items.push_back({static_cast<int>(r), 0});
        }
        return items;
    }

    // LR(1) closure of the items with their lookaheads.
    std::map<Item, Lookahead> closure1(std::map<Item, Lookahead> items) const {
        std::vector<Item> work;
        for (auto& [it, la] : items)
            work.push_back(it);
        while (!work.empty()) {
            Item it = work.back();
            work.pop_back();
            int b = symbol_after_dot(it);
            if (b < g.terminals) continue;
            const auto& rhs = g.rules[static_cast<size_t>(it.rule)].rhs;
            Lookahead la(static_cast<size_t>(marker) + 1, false);
            bool rest_nullable = true;
            for (size_t k = static_cast<size_t>(it.dot) + 1; k < rhs.size() && rest_nullable; ++k) {
                const auto& f = first[static_cast<size_t>(rhs[k])];
                for (size_t t = 0; t < la.size(); ++t)
                    la[t] = la[t] || f[t];
                rest_nullable = nullable[static_cast<size_t>(rhs[k])];
            }
            if (rest_nullable) {
                const auto& own = items[it];
                for (size_t t = 0; t < la.size(); ++t)
                    la[t] = la[t] || own[t];
            }
            for (size_t r = 1; r < g.rules.size(); ++r) {
                if (g.rules[r].lhs != b) continue;
                Item next{static_cast<int>(r), 0};
                auto [pos, fresh] = items.try_emplace(next, Lookahead(la.size(), false));
                bool changed = fresh;
                for (size_t t = 0; t < la.size(); ++t)
                    if (la[t] && !pos->second[t]) pos->second[t] = changed = true;
                if (changed) work.push_back(next);
            }
        }
        return items;
    }

    int state_for(std::vector<Item> kernel, Automaton& a, int accessing) {
        std::sort(kernel.begin(), kernel.end());
        auto [pos, fresh] = state_of_kernel.try_emplace(kernel, static_cast<int>(kernels.size()));
        if (fresh) {
            kernels.push_back(kernel);
            a.states.push_back({});
            a.states.back().accessing_symbol = accessing;
        }
        return pos->second;
    }

    void build_lr0(Automaton& a) {
        state_for({{0, 0}}, a, -1);
        for (size_t s = 0; s < kernels.size(); ++s) {
            std::vector<Item> items = closure(kernels[s]);
            std::map<int, std::vector<Item>> moves; // by symbol, in symbol order
            for (const Item& it : items) {
                int x = symbol_after_dot(it);
                if (x >= 0)
                    moves[x].push_back({it.rule, it.dot + 1});
                else if (it.rule != 0)
                    a.states[s].completed.push_back(it.rule);
            }
            for (auto& [x, kernel] : moves) {
                int target = state_for(kernel, a, x);
                auto& st = a.states[s];
                (x < g.terminals ? st.shifts : st.gotos).push_back({x, target});
                if (kernel.size() == 1 && kernel[0].rule == 0 && kernel[0].dot == 3)
                    a.final_state = target;
            }
        }
    }

    // Lookaheads by spontaneous generation and propagation between kernel items.
    void compute_lookaheads(Automaton& a) {
        using Key = std::pair<int, Item>;
        std::map<Key, Lookahead> la;
        std::map<Key, std::vector<Key>> propagates;
        for (size_t s = 0; s < kernels.size(); ++s)
            for (const Item& k : kernels[s])
                la[{static_cast<int>(s), k}] = Lookahead(static_cast<size_t>(marker) + 1, false);
        for (size_t s = 0; s < kernels.size(); ++s) {
            for (const Item& k : kernels[s]) {
                Lookahead mark(static_cast<size_t>(marker) + 1, false);
                mark[static_cast<size_t>(marker)] = true;
                for (auto& [it, l] : closure1({{k, mark}})) {
                    int x = symbol_after_dot(it);
                    if (x < 0) continue;
                    int target = goto_of(a, static_cast<int>(s), x);
                    Key to{target, {it.rule, it.dot + 1}};
                    for (int t = 0; t < marker; ++t)
                        if (l[static_cast<size_t>(t)]) la[to][static_cast<size_t>(t)] = true;
                    if (l[static_cast<size_t>(marker)])
                        propagates[{static_cast<int>(s), k}].push_back(to);
                }
            }
        }
        for (bool changed = true; changed;) {
            changed = false;
            for (auto& [from, targets] : propagates)
                for (const Key& to : targets)
                    for (int t = 0; t < marker; ++t)
                        if (la[from][static_cast<size_t>(t)] && !la[to][static_cast<size_t>(t)])
                            la[to][static_cast<size_t>(t)] = changed = true;
        }
        // Completed items, empty rules included, read their lookaheads off the full closure.
        for (size_t s = 0; s < kernels.size(); ++s) {
            std::map<Item, Lookahead> seed;
            for (const Item& k : kernels[s])
                seed[k] = la[{static_cast<int>(s), k}];
            auto items = closure1(seed);
            for (int r : a.states[s].completed) {
                int len = static_cast<int>(g.rules[static_cast<size_t>(r)].rhs.size());
                Lookahead l = items[{r, len}];
                l.resize(static_cast<size_t>(marker));
                a.states[s].lookahead.push_back(l);
            }
        }
    }

    int goto_of(const Automaton& a, int s, int x) const {
        const auto& st = a.states[static_cast<size_t>(s)];
        for (auto& list : {st.shifts, st.gotos})
            for (auto [sym, target] : list)
                if (sym == x) return target;
        return -1;
    }
};

std::string quoted(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

bool is_identifier(const std::string& s) {
    if (s.empty() || isdigit(static_cast<unsigned char>(s[0]))) return false;
    for (char c : s)
        if (!isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
}

// symbol_NAME for every symbol named like an identifier; the end of input is symbol_end.
void emit_symbol_constants(std::ostringstream& out, const Grammar& g) {
    out << "constexpr int symbol_end = 0;\n";
    for (size_t t = 0; t < g.symbols.size(); ++t) {
        const std::string& name = g.symbols[t].name;
        if (is_identifier(name)) out << "constexpr int symbol_" << name << " = " << t << ";\n";
    }
}

// An action with each $k replaced by the member of the value the k-th symbol carries.
std::string expand_action(const Grammar& g, const GrammarRule& r, std::string& problem) {
    std::string out;
    const std::string& a = r.action;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != '$' || i + 1 >= a.size() || !isdigit(static_cast<unsigned char>(a[i + 1]))) {
            out += a[i];
            continue;
        }
        size_t end = i + 1;
        while (end < a.size() && isdigit(static_cast<unsigned char>(a[end])))
            ++end;
        size_t k = std::stoul(a.substr(i + 1, end - i - 1));
        std::string where = "line " + std::to_string(r.line) + ": $" + std::to_string(k);
        if (k < 1 || k > r.rhs.size())
            problem = where + " is not on the right side";
        else if (g.symbols[static_cast<size_t>(r.rhs[k - 1])].value.empty())
            problem = where + " has no value";
        else
            out += "v[" + std::to_string(k) + "]." +
                   g.symbols[static_cast<size_t>(r.rhs[k - 1])].value;
        i = end - 1;
    }
    return out;
}

std::string rule_text(const Grammar& g, const GrammarRule& r) {
    std::string text = g.symbols[static_cast<size_t>(r.lhs)].name + ":";
    for (int sym : r.rhs)
        text += " " + g.symbols[static_cast<size_t>(sym)].name;
    return text;
}

template <typename T>
void emit_array(std::ostringstream& out, const char* type, const char* name,
                const std::vector<T>& values) {
    out << "const " << type << " " << name << "[" << values.size() << "] = {";
    for (size_t i = 0; i < values.size(); ++i)
        out << (i % 16 == 0 ? "\n    " : " ") << values[i] << ",";
    out << "\n};\n";
}

} // namespace

Automaton build_automaton(const Grammar& g) {
    Automaton a;
    Builder b(g);
    b.compute_first();
    b.build_lr0(a);
    b.compute_lookaheads(a);
    return a;
}

std::vector<std::string> find_conflicts(const Grammar& g, const Automaton& a) {
    std::vector<std::string> found;
    for (size_t s = 0; s < a.states.size(); ++s) {
        const LrState& st = a.states[s];
        if (st.completed.size() > 1)
            found.push_back("state " + std::to_string(s) + ": more than one completed rule");
        for (size_t i = 0; i < st.completed.size(); ++i)
            for (auto [t, target] : st.shifts)
                if (st.lookahead[i][static_cast<size_t>(t)])
                    found.push_back("state " + std::to_string(s) + ": shift/reduce conflict on " +
                                    g.symbols[static_cast<size_t>(t)].name + " with rule " +
                                    std::to_string(st.completed[i]));
    }
    return found;
}

namespace {

// Which terminal each token code stands for; codes no terminal claims stand for the
// terminal without a code.
void emit_token_symbols(std::ostringstream& out, const Grammar& g) {
    int max_code = 0, undefined = 0;
    for (int t = 0; t < g.terminals; ++t) {
        int code = g.symbols[static_cast<size_t>(t)].token_code;
        max_code = std::max(max_code, code);
        if (code < 0 && undefined == 0) undefined = t;
    }
    out << "constexpr int max_token_code = " << max_code << ";\n";
    out << "constexpr int undefined_symbol = " << undefined << ";\n";
    std::vector<int> token_symbol(static_cast<size_t>(max_code) + 1, undefined);
    for (int t = 0; t < g.terminals; ++t) {
        int code = g.symbols[static_cast<size_t>(t)].token_code;
        if (code >= 0) token_symbol[static_cast<size_t>(code)] = t;
    }
    emit_array(out, "unsigned char", "token_symbol", token_symbol);
    std::vector<int> owns_text;
    for (const GrammarSymbol& sym : g.symbols)
        owns_text.push_back(sym.owns_text());
    out << "// Symbols whose value is a heap text that the parser releases.\n";
    emit_array(out, "bool", "owns_text", owns_text);
}

void emit_rules(std::ostringstream& out, const Grammar& g) {
    std::vector<int> lhs, length, line, rhs_start, rhs, has_text, has_action;
    for (const GrammarRule& r : g.rules) {
        lhs.push_back(r.lhs);
        length.push_back(static_cast<int>(r.rhs.size()));
        line.push_back(r.line);
        rhs_start.push_back(static_cast<int>(rhs.size()));
        rhs.insert(rhs.end(), r.rhs.begin(), r.rhs.end());
        bool text = false;
        for (int sym : r.rhs)
            text = text || g.symbols[static_cast<size_t>(sym)].owns_text();
        has_text.push_back(text);
        has_action.push_back(!r.action.empty());
    }
    rhs_start.push_back(static_cast<int>(rhs.size()));
    emit_array(out, "short", "rule_lhs", lhs);
    emit_array(out, "unsigned char", "rule_length", length);
    emit_array(out, "short", "rule_line", line);
    emit_array(out, "short", "rule_rhs_start", rhs_start);
    emit_array(out, "unsigned char", "rule_rhs", rhs);
    emit_array(out, "unsigned char", "rule_has_text", has_text);
    emit_array(out, "unsigned char", "rule_has_action", has_action);
}

void emit_states(std::ostringstream& out, const Grammar& g, const Automaton& a) {
    std::vector<int> default_rule, reads_token, accessing, shift_to, goto_to;
    size_t terminals = static_cast<size_t>(g.terminals);
    for (const LrState& st : a.states) {
        default_rule.push_back(st.completed.empty() ? 0 : st.completed[0]);
        reads_token.push_back(st.shifts.empty() ? 0 : 1);
        accessing.push_back(st.accessing_symbol);
        std::vector<int> row(terminals, 0);
        for (auto [t, target] : st.shifts)
            row[static_cast<size_t>(t)] = target;
        shift_to.insert(shift_to.end(), row.begin(), row.end());
        std::vector<int> gotos(g.symbols.size() - terminals, 0);
        for (auto [n, target] : st.gotos)
            gotos[static_cast<size_t>(n) - terminals] = target;
        goto_to.insert(goto_to.end(), gotos.begin(), gotos.end());
    }
    emit_array(out, "short", "default_rule", default_rule);
    emit_array(out, "unsigned char", "reads_token", reads_token);
    emit_array(out, "short", "accessing_symbol", accessing);
    out << "// shift_to[state * terminal_count + terminal]: target state, 0 for none.\n";
    emit_array(out, "short", "shift_to", shift_to);
    out << "// goto_to[state * (symbol_count - terminal_count) + nonterminal - terminal_count].\n";
    emit_array(out, "short", "goto_to", goto_to);
}

} // namespace

std::string emit_tables(const Grammar& g, const Automaton& a) {
    std::ostringstream out;
    out << "// Generated by lalrgen from hpgl.grammar. Do not edit.\n\n";
    out << "constexpr int symbol_count = " << g.symbols.size() << ";\n";
    out << "constexpr int terminal_count = " << g.terminals << ";\n";
    out << "constexpr int rule_count = " << g.rules.size() - 1 << ";\n";
    out << "constexpr int state_count = " << a.states.size() << ";\n";
    out << "constexpr int final_state = " << a.final_state << ";\n\n";
    out << "const char* const symbol_names[" << g.symbols.size() << "] = {";
    for (size_t i = 0; i < g.symbols.size(); ++i)
        out << (i % 8 == 0 ? "\n    " : " ") << quoted(g.symbols[i].name) << ",";
    out << "\n};\n";
    emit_symbol_constants(out, g);
    emit_token_symbols(out, g);
    emit_rules(out, g);
    emit_states(out, g, a);
    return out.str();
}

std::string emit_actions(const Grammar& g, std::string& problem) {
    // Rules whose expanded actions are the same share one case.
    std::vector<std::pair<std::string, std::vector<size_t>>> cases;
    for (size_t r = 1; r < g.rules.size(); ++r) {
        if (g.rules[r].action.empty()) continue;
        std::string code = expand_action(g, g.rules[r], problem);
        auto same = std::find_if(cases.begin(), cases.end(),
                                 [&](const auto& c) { return c.first == code; });
        if (same == cases.end())
            cases.push_back({code, {r}});
        else
            same->second.push_back(r);
    }
    std::ostringstream out;
    out << "// Generated by lalrgen from hpgl.grammar. Do not edit.\n";
    out << "#include \"parser/actions.h\"\n\n";
    out << "void run_action(int rule, TokenValue* v) {\n    switch (rule) {\n";
    for (const auto& [code, rules] : cases) {
        for (size_t r : rules)
            out << "    case " << r << ": // " << rule_text(g, g.rules[r]) << "\n";
        out << "        " << code << "\n        return;\n";
    }
    out << "    default: return;\n    }\n}\n";
    return out.str();
}
