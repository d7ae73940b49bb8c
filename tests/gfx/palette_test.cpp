#include "gfx/palette.h"
#include "support/surface.h"

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

TEST(PaletteTest, UnfinishedFadeKeepsItsAngleAndBigStepsStopAtTheEnd) {
    const PALETTE src = Ramp();
    PALETTE dst;
    // Three steps of a fade-out (levels 256, 255, 253), then the fade resumes at 78 degrees.
    for (int k = 0; k < 3; ++k) EXPECT_FALSE(DDFadeOutStep(dst, 0, 255, 0, 0, 0, 4.0, src, 0));
    EXPECT_EQ(g_dFadeOutAngle, 78.0);
    EXPECT_FALSE(DDFadeOutStep(dst, 0, 255, 0, 0, 0, 4.0, src, 0));
    ExpectLevel(dst, 250, 3);
    // bFinish ends a fade-out at once at level 0, a fade-in at full level; either starts over
    // next time.
    EXPECT_TRUE(DDFadeOutStep(dst, 0, 255, 0, 0, 0, 4.0, src, 1));
    ExpectLevel(dst, 0, 0);
    EXPECT_EQ(g_dFadeOutAngle, 90.0);
    EXPECT_TRUE(DDFadeInStep(dst, 0, 255, 0, 0, 0, 4.0, src, 1));
    ExpectLevel(dst, 256, 0);
    EXPECT_EQ(g_dFadeInAngle, 0.0);
    // A step past the end is cut to the end: 90 -> 0 (level 0, done) and 0 -> 90.
    EXPECT_FALSE(DDFadeOutStep(dst, 0, 255, 0, 0, 0, 100.0, src, 0));
    EXPECT_TRUE(DDFadeOutStep(dst, 0, 255, 0, 0, 0, 100.0, src, 0));
    ExpectLevel(dst, 0, 1);
    EXPECT_FALSE(DDFadeInStep(dst, 0, 255, 0, 0, 0, 100.0, src, 0));
    ExpectLevel(dst, 0, 0);
    EXPECT_TRUE(DDFadeInStep(dst, 0, 255, 0, 0, 0, 100.0, src, 0));
    ExpectLevel(dst, 256, 1);
}

}  // namespace
