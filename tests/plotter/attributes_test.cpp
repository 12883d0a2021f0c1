// Attribute commands are echoed without their numbers and change nothing.
#include "e2e/expect.h"
#include "e2e/records.h"

namespace {

TEST(Attributes, EchoedWithoutNumbers) {
    expect_log(
        "LT;LT2;LT2,4;LT1,2,3;MC;MC1;MC1,2;NP;NP8;PC;PC1;PC1,255,0,0;PS;PS1;PS1,2;PW;PW1;PW1,2;"
        "QL;QL50;TR;TR0;",
        "LT\nLT\nLT\nLT\nMC\nMC\nMC\nNP\nNP\nPC\nPC\nPC\nPS\nPS\nPS\nPW\nPW\nPW\nQL\nQL\nTR\nTR\n");
}

TEST(Attributes, StrokesKeepTheirLayer) {
    expect_conversion("SP2;LT2,4;PC2,0,0,255;PW0,2;PD10,0;", "SP 2\nLT\nPC\nPW\nPD\nmove to 10 0\n",
                      line_units(1, 0, 0, 10, 0));
}

} // namespace
