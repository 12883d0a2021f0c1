// Entity records byte for byte.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <string>

#include "driver/streams.h"
#include "dxf/writer.h"

namespace {

std::string capture(const std::function<void()>& write) {
    char* text = nullptr;
    size_t size = 0;
    FILE* memory = open_memstream(&text, &size);
    attach_dxf(memory);
    write();
    flush_outputs();
    fclose(memory);
    dxf_stream = OutputStream{};
    std::string s(text, size);
    free(text);
    return s;
}

TEST(Writer, LineRecordsInPlotterUnits) {
    // Chained, from the last end, and apart; a mirrored zero keeps its sign, and a start at the
    // last end's units on an axis mirrored since is written anew.
    EXPECT_EQ(capture([] {
                  dxf_line(0, {1016, -2032}, {-127, 0}, false, true);
                  dxf_line(12, {-127, 0}, {INT_MIN, -1}, false, true);
                  dxf_line(3, {127, 0}, {-127, 5080}, true, false);
                  dxf_line(4, {-127, 5080}, {0, 0}, false, false);
              }),
              "0\nLINE\n8\n0\n10\n1.000000\n  20\n2.000000\n11\n-0.125000\n  21\n-0.000000\n"
              "0\nLINE\n8\n12\n10\n-0.125000\n  20\n-0.000000\n"
              "11\n-2113665.007874\n  21\n0.000984\n"
              "0\nLINE\n8\n3\n10\n-0.125000\n  20\n0.000000\n11\n0.125000\n  21\n5.000000\n"
              "0\nLINE\n8\n4\n10\n-0.125000\n  20\n5.000000\n11\n0.000000\n  21\n0.000000\n");
}

TEST(Writer, ArcCentreFormsDifferOnlyInTheBlanksBefore20) {
    EXPECT_EQ(capture([] { dxf_arc(2, 0.5, -0.0, 1, 0, 90, CentreForm::absolute_arc); }),
              "0\nARC\n8\n2\n10\n0.500000\n20\n-0.000000\n40\n1.000000\n"
              "50\n0.000000\n  51\n90.000000\n");
    EXPECT_EQ(capture([] { dxf_arc(2, 0.5, -0.0, 1, 0, 90, CentreForm::standard); }),
              "0\nARC\n8\n2\n10\n0.500000\n  20\n-0.000000\n40\n1.000000\n"
              "50\n0.000000\n  51\n90.000000\n");
}

TEST(Writer, CircleRecordInBothForms) {
    EXPECT_EQ(capture([] { dxf_circle(-2, 1, 2, -0.5, CentreForm::standard); }),
              "0\nCIRCLE\n8\n-2\n10\n1.000000\n  20\n2.000000\n40\n-0.500000\n");
    EXPECT_EQ(capture([] { dxf_circle(0, 1, 2, 3, CentreForm::absolute_arc); }),
              "0\nCIRCLE\n8\n0\n10\n1.000000\n20\n2.000000\n40\n3.000000\n");
}

TEST(Writer, TextRecords) {
    // The second keeps the height and width texts of the first; the third has its own.
    EXPECT_EQ(capture([] {
                  dxf_text(1, {254, false}, {508, false}, 0.118110, 45, 1.0, {"Hello World", 11});
                  dxf_text(1, {0, true}, {508, false}, 0.118110, 0, 1.0, {"again", 5});
                  dxf_text(2, {0, false}, {0, false}, -0.0, 0, 0.5, {"", 0});
              }),
              "0\nTEXT\n8\n1\n10\n0.250000\n  20\n0.500000\n40\n0.118110\n  50\n45.000000\n"
              "41\n1.000000\n1\nHello World\n"
              "0\nTEXT\n8\n1\n10\n-0.000000\n  20\n0.500000\n40\n0.118110\n  50\n0.000000\n"
              "41\n1.000000\n1\nagain\n"
              "0\nTEXT\n8\n2\n10\n0.000000\n  20\n0.000000\n40\n-0.000000\n  50\n0.000000\n"
              "41\n0.500000\n1\n\n");
}

TEST(Writer, FrameDeclaresTenLayers) {
    std::string frame = capture([] {
        dxf_begin();
        dxf_end();
    });
    EXPECT_EQ(
        frame.rfind("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  0\nENDSEC\n", 0), 0u);
    EXPECT_NE(frame.find("  0\nLAYER\n  2\n0\n 70\n64\n 62\n7\n  6\nCONTINUOUS\n"),
              std::string::npos);
    EXPECT_NE(frame.find("  0\nLAYER\n  2\n9\n 70\n0\n 62\n9\n  6\nCONTINUOUS\n  0\nENDTAB\n"),
              std::string::npos);
    EXPECT_TRUE(frame.ends_with("  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n"));
}

} // namespace
