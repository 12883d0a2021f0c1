// The command handlers the parser calls, one per implemented HPGL command.
#pragma once

namespace classic {

// Initialization and pen selection.
void cmd_IN();
void cmd_DF();
void cmd_SP(int n);

// Pen motion.
void cmd_PA();
void cmd_PD();
void cmd_PR();
void cmd_PU();
void plot_to(int x, int y);

// Arcs and circles.
void cmd_AA(int cx, int cy, int sweep);
void cmd_AR(int dx, int dy, int sweep);
void cmd_AC(int x, int y);
void cmd_CI(int radius);
void cmd_CT(int n);

// Scaling and rotation.
void cmd_IP(int form, int a, int b, int c, int d);
void cmd_SC(int form, int a, int b, int c);
void cmd_IW(int x1, int y1, int x2, int y2);
void cmd_RO(double angle);
void cmd_WU();

// Encoded polylines.
void cmd_PE(const char* text);
void pe_point(int x, int y, int pen, int mode);

// Labels.
void cmd_SI(double height, double width);
void cmd_DI(int run, int rise);
void cmd_LB(char* text);

// Bezier curves, polygons and fills.
void bezier_push(int c1x, int c1y, int c2x, int c2y, int ex, int ey);
int bezier_pop(int& c1x, int& c1y, int& c2x, int& c2y, int& ex, int& ey);
void bezier_reset();
void bezier_point(double t, int p0x, int p0y, int c1x, int c1y, int c2x, int c2y, int ex, int ey,
                  int& x, int& y);
void cmd_BP();
void cmd_BR();
void cmd_PM(int n);
void cmd_PG(int n);
void cmd_EP();
void cmd_FP();
void cmd_FR();
void cmd_PP();
void cmd_FT(int type, double spacing, double angle);

// Attributes that are only echoed.
void cmd_LT();
void cmd_MC();
void cmd_NP();
void cmd_PC();
void cmd_PS();
void cmd_PW();
void cmd_QL();
void cmd_TR();

} // namespace classic
