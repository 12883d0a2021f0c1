// The settled readings of HP-GL/2 mode's reading, device, drawing and labels: one golden case
// per reading, with the drawing and the whole log.
#include <gtest/gtest.h>

#include "e2e/drawing.h"

namespace {

std::string drawn_line(int polylines, int texts, int points, int layers = 1) {
    return "Drawn: " + std::to_string(polylines) + " polylines, 0 arcs, 0 circles, " +
           std::to_string(texts) + " texts, " + std::to_string(points) + " points on " +
           std::to_string(layers) + " layers\n";
}

struct Golden {
    std::string input, entities, log_body;
    int status;
};

void expect_golden(const Golden& g, const std::vector<std::string>& args = {}) {
    Result r = convert2(g.input, args);
    EXPECT_EQ(r.status, g.status) << g.input;
    EXPECT_EQ(entities(r.dxf), g.entities) << g.input;
    EXPECT_EQ(log_body(r.log), g.log_body) << g.input;
}

TEST(Details, ReadingNumbersTitlesAndWrappers) {
    const std::string one_line = "POLYLINE PEN1 (0,0) (0.098425,0)\n";
    const Golden cases[] = {
        // Each diagnostic stands at the first byte of what it is about.
        {"PD100,0,50;", one_line,
         "penwright.plt:1:9: warning: PD with 3 coordinates: the last one, 50, dropped\n" +
             drawn_line(1, 0, 0),
         0},
        {"RO45;", "",
         "penwright.plt:1:3: error: RO 45 is not 0, 90, 180 or 270: skipped\n" +
             drawn_line(0, 0, 0, 0),
         1},
        {"PE~\x80\xff@;PU;", "",
         "penwright.plt:1:4: warning: PE with 2 bytes that are neither digits nor flags: "
         "ignored\n"
         "penwright.plt:1:3: warning: PE with an unpaired coordinate: dropped\n" +
             drawn_line(0, 0, 0, 0),
         0},
        // A title is a quoted string.
        {"BP1,\"plot\";PD100,0;", one_line, drawn_line(1, 0, 0), 0},
        // Beyond 2^53 as written, and a letter that begins no mnemonic: the command is skipped.
        {"PD9007199254740993,0;PD100,0;", one_line,
         "penwright.plt:1:3: error: PD parameter 9007199254740993 is too large: PD skipped\n" +
             drawn_line(1, 0, 0),
         1},
        {"PD1e3,0;PD100,0;", one_line,
         "penwright.plt:1:4: error: PD parameter e3 is not a number: PD skipped\n" +
             drawn_line(1, 0, 0),
         1},
        // NUL bytes between '!' and its mnemonic; a comment cut by a job end; a job end inside
        // binary data.
        {std::string("!\0SP12;PD100,0;", 15), one_line,
         "penwright.plt:1:1: warning: vendor command !SP: skipped\n" + drawn_line(1, 0, 0) +
             "Not drawn: !SP 1\n",
         0},
        {"CO \"x\x1b%-12345X@PJL ENTER LANGUAGE=HPGL2\nPD100,0;", one_line,
         "penwright.plt:1:1: warning: comment without its closing quote: skipped\n" +
             drawn_line(1, 0, 0),
         0},
        {"\x1b*b11W01\x1b%-12345XPD100,0;", "", drawn_line(0, 0, 0, 0), 0},
    };
    for (const Golden& g : cases)
        expect_golden(g);
}

TEST(Details, AnUnreadableInputStillGivesAWholeDrawingAndLog) {
    RunSpec run;
    run.args = {"--hpgl2", "-i", ".", "-o", "out.dxf"};
    run.dxf_name = "out.dxf";
    Result r = run_penwright(run);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.dxf.ends_with("  0\nENDSEC\n  0\nEOF\n"));
    EXPECT_EQ(r.log, "HPGL input file: .\nDXF output file: out.dxf\n" + drawn_line(0, 0, 0, 0) +
                         "Errors: 0, Warnings: 0\n");
    EXPECT_EQ(r.err,
              stderr_preamble(".") + "input in flex scanner failed\nErrors: 0, Warnings: 0\n");
}

