#include "hpgl2/reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "driver/diagnostics.h"
#include "hpgl2/bytes.h"
#include "hpgl2/source.h"
#include "hpgl2/wrappers.h"

char label_terminator = 3;
bool terminator_printed = false;

namespace {

enum class Kind { numbers, label, encoded, quoted, symbol, terminator };

constexpr double largest_exact = 9007199254740992.0; // 2^53

constexpr double powers_of_ten[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

std::string trace; // the -d line of the command being read

Kind kind_of(const char* name) {
    static const struct {
        const char* name;
        Kind kind;
    } texts[] = {{"LB", Kind::label},   {"BL", Kind::label},     {"WD", Kind::label},
                 {"PE", Kind::encoded}, {"CO", Kind::quoted},    {"MG", Kind::quoted},
                 {"SM", Kind::symbol},  {"DT", Kind::terminator}};
    for (const auto& t : texts)
        if (name[0] == t.name[0] && name[1] == t.name[1]) return t.kind;
    return Kind::numbers;
}

// The byte k places after the read position, reading on as needed; -1 at the end.
int ahead(size_t k) {
    size_t keep = source.pos;
    return source_peek(k, keep);
}

// Up to 24 bytes of a parameter for a message, with bytes that are not printable as \xNN.
std::string shown(const char* bytes, size_t n) {
    std::string s;
    for (size_t i = 0; i < n && i < 24; ++i) {
        auto c = static_cast<unsigned char>(bytes[i]);
        char hex[8];
        snprintf(hex, sizeof hex, "\\x%02x", c);
        s += c >= 0x20 && c < 0x7f ? std::string(1, static_cast<char>(c)) : std::string(hex);
    }
    return n > 24 ? s + "..." : s;
}

// Reports a parameter the command cannot use; the command is skipped.
void unusable(Command& c, size_t at, size_t n, const char* what) {
    if (c.unusable) return; // one report per command
    c.unusable = true;
    std::string text = std::string(c.name) + " parameter " + shown(source.data + at, n) + " " +
                       what + ": " + c.name + " skipped";
    std::string kind = std::string(c.name) + ":parameter";
    diagnose(Severity::error, source.line, source_column(at), kind.c_str(), text.c_str());
}

bool ends_number(int c) {
    if (c < 0) return true;
    ByteClass k = class_of(static_cast<char>(c));
    return k != b_digit && k != b_point && k != b_other;
}

// Whether the bytes k and k + 1 places ahead are a mnemonic's two letters.
bool mnemonic_ahead(size_t k) {
    return is_letter(ahead(k)) && is_letter(ahead(k + 1));
}

// The length of a parameter that is not a number: up to a separator, the command's end or the
// next mnemonic. A letter that begins no mnemonic is part of it.
size_t bad_length(size_t n) {
    for (int c = ahead(n); c >= 0; c = ahead(++n)) {
        ByteClass k = class_of(static_cast<char>(c));
        if (k == b_blank || k == b_line || k == b_end || k == b_escape || k == b_nul) break;
        if (k == b_letter && mnemonic_ahead(n)) break;
    }
    return n;
}

// The extent of a number at the read position, with its value when it has at most 15 digits.
struct Scanned {
    size_t length;
    int digits, decimals;
    long long mantissa; // the digits as one integer, while there are at most 15
};

bool is_digit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// The mantissa is right for at most 15 digits: longer numbers are read again by from_chars.
[[gnu::always_inline]] inline Scanned scan_number(const char* p) {
    const char* q = p + (*p == '+' || *p == '-');
    const char* first = q;
    unsigned long long m = 0;
    for (; is_digit(*q); ++q)
        m = m * 10 + static_cast<unsigned>(*q - '0');
    int digits = static_cast<int>(q - first), decimals = 0;
    if (*q == '.') {
        const char* fraction = ++q;
        for (; is_digit(*q); ++q)
            m = m * 10 + static_cast<unsigned>(*q - '0');
        decimals = static_cast<int>(q - fraction);
        digits += decimals;
    }
    return {static_cast<size_t>(q - p), digits, decimals, static_cast<long long>(m)};
}

// Whether a number of more than 15 digits is beyond 2^53 as written (rounding to a double
// could bring it back within).
bool beyond_exact(const char* text, const Scanned& n) {
    const char* p = text + (text[0] == '+' || text[0] == '-');
    while (*p == '0')
        ++p;
    size_t whole = 0;
    while (is_digit(p[whole]))
        ++whole;
    constexpr char limit[] = "9007199254740992"; // 2^53
    if (whole != sizeof limit - 1) return whole > sizeof limit - 1;
    int order = memcmp(p, limit, whole);
    if (order != 0) return order > 0;
    const char* fraction = p + whole + (p[whole] == '.');
    const char* end = text + n.length;
    return std::find_if(fraction, end, [](char d) { return d >= '1' && d <= '9'; }) != end;
}

double value_of(const char* text, const Scanned& n) {
    if (n.digits <= 15) { // exact, rounded once: both are exact doubles
        double v = static_cast<double>(n.mantissa) / powers_of_ten[n.decimals];
        return text[0] == '-' ? -v : v;
    }
    double v = 0;
    const char* from = text[0] == '+' ? text + 1 : text;
    if (std::from_chars(from, text + n.length, v).ec == std::errc::result_out_of_range) {
        // Beyond the doubles: too large when a digit before the point is not 0, else nothing.
        const char* point = static_cast<const char*>(memchr(text, '.', n.length));
        const char* end = point ? point : text + n.length;
        bool large = std::find_if(text, end, [](char d) { return d >= '1' && d <= '9'; }) != end;
        v = large ? HUGE_VAL : 0.0;
    }
    return v;
}

// A parameter that begins like a number and is none, or is too large: the command is skipped.
void refuse_number(Command& c, const Scanned& n) {
    size_t at = source.pos;
    if (n.digits == 0 || !ends_number(ahead(n.length))) {
        size_t length = bad_length(n.length);
        unusable(c, at, length, "is not a number");
        source.pos += length;
        return;
    }
    unusable(c, at, n.length, "is too large");
    source.pos += n.length;
}

// One number at the read position: [+-]digits[.digits], at least one digit.
void read_number(Command& c) {
    Scanned n = scan_number(source.data + source.pos);
    while (source.pos + n.length >= source.size && !source.ended) { // it may go on: read on
        size_t keep = source.pos;
        source_more(keep);
        n = scan_number(source.data + source.pos);
    }
    const char* text = source.data + source.pos;
    double v = value_of(text, n);
    if (n.digits == 0 || !ends_number(static_cast<unsigned char>(text[n.length])) ||
        std::fabs(v) > largest_exact || (n.digits > 15 && beyond_exact(text, n)))
        return refuse_number(c, n);
    if (!c.unusable) {
        c.number_line[c.count] = source.line;
        c.number_column[c.count] = source_column(source.pos);
        c.numbers[c.count++] = v;
        ++c.total;
        if (scanner_trace) trace.append(" ").append(text, n.length);
    }
    source.pos += n.length;
}

// Bytes after which a number has ended: what ends_number accepts.
constexpr std::array<bool, 256> number_ends = [] {
    std::array<bool, 256> t{};
    for (int c = 0; c < 256; ++c) {
        ByteClass k = byte_classes[static_cast<size_t>(c)];
        t[static_cast<size_t>(c)] = k != b_digit && k != b_point && k != b_other;
    }
    return t;
}();

// The common case in one tight loop: whole numbers of at most 15 digits between commas and
// spaces, well before the end of the buffer. Stops, without taking it, at anything else.
void read_plain_numbers(Command& c) {
    constexpr size_t margin = 20; // a sign and 15 digits end before the buffer does
    if (c.unusable || scanner_trace || source.pos + margin >= source.size) return;
    const char* const data = source.data;
    const char* p = data + source.pos;
    const char* limit = data + (source.size - margin);
    double *out = c.numbers + c.count, *full = c.numbers + batch_size;
    int* column = c.number_column + c.count;
    const int column_of_data = source_column(0);
    while (p < limit && out < full) {
        char first = *p;
        if (first == ',' || first == ' ') {
            ++p;
            continue;
        }
        const char* q = p + (first == '-' || first == '+');
        const char* digits = q;
        unsigned long long m = 0;
        for (unsigned digit; (digit = static_cast<unsigned char>(*q) - 48u) < 10; ++q)
            m = m * 10 + digit;
        if (q == digits || q - digits > 15 || !number_ends[static_cast<unsigned char>(*q)]) break;
        double v = static_cast<double>(m);
        *column++ = column_of_data + static_cast<int>(p - data);
        *out++ = first == '-' ? -v : v;
        p = q + (*q == ','); // the comma that usually follows
    }
    int taken = static_cast<int>(out - (c.numbers + c.count));
    for (int i = c.count, line = source.line; i < c.count + taken; ++i)
        c.number_line[i] = line; // no line ends among them
    c.total += taken;
    c.count += taken;
    source.pos = static_cast<size_t>(p - data);
}

void read_text(Command& c, char terminator, bool printed);

// BP's title: a quoted string among its numbers, skipped as a comment is. The numbers after it
// may move the buffer: the title is not kept.
void skip_title(Command& c) {
    ++source.pos;
    read_text(c, '"', false);
    c.text = nullptr;
    c.text_length = 0;
}

// Numbers up to the command's end, or until the batch is full.
void read_batch(Command& c) {
    c.count = 0;
    c.more = false;
    for (;;) {
        read_plain_numbers(c);
        if (c.count == batch_size) {
            c.more = true;
            return;
        }
        char ch = source.data[source.pos];
        switch (class_of(ch)) {
        case b_digit:
        case b_sign:
        case b_point:
            read_number(c);
            if (c.count == batch_size) {
                c.more = true;
                return;
            }
            continue;
        case b_line: source_new_line(source.pos); [[fallthrough]];
        case b_blank: ++source.pos; continue;
        case b_nul: {
            size_t keep = source.pos;
            if (source.pos < source.size)
                ++source.pos;
            else if (!source_more(keep))
                return;
            continue;
        }
        case b_end: ++source.pos; return;
        case b_escape: return;
        case b_letter:
            if (mnemonic_ahead(0)) return;
            [[fallthrough]]; // a letter that begins no mnemonic is not a number
        case b_other: {
            if (ch == '"' && c.name[0] == 'B' && c.name[1] == 'P') {
                skip_title(c);
                continue;
            }
            size_t n = bad_length(1);
            unusable(c, source.pos, n, "is not a number");
            source.pos += n;
            continue;
        }
        }
    }
}

// Ends a text `length` bytes after `start`, and after its terminator when it has one.
void take_text(Command& c, size_t start, size_t length, bool terminated, bool printed) {
    size_t end = start + length + (terminated ? 1 : 0);
    source_count_lines(start, end);
    c.text = source.data + start;
    c.text_length = length + (terminated && printed ? 1 : 0);
    c.terminated = terminated;
    source.pos = end;
}

// Text up to `terminator` (part of the text when `printed`), a job end, or the end of input.
void read_text(Command& c, char terminator, bool printed) {
    size_t start = source.pos, scanned = 0; // bytes from start known to hold neither
    c.text_at = {source.line, source_column(start)};
    for (;;) {
        const char* from = source.data + start + scanned;
        size_t left = source.size - start - scanned;
        auto hit = static_cast<const char*>(memchr(from, terminator, left));
        size_t before = hit ? static_cast<size_t>(hit - from) : left;
        if (auto esc = static_cast<const char*>(memchr(from, 0x1b, before))) {
            size_t offset = static_cast<size_t>(esc - (source.data + start));
            size_t keep = source.pos = start;
            bool job_end = is_job_end(start + offset, keep); // may read on: the text moves
            start = source.pos;
            if (job_end) return take_text(c, start, offset, false, printed);
            scanned = offset + 1;
            continue;
        }
        if (hit)
            return take_text(c, start, static_cast<size_t>(hit - (source.data + start)), true,
                             printed);
        scanned = source.size - start;
        size_t keep = source.pos = start;
        bool more = source_more(keep);
        start = keep; // the text moved to the buffer's front
        if (!more) return take_text(c, start, scanned, false, printed);
    }
}

// CO and MG: a quoted text, after optional blanks; without a quote, no parameters.
void read_quoted(Command& c) {
    size_t n = 0;
    int ch;
    while ((ch = ahead(n)) == ' ' || ch == '\t' || ch == '\r' || ch == '\n')
        ++n;
    if (ch != '"') {
        read_batch(c);
        return;
    }
    source_count_lines(source.pos, source.pos + n);
    source.pos += n + 1;
    read_text(c, '"', false);
}

// SM: the one byte after the mnemonic is the symbol; SM; turns symbol mode off.
void read_symbol(Command& c) {
    int ch = ahead(0);
    c.symbol = static_cast<char>(ch);
    c.text = &c.symbol;
    c.text_length = ch < 0 || ch == ';' ? 0 : 1;
    if (ch == '\n') source_new_line(source.pos);
    if (ch >= 0) ++source.pos;
    if (c.text_length == 1 && ahead(0) == ';') ++source.pos;
}

// DT t[,mode]: the label terminator, printed with the label when the mode is 0. DT; is ETX.
void read_terminator() {
    int ch = ahead(0);
    if (ch < 0 || ch == 0x1b || ch == ';') {
        if (ch == ';') ++source.pos;
        reader_default_terminator();
        return;
    }
    if (ch == '\n') source_new_line(source.pos);
    label_terminator = static_cast<char>(ch);
    terminator_printed = false;
    ++source.pos;
    size_t n = 0;
    while (ahead(n) == ' ' || ahead(n) == '\t')
        ++n;
    if (ahead(n) == ',') {
        for (++n; ahead(n) == ' '; ++n) {
        }
        terminator_printed = ahead(n) == '0' && !(ahead(n + 1) >= '0' && ahead(n + 1) <= '9');
        while (ahead(n) >= '0' && ahead(n) <= '9')
            ++n;
    }
    while (ahead(n) == ' ' || ahead(n) == '\t')
        ++n;
    if (ahead(n) == ';') ++n;
    source.pos += n;
}

// Bytes that begin no command, up to the next mnemonic, ';' or ESC: one error for the run.
void skip_stray() {
    int line = source.line, column = source_column(source.pos);
    long long n = 1;
    ++source.pos;
    for (int ch = ahead(0); ch >= 0; ch = ahead(0)) {
        if (ch == ';' || ch == 0x1b || (is_letter(ch) && is_letter(ahead(1)))) break;
        if (ch == '\n') source_new_line(source.pos);
        n += ch != 0; // NUL bytes are skipped without a word
        ++source.pos;
    }
    char text[96];
    snprintf(text, sizeof text,
             n == 1 ? "%lld byte that is not HP-GL skipped"
                    : "%lld bytes that are not HP-GL skipped",
             n);
    diagnose(Severity::error, line, column, "bytes", text);
}

// The mnemonic `skip` bytes after the read position: after a '!' (and NUL bytes) for a vendor
// command.
void begin_command(Command& c, size_t skip) {
    size_t at = source.pos + skip;
    int i = 0;
    if (skip > 0) c.name[i++] = '!';
    c.name[i++] = upper(source.data[at]);
    c.name[i++] = upper(source.data[at + 1]);
    c.name[i] = '\0';
    c.line = source.line;
    c.column = source_column(source.pos);
    c.count = c.total = 0;
    c.more = c.unusable = false;
    c.text = nullptr;
    c.text_length = 0;
    c.terminated = true;
    if (scanner_trace)
        trace = std::to_string(c.line) + ":" + std::to_string(c.column) + " " + c.name;
    source.pos = at + 2;
}

// The bytes from a '!' to its mnemonic (NUL bytes may stand between), or 0 when none follows.
size_t vendor_mnemonic_at() {
    size_t k = 1;
    while (ahead(k) == 0)
        ++k;
    return mnemonic_ahead(k) ? k : 0;
}

// A vendor command, ! and a mnemonic, is skipped to its ';' (or to a job end).
void read_vendor(Command& c, size_t skip) {
    begin_command(c, skip);
    int ch;
    while ((ch = ahead(0)) >= 0 && ch != ';') {
        size_t keep = source.pos;
        if (ch == 0x1b && is_job_end(source.pos, keep)) return;
        if (ch == '\n') source_new_line(source.pos);
        ++source.pos;
    }
    if (ch == ';') ++source.pos;
}

// A job event handed on as a command of its own: "%E" a reset, "%F" a form feed.
bool take_event(Command& c) {
    c.name[0] = '%';
    c.name[1] = job_event.event == JobEvent::reset ? 'E' : 'F';
    c.name[2] = '\0';
    c.line = job_event.line;
    c.column = job_event.column;
    c.count = c.total = 0;
    c.more = c.unusable = false;
    c.text = nullptr;
    c.text_length = 0;
    c.terminated = true;
    job_event = PendingEvent{};
    return true;
}

void read_parameters(Command& c) {
    switch (kind_of(c.name)) {
    case Kind::numbers: read_batch(c); break;
    case Kind::label: read_text(c, label_terminator, terminator_printed); break;
    case Kind::encoded: read_text(c, ';', false); break;
    case Kind::quoted: read_quoted(c); break;
    case Kind::symbol: read_symbol(c); break;
    case Kind::terminator: read_terminator(); break;
    }
}

void end_trace(const Command& c) {
    if (!scanner_trace) return;
    fprintf(stderr, "%s%s", trace.c_str(), c.more ? "" : "\n");
    trace.clear();
}

} // namespace

void reader_default_terminator() {
    label_terminator = 3;
    terminator_printed = false;
}

void reader_begin(FILE* input) {
    source_begin(input);
    reader_state = ReaderState::hpgl2;
    job_event = PendingEvent{};
    reader_default_terminator();
    trace.clear();
}

void reader_release() {
    source_release();
}

bool read_command(Command& c) {
    for (;;) {
        if (job_event.event != JobEvent::none) return take_event(c);
        if (reader_state != ReaderState::hpgl2 && !skip_to_hpgl2()) return false;
        if (job_event.event != JobEvent::none) return take_event(c);
        char ch = source.data[source.pos];
        switch (class_of(ch)) {
        case b_nul: {
            size_t keep = source.pos;
            if (source.pos < source.size)
                ++source.pos;
            else if (!source_more(keep))
                return false;
            continue;
        }
        case b_line: source_new_line(source.pos); [[fallthrough]];
        case b_end: ++source.pos; continue;
        case b_blank:
            if (ch == ',')
                skip_stray();
            else
                ++source.pos;
            continue;
        case b_escape: skip_escape(); continue;
        case b_letter:
            if (!is_letter(ahead(1))) break;
            begin_command(c, 0);
            read_parameters(c);
            end_trace(c);
            return true;
        default:
            if (size_t skip = ch == '!' ? vendor_mnemonic_at() : 0) {
                read_vendor(c, skip);
                end_trace(c);
                return true;
            }
            break;
        }
        skip_stray();
    }
}

void read_more(Command& c) {
    read_batch(c);
    end_trace(c);
}

Where text_where(const Command& c, size_t i) {
    Where w = c.text_at;
    size_t line_start = 0;
    for (size_t k = 0; k < i && k < c.text_length; ++k)
        if (c.text[k] == '\n') {
            ++w.line;
            line_start = k + 1;
        }
    if (line_start > 0) w.column = 1;
    w.column += static_cast<int>(i - line_start);
    return w;
}
