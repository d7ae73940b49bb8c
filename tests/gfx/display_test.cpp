#include "gfx/bitmap.h"
#include "gfx/blit.h"
#include "gfx/palette.h"
#include "gfx_test.h"
#include "platform/headless/headless.h"

namespace {

TEST(DisplayTest, InitPresentAndRelease) {
    Headless_Reset();
    ASSERT_TRUE(DDInitDisplay(nullptr, g_DisplayModes, 0, 1));
    EXPECT_EQ(g_bDisplayReady, 1);
    EXPECT_EQ(g_Primary.nWidth, 640);
    EXPECT_EQ(g_BackBuffer.nHeight, 480);

    // The frame's copy to the screen is what shows the picture.
    DDFillRect(g_BackBuffer, 10, 20, 3, 2, 77);
    const int nBefore = Headless_PresentCount();
    DDBltClip(g_Primary, 0, 0, 640, 480, g_BackBuffer, 0, 0, 0);
    EXPECT_EQ(Headless_PresentCount(), nBefore + 1);
    EXPECT_EQ(Headless_FramePixels()[20 * 640 + 12], 77);
    EXPECT_EQ(Headless_FramePixels()[22 * 640 + 12], 0);
    PALETTE pal{};
    pal[77] = {1, 2, 3, PC_RESERVED};
    DDSetPaletteEntries(0, 256, pal.data());
    DDPresent();
    EXPECT_EQ(Headless_FramePalette()[77].b, 3);

    ASSERT_TRUE(DDCreateSurface(g_Bitmap[BMP_OTHER], 8, 8, 1, 0));
    DDReleaseFullScreen();
    EXPECT_FALSE(g_Bitmap[BMP_OTHER].lpSurface);
    EXPECT_FALSE(g_Primary.lpSurface);
    // Drawing on released surfaces does nothing.
    DDBltClip(g_Primary, 0, 0, 640, 480, g_BackBuffer, 0, 0, 0);
    EXPECT_TRUE(DDRestoreSurfaces());
}

TEST(DisplayTest, BadModeFails) {
    const DISPLAYMODE bad[1] = {{640, 480, 16}};
    EXPECT_FALSE(DDInitDisplay(nullptr, bad, 0, 1));
    EXPECT_FALSE(DDInitDisplay(nullptr, nullptr, 0, 1));
}

}  // namespace
