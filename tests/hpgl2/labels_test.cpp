// Labels in HP-GL/2 mode: placed, sized and turned as the plotter draws them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "e2e/drawing.h"

namespace {

std::string drawn(const std::string& input) {
    return entities(convert2(input).dxf);
}

std::string text_at(const std::string& x, const std::string& y, const std::string& text,
                    const std::string& rest = " 41=1.055556") {
    return "TEXT PEN1 (" + x + "," + y + ") h0.106299 [" + text + "]" + rest + "\n";
}

TEST(Labels2, TheWorkedExampleAndThePenAfterIt) {
    // Width 76, cap height 108, cell 114 plotter units: "AB" is 190 long and centred on the pen.
    EXPECT_EQ(drawn("SI0.19,0.27;LO5;PU2032,2032;LBAB\x03PD0,0;"),
              text_at("1.906496", "1.94685", "AB") + "POLYLINE PEN1 (2,2) (0,0)\n");
}

TEST(Labels2, SizesDirectionsAndSlant) {
    // The default size when none is set; SI in centimetres; SR in percent of P2 - P1.
    EXPECT_EQ(drawn("LBa\x03"), text_at("0", "0", "a"));
    EXPECT_EQ(drawn("SI0.4,0.5;LBa\x03SI;LBb\x03"),
              "TEXT PEN1 (0,0) h0.19685 [a] 41=1.2\n" + text_at("0.23622", "0", "b"));
    EXPECT_EQ(drawn("SR1,2;LBa\x03"), "TEXT PEN1 (0,0) h0.141732 [a] 41=1.041667\n");
    // DI in the plotter frame, DR in proportions of P2 - P1; RO turns labels with the frame.
    EXPECT_EQ(drawn("DI0,1;LBab\x03"), text_at("0", "0", "ab", " 50=90 41=1.055556"));
    EXPECT_EQ(drawn("DR1,1;LBa\x03"), text_at("0", "0", "a", " 50=35.753887 41=1.055556"));
    EXPECT_EQ(drawn("RO90;PU0,0;DI1,0;LBa\x03"),
              text_at("9.84252", "0", "a", " 50=90 41=1.055556"));
    EXPECT_EQ(drawn("SL0.5;LBa\x03"), text_at("0", "0", "a", " 41=1.055556 51=26.565051"));
}

TEST(Labels2, OriginsPlaceTheLeftBaselinePoint) {
    // A two-character label at (1016, 1016): 190 plotter units long, 108 high.
    const char* expected[] = {"(1,1)",        "(1,0.94685)",        "(1,0.893701)",
                              "(0.906496,1)", "(0.906496,0.94685)", "(0.906496,0.893701)",
                              "(0.812992,1)", "(0.812992,0.94685)", "(0.812992,0.893701)"};
    for (int o = 1; o <= 9; ++o) {
        std::string e = drawn("PU1016,1016;LO" + std::to_string(o) + ";LBab\x03");
        EXPECT_EQ(e.substr(10, e.find(')') - 9), expected[o - 1]) << "LO" << o;
    }
    // 11 to 19: moved away from the pen by half a width and half a height; 15 is 5.
    EXPECT_EQ(drawn("PU1016,1016;LO11;LBab\x03"), text_at("1.037402", "1.05315", "ab"));
    EXPECT_EQ(drawn("PU1016,1016;LO19;LBab\x03"), text_at("0.775591", "0.840551", "ab"));
    EXPECT_EQ(drawn("PU1016,1016;LO15;LBab\x03"), drawn("PU1016,1016;LO5;LBab\x03"));
}

TEST(Labels2, LineEndsBackspacesAndThePenAfterTheLabel) {
    // One TEXT per line; CR goes back to where the label began, BS one cell back.
    EXPECT_EQ(drawn("LBab\r\ncd\x03LB0\b/\x03"),
              text_at("0", "0", "ab") + text_at("0", "-0.212598", "cd") +
                  text_at("0.224409", "-0.212598", "0") + text_at("0.224409", "-0.212598", "/"));
    // Left origins move the pen on, from the pen itself; the others put it back.
    EXPECT_EQ(drawn("LO11;LBab\x03LBc\x03"),
              text_at("0.037402", "0.05315", "ab") + text_at("0.261811", "0.05315", "c"));
    EXPECT_EQ(drawn("LO4;LBab\x03LBc\x03"),
              text_at("-0.093504", "0", "ab") + text_at("-0.037402", "0", "c"));
    // CP: cells and lines, and CP; is a carriage return and a line feed.
    EXPECT_EQ(drawn("PU1016,0;CP2,1;LBa\x03"
                    "CP;LBb\x03"),
              text_at("1.224409", "0.212598", "a") + text_at("1.224409", "0", "b"));
    // After a label of two lines the line feed of CP; goes on from the second.
    EXPECT_EQ(drawn("LBab\r\ncd\x03"
                    "CP;LBe\x03"),
              text_at("0", "0", "ab") + text_at("0", "-0.212598", "cd") +
                  text_at("0", "-0.425197", "e"));
}

TEST(Labels2, SymbolsBufferedLabelsTerminatorsAndTexts) {
    EXPECT_EQ(drawn("SM*;PA1016,0,2032,0;SM;PA0,0;"),
              text_at("0.962598", "-0.05315", "*") + text_at("1.962598", "-0.05315", "*"));
    EXPECT_EQ(drawn("BLkept\x03PU1016,0;PB;"), text_at("1", "0", "kept"));
    EXPECT_EQ(drawn("DT!,0;LBwow!DT#;LBa;b#DT;LBc\x03"), text_at("0", "0", "wow!") +
                                                             text_at("0.448819", "0", "a;b") +
                                                             text_at("0.785433", "0", "c"));
    EXPECT_EQ(drawn("LB100% \xe9\x01\x03"), text_at("0", "0", "100%%% \xe9"));
}

TEST(Labels2, AtTheEndOfTheInputAndWithoutHeight) {
    Result r = convert2("SI0.2,0;LBflat\x03SI;LBopen");
    EXPECT_EQ(entities(r.dxf), text_at("0", "0", "open"));
    EXPECT_EQ(log_body(r.log),
              "penwright.plt:1:9: warning: label of height 0: not drawn\n"
              "penwright.plt:1:19: warning: label without terminator at end of input: drawn\n"
              "Drawn: 0 polylines, 0 arcs, 0 circles, 1 texts, 0 points on 1 layers\n");
}

// A plot's labels, found in its bytes: where each stands and how many texts it prints (runs
// of printed bytes between line ends and backspaces).
struct FoundLabel {
    size_t start, end; // the label's text, from after LB to its ETX
    int runs;
};

std::vector<FoundLabel> labels_of(const std::string& plot) {
    std::vector<FoundLabel> found;
    for (size_t at = 0; (at = plot.find("LB", at)) != std::string::npos;) {
        size_t end = std::min(plot.find('\x03', at), plot.size());
        FoundLabel label{at + 2, end, 0};
        bool in_run = false;
        for (size_t i = at + 2; i < end; ++i) {
            auto c = static_cast<unsigned char>(plot[i]);
            if (c == '\r' || c == '\n' || c == '\b')
                in_run = false;
            else if (c >= 32 && c != 127)
                label.runs += !in_run, in_run = true;
        }
        found.push_back(label);
        at = end;
    }
    return found;
}

struct DrawnText {
    double x, y, height;
};

std::vector<DrawnText> texts_of(const std::string& dxf) {
    std::vector<DrawnText> texts;
    std::string e = entities(dxf);
    for (size_t at = 0; (at = e.find("TEXT ", at)) != std::string::npos; ++at) {
        DrawnText t{};
        sscanf(e.c_str() + e.find('(', at), "(%lf,%lf) h%lf", &t.x, &t.y, &t.height);
        texts.push_back(t);
    }
    return texts;
}

// Every label of a real plot is drawn, none without height, and a label written right after
// another on the same line begins further along it. Returns how many such pairs there are.
int expect_every_label(const std::string& path, int symbols = 0) {
    std::string plot = read_file(path);
    std::vector<FoundLabel> labels = labels_of(plot);
    std::vector<DrawnText> texts = texts_of(convert2(plot).dxf);
    int runs = 0;
    for (const FoundLabel& l : labels)
        runs += l.runs;
    EXPECT_EQ(static_cast<int>(texts.size()), runs + symbols) << path;
    if (static_cast<int>(texts.size()) != runs + symbols) return 0;
    for (const DrawnText& t : texts)
        EXPECT_GT(t.height, 0) << path;
    if (symbols) return 0; // the symbols stand between the labels' texts
    size_t first = 0;      // the first text of label i
    int compared = 0;
    for (size_t i = 0; i + 1 < labels.size(); first += static_cast<size_t>(labels[i++].runs)) {
        bool adjacent = plot.find_first_not_of(';', labels[i].end + 1) >= labels[i + 1].start - 2;
        if (!adjacent || !labels[i].runs || !labels[i + 1].runs) continue;
        const DrawnText &a = texts[first], &b = texts[first + static_cast<size_t>(labels[i].runs)];
        if (a.y == b.y) {
            EXPECT_GT(b.x, a.x) << path << " label at byte " << labels[i + 1].start;
            ++compared;
        }
    }
    return compared;
}

TEST(Labels2, EveryLabelOfRealPlots) {
    EXPECT_EQ(expect_every_label(TEST_DATA_DIR "/hp8595e_fm.hpgl"),
              25); // "#RES BW 3." "0\b/" " kHz"...
    expect_every_label(TEST_DATA_DIR "/rs_analyzer.hpgl");
    expect_every_label(TEST_DATA_DIR "/specan_labels.plt");
    // SM*, then the points of PU700,1300 and of three PA: four symbols besides the labels.
    expect_every_label(TEST_DATA_DIR "/feature_exercise.plt", 4);
    for (const char* plot : {"/13_ghostpdl_origins_LO_SD.pcl", "/32_lectra_astm_marker.hpgl"}) {
        std::string path = CORPUS_DIR + std::string(plot);
        if (std::filesystem::exists(path)) expect_every_label(path);
    }
}

} // namespace
