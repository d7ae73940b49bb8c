#include "gfx/blit.h"
#include "support/surface.h"

namespace {

struct RotateTest : ::testing::Test {
    SURFACE src, dst;
    void SetUp() override {
        ASSERT_TRUE(DDCreateSurface(dst, 640, 480, 0, 0));
        Fill(dst, 200);
    }
    // The 3 x 2 picture 1 2 3 / 4 5 6 turned about its top-left pixel, placed at (10, 10).
    void Turn(int nAngle) {
        MakeNumbered(src, 3, 2, 1);
        ASSERT_TRUE(DDBltRotate(dst, 10, 10, 3, 2, 0, 0, nAngle, src, 0, 0, 0));
    }
    void ExpectBlock(int x0, int y0, int w, int h, const int* nExpect) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                EXPECT_EQ(At(dst, x0 + x, y0 + y), nExpect[y * w + x]) << x << "," << y;
        EXPECT_EQ(CountNot(dst, 200), 6);
    }
};

TEST_F(RotateTest, QuarterAndHalfTurnsAreExact) {
    Turn(90);  // clockwise: the top row becomes the right column
    const int n90[] = {4, 1, 5, 2, 6, 3};
    ExpectBlock(9, 10, 2, 3, n90);
    Fill(dst, 200);
    Turn(180);
    const int n180[] = {6, 5, 4, 3, 2, 1};
    ExpectBlock(8, 9, 3, 2, n180);
    Fill(dst, 200);
    Turn(-90);
    const int nM90[] = {3, 6, 2, 5, 1, 4};
    ExpectBlock(10, 8, 2, 3, nM90);
}

TEST_F(RotateTest, ThirtyAndSixtyDegreesUseTruncatedSineAndCosine) {
    // 16 x 16 picture, pivot (8, 8) landing on (100, 100): destination offset (du, dv) reads
    // source ((cos*du + sin*dv) >> 10) + 8, ((cos*dv - sin*du) >> 10) + 8.
    MakeNumbered(src, 16, 15, 0);
    SURFACE big;
    ASSERT_TRUE(DDCreateSurface(big, 16, 16, 0, 0));
    DDBltClip(big, 0, 0, 16, 15, src, 0, 0, 0);
    ASSERT_TRUE(DDBltRotate(dst, 100, 100, 16, 16, 8, 8, 30, big, 0, 0, 0));
    // sin 30 = 511: (0, 2) reads ((1022 >> 10) + 8, (1772 >> 10) + 8) = (8, 9); with 512 it would be (9, 9).
    EXPECT_EQ(At(dst, 100, 102), 1 + 8 + 16 * 9);
    // (3, 1) reads ((3169 >> 10) + 8, (-647 >> 10) + 8) = (11, 7).
    EXPECT_EQ(At(dst, 103, 101), 1 + 11 + 16 * 7);
    Fill(dst, 200);
    ASSERT_TRUE(DDBltRotate(dst, 100, 100, 16, 16, 8, 8, 60, big, 0, 0, 0));
    // cos 60 = 512, sin 60 = 886: (2, 0) reads ((1024 >> 10) + 8, (-1772 >> 10) + 8) = (9, 6).
    EXPECT_EQ(At(dst, 102, 100), 1 + 9 + 16 * 6);
    // (-4, 8) reads ((5040 >> 10) + 8, (7640 >> 10) + 8) = (12, 15): row 15 is index 0 and
    // nFlags 0 copies it too.
    EXPECT_EQ(At(dst, 96, 108), 0);
}

TEST_F(RotateTest, OffScreenDroppedAndOutsideSourceTransparent) {
    MakeNumbered(src, 4, 4, 1);
    // Three of four columns would land left of 0: only the last one shows.
    ASSERT_TRUE(DDBltRotate(dst, 0, 0, 4, 1, 3, 0, 0, src, 0, 0, 0));
    EXPECT_EQ(At(dst, 0, 0), 4);
    EXPECT_EQ(CountNot(dst, 200), 1);
    // A rectangle reaching past its picture: the part outside leaves the destination alone.
    Fill(dst, 200);
    ASSERT_TRUE(DDBltRotate(dst, 20, 20, 8, 8, 0, 0, 0, src, 2, -2, 0));
    EXPECT_EQ(At(dst, 20, 22), 3);
    EXPECT_EQ(At(dst, 21, 25), 1 + 3 + 4 * 3);
    EXPECT_EQ(CountNot(dst, 200), 2 * 4);
}

}  // namespace
