// Reading in HP-GL/2 mode: the same drawing however the plot is written, and every fault
// reported with its line and column while reading goes on.
#include <gtest/gtest.h>

#include <filesystem>

#include "driver/diagnostics.h"
#include "e2e/drawing.h"
#include "hpgl2/reader.h"
#include "hpgl2/source.h"

namespace {

const std::string plot =
    "IN;SP2;PU100,200;PD300,400,500,-600;PU;PA1000,1000;PD;AA1000,2000,90;CI50;"
    "PR;PD10,10,-20,5;PA;PE<=\xd3\xc6G\xc2\xbf;SP3;PU0,0;PD0,1016;";

std::string replaced(std::string s, const std::string& from, const std::string& to) {
    for (size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size())
        s.replace(at, from.size(), to);
    return s;
}

// Every mnemonic in lower case (the encoded data stands between PE and its ';').
std::string lower_mnemonics(std::string s) {
    bool in_data = false;
    for (size_t i = 0; i < s.size(); ++i) {
        if (in_data) {
            in_data = s[i] != ';';
            continue;
        }
        if (s.compare(i, 2, "PE") == 0) in_data = true;
        if (s[i] >= 'A' && s[i] <= 'Z') s[i] = static_cast<char>(s[i] - 'A' + 'a');
    }
    return s;
}

TEST(Reading, TheSameDrawingWhateverTheSeparatorsCaseAndWrapper) {
    Result reference = convert2(plot);
    ASSERT_EQ(reference.status, 0) << reference.log;
    ASSERT_EQ(log_body(reference.log),
              "Drawn: 4 polylines, 1 arcs, 1 circles, 0 texts, 0 points on 2 layers\n");
    const std::string variants[] = {
        replaced(plot, ",", " "),
        replaced(replaced(plot, ",", " , \t"), ";", " ;\r\n"),
        replaced(plot, ";P", "P"), // no ';' between commands
        lower_mnemonics(plot),
        replaced(replaced(plot, "PU100,", "PU100.0,"), ",200;",
                 ",+200.;"),          // reals where integers stand
        replaced(plot, ";", ";\x1a"), // SUB, as old DOS files end lines
        replaced(plot, "SP3;",
                 "SP3;\x00\x00\x1b.(\x1b.I81;;17:\x1b.N;19:"), // NUL, HP-GL/1 device control
        "\x1b"
        "E\x1b%0B" +
            plot +
            "\x1b%0APrinter text\x1b*b5WPD1,1\x1b"
            "E",
        "\x1b%-12345X@PJL JOB\r\n@pjl enter language = hpgl2\r\n" + plot +
            "\x1b%-12345X@PJL EOJ\r\n",
        "\x1b%-12345X\x1b"
        "E\x1b&l1O\x1b(s0p10h12v0s0b3T\x1b%1B" +
            plot +
            "\x1b%1A\x1b"
            "E\x1b%-12345X",
    };
    for (const std::string& v : variants) {
        Result r = convert2(v);
        EXPECT_EQ(r.status, 0) << v << "\n" << r.log;
        EXPECT_EQ(entities(r.dxf), entities(reference.dxf)) << v;
        EXPECT_EQ(layers(r.dxf), layers(reference.dxf)) << v;
        EXPECT_EQ(log_body(r.log), log_body(reference.log)) << v;
    }
}

TEST(Reading, NumbersInEveryForm) {
    Result r = convert2("PD10.,.5,+3,-0.25,1016-1016,5;");
    EXPECT_EQ(entities(r.dxf),
              "POLYLINE PEN1 (0,0) (0.009843,0.000492) (0.002953,-0.000246) (1,-1)\n");
    EXPECT_EQ(log_body(r.log),
              "penwright.plt:1:29: warning: PD with 7 coordinates: the last one, 5, dropped\n"
              "Drawn: 1 polylines, 0 arcs, 0 circles, 0 texts, 0 points on 1 layers\n");
    // Integers where a command takes one: halves away from zero.
    EXPECT_EQ(layers(convert2("SP2.5;PD1,1;").dxf), "0:7 PEN3:3");
}

TEST(Reading, TextParametersAreTakenWhole) {
    // A label and a comment may hold what would otherwise be commands; the label moves the pen
    // by its 13 cells.
    Result r = convert2("DT*;LBa;PD500,500;b*CO\"PD700,700;\";PE;PD1,1;");
    EXPECT_EQ(entities(r.dxf), "TEXT PEN1 (0,0) h0.106299 [a;PD500,500;b] 41=1.055556\n"
                               "POLYLINE PEN1 (1.458661,0) (0.000984,0.000984)\n");
    r = convert2("DT;LO4;LBtext\x03PD1016,0;");
    EXPECT_EQ(entities(r.dxf),
              "TEXT PEN1 (-0.205709,0) h0.106299 [text] 41=1.055556\nPOLYLINE PEN1 (0,0) (1,0)\n");
    // A job end ends a text wherever it stands.
    r = convert2("PD1016,0;PE\x1b%-12345X@PJL ENTER LANGUAGE=HPGL2\nPD0,0;");
    EXPECT_EQ(entities(r.dxf), "POLYLINE PEN1 (0,0) (1,0) (0,0)\n");
    EXPECT_EQ(log_body(r.log),
              "penwright.plt:1:10: warning: encoded polyline without its ; at end of input: drawn\n"
              "Drawn: 1 polylines, 0 arcs, 0 circles, 0 texts, 0 points on 1 layers\n");
}

// The commands the reader gives for `input`, read `limit` bytes at a time, in words.
std::string commands_read(const std::string& input, size_t limit) {
    diagnostics_reset();
    FILE* in = fmemopen(const_cast<char*>(input.data()), input.size(), "r");
    source_read_limit = limit;
    reader_begin(in);
    static Command c;
    std::string seen;
    auto describe = [&] {
        seen.append(c.name)
            .append(" ")
            .append(std::to_string(c.line))
            .append(":")
            .append(std::to_string(c.column));
        for (int i = 0; i < c.count; ++i)
            seen.append(" ").append(std::to_string(c.numbers[i]));
        if (c.text) seen.append("[").append(c.text, c.text_length).append("]");
        seen.append(c.unusable ? "!\n" : "\n");
    };
    while (read_command(c)) {
        describe();
        while (c.more) {
            read_more(c);
            describe();
        }
    }
    reader_release();
    fclose(in);
    source_read_limit = 1 << 16;
    return seen + std::to_string(error_count) + " errors\n";
}

TEST(Reading, TheSameCommandsWhateverTheReadSize) {
    FILE* saved_err = stderr;
    stderr = fopen("/dev/null", "w");
    for (const char* folder :
         {FUZZ_DIR "/regressions", FUZZ_DIR "/seeds/hpgl2", TEST_DATA_DIR, EXAMPLES_DIR})
        for (auto& f : std::filesystem::directory_iterator(folder)) {
            std::string input = read_file(f.path());
            std::string whole = commands_read(input, 1 << 16);
            for (size_t limit : {3, 7})
                ASSERT_EQ(commands_read(input, limit), whole)
                    << f.path() << " read " << limit << " at a time";
        }
    fclose(stderr);
    stderr = saved_err;
}

TEST(Recovery, EveryFaultOnItsLineAndColumnAndReadingGoesOn) {
    Result r = convert2("IN;\x80\x81\x82;PA10,1.2.3;\nPA1" + std::string(20, '0') +
                        ",0;AA10,20;SP1,2;\n  PT1;!PZ0,200;PT;QL1;OI;\r\nPD1016,0;");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(
        log_body(r.log),
        "penwright.plt:1:4: error: 3 bytes that are not HP-GL skipped\n"
        "penwright.plt:1:13: error: PA parameter 1.2.3 is not a number: PA skipped\n"
        "penwright.plt:2:3: error: PA parameter 100000000000000000000 is too large: PA skipped\n"
        "penwright.plt:2:27: error: AA with 2 numbers: needs 3, skipped\n"
        "penwright.plt:2:39: warning: SP with 2 numbers: the last one, 2, dropped\n"
        "penwright.plt:3:3: warning: unknown command PT: skipped\n"
        "penwright.plt:3:7: warning: vendor command !PZ: skipped\n"
        "penwright.plt:3:19: warning: QL not drawn: skipped\n"
        "penwright.plt:3:23: warning: OI not drawn: skipped\n"
        "Drawn: 1 polylines, 0 arcs, 0 circles, 0 texts, 0 points on 1 layers\n"
        "Not drawn: PT 2, !PZ 1, QL 1, OI 1\n");
    EXPECT_TRUE(r.log.ends_with("Errors: 4, Warnings: 5\n"));
    EXPECT_EQ(entities(r.dxf), "POLYLINE PEN1 (0,0) (1,0)\n");
}

TEST(Recovery, TheSameMessageAtItsFirstThreePlacesAndTwentyOnStandardError) {
    std::string input;
    for (int i = 0; i < 5; ++i)
        input += "PA1;";
    for (char c = 'A'; c <= 'Z'; ++c)
        input += std::string("Z") + c + ";"; // 26 unknown commands
    Result r = convert2(input);
    std::string body = log_body(r.log);
    EXPECT_EQ(std::count(body.begin(), body.end(), '\n'),
              3 + 26 + 2); // and the Drawn and Not drawn lines
    EXPECT_NE(
        body.find("penwright.plt:1:11: warning: PA with 1 coordinate: the last one, 1, dropped\n"
                  "penwright.plt:1:21: warning: unknown command ZA: skipped\n"),
        std::string::npos)
        << body;
    EXPECT_TRUE(r.log.ends_with("Errors: 0, Warnings: 31\n"));
    size_t shown = 0;
    for (size_t at = 0; (at = r.err.find("penwright.plt:", at)) != std::string::npos; ++at)
        ++shown;
    EXPECT_EQ(shown, 20u);
    EXPECT_TRUE(
        r.err.ends_with("... 9 more diagnostics in penwright.log\nErrors: 0, Warnings: 31\n"))
        << r.err;
}

TEST(Recovery, EachCommandTracedAsItIsRead) {
    Result r = convert2("IN;pa 10,20.50;\nLBtext\x03PD;", {"-d"});
    EXPECT_EQ(r.out, "LOCAL DEBUGGING ENABLED\n");
    EXPECT_EQ(r.err, stderr_preamble() +
                         "1:1 IN\n1:4 PA 10 20.50\n2:1 LB\n2:8 PD\nErrors: 0, Warnings: 0\n");
}

} // namespace
