#include <array>
#include <tuple>

#include "gfx/blit.h"
#include "support/surface.h"

namespace {

struct BlitTest : ::testing::Test {
    SURFACE src, dst;
    void SetUp() override {
        MakeNumbered(src, 40, 6, 1);
        ASSERT_TRUE(DDCreateSurface(dst, 640, 480, 0, 0));
        Fill(dst, 200);
    }
};

TEST_F(BlitTest, NewSurfaceIsIndexZeroAndEmptySizesAreRefused) {
    SURFACE s;
    ASSERT_TRUE(DDCreateSurface(s, 5, 3, 0, 0));
    EXPECT_GE(s.nPitch, 5);
    EXPECT_EQ(CountNot(s, 0), 0);
    EXPECT_FALSE(DDCreateSurface(s, 0, 3, 0, 0));
    EXPECT_FALSE(DDCreateSurface(s, 5, -1, 0, 0));
}

// The 40 x 6 numbered source (pixel (x, y) = 1 + x + 40 y) copied with clipping onto 640 x 480.
TEST_F(BlitTest, ClipTrimsWhatLiesOutsideAndRefusesWhatStillDoesNotFit) {
    struct Case {
        int dx, dy, w, h, sx;
        int nDrawn;       // destination pixels changed
        int px, py, nAt;  // one of them and its value
    } cases[] = {
        {-10, 5, 32, 1, 2, 22, 0, 5, 1 + 12},  // left cut: source columns 12..33 at 0..21
        {-10, 5, 32, 1, 2, 22, 21, 5, 1 + 33},
        {100, 0, 32, 1, -8, 24, 100, 0, 1},  // source from -8: columns 0..23, not shifted
        {100, 0, 32, 1, -8, 24, 123, 0, 1 + 23},
        {630, 477, 40, 6, 0, 30, 639, 479, 1 + 9 + 40 * 2},  // past right and bottom: 10 x 3 shown
        {100, 0, 32, 1, -32, 0, 0, 0, 200},                  // source entirely left of the picture
        {640, 0, 5, 1, 0, 0, 0, 0, 200},                     // off the right edge
        {0, 480, 5, 1, 0, 0, 0, 0, 200},                     // off the bottom edge
        {0, 0, 5, 1, 40, 0, 0, 0, 200},                      // source past its right edge
        {0, 0, -5, 1, 0, 0, 0, 0, 200},                      // negative width
    };
    for (const Case& c : cases) {
        Fill(dst, 200);
        DDBltClip(dst, c.dx, c.dy, c.w, c.h, src, c.sx, 0, 0);
        EXPECT_EQ(CountNot(dst, 200), c.nDrawn) << c.dx << "," << c.dy << " sx " << c.sx;
        EXPECT_EQ(At(dst, c.px, c.py), c.nAt) << c.dx << "," << c.dy << " sx " << c.sx;
    }
    // Starting at -10 and still 690 wide after trimming: refused as a whole.
    SURFACE wide;
    ASSERT_TRUE(DDCreateSurface(wide, 700, 2, 0, 0));
    Fill(wide, 9);
    Fill(dst, 200);
    DDBltClip(dst, -10, 0, 700, 2, wide, 0, 0, 0);
    EXPECT_EQ(CountNot(dst, 200), 0);
}

TEST_F(BlitTest, FillTrimsAndRefuses) {
    DDFillRect(dst, -1, -1, 642, 1, 5);  // collapses to height 0
    EXPECT_EQ(CountNot(dst, 200), 0);
    DDFillRect(dst, 638, 478, 10, 10, 5);
    EXPECT_EQ(CountNot(dst, 200), 4);
    DDFillRect(dst, -3, 0, 645, 1, 6);  // left trimmed, right edge still outside
    EXPECT_EQ(CountNot(dst, 200), 4);
    // Framing the whole screen draws the copy but the frame lies outside.
    SURFACE full;
    ASSERT_TRUE(DDCreateSurface(full, 640, 480, 0, 0));
    Fill(full, 3);
    DDBltFramed(dst, 0, 0, 640, 480, full, 0, 0, 7);
    EXPECT_EQ(CountNot(dst, 3), 0);
    DDBltFramed(dst, 10, 10, 2, 2, src, 0, 0, 7);
    EXPECT_EQ(std::tuple(At(dst, 9, 9), At(dst, 12, 12), At(dst, 11, 11)), std::tuple(7, 7, 42));
}

TEST_F(BlitTest, StretchDoublesAndTrims) {
    DDBltStretch(dst, 0, 0, 8, 2, src, 0, 0, 4, 1, 0);
    const int nExpect[8] = {1, 1, 2, 2, 3, 3, 4, 4};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(At(dst, k, 1), nExpect[k]);
    Fill(dst, 200);
    // Left 4 destination pixels cut: source left grows by trunc(4 * 0.5) = 2.
    DDBltStretch(dst, -4, 0, 8, 1, src, 0, 0, 4, 1, 0);
    EXPECT_EQ(std::tuple(At(dst, 0, 0), At(dst, 3, 0), CountNot(dst, 200)), std::tuple(3, 4, 4));
    Fill(dst, 200);
    // Past the right and bottom edges by 4 and 2: the source shrinks by trunc(4 * 0.5) = 2
    // columns and trunc(2 * 0.5) = 1 row, leaving 2 x 1 source pixels on 4 x 2 destination ones.
    DDBltStretch(dst, 636, 478, 8, 4, src, 0, 0, 4, 2, 0);
    for (int y = 478; y < 480; ++y) {
        const int nRow[4] = {1, 1, 2, 2};
        for (int k = 0; k < 4; ++k) EXPECT_EQ(At(dst, 636 + k, y), nRow[k]) << k << "," << y;
    }
    EXPECT_EQ(CountNot(dst, 200), 8);
}

TEST(BurstTest, OffsetsAtRadius2And10And100) {
    std::array<int, 8> A, B;
    DDBurstOffsets(2, A, B);
    EXPECT_EQ(A, (std::array<int, 8>{1, 1, 0, 1, 1, 1, 1, 1}));
    EXPECT_EQ(B, (std::array<int, 8>{0, 1, 1, 0, 1, 1, 1, 1}));
    DDBurstOffsets(10, A, B);
    EXPECT_EQ(A, (std::array<int, 8>{8, 5, 4, 8, 8, 5, 5, 8}));
    EXPECT_EQ(B, (std::array<int, 8>{4, 8, 8, 4, 5, 8, 8, 5}));
    DDBurstOffsets(100, A, B);
    EXPECT_EQ(A, (std::array<int, 8>{86, 50, 49, 86, 86, 50, 50, 86}));
    EXPECT_EQ(B, (std::array<int, 8>{49, 86, 86, 49, 50, 86, 86, 50}));
}

TEST(BurstTest, SmallRadiusReproducesPictureWedgesMoveOutwardAndFlatDrawsNothing) {
    SURFACE src, dst;
    MakeNumbered(src, 8, 8, 1);
    ASSERT_TRUE(DDCreateSurface(dst, 640, 480, 0, 0));
    for (int nRadius : {0, 1}) {
        Fill(dst, 200);
        DDBltBurst(dst, 50, 60, 7, 7, src, 0, 0, nRadius, 1);
        // Odd size: all but the last column and row, in place.
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x) EXPECT_EQ(At(dst, 50 + x, 60 + y), 1 + x + 8 * y);
        EXPECT_EQ(CountNot(dst, 200), 36);
    }
    Fill(dst, 200);
    DDBltBurst(dst, 50, 60, 7, 1, src, 0, 0, 10, 1);
    EXPECT_EQ(CountNot(dst, 200), 0);
    DDBltBurst(dst, 100, 100, 8, 8, src, 0, 0, 10, 0);
    // Row 1 of wedge 1 (source (0,1)) moves by (-8, -4); wedge 8 row 0 (source (4,4)) by (+8, +5).
    EXPECT_EQ(std::tuple(At(dst, 92, 97), At(dst, 112, 109)), std::tuple(1 + 0 + 8 * 1, 1 + 4 + 8 * 4));
}

}  // namespace
