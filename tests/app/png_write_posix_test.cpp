// Linux only: the check runs ImageMagick through a POSIX shell.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/png_write.h"
#include "support/files.h"

// A picture written by our writer must be read back by a decoder nobody here wrote:
// ImageMagick's identify reports its size and the colour of a known pixel.
TEST(PngWrite, ImageMagickReadsSizeAndPixels) {
    PlatColor pal[256] = {};
    pal[1] = {255, 0, 0};
    pal[2] = {0, 0, 255};
    const int w = 5, h = 3, pitch = 8;
    uint8_t px[pitch * h] = {};
    px[0] = 1;              // (0,0) red
    px[2 * pitch + 4] = 2;  // (4,2) blue
    TempDir dir;
    const std::string path = dir.File("w.png");
    ASSERT_TRUE(SavePng(path.c_str(), px, w, h, pitch, pal));

    std::string cmd =
        "convert '" + path + "' -format '%w %h %[pixel:p{0,0}] %[pixel:p{4,2}]' info: 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    char buf[256] = {};
    size_t n = fread(buf, 1, sizeof(buf) - 1, p);
    pclose(p);
    if (n == 0) GTEST_SKIP() << "ImageMagick not available";
    EXPECT_EQ(std::string(buf), "5 3 srgb(255,0,0) srgb(0,0,255)");
}

TEST(PngWrite, RefusesBadSizesAndUnwritablePaths) {
    PlatColor pal[256] = {};
    uint8_t px[4] = {};
    EXPECT_FALSE(SavePng("/nonexistent-dir/x.png", px, 2, 2, 2, pal));
    EXPECT_FALSE(SavePng("x.png", px, 0, 2, 2, pal));
    EXPECT_FALSE(SavePng("x.png", px, 4, 1, 2, pal));
}
