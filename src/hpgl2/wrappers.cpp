#include "hpgl2/wrappers.h"

#include <algorithm>
#include <cstring>

#include "hpgl2/bytes.h"
#include "hpgl2/source.h"

ReaderState reader_state = ReaderState::hpgl2;
PendingEvent job_event;

namespace {

void note_event(JobEvent event, size_t at) {
    job_event = {event, source.line, source_column(at)};
}

constexpr char job_end[] = "\x1b%-12345X";
constexpr size_t job_end_length = sizeof job_end - 1;

// The byte k places after the read position, reading on as needed; -1 at the end.
int ahead(size_t k) {
    size_t keep = source.pos;
    return source_peek(k, keep);
}

bool in_range(int c, char low, char high) {
    return c >= low && c <= high;
}

// One group of a parameterized sequence: an optional value, then a letter.
struct Group {
    double value;
    bool has_value;
    int letter; // -1 when the sequence is cut short
};

Group read_group() {
    Group g{0, false, -1};
    double sign = 1, scale = 0;
    for (int c = ahead(0);; c = ahead(0)) {
        if ((c == '+' || c == '-') && !g.has_value && scale == 0)
            sign = c == '-' ? -1 : 1;
        else if (in_range(c, '0', '9')) {
            g.has_value = true;
            if (scale == 0)
                g.value = g.value * 10 + (c - '0');
            else
                g.value += (c - '0') * (scale /= 10);
        } else if (c == '.' && scale == 0)
            scale = 1;
        else
            break;
        ++source.pos;
    }
    g.value *= sign;
    int c = ahead(0);
    if (in_range(c, '`', '~') || in_range(c, '@', '^')) {
        g.letter = c;
        ++source.pos;
    }
    return g;
}

// Skips n bytes of binary data, up to a job end among them: the job ends there all the same.
void skip_binary(size_t n) {
    while (n > 0) {
        size_t keep = source.pos;
        if (source.pos == source.size && !source_more(keep)) return;
        const char* from = source.data + source.pos;
        size_t take = std::min(n, source.size - source.pos);
        const void* esc = memchr(from, 0x1b, take);
        size_t before = esc ? static_cast<size_t>(static_cast<const char*>(esc) - from) : take;
        source_skip(before);
        n -= before;
        if (!esc) continue;
        keep = source.pos;
        if (is_job_end(source.pos, keep)) return;
        source_skip(1); // an ESC of the data
        --n;
    }
}

// What a finished group asks for: the state it enters, binary data it carries.
void act_on(int introducer, const Group& g) {
    if (g.letter == 'W' || g.letter == 'w') { // n bytes of binary data follow
        double n = g.value > 0 ? g.value : 0;
        skip_binary(static_cast<size_t>(n < 1e15 ? n : 1e15));
    }
    if (introducer != '%') return;
    if (g.letter == 'A')
        reader_state = ReaderState::pcl;
    else if (g.letter == 'B')
        reader_state = ReaderState::hpgl2;
    else if (g.letter == 'X' && g.value == -12345)
        reader_state = ReaderState::pjl;
}

// ESC, a character from ! to /, an optional one from ` to ~, then groups of a value and a
// letter: lower case goes on, upper case ends the sequence.
void skip_parameterized(int introducer) {
    source.pos += 2;
    if (in_range(ahead(0), '`', '~')) ++source.pos;
    for (;;) {
        Group g = read_group();
        if (g.letter < 0) return; // cut short: what follows is read afresh
        act_on(introducer, g);
        if (in_range(g.letter, '@', '^')) return;
    }
}

// HP-GL/1 device control: ESC . and one character, then its parameters up to and including ':'.
void skip_device_control() {
    source.pos += 2;
    if (ahead(0) < 0) return;
    ++source.pos;
    int c = ahead(0);
    if (c == ':') {
        ++source.pos;
        return;
    }
    if (!in_range(c, '0', '9') && c != ';') return;
    for (c = ahead(0); in_range(c, '0', '9') || c == ';' || c == ',' || c == ' '; c = ahead(0))
        ++source.pos;
    if (c == ':') ++source.pos;
}

bool equals_folded(const char* bytes, size_t n, const char* word) {
    if (strlen(word) != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (upper(bytes[i]) != word[i]) return false;
    return true;
}

// "@PJL ENTER LANGUAGE = NAME" in any case: the state NAME asks for, or PJL for another line.
ReaderState pjl_line_state(const char* line, size_t n) {
    size_t i = 4, word = 0;
    const char* words[3] = {};
    size_t lengths[3] = {};
    while (i < n && word < 3) {
        while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '=' || line[i] == '\r'))
            ++i;
        size_t start = i;
        while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '=' && line[i] != '\r')
            ++i;
        if (i > start) {
            words[word] = line + start;
            lengths[word++] = i - start;
        }
    }
    if (word < 3 || !equals_folded(words[0], lengths[0], "ENTER") ||
        !equals_folded(words[1], lengths[1], "LANGUAGE"))
        return ReaderState::pjl;
    if (equals_folded(words[2], lengths[2], "HPGL2")) return ReaderState::hpgl2;
    if (equals_folded(words[2], lengths[2], "PCL")) return ReaderState::pcl;
    return ReaderState::pjl;
}

