// The AC1015 flavour: its worked example, lineweights, HATCHes, texts, and a document whose
// handles and owners hold together whatever is drawn. (Every drawing made here is also read by
// the interoperability tests: ezdxf, dxf-parser and GDAL.)
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "e2e/drawing.h"

namespace {

Result convert3(const std::string& input) {
    return convert2(input, {"--dxf=r2000"});
}

// The groups of the entities section, from the first entity to ENDSEC.
std::string entity_groups(const std::string& dxf) {
    size_t from = dxf.find("ENTITIES\n") + 9, to = dxf.find("  0\nENDSEC\n", from);
    return dxf.substr(from, to - from);
}

TEST(WorkedExamples, LineweightsFromThePensWidth) {
    Result r = convert3("IN;SP1;PW0.5;PD1016,0;");
    EXPECT_NE(r.dxf.find("  2\nPEN1\n 70\n0\n 62\n7\n  6\nContinuous\n370\n50\n"),
              std::string::npos);
    EXPECT_EQ(entity_groups(r.dxf),
              "  0\nLWPOLYLINE\n  5\n1E\n330\n13\n100\nAcDbEntity\n  8\nPEN1\n"
              "100\nAcDbPolyline\n 90\n2\n 70\n0\n 10\n0\n 20\n0\n 10\n1\n 20\n0\n");
}

TEST(R2000, LineweightsNearestTiesToTheLargerAndAnEntityOfItsOwn) {
    // 0.1 mm is nearest to 0.09, 0.14 is as near to 0.13 as to 0.15, 3 mm beyond the largest;
    // a width in percent of D: 0.1 % of 12322 plotter units is 0.31 mm.
    std::string e = entity_groups(
        convert3("PW0.1;PD100,0;PW0.14;PD200,0;PW3;PD300,0;WU1;PD400,0;PW0.1,1;PD500,0;").dxf);
    size_t at = 0;
    for (const char* weight : {"370\n15\n", "370\n211\n", "370\n30\n"}) {
        at = e.find(weight, at);
        EXPECT_NE(at, std::string::npos) << weight;
    }
    EXPECT_EQ(e.find("370\n9\n"), std::string::npos); // the layer's own: not repeated
    EXPECT_NE(
        convert3("PW0.1;PD100,0;").dxf.find("  2\nPEN1\n 70\n0\n 62\n7\n  6\nContinuous\n370\n9\n"),
        std::string::npos);
}

TEST(R2000, FillsAreHatchesTextsKeepTheirBytes) {
    Result r = convert3("IN;SP1;RA1016,1016;FT3,254,45;RA-1016,-1016;LB\xe9t\xe9\x03");
    std::string e = entity_groups(r.dxf);
    EXPECT_NE(e.find("100\nAcDbHatch\n 10\n0\n 20\n0\n 30\n0\n210\n0\n220\n0\n230\n1\n  2\nSOLID\n"
                     " 70\n1\n 71\n0\n 91\n1\n 92\n2\n 72\n0\n 73\n1\n 93\n4\n 10\n0\n 20\n0\n"
                     " 10\n1\n 20\n0\n 10\n1\n 20\n1\n 10\n0\n 20\n1\n 97\n0\n 75\n0\n 76\n1\n"
                     " 98\n1\n 10\n0\n 20\n0\n"),
              std::string::npos)
        << e;
    // The pattern: lines at 45 degrees through the anchor corner, 0.25 apart.
    EXPECT_NE(e.find("  2\n_USER\n 70\n0\n"), std::string::npos);
    EXPECT_NE(e.find(" 75\n0\n 76\n0\n 52\n45\n 41\n0.25\n 77\n0\n 78\n1\n 53\n45\n 43\n0\n 44\n0\n"
                     " 45\n-0.176777\n 46\n0.176777\n 79\n0\n"),
              std::string::npos)
        << e;
    EXPECT_NE(e.find("  1\n\\U+00E9t\\U+00E9\n"), std::string::npos);
    EXPECT_EQ(log_body(r.log), "Drawn: 0 polylines, 0 arcs, 0 circles, 1 texts, 0 points on 1 "
                               "layers\nFilled: 2 areas\n");
}

// Every handle is unique and below $HANDSEED; every owner is 0 or a handle of the document.
void expect_sound_handles(const std::string& dxf, const std::string& what) {
    auto g = groups(dxf);
    ASSERT_FALSE(g.empty()) << what;
    std::set<unsigned long long> handles;
    std::vector<unsigned long long> owners;
    unsigned long long seed = 0;
    for (size_t i = 1; i < g.size(); ++i) {
        const auto& [code, value] = g[i];
        if (g[i - 1].first == "  9" && g[i - 1].second == "$HANDSEED")
            seed = std::stoull(value, nullptr, 16);
        else if (code == "  5" || code == "105")
            EXPECT_TRUE(handles.insert(std::stoull(value, nullptr, 16)).second) << what << value;
        else if (code == "330" || code == "340" || code == "350")
            owners.push_back(std::stoull(value, nullptr, 16));
    }
    EXPECT_GT(seed, *handles.rbegin()) << what;
    for (unsigned long long o : owners)
        EXPECT_TRUE(o == 0 || handles.count(o)) << what << " " << o;
}

TEST(R2000, HandlesAndOwnersHoldWhateverIsDrawn) {
    std::string every_byte = "LB";
    for (int b = 1; b < 256; ++b)
        if (b != 3) every_byte += static_cast<char>(b);
    std::string line_types;
    for (int i = 1; i <= 10'000; ++i)
        line_types += "LT" + std::to_string(i % 8 + 1) + "," + std::to_string(i) + ",1;PD" +
                      std::to_string(i) + ",0;";
    const std::string drawings[] = {
        "",
        every_byte + "\x03",
        "SP2147483647;PD100,0;SP0;PD0,100;SP7;CI50;",
        line_types,
        "IN;SP2;LT3;PD100,0;FT4,50,30;RA400,400;PG;SP3;PW0.7;CI300;AA0,0,45;FT10,30;WG200,0,90;",
    };
    for (const std::string& d : drawings) {
        Result r = convert3(d);
        EXPECT_EQ(r.status, 0) << d.substr(0, 40);
        expect_sound_handles(r.dxf, d.substr(0, 40));
    }
    // 10,000 patterns: LT1 to LT8 and their later patterns, LT1_2 and on.
    std::string many = convert3(line_types).dxf;
    EXPECT_NE(many.find("  2\nLT1_1250\n"), std::string::npos);
}

} // namespace
