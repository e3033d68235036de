// The array routines under the history buffers: exact results, in-place and
// overlapping use in both directions, and the error codes.
#include <gtest/gtest.h>

#include "display/display.h"

using corvel::Copy1D;
using corvel::Shift;

namespace {

// What Shift must give, worked out on a separate copy of the input.
void Expected(const double* in, int count, int shift, double* out) {
    for (int i = 0; i < count; ++i) {
        int src = i - shift;
        out[i] = (src >= 0 && src < count) ? in[src] : 0.0;
    }
}

TEST(Shift, MovesTowardsHigherAndLowerIndicesAndZeroFills) {
    const double in[5] = {1, 2, 3, 4, 5};
    double out[5] = {9, 9, 9, 9, 9};
    ASSERT_EQ(Shift(in, 5, 2, out), 0);
    const double up[5] = {0, 0, 1, 2, 3};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(out[i], up[i]) << i;
    ASSERT_EQ(Shift(in, 5, -2, out), 0);
    const double down[5] = {3, 4, 5, 0, 0};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(out[i], down[i]) << i;
    ASSERT_EQ(Shift(in, 5, 0, out), 0);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(out[i], in[i]) << i;
    ASSERT_EQ(Shift(in, 5, 4, out), 0);
    EXPECT_EQ(out[4], 1);
    EXPECT_EQ(out[3], 0);
}

TEST(Shift, InPlaceBothDirections) {
    for (int shift : {1, 3, -1, -3, 299, -299}) {
        double buf[300], ref[300], want[300];
        for (int i = 0; i < 300; ++i) buf[i] = ref[i] = i + 1;
        Expected(ref, 300, shift, want);
        ASSERT_EQ(Shift(buf, 300, shift, buf), 0) << shift;
        for (int i = 0; i < 300; ++i) ASSERT_EQ(buf[i], want[i]) << "shift " << shift << " at " << i;
    }
}

TEST(Shift, PartlyOverlappingArraysEitherWay) {
    // Output a few places above and below the input inside one array.
    for (int offset : {-4, -1, 1, 4}) {
        for (int shift : {2, -2, 5, -5}) {
            double mem[40];
            for (int i = 0; i < 40; ++i) mem[i] = 100 + i;
            double* in = mem + 10;
            double* out = in + offset;
            double want[12];
            Expected(in, 12, shift, want);
            ASSERT_EQ(Shift(in, 12, shift, out), 0);
            for (int i = 0; i < 12; ++i)
                ASSERT_EQ(out[i], want[i]) << "offset " << offset << " shift " << shift << " at " << i;
        }
    }
}

TEST(Shift, ErrorCodesWriteNothing) {
    const double in[4] = {1, 2, 3, 4};
    double out[4] = {7, 7, 7, 7};
    EXPECT_EQ(Shift(in, 0, 1, out), -20003);
    EXPECT_EQ(Shift(in, -3, 0, out), -20003);
    EXPECT_EQ(Shift(in, 4, 4, out), -20102);
    EXPECT_EQ(Shift(in, 4, -4, out), -20102);
    EXPECT_EQ(Shift(in, 4, 100, out), -20102);
    // Count is judged before the shift.
    EXPECT_EQ(Shift(in, 0, 5, out), -20003);
    for (double v : out) EXPECT_EQ(v, 7);
    EXPECT_EQ(Shift(in, 4, 3, out), 0);
    EXPECT_EQ(out[3], 1);
}

TEST(Copy1D, CopiesCountValuesOrFailsBelowOne) {
    const double in[4] = {1.5, -2, 3e9, 4};
    double out[5] = {0, 0, 0, 0, 8};
    EXPECT_EQ(Copy1D(in, 4, out), 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(out[i], in[i]);
    EXPECT_EQ(out[4], 8);
    double untouched[2] = {5, 6};
    EXPECT_EQ(Copy1D(in, 0, untouched), -20003);
    EXPECT_EQ(Copy1D(in, -1, untouched), -20003);
    EXPECT_EQ(untouched[0], 5);
    EXPECT_EQ(untouched[1], 6);
}

}  // namespace
