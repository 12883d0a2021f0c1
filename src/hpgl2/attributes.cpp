// The pen's attributes: which pen draws, and the style it draws in.
#include "drawing/model.h"
#include "hpgl2/commands.h"

void restyle() {
    Style s;
    s.pen = device.pen;
    s.colour = pen_colour(device.pen);
    model_style(s);
}

void select_pen(int pen) {
    if (pen == device.pen) return;
    model_settle();
    device.pen = pen;
    restyle();
}
