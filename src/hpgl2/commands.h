// The commands of HP-GL/2 mode: one handler per command, each given the command as read, and
// what they share (checking parameters, moving the pen).
#pragma once

#include <cmath>

#include "geometry/rings.h"
#include "hpgl2/device.h"
#include "hpgl2/reader.h"

namespace hpgl2 {

using Handler = void (*)(Command&);

// The handler of a mnemonic; null for one that is read and not drawn, or unknown.
Handler handler_of(const char* name);
// A command that is read and not drawn, or unknown: counted for the log's "Not drawn" line,
// and a warning at its first place.
void count_not_drawn(const Command& c);

// Parameters. A command with fewer numbers than `least` is skipped (an error); numbers beyond
// `most` are dropped (a warning naming them). False when the command is to be skipped.
bool numbers_between(Command& c, int least, int most);
// An odd number of coordinates: the last one is dropped (a warning).
void drop_unpaired(Command& c, const char* what);
// Numbers beyond a batch of the same command, when the handler takes only one batch: those
// beyond `most` are dropped with a warning. skip_rest reads them without a word.
void drop_rest(Command& c, int most);
void skip_rest(Command& c);
// Where a command takes an integer: halves away from zero, held to the int range.
int integer(double v);
// Diagnostics at the command's mnemonic, or at a place of its own (a parameter, a byte).
void warn(const Command& c, const char* kind, const char* text);
void fail(const Command& c, const char* kind, const char* text);
void warn_at(const Command& c, Where at, const char* kind, const char* text);
void fail_at(const Command& c, Where at, const char* kind, const char* text);
// Where number i of the command (counted over all its batches) begins, while its batch is the
// one at hand; the mnemonic's place otherwise.
Where number_where(const Command& c, int i);
// A point the DXF cannot hold: the command is skipped from there (an error). False then.
[[gnu::cold]] bool refuse_unwritable(const Command& c);
inline bool check_writable(const Command& c, Point frame) {
    Point page = to_page(frame);
    return (std::isfinite(page.x) && std::isfinite(page.y)) || refuse_unwritable(c);
}

// The style of what is drawn from now on, from the pen, its colour, line type and width; a
// change ends the run in progress.
void restyle();
// SP and PE's pen flag: a dot of the pen put away is left on the page.
void select_pen(int pen);
// The attributes at the start of a plot; DF and IN put back solid lines with the default
// patterns, length and mode, and IN also the default widths in millimetres.
void attributes_reset();
void line_types_default();
void widths_default();

// Pen motion: a straight move of the pen to a point of the turned frame, drawn when the pen is
// down (kept in the polygon buffer in polygon mode).
void move_pen(Point to);
void lift_pen();
void put_pen_down();
void set_pen_position(Point frame);
// After the frame turned or the page changed: the pen keeps its place on the page.
void keep_pen_on_page();

// An arc drawn as chords: each chord turns by the chord angle, the last by what is left. The
// number of chords of a sweep, and the turn from the start to vertex k of n.
int chord_count(double sweep, double chord);
double chord_turn(double sweep, double chord, int k, int n);

// Angles in degrees; exact at multiples of 90.
// The unit vector at `a` degrees: (cos a, sin a).
Point direction_of(double a);
double atan2_degrees(double y, double x);

// Polygon mode: moves go to the buffer instead of the drawing.
bool in_polygon_mode();
void polygon_add(Point frame, bool drawn);
void polygon_reset();
// A subpolygon of its own (CI in polygon mode).
void polygon_add_closed(const Point* frame, int n);

// The defaults DF restores: label settings and symbol mode.
void labels_default();
void labels_reset();
// The pen was moved by a drawing command (or IN, DF, or the label direction or the frame
// turned): the carriage-return point is the pen's place, and the next label sets it anew.
void labels_pen_moved();

void cmd_IN(Command& c);
void cmd_DF(Command& c);
void cmd_BP(Command& c);
void cmd_PG(Command& c);
void cmd_FR(Command& c);
void cmd_IW(Command& c);
// A printer job's reset (ESC E: a new page and IN) and form feed (a new page).
void job_reset(Command& c);
void job_form_feed(Command& c);
void cmd_IP(Command& c);
void cmd_IR(Command& c);
void cmd_SC(Command& c);
void cmd_PS(Command& c);
void cmd_RO(Command& c);
void cmd_SP(Command& c);
void cmd_NP(Command& c);
void cmd_PC(Command& c);
void cmd_CO(Command& c);
void cmd_DV(Command& c);
void cmd_PA(Command& c);
void cmd_PR(Command& c);
void cmd_PU(Command& c);
void cmd_PD(Command& c);
void cmd_PE(Command& c);
void cmd_AA(Command& c);
void cmd_AR(Command& c);
void cmd_AT(Command& c);
void cmd_RT(Command& c);
void cmd_CI(Command& c);
void cmd_BZ(Command& c);
void cmd_BR(Command& c);
void cmd_EA(Command& c);
void cmd_ER(Command& c);
void cmd_RA(Command& c);
void cmd_RR(Command& c);
void cmd_EW(Command& c);
void cmd_WG(Command& c);
void cmd_PM(Command& c);
void cmd_EP(Command& c);
void cmd_FP(Command& c);
void cmd_LB(Command& c);
void cmd_BL(Command& c);
void cmd_PB(Command& c);
void cmd_DT(Command& c);
void cmd_SI(Command& c);
void cmd_SR(Command& c);
void cmd_DI(Command& c);
void cmd_DR(Command& c);
void cmd_SL(Command& c);
void cmd_LO(Command& c);
void cmd_ES(Command& c);
void cmd_CP(Command& c);
void cmd_SM(Command& c);
// DF and IN: FT1, every remembered option and raster pattern forgotten, the anchor corner at
// (0, 0).
void fills_default();
// Fills a region of page points by the rule, as the fill type in force says.
void fill_region(const Command& c, const Rings& region, FillRule rule);

void cmd_FT(Command& c);
void cmd_AC(Command& c);
void cmd_RF(Command& c);
void cmd_LT(Command& c);
void cmd_UL(Command& c);
void cmd_PW(Command& c);
void cmd_WU(Command& c);

} // namespace hpgl2
