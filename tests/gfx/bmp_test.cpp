
#include <cstdio>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "gfx/bitmap.h"
#include "gfx/bmp_file.h"
#include "gfx/palette.h"
#include "support/files.h"
#include "support/surface.h"

namespace {

const std::string FIXTURES = POMRIN_TEST_DIR "/fixtures/";

void Put16(std::vector<uint8_t>& v, size_t at, uint32_t n) {
    v[at] = uint8_t(n), v[at + 1] = uint8_t(n >> 8);
}
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t n) {
    Put16(v, at, n), Put16(v, at + 2, n >> 16);
}

// An 8-bit BMP laid out by hand: 2 colours, rows padded to 4 bytes, pixel (x, y) = x + 10 * y.
std::vector<uint8_t> HandBmp(int w, int h) {
    const int nRows = h < 0 ? -h : h, nStride = (w + 3) & ~3;
    std::vector<uint8_t> v(14 + 40 + 8 + size_t(nStride) * nRows, 0xEE);
    v[0] = 'B', v[1] = 'M';
    Put32(v, 2, uint32_t(v.size()));
    Put32(v, 10, 14 + 40 + 8);
    Put32(v, 14, 40);
    Put32(v, 18, uint32_t(w));
    Put32(v, 22, uint32_t(h));
    Put16(v, 26, 1);
    Put16(v, 28, 8);
    Put32(v, 30, 0);
    Put32(v, 46, 2);
    const uint8_t table[8] = {30, 20, 10, 0, 3, 2, 1, 0};  // blue, green, red, 0
    std::copy(table, table + 8, v.begin() + 54);
    for (int y = 0; y < nRows; ++y) {
        const int nFileRow = h < 0 ? y : nRows - 1 - y;
        for (int x = 0; x < w; ++x) v[62 + size_t(nFileRow) * nStride + x] = uint8_t(x + 10 * y);
    }
    return v;
}

// Plain-text PPM as ImageMagick writes it.
std::vector<BMPCOLOR> ReadPpm(const std::string& szFile, int& w, int& h) {
    std::ifstream in(szFile);
    std::string magic;
    int nMax;
    in >> magic >> w >> h >> nMax;
    std::vector<BMPCOLOR> px(size_t(w) * h);
    for (BMPCOLOR& c : px) {
        int r, g, b;
        in >> r >> g >> b;
        c = {uint8_t(r), uint8_t(g), uint8_t(b)};
    }
    return px;
}

TEST(BmpTest, ImageMagickFilesLoadWithTheirColours) {
    for (const char* szName : {"w7h3", "g37x20"}) {
        BMPFILE bmp;
        ASSERT_TRUE(DDReadBmpFile((FIXTURES + szName + ".bmp").c_str(), bmp)) << szName;
        int w, h;
        const std::vector<BMPCOLOR> expect = ReadPpm(FIXTURES + szName + ".ppm", w, h);
        ASSERT_EQ(bmp.nWidth, w);
        ASSERT_EQ(bmp.nHeight, h);
        for (int i = 0; i < w * h; ++i) {
            ASSERT_LT(bmp.pixels[i], bmp.colors.size());
            const BMPCOLOR c = bmp.colors[bmp.pixels[i]];
            EXPECT_TRUE(c.r == expect[i].r && c.g == expect[i].g && c.b == expect[i].b) << szName << " " << i;
        }
    }
}

TEST(BmpTest, OddWidthLoadsIntoSurfaceWithoutSkew) {
    TempDir dir;
    const std::string szFile = dir.File("w5.bmp");
    WriteBytes(szFile, HandBmp(5, 3));
    SURFACE s;
    ASSERT_EQ(DDLoadBitmap(s, szFile.c_str(), 1, 8, 1), LOAD_OK);
    EXPECT_EQ(std::tuple(s.nWidth, s.nHeight, s.bSysMem), std::tuple(5, 3, 1));
    EXPECT_STREQ(s.szFileName, szFile.c_str());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(At(s, x, y), x + 10 * y);
    // The colour table becomes the palette; entries past its end are black.
    PALETTE pal;
    ASSERT_TRUE(DDLoadPaletteFromFile(pal, szFile.c_str(), 0));
    EXPECT_EQ(std::tuple(pal[0].peRed, pal[0].peBlue, pal[1].peGreen, pal[2].peRed + pal[255].peBlue,
                         pal[7].peFlags),
              std::tuple(10, 30, 2, 0, PC_RESERVED));
}

TEST(BmpTest, TopDownRowsAreReadInOrder) {
    const std::vector<uint8_t> v = HandBmp(3, -2);
    BMPFILE bmp;
    ASSERT_TRUE(DDParseBmp(v.data(), v.size(), bmp));
    EXPECT_EQ(bmp.nHeight, 2);
    EXPECT_EQ(bmp.pixels, (std::vector<uint8_t>{0, 1, 2, 10, 11, 12}));
}

TEST(BmpTest, MalformedAndTruncatedAreRefused) {
    const std::vector<uint8_t> good = HandBmp(5, 3);
    BMPFILE bmp;
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(DDParseBmp(good.data(), n, bmp)) << "truncated to " << n;
    auto Broken = [&](size_t at, uint32_t n, bool b32) {
        std::vector<uint8_t> v = good;
        b32 ? Put32(v, at, n) : Put16(v, at, n);
        return DDParseBmp(v.data(), v.size(), bmp);
    };
    EXPECT_FALSE(Broken(0, 'X', false));         // not "BM"
    EXPECT_FALSE(Broken(28, 24, false));         // 24 bits per pixel
    EXPECT_FALSE(Broken(30, 1, true));           // RLE8
    EXPECT_FALSE(Broken(26, 2, false));          // planes
    EXPECT_FALSE(Broken(18, 0, true));           // zero width
    EXPECT_FALSE(Broken(22, 0x7FFFFFFF, true));  // height far beyond the file
    EXPECT_FALSE(Broken(22, 0x80000000, true));  // most negative height
    EXPECT_FALSE(Broken(10, 0xFFFFFFF0, true));  // pixel offset past the end
    EXPECT_FALSE(Broken(14, 0xFFFFFFFF, true));  // header size past the end
    EXPECT_TRUE(Broken(46, 0, true));            // no count: up to 256, cut at the pixels

    for (const char* szName : {"rle8.bmp", "depth4.bmp", "missing.bmp", ""})
        EXPECT_FALSE(DDReadBmpFile((FIXTURES + szName).c_str(), bmp)) << szName;
    SURFACE s;
    EXPECT_FALSE(DDCheckLoadError(DDLoadBitmap(s, (FIXTURES + "rle8.bmp").c_str(), 0, 8, 0)));
    EXPECT_EQ(DDLoadBitmap(s, (FIXTURES + "rle8.bmp").c_str(), 0, 8, 0), LOAD_LOADIMAGE_ERR);
    EXPECT_FALSE(s.lpSurface);
}

}  // namespace
