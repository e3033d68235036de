// The per-frame display step: the twelve displays, the tolerance band of the
// chosen teach row and source, and the four history buffers.
#include <gtest/gtest.h>

#include "display/display.h"
#include "live.h"
#include "support/panels.h"

using namespace corvel;
using namespace displaytest;

namespace {

class LiveData : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::LoadProgramPanels());
        ZeroBuffers();
    }
};

unsigned short U16(int ctrl) {
    unsigned short v = 0xBEEF;
    EXPECT_EQ(GetCtrlVal(panel, ctrl, &v), 0) << "control " << ctrl;
    return v;
}

double Dbl(int ctrl) {
    double v = -1;
    EXPECT_EQ(GetCtrlVal(panel, ctrl, &v), 0) << "control " << ctrl;
    return v;
}

TEST_F(LiveData, FirstFrameFollowsNinetyNineZeroSamples) {
    SetSource(0);
    SetRow(2, 500, 20, 2000, 100);
    Load({3001, 3402, 1203, 740, 2302, 1003, 7, 31});
    SetPanelData();
    for (int s = 0; s < 99; ++s) {
        for (int t = 0; t < 3; ++t) {
            ASSERT_EQ(At(rawbuf, s, t), 0) << s;
            ASSERT_EQ(At(normbuf, s, t), 0) << s;
            ASSERT_EQ(At(intbuf, s, t), 0) << s;
            ASSERT_EQ(At(gfbuf, s, t), 0) << s;
        }
    }
    EXPECT_EQ(At(rawbuf, 99, 0), 3001);
    EXPECT_EQ(At(rawbuf, 99, 1), 3402);
    EXPECT_EQ(At(rawbuf, 99, 2), 1203);
    EXPECT_EQ(At(normbuf, 99, 0), 740);
    EXPECT_EQ(At(normbuf, 99, 1), 520);
    EXPECT_EQ(At(normbuf, 99, 2), 480);
    EXPECT_EQ(At(intbuf, 99, 0), 2302);
    EXPECT_EQ(At(gfbuf, 99, 0), 1003);
    // Not the current source: no band.
    EXPECT_EQ(At(intbuf, 99, 1), 0);
    EXPECT_EQ(At(gfbuf, 99, 2), 0);
    EXPECT_EQ(source, 0);
}

TEST_F(LiveData, WritesTheTwelveDisplays) {
    SetSource(3);
    Load({11, 12, 13, 14, 15, 1003, 255, 17});
    SetPanelData();
    EXPECT_EQ(U16(P_DISPCHREF), 11);
    EXPECT_EQ(U16(P_DISPCHDIR), 12);
    EXPECT_EQ(U16(P_DISPCHDIF), 13);
    EXPECT_EQ(U16(P_BARCHREF), 11);
    EXPECT_EQ(U16(P_BARCHDIR), 12);
    EXPECT_EQ(U16(P_BARCHDIF), 13);
    EXPECT_EQ(U16(P_DISPNORM), 14);
    EXPECT_EQ(U16(P_DISPINT), 15);
    EXPECT_DOUBLE_EQ(Dbl(P_DISPGF), 100.3);
    EXPECT_DOUBLE_EQ(Dbl(P_DISPGFBIG), 100.3);
    EXPECT_EQ(U16(P_DISPVEC), 255);
    EXPECT_EQ(U16(P_DISPTEMP), 17);
}

TEST_F(LiveData, GlossyFactorStaysInTenthsInTheBuffer) {
    SetSource(2);
    SetRow(0, 0, 0, 0, 0);
    Load({0, 0, 0, 0, 0, 65535, 0, 0});
    SetPanelData();
    EXPECT_DOUBLE_EQ(Dbl(P_DISPGF), 6553.5);
    EXPECT_DOUBLE_EQ(Dbl(P_DISPGFBIG), 6553.5);
    EXPECT_EQ(At(gfbuf, 99, 0), 65535);
    Load({0, 0, 0, 0, 0, 0, 0, 0});
    SetPanelData();
    EXPECT_DOUBLE_EQ(Dbl(P_DISPGF), 0.0);
    EXPECT_EQ(At(gfbuf, 98, 0), 65535);
    EXPECT_EQ(At(gfbuf, 99, 0), 0);
}

struct BandCase {
    unsigned short source, centre, tol;
    double upper, lower;
};