TEST(Details, DotsRunsChordsAndTheTurnedPage) {
    const Golden cases[] = {
        // A dot is written when settled, after what was drawn meanwhile; a rectangle from the
        // pen's place leaves none; a stroke from elsewhere does not take it; a skipped PD
        // lowers nothing.
        {"PD;CI100;PU;", "CIRCLE PEN1 (0,0) r0.098425\nPOINT PEN1 (0,0)\n",
         "Drawn: 0 polylines, 0 arcs, 1 circles, 0 texts, 1 points on 1 layers\n", 0},
        {"PD;EA100,100;PU;",
         "POLYLINE PEN1 closed (0,0) (0.098425,0) (0.098425,0.098425) "
         "(0,0.098425)\n",
         drawn_line(1, 0, 0), 0},
        {"PD;CP1,0;PD100,0;PU;", "POLYLINE PEN1 (0.112205,0) (0.098425,0)\nPOINT PEN1 (0,0)\n",
         drawn_line(1, 0, 1), 0},
        {"PU100,100;PD-x;PU;", "",
         "penwright.plt:1:13: error: PD parameter -x is not a number: PD skipped\n" +
             drawn_line(0, 0, 0, 0),
         1},
        // Chords turn by the chord angle, the last by what is left.
        {"EW1000,0,45,10;",
         "POLYLINE PEN1 closed (0,0) (0.984252,0) (0.969299,0.170914) (0.924894,0.336634) "
         "(0.852387,0.492126) (0.753981,0.632665) (0.695971,0.695971)\n",
         drawn_line(1, 0, 0), 0},
        // An arc in chords is a run of its own; a turn moves no earlier point; PC that keeps
        // the colour keeps the run.
        {"SC0,100,0,100;PU10,10;PD20,10;AA20,20,90;",
         "POLYLINE PEN1 (0.984252,0.708661) (1.968504,0.708661)\n"
         "POLYLINE PEN1 (1.968504,0.708661) (2.054287,0.711358) (2.139417,0.719428) "
         "(2.223247,0.732808) (2.305138,0.751399) (2.384467,0.775057) (2.46063,0.803604) "
         "(2.533048,0.836821) (2.601169,0.874457) (2.664475,0.916224) (2.722485,0.961804) "
         "(2.774756,1.010851) (2.820891,1.062992) (2.860539,1.11783) (2.893398,1.174946) "
         "(2.919218,1.233908) (2.937803,1.294265) (2.949011,1.355559) (2.952756,1.417323)\n",
         drawn_line(2, 0, 0), 0},
        {"PD0.1,0;RO180;PA100,100;", "POLYLINE PEN1 (0,0) (0.000098,0) (9.744094,6.988189)\n",
         drawn_line(1, 0, 0), 0},
        {"PD100,0;PC;PD200,0;", "POLYLINE PEN1 (0,0) (0.098425,0) (0.19685,0)\n",
         drawn_line(1, 0, 0), 0},
        // PS while turned keeps the pen's place on the page.
        {"RO90;PS5000,5000;PD100,0;", "POLYLINE PEN1 (0,0) (4.92126,0.098425)\n",
         drawn_line(1, 0, 0), 0},
    };
    for (const Golden& g : cases)
        expect_golden(g);
}

TEST(Details, TheCarriageReturnPointAndTheLinesOfALabel) {
    // After a pen move the next label sets the carriage-return point anew.
    expect_golden({"IN;SP1;PA400,400;LBAB\x03PA4000,4000;LBC\rD\x03",
                   "TEXT PEN1 (10,10) h2.7 [AB] 41=1.055556\n"
                   "TEXT PEN1 (100,100) h2.7 [C] 41=1.055556\n"
                   "TEXT PEN1 (100,100) h2.7 [D] 41=1.055556\n",
                   drawn_line(0, 3, 0), 0},
                  {"--units=mm"});
    const Golden cases[] = {
        // CP moves the pen, not the carriage-return point.
        {"CP2,0;CP;PD;PU;", "POINT PEN1 (0,-0.212598)\n", drawn_line(0, 0, 1), 0},
        // Each line placed by its own length where it begins; BS does not count.
        {"LO5;LBAB\rx=1\x03",
         "TEXT PEN1 (-0.093504,-0.05315) h0.106299 [AB] 41=1.055556\n"
         "TEXT PEN1 (-0.149606,-0.05315) h0.106299 [x=1] 41=1.055556\n",
         drawn_line(0, 2, 0), 0},
        {"LO7;LBabc\nA\bB\x03",
         "TEXT PEN1 (-0.299213,0) h0.106299 [abc] 41=1.055556\n"
         "TEXT PEN1 (-0.187008,-0.212598) h0.106299 [A] 41=1.055556\n"
         "TEXT PEN1 (-0.187008,-0.212598) h0.106299 [B] 41=1.055556\n",
         drawn_line(0, 3, 0), 0},
    };
    for (const Golden& g : cases)
        expect_golden(g);
}

} // namespace
