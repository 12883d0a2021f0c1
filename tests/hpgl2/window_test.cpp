// The window cuts what is drawn, and pages lie side by side: the worked examples and one golden
// case per reading.
#include <gtest/gtest.h>

#include "e2e/drawing.h"

namespace {

std::string drawn(const std::string& input) {
    return entities(convert2(input).dxf);
}

TEST(WorkedExamples, AWindowAndTwoPages) {
    EXPECT_EQ(drawn("IN;SP1;IW0,0,508,508;PD1016,1016;"), "POLYLINE PEN1 (0,0) (0.5,0.5)\n");
    Result r = convert2("IN;SP1;PD100,0;PU0,0;PG;PD100,0;");
    EXPECT_EQ(entities(r.dxf),
              "POLYLINE PEN1 (0,0) (0.098425,0)\nPOLYLINE PEN1 (0.492126,0) (0.590551,0)\n");
    EXPECT_EQ(log_body(r.log), "Drawn: 2 polylines, 0 arcs, 0 circles, 0 texts, 0 points on 1 "
                               "layers\nPages: 2\n");
}

TEST(Window, RunsLeaveAndReenterAndClosedOnesOpen) {
    const std::string window = "IN;IW0,0,1016,1016;";
    // Out, in across the centre, out at the top; in again from the right, out at the bottom.
    EXPECT_EQ(drawn(window + "PU-508,508;PD508,508,508,1524,1524,1524,1524,508,508,508,508,-508;"),
              "POLYLINE PEN1 (0,0.5) (0.5,0.5) (0.5,1)\nPOLYLINE PEN1 (1,0.5) (0.5,0.5) (0.5,0)\n");
    // A closed run whose first point is inside: the piece through that point is one polyline,
    // written first; an edge is cut as a closed run. Going on past its start, a run is open.
    EXPECT_EQ(drawn(window + "PU508,508;PD1524,508,1524,-508,508,-508,508,508;"),
              "POLYLINE PEN1 (0.5,0) (0.5,0.5) (1,0.5)\n");
    EXPECT_EQ(drawn(window + "PU508,508;EA1524,1524;"),
              "POLYLINE PEN1 (0.5,1) (0.5,0.5) (1,0.5)\n");
    EXPECT_EQ(drawn(window + "PU508,508;PD1524,508,1524,-508,508,-508,508,508,1524,1524;"),
              "POLYLINE PEN1 (0.5,0.5) (1,0.5)\nPOLYLINE PEN1 (0.5,0) (0.5,0.5) (1,1)\n");
    // A stroke along the border is inside; one that touches a corner only draws nothing.
    EXPECT_EQ(drawn(window + "PU0,0;PD1016,0;PU-100,916;PD100,1116;"),
              "POLYLINE PEN1 (0,0) (1,0)\n");
    // A change of window ends the run, so each stretch is cut by its own window.
    EXPECT_EQ(drawn(window + "PD2032,0;IW0,0,2032,2032;PD2032,2032;IW;PD0,2032;"),
              "POLYLINE PEN1 (0,0) (1,0)\nPOLYLINE PEN1 (2,0) (2,2)\nPOLYLINE PEN1 (2,2) (0,2)\n");
}

TEST(Window, ArcsCirclesFillsPointsAndTexts) {
    // A circle crossing two borders: its arcs counter-clockwise from the first cut at or after
    // 0 degrees; an arc from its start.
    EXPECT_EQ(drawn("IN;IW0,-2000,1016,3000;PU508,508;CI600;PU508,-92;PD;AA508,508,-300;"),
              "ARC PEN1 (0.5,0.5) r0.590551 32.149052..147.850948\n"
              "ARC PEN1 (0.5,0.5) r0.590551 212.149052..327.850948\n"
              "ARC PEN1 (0.5,0.5) r0.590551 212.149052..270\n"
              "ARC PEN1 (0.5,0.5) r0.590551 32.149052..147.850948\n");
    // A fill fills its part inside; points and texts are kept on the border, dropped outside.
    EXPECT_EQ(drawn("IN;IW0,0,1016,1016;RA2032,508;PU1016,0;PD;PU;LBon\x03PU1017,0;LBout\x03"
                    "PD;PU;"),
              "SOLID PEN1 (0,0) (1,0) (0,0.5) (1,0.5)\nPOINT PEN1 (1,0)\n"
              "TEXT PEN1 (1,0) h0.106299 [on] 41=1.055556\n");
    // IW;, a turn and IN remove the window.
    EXPECT_EQ(drawn("IN;IW0,0,10,10;IW;PD100,0;IW0,0,10,10;RO90;PD0,100;IW0,0,10,10;IN;PD0,50;"),
              "POLYLINE PEN1 (0,0) (0.098425,0)\nPOLYLINE PEN1 (0.098425,0) (9.744094,0)\n"
              "POLYLINE PEN1 (0,0) (0,0.049213)\n");
}

TEST(Pages, SideBySideByTheWidthOfAll) {
    // A page on which nothing was drawn takes no place; pages of different widths.
    Result r = convert2("IN;PD100,0;PG;PG;PD300,0;PG1;PU0,0;PD200,0;FR;");
    EXPECT_EQ(entities(r.dxf), "POLYLINE PEN1 (0,0) (0.098425,0)\n"
                               "POLYLINE PEN1 (0.787402,0) (0.984252,0)\n"
                               "POLYLINE PEN1 (1.377953,0) (1.574803,0)\n");
    EXPECT_EQ(extents(r.dxf), "(0,0)-(1.574803,0)");
    EXPECT_NE(r.log.find("Pages: 3\n"), std::string::npos);
    // In a printer job, a form feed ends the page and a reset ends it and does what IN does.
    EXPECT_EQ(drawn("\x1b"
                    "E\x1b%0BIN;PD100,0;\x1b%0A\f\x1b%0BPD200,0;\x1b"
                    "E\x1b%0BPD0,100;"),
              "POLYLINE PEN1 (0,0) (0.098425,0)\nPOLYLINE PEN1 (0.688976,0) (0.787402,0)\n"
              "POLYLINE PEN1 (1.181102,0) (1.181102,0.098425)\n");
    EXPECT_EQ(log_body(convert2("PG1,2;PD100,0;").log),
              "penwright.plt:1:5: warning: PG with 2 numbers: the last one, 2, dropped\n"
              "Drawn: 1 polylines, 0 arcs, 0 circles, 0 texts, 0 points on 1 layers\n");
}

} // namespace
