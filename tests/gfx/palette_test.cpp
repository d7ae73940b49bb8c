#include "gfx/palette.h"
#include "gfx_test.h"

namespace {

// Source entry i: red i, green 255 - i, blue 128.
PALETTE Ramp() {
    PALETTE pal;
    for (int i = 0; i < 256; ++i) pal[i] = {uint8_t(i), uint8_t(255 - i), 128, 0};
    return pal;
}

void ExpectLevel(const PALETTE& dst, int nLevel, int nCall) {
    // Toward black: channel * level >> 8.
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(dst[i].peRed, (i * nLevel) >> 8) << "call " << nCall << " entry " << i;
        ASSERT_EQ(dst[i].peGreen, ((255 - i) * nLevel) >> 8) << "call " << nCall;
        ASSERT_EQ(dst[i].peBlue, (128 * nLevel) >> 8) << "call " << nCall;
        ASSERT_EQ(dst[i].peFlags, PC_RESERVED);
    }
}

// Step 4 degrees: 24 calls, the last one reporting the end. The levels are 256 sin(angle),
// truncated, the angle going from 90 down to 0 degrees (fade-out) or from 0 up to 90 (fade-in).
TEST(PaletteTest, FadesTake24CallsAtStep4) {
    const int nOut[24] = {256, 255, 253, 250, 246, 240, 233, 226, 217, 207, 196, 184,
                          171, 157, 143, 127, 112, 95,  79,  61,  44,  26,  8,   0};
    const int nIn[24] = {0,   17,  35,  53,  70,  87,  104, 120, 135, 150, 164, 177,
                         190, 201, 212, 221, 230, 237, 243, 248, 252, 254, 255, 256};
    const PALETTE src = Ramp();
    PALETTE dst;
    for (int k = 0; k < 24; ++k) {
        EXPECT_EQ(DDFadeOutStep(dst, 0, 255, 0, 0, 0, 4.0, src, 0), k == 23) << k;
        ExpectLevel(dst, nOut[k], k);
    }
    EXPECT_EQ(g_dFadeOutAngle, 90.0);
    EXPECT_EQ(DDGetDisplayPalette()[255].peRed, 0);  // the upload reached the display palette
    for (int k = 0; k < 24; ++k) {
        EXPECT_EQ(DDFadeInStep(dst, 0, 255, 0, 0, 0, 4.0, src, 0), k == 23) << k;
        ExpectLevel(dst, nIn[k], k);
    }
    EXPECT_EQ(g_dFadeInAngle, 0.0);
}

TEST(PaletteTest, FadeTowardColourOnPartOfTheRange) {
    const PALETTE src = Ramp();
    PALETTE dst;
    // Level 128 halfway to white (r 255 + 256 wraps to 255) on entries 10..11 only.
    DDFadePalette(dst, 10, 11, 128, 255 + 256, 255, 255, src);
    EXPECT_EQ(dst[10].peRed, (10 * 128 + 255 * 128) >> 8);
    EXPECT_EQ(dst[11].peBlue, (128 * 128 + 255 * 128) >> 8);
    EXPECT_EQ(dst[9].peRed, 9);
    EXPECT_EQ(dst[12].peFlags, 0);
    // bFinish ends a fade-out at once, at level 0.
    EXPECT_TRUE(DDFadeOutStep(dst, 0, 255, 0, 0, 0, 4.0, src, 1));
    ExpectLevel(dst, 0, 0);
}

TEST(PaletteTest, UnfinishedFadeKeepsItsAngleAndBigStepsStopAtTheEnd) {
    const PALETTE src = Ramp();
    PALETTE dst;
    // Three steps of a fade-out (levels 256, 255, 253), then the fade resumes at 78 degrees.
    for (int k = 0; k < 3; ++k) EXPECT_FALSE(DDFadeOutStep(dst, 0, 255, 0, 0, 0, 4.0, src, 0));
    EXPECT_EQ(g_dFadeOutAngle, 78.0);
    EXPECT_FALSE(DDFadeOutStep(dst, 0, 255, 0, 0, 0, 4.0, src, 0));
    ExpectLevel(dst, 250, 3);
    // bFinish completes a fade-in at once at full level, and the fade-in starts over next time.
    EXPECT_TRUE(DDFadeInStep(dst, 0, 255, 0, 0, 0, 4.0, src, 1));
    ExpectLevel(dst, 256, 0);
    EXPECT_EQ(g_dFadeInAngle, 0.0);
    // A step past the end is cut to the end: 90 -> 0 (level 0, done) and 0 -> 90.
    g_dFadeOutAngle = 90.0;
    EXPECT_FALSE(DDFadeOutStep(dst, 0, 255, 0, 0, 0, 100.0, src, 0));
    EXPECT_TRUE(DDFadeOutStep(dst, 0, 255, 0, 0, 0, 100.0, src, 0));
    ExpectLevel(dst, 0, 1);
    EXPECT_FALSE(DDFadeInStep(dst, 0, 255, 0, 0, 0, 100.0, src, 0));
    ExpectLevel(dst, 0, 0);
    EXPECT_TRUE(DDFadeInStep(dst, 0, 255, 0, 0, 0, 100.0, src, 0));
    ExpectLevel(dst, 256, 1);
}

TEST(PaletteTest, CyclePalette) {
    const PALETTE src = Ramp();
    PALETTE dst;
    for (int nDir : {0, 1}) {
        for (int nCount : {0, 9}) {  // entries 7..15 hold 9
            DDCyclePalette(dst, 7, 15, nCount, nDir, src);
            for (int i = 0; i < 256; ++i) EXPECT_EQ(dst[i].peRed, i) << nDir << " " << nCount;
        }
    }
    // Two toward higher numbers: 14 15 7 8 ... 13; toward lower: 9 ... 15 7 8.
    DDCyclePalette(dst, 7, 15, 2, 0, src);
    const int nUp[9] = {14, 15, 7, 8, 9, 10, 11, 12, 13};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(dst[7 + i].peRed, nUp[i]);
    dst = src;
    DDCyclePalette(dst, 7, 15, 2, 1, dst);  // in place
    const int nDown[9] = {9, 10, 11, 12, 13, 14, 15, 7, 8};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(dst[7 + i].peRed, nDown[i]);
    EXPECT_EQ(dst[6].peRed, 6);
    EXPECT_EQ(dst[16].peRed, 16);
    // A direction other than 0 and 1, and out-of-range requests, only copy.
    DDCyclePalette(dst, 7, 15, 2, 2, src);
    EXPECT_EQ(dst[7].peRed, 7);
    DDCyclePalette(dst, 250, 260, 2, 0, src);
    DDCyclePalette(dst, 7, 15, 10, 0, src);
    EXPECT_EQ(dst[7].peRed, 7);
}

}  // namespace