TEST_F(LiveData, BandsAreLimitedPerSource) {
    const BandCase cases[] = {
        {0, 990, 25, 1000, 965},     // NORM limited at 1000, not 1024
        {0, 1000, 0, 1000, 1000},    //
        {0, 30, 50, 80, 0},          // tolerance above the centre
        {1, 4090, 100, 4095, 3990},  // INT limited at 4095, not 4096
        {1, 40, 41, 81, 0},
        {1, 1024, 10, 1034, 1014},  // the NORM limit does not apply to INT
        {2, 1000, 50, 1050, 950},
        {2, 20, 100, 120, 0},            // GF: never below 0
        {2, 1500, 200, 1700, 1300},      // GF: no 1500 cap
        {2, 65000, 1000, 32767, 32767},  // GF: no signed wrap-around
    };
    for (const BandCase& c : cases) {
        SetSource(c.source);
        // The band follows the source's columns; the other pair holds decoys.
        if (c.source == 1)
            SetRow(7, 111, 11, c.centre, c.tol);
        else
            SetRow(7, c.centre, c.tol, 222, 22);
        SetPanelData();
        const double* bufs[3] = {normbuf, intbuf, gfbuf};
        for (int b = 0; b < 3; ++b) {
            double up = b == c.source ? c.upper : 0;
            double lo = b == c.source ? c.lower : 0;
            EXPECT_EQ(At(bufs[b], 99, 1), up)
                << "source " << c.source << " centre " << c.centre << " buf " << b;
            EXPECT_EQ(At(bufs[b], 99, 2), lo)
                << "source " << c.source << " centre " << c.centre << " buf " << b;
        }
    }
}

TEST_F(LiveData, NormBandUsesSignedSixteenBitSums) {
    SetSource(0);
    // 30000 + 5000 wraps negative in 16 bits, so it stays below the limit.
    SetRow(3, 30000, 5000, 0, 0);
    SetPanelData();
    EXPECT_EQ(At(normbuf, 99, 1), static_cast<short>(35000));
    EXPECT_EQ(At(normbuf, 99, 2), 25000);
}

TEST_F(LiveData, RawSourceGivesNoBandInAnyBuffer) {
    SetSource(3);
    SetRow(4, 500, 50, 2000, 200);
    Load({1, 2, 3, 4, 5, 6, 7, 8});
    SetPanelData();
    for (const double* b : {normbuf, intbuf, gfbuf}) {
        EXPECT_EQ(At(b, 99, 1), 0);
        EXPECT_EQ(At(b, 99, 2), 0);
    }
    EXPECT_EQ(At(normbuf, 99, 0), 4);
    EXPECT_EQ(At(intbuf, 99, 0), 5);
    EXPECT_EQ(At(gfbuf, 99, 0), 6);
    EXPECT_EQ(source, 3);
}

TEST_F(LiveData, SourceAndRowChangesAffectOnlyLaterSamples) {
    SetRow(5, 600, 40, 3000, 300);
    SetSource(0);
    for (int i = 0; i < 3; ++i) SetPanelData();
    SetSource(1);
    for (int i = 0; i < 2; ++i) SetPanelData();
    SetRow(6, 700, 10, 1000, 5);
    SetPanelData();
    // Samples 94..96 under NORM, 97..98 under INT row 5, 99 under INT row 6.
    for (int s = 94; s <= 96; ++s) {
        EXPECT_EQ(At(normbuf, s, 1), 640) << s;
        EXPECT_EQ(At(normbuf, s, 2), 560) << s;
        EXPECT_EQ(At(intbuf, s, 1), 0) << s;
    }
    for (int s = 97; s <= 98; ++s) {
        EXPECT_EQ(At(intbuf, s, 1), 3300) << s;
        EXPECT_EQ(At(intbuf, s, 2), 2700) << s;
        EXPECT_EQ(At(normbuf, s, 1), 0) << s;
    }
    EXPECT_EQ(At(intbuf, 99, 1), 1005);
    EXPECT_EQ(At(intbuf, 99, 2), 995);
}

TEST_F(LiveData, BuffersHoldTheLastHundredFrames) {
    SetSource(3);
    for (int k = 1; k <= 250; ++k) {
        Load({static_cast<unsigned short>(k), static_cast<unsigned short>(k + 1000),
              static_cast<unsigned short>(k + 2000), 0, 0, static_cast<unsigned short>(k), 0, 0});
        SetPanelData();
    }
    for (int s = 0; s < 100; ++s) {
        ASSERT_EQ(At(rawbuf, s, 0), 151 + s);
        ASSERT_EQ(At(rawbuf, s, 1), 1151 + s);
        ASSERT_EQ(At(rawbuf, s, 2), 2151 + s);
        ASSERT_EQ(At(gfbuf, s, 0), 151 + s);
    }
}

}  // namespace