// One line in PJL state: @PJL lines and blank lines are skipped, anything else is PCL.
void pjl_line() {
    size_t keep = source.pos;
    size_t n = 0;
    int c = 0;
    while ((c = source_peek(n, keep)) == ' ' || c == '\t' || c == '\r' || c == 0)
        ++n;
    if (c == '\n' || c < 0) {
        source_skip(c < 0 ? n : n + 1);
        return;
    }
    if (c == 0x1b) {
        source.pos += n;
        skip_escape();
        return;
    }
    if (!(c == '@' && (source_peek(n + 1, keep) | 0x20) == 'p' &&
          (source_peek(n + 2, keep) | 0x20) == 'j' && (source_peek(n + 3, keep) | 0x20) == 'l')) {
        source.pos += n;
        reader_state = ReaderState::pcl;
        return;
    }
    size_t end = n; // from the read position: a refill moves the bytes, and the position with them
    while ((c = source_peek(end, keep)) >= 0 && c != '\n')
        ++end;
    ReaderState next = pjl_line_state(source.data + source.pos + n, end - n);
    source_skip(end + (c == '\n'));
    reader_state = next;
}

// PCL state: printer text and PCL, skipped up to the next escape sequence or form feed.
void pcl_bytes() {
    const char* from = source.data + source.pos;
    size_t left = source.size - source.pos, n = 0;
    while (n < left && from[n] != 0x1b && from[n] != '\f')
        ++n;
    source_skip(n);
    if (n == left) return;
    if (from[n] == 0x1b) return skip_escape();
    note_event(JobEvent::form_feed, source.pos);
    source_skip(1);
}

} // namespace

void skip_escape() {
    int c = ahead(1);
    if (c == '.')
        skip_device_control();
    else if (in_range(c, '!', '/'))
        skip_parameterized(c);
    else if (in_range(c, '0', '~')) {
        if (c == 'E') { // printer reset: PCL follows
            note_event(JobEvent::reset, source.pos);
            reader_state = ReaderState::pcl;
        }
        source.pos += 2;
    } else {
        ++source.pos;
    }
}

bool skip_to_hpgl2() {
    while (reader_state != ReaderState::hpgl2 && job_event.event == JobEvent::none) {
        size_t keep = source.pos;
        if (source_peek(0, keep) < 0) return false;
        if (reader_state == ReaderState::pjl)
            pjl_line();
        else
            pcl_bytes();
    }
    return true;
}

bool is_job_end(size_t at, size_t& keep) {
    size_t from_pos = at - source.pos; // a refill moves both alike
    for (size_t i = 0; i < job_end_length; ++i)
        if (source_peek(from_pos + i, keep) != static_cast<unsigned char>(job_end[i])) return false;
    return true;
}
