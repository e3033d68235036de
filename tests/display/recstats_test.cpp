// The statistics core: the band of a teach row as the scope chart draws it,
// the band figures from it, and the histogram's classes. Expected figures
// worked out by hand.
#include "recorder/recstats.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<corvel::FileRecord> Frames(const std::vector<unsigned>& gf) {
    std::vector<corvel::FileRecord> r(gf.size());
    for (std::size_t i = 0; i < gf.size(); ++i) {
        for (unsigned& v : r[i].values) v = 0;
        r[i].values[5] = gf[i];
        r[i].values[3] = static_cast<unsigned>(990 + i);  // norm
    }
    return r;
}

TEST(RecStats, TeachRowBandsHaveTheLiveLimits) {
    double lo = -1, hi = -1;
    const unsigned short norm[4] = {990, 25, 4090, 20};
    ASSERT_TRUE(corvel::TeachRowBand(3, norm, &lo, &hi));  // NORM: 965..1015 cut at 1000
    EXPECT_EQ(lo, 965);
    EXPECT_EQ(hi, 1000);
    ASSERT_TRUE(corvel::TeachRowBand(4, norm, &lo, &hi));  // INT: 4070..4110 cut at 4095
    EXPECT_EQ(lo, 4070);
    EXPECT_EQ(hi, 4095);
    const unsigned short gf[4] = {10, 20, 1, 1};
    ASSERT_TRUE(corvel::TeachRowBand(5, gf, &lo, &hi));  // GF: no negative gloss
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 30);
    const unsigned short high[4] = {65000, 1000, 1, 1};
    ASSERT_TRUE(corvel::TeachRowBand(5, high, &lo, &hi));  // GF wide, no wrap
    EXPECT_EQ(lo, 64000);
    EXPECT_EQ(hi, 66000);
    EXPECT_FALSE(corvel::TeachRowBand(0, gf, &lo, &hi));  // CH_REF has no taught band
    EXPECT_FALSE(corvel::TeachRowBand(6, gf, &lo, &hi));
    // The converter's column name and the statistics' name pick the same signal.
    EXPECT_EQ(corvel::StatSignalByName("gf"), 5);
    EXPECT_EQ(corvel::StatSignalByName("gf_tenths"), 5);
    EXPECT_EQ(corvel::StatSignalByName("GF"), -1);
}

TEST(RecStats, BandOfATeachRowAndTheHistogram) {
    // gf 1000, 1004, 996, 1006, 994, 1000: mean 1000, squares 0+16+16+36+36+0 = 104, s^2 = 20.8.
    const auto recs = Frames({1000, 1004, 996, 1006, 994, 1000});
    const corvel::RangeStats s = corvel::ComputeStats(recs.data(), 0, 5, false);
    const unsigned short row[4] = {1000, 5, 0, 0};
    double lo = 0, hi = 0;
    ASSERT_TRUE(corvel::TeachRowBand(5, row, &lo, &hi));
    const corvel::BandStats b = corvel::ComputeBand(recs.data(), s, 5, lo, hi);
    EXPECT_EQ(b.inside, 4u);
    EXPECT_EQ(b.below, 1u);
    EXPECT_EQ(b.above, 1u);
    ASSERT_TRUE(b.hasPp);
    EXPECT_NEAR(b.pp, 10 / (6 * 4.560701700), 1e-8);  // sqrt(20.8) = 4.5607017
    EXPECT_NEAR(b.ppk, 5 / (3 * 4.560701700), 1e-8);  // centred: both sides 5
    // A spread of zero gives no Pp rather than infinity.
    const auto flat = Frames({1000, 1000});
    const corvel::RangeStats f = corvel::ComputeStats(flat.data(), 0, 1, false);
    EXPECT_FALSE(corvel::ComputeBand(flat.data(), f, 5, 990, 1010).hasPp);

    // Four classes of 3 from 994 to 1006: [994,997) [997,1000) [1000,1003) [1003,1006].
    unsigned counts[4];
    corvel::Histogram(recs.data(), s, 5, 994, 1006, 4, counts);
    EXPECT_EQ(counts[0], 2u);  // 996, 994
    EXPECT_EQ(counts[1], 0u);
    EXPECT_EQ(counts[2], 2u);  // 1000, 1000
    EXPECT_EQ(counts[3], 2u);  // 1004, 1006 on the top edge
    corvel::Histogram(recs.data(), s, 5, 999, 1001, 2, counts);
    EXPECT_EQ(counts[0] + counts[1], 2u);  // outside values are not counted

    std::size_t first = 9, last = 9;
    EXPECT_TRUE(corvel::ClipRange(6, 4, 100, &first, &last));
    EXPECT_EQ(first, 4u);
    EXPECT_EQ(last, 5u);
    EXPECT_FALSE(corvel::ClipRange(6, 6, 100, &first, &last));
    EXPECT_FALSE(corvel::ClipRange(0, 0, 0, &first, &last));
}

}  // namespace
