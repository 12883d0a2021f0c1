// Fills: a region cut to the window, then filled by its rule as SOLID pieces, or hatched.
#include "drawing/state.h"

namespace {

constexpr double most_hatch_lines = 100000;

// The number of lines of a hatch family that meet the region: those whose offset from the
// anchor, along the perpendicular, lies between the region's least and greatest.
double hatch_line_count(const Rings& region, Point anchor, double angle, double spacing) {
    double radians = angle * (M_PI / 180);
    double nx = -std::sin(radians), ny = std::cos(radians);
    double low = HUGE_VAL, high = -HUGE_VAL;
    for (Point p : region.points) {
        double offset = (p.x - anchor.x) * nx + (p.y - anchor.y) * ny;
        low = std::min(low, offset);
        high = std::max(high, offset);
    }
    if (!(low <= high)) return 0;
    return std::floor(high / spacing) - std::ceil(low / spacing) + 1;
}

// The hatch lines of a fill into model.lines, or the reason it is filled solid instead.
FillOutcome hatch(const Rings& region, const FillRecord& f) {
    model.lines.clear();
    double families = f.cross ? 2 : 1;
    if (!(f.spacing >= 1)) return FillOutcome::solid_for_close_lines;
    double count = hatch_line_count(region, f.anchor, f.angle, f.spacing);
    if (f.cross) count += hatch_line_count(region, f.anchor, f.angle + 90, f.spacing);
    if (count > most_hatch_lines) return FillOutcome::solid_for_many_lines;
    size_t most = static_cast<size_t>(most_hatch_lines * families) + 2;
    hatch_lines(region, f.rule, f.anchor, f.angle, f.spacing, most, model.lines);
    if (f.cross) hatch_lines(region, f.rule, f.anchor, f.angle + 90, f.spacing, most, model.lines);
    return FillOutcome::drawn;
}

void record_region(const Rings& region) {
    for (size_t r = 0; r < region.starts.size(); ++r) {
        size_t end = r + 1 < region.starts.size() ? region.starts[r + 1] : region.points.size();
        record_ring(region.points.data() + region.starts[r], end - region.starts[r]);
    }
}

void record_lines() {
    for (const Segment& s : model.lines) {
        record_line(s.a, s.b);
        box().add(s.a);
        box().add(s.b);
    }
}

void record_pieces() {
    for (const Piece& p : model.pieces) {
        record_piece(p.corner, p.count);
        for (int i = 0; i < p.count; ++i)
            box().add(p.corner[i]);
    }
}

} // namespace

FillOutcome model_fill(const Rings& whole, const FillRecord& fill) {
    model_end_run();
    const Rings& region = model.cut.on ? cut_region(whole) : whole;
    FillRecord f = fill;
    FillOutcome outcome = FillOutcome::drawn;
    if (f.kind == FillKind::hatched) {
        outcome = hatch(region, f);
        if (outcome != FillOutcome::drawn)
            f.kind = FillKind::solid;
        else if (model.lines.empty())
            return FillOutcome::nothing;
    }
    if (f.kind != FillKind::hatched) {
        model.pieces.clear();
        fill_pieces(region, f.rule, model.pieces);
        if (model.pieces.empty()) return FillOutcome::nothing;
    }
    begin_entity(f.kind == FillKind::hatched ? stroke_style() : plain_style());
    record_fill(f);
    if (f.kind == FillKind::hatched)
        record_lines();
    else
        record_pieces();
    record_region(region);
    record_fill_end();
    ++model.counts.fills;
    return outcome;
}
