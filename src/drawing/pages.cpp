// Pages: what is drawn after a page ends is laid out to the right of it, page k moved right by
// k times the width of everything drawn (on all pages, each taken as drawn) and a gap. A page
// on which nothing was drawn takes no place.
#include "drawing/state.h"

void model_new_page() {
    model_settle();
    if (!model.page.any()) return; // nothing was drawn on it
    model.pages.push_back(model.page);
    model.page = Box{};
    model.page_ended = true;
}

void lay_out_pages() {
    constexpr double gap = 400; // plotter units
    DrawingSummary& s = model.summary;
    std::vector<Box> pages = model.pages;
    pages.push_back(model.page);
    Box all;
    for (const Box& b : pages)
        if (b.any()) {
            all.add({b.e.min_x, b.e.min_y});
            all.add({b.e.max_x, b.e.max_y});
        }
    double width = all.any() ? all.e.max_x - all.e.min_x : 0;
    Box laid;
    s.page_shift.clear();
    for (const Box& b : pages) {
        double shift = static_cast<double>(s.page_shift.size()) * (width + gap);
        s.page_shift.push_back(shift);
        if (!b.any()) continue;
        laid.add({b.e.min_x + shift, b.e.min_y});
        laid.add({b.e.max_x + shift, b.e.max_y});
    }
    s.extents = laid.any() ? laid.e : Extents{0, 0, 0, 0};
}
