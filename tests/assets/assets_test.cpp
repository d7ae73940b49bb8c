// The generated pictures and sounds: sizes against every drawn rectangle, the palette,
// the fighters' sheet, the WAV files against the game's reading rules, and determinism.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "../../tools/assetgen/layout.h"
#include "gfx/bmp_file.h"
#include "sound/sound.h"
#include "support/files.h"

namespace {

const std::string kData = POMRIN_DATA_DIR;

// The generated pictures through the game's own reader (checked against ImageMagick's files
// in the graphics tests), read once each.
const BMPFILE& Picture(const char* szFile) {
    static std::map<std::string, BMPFILE> cache;
    auto it = cache.find(szFile);
    if (it == cache.end()) {
        BMPFILE bmp;
        EXPECT_TRUE(DDReadBmpFile((kData + "/" + szFile).c_str(), bmp)) << szFile;
        it = cache.emplace(szFile, bmp).first;
    }
    return it->second;
}

uint8_t At(const BMPFILE& b, int x, int y) {
    return b.pixels[size_t(y) * size_t(b.nWidth) + size_t(x)];
}

std::array<int, 3> Rgb(const BMPFILE& b, int i) {
    return {b.colors[size_t(i)].r, b.colors[size_t(i)].g, b.colors[size_t(i)].b};
}

int Opaque(const BMPFILE& b, int x, int y, int w, int h) {
    int n = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) n += At(b, i, j) != 0;
    return n;
}

}  // namespace

TEST(AssetBitmaps, EveryDrawnRectangleLiesInsideAndEachFileIsExactlyBigEnough) {
    std::vector<int> maxRight(ABMP_COUNT, 0), maxBottom(ABMP_COUNT, 0);
    for (const AssetRect& r : g_AssetRects) {
        const BMPFILE& b = Picture(g_AssetBitmaps[size_t(r.nBitmap)].szFile);
        for (int gy = 0; gy < r.nCountY; ++gy)
            for (int gx = 0; gx < r.nCountX; ++gx) {
                int x = r.nX + gx * r.nStepX, y = r.nY + gy * r.nStepY;
                EXPECT_GE(x, 0) << r.szUse;
                EXPECT_GE(y, 0) << r.szUse;
                EXPECT_LE(x + r.nW, b.nWidth) << r.szUse;
                EXPECT_LE(y + r.nH, b.nHeight) << r.szUse;
                maxRight[size_t(r.nBitmap)] = std::max(maxRight[size_t(r.nBitmap)], x + r.nW);
                maxBottom[size_t(r.nBitmap)] = std::max(maxBottom[size_t(r.nBitmap)], y + r.nH);
            }
    }
    for (int n = 0; n < ABMP_COUNT; ++n) {
        const BMPFILE& b = Picture(g_AssetBitmaps[size_t(n)].szFile);
        EXPECT_EQ(b.nWidth, maxRight[size_t(n)]) << g_AssetBitmaps[size_t(n)].szFile;
        EXPECT_EQ(b.nHeight, maxBottom[size_t(n)]) << g_AssetBitmaps[size_t(n)].szFile;
    }
}

TEST(AssetPalette, MessageTableIsTheGamePaletteWithKeyWhiteFrameAndColourLoop) {
    const BMPFILE& msg = Picture("bmp/メッセージ.bmp");
    ASSERT_EQ(msg.colors.size(), 256u);
    auto rgb = [&](int i) { return Rgb(msg, i); };
    // Pure white exists once, as entry 1; nothing else is close enough to take white text.
    int nWhite = 0;
    for (int i = 0; i < 256; ++i) {
        auto c = rgb(i);
        if (c == std::array<int, 3>{255, 255, 255}) ++nWhite;
    }
    EXPECT_EQ(nWhite, 1);
    EXPECT_EQ(rgb(1), (std::array<int, 3>{255, 255, 255}));
    // Index 0 is the key: every keyed picture's unused corner is 0.
    EXPECT_EQ(At(msg, msg.nWidth - 1, msg.nHeight - 1), 0);
    EXPECT_EQ(At(Picture("bmp/エフェクト.bmp"), 0, 0), 0);
    EXPECT_EQ(At(Picture("bmp/その他.bmp"), 0, 0), 0);
    EXPECT_NE(rgb(255), rgb(0));  // the options frame shows against black
    // 7..15 are nine different colours whose steps, including 15 back to 7, are all small
    // next to the loop's range, so the rotation runs smoothly.
    int nRange = 0, nMaxStep = 0;
    for (int i = 7; i <= 15; ++i) {
        auto a = rgb(i), b = rgb(i == 15 ? 7 : i + 1);
        int nStep = std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
        EXPECT_GT(nStep, 0) << i;
        nMaxStep = std::max(nMaxStep, nStep);
        for (int j = 7; j <= 15; ++j) {
            auto c = rgb(j);
            nRange = std::max(nRange, std::abs(a[0] - c[0]) + std::abs(a[1] - c[1]) + std::abs(a[2] - c[2]));
        }
    }
    EXPECT_LT(nMaxStep * 2, nRange);
    // Every picture carries the same colour table.
    for (const auto& info : g_AssetBitmaps) {
        const BMPFILE& b = Picture(info.szFile);
        ASSERT_EQ(b.colors.size(), 256u) << info.szFile;
        for (int i = 0; i < 256; ++i) EXPECT_EQ(Rgb(b, i), rgb(i)) << info.szFile << " " << i;
    }
}

TEST(AssetFighters, SpriteZeroIsEmptyAndSpriteOneIsARoundBodyTurnedForPlayerOne) {
    const BMPFILE& b = Picture("bmp/バトルキャラ.bmp");
    struct Size {
        int nSize, nRow, nX0;
    } sizes[] = {{32, 0, 0}, {32, 0, 384}, {64, 64, 0}, {16, 192, 0}};
    for (const Size& s : sizes)
        for (int id = 0; id < 12; ++id) {
            int x = s.nX0 + id * s.nSize;
            EXPECT_EQ(Opaque(b, x, s.nRow, s.nSize, s.nSize), 0)
                << "sprite 0, id " << id << " size " << s.nSize;
            int y = s.nRow + s.nSize;
            // A round body fills about pi/4 of its square; the corners stay clear.
            EXPECT_GT(Opaque(b, x, y, s.nSize, s.nSize), s.nSize * s.nSize * 45 / 100) << id;
            EXPECT_EQ(At(b, x, y), 0);
            EXPECT_EQ(At(b, x + s.nSize - 1, y + s.nSize - 1), 0);
        }
    // Player 1's still image looks the other way, so it differs from the turning sprite.
    for (int id = 0; id < 12; ++id) {
        int nDiff = 0;
        for (int j = 32; j < 64; ++j)
            for (int i = 0; i < 32; ++i) nDiff += At(b, id * 32 + i, j) != At(b, 384 + id * 32 + i, j);
        EXPECT_GT(nDiff, 20) << id;
    }
}

TEST(AssetEffects, GaugeRestFrameIsEmptyAndTheOthersShow) {
    const BMPFILE& e = Picture("bmp/エフェクト.bmp");
    EXPECT_EQ(Opaque(e, 0, 64, 32, 32), 0);  // held all the time on the fighter's corner
    for (int k = 1; k <= 3; ++k) EXPECT_GT(Opaque(e, 0, 64 + 32 * k, 32, 32), 20) << k;
    for (int t = 0; t < 3; ++t) EXPECT_GT(Opaque(e, t * 32, 16, 32, 32), 20) << "spark " << t;
}

// Faults that showed on screen once: flat bands in the menu panel's gradient, sky under the
// title's hills, letters too thin to keep any white, help text crossing a box rim.
TEST(AssetScreens, PanelsAreSmoothGroundFillsTheTitleLettersAreSolidHelpLinesHaveRoom) {
    const BMPFILE& msg = Picture("bmp/メッセージ.bmp");
    auto rgb = [&](int i) { return Rgb(msg, i); };
    // The menu panel (0, 144, 288 x 192): its left margin, clear of the rim and the row texts,
    // mixes at least two entries on every line of the gradient.
    for (int y = 154; y < 326; ++y) {
        std::set<int> seen;
        for (int x = 12; x < 28; ++x) seen.insert(At(msg, x, y));
        EXPECT_GE(seen.size(), 2u) << "menu panel line " << y;
    }
    // The hills reach the bottom of the title picture: green, not sky.
    const BMPFILE& title = Picture("bmp/タイトル.bmp");
    for (int x = 0; x < 640; x += 16) {
        auto c = rgb(At(title, x, 479));
        EXPECT_TRUE(c[1] > c[0] && c[1] > c[2]) << "title bottom at x " << x;
    }
    // Every letter and digit of the letter picture keeps pure white pixels.
    const BMPFILE& moji = Picture("bmp/文字.bmp");
    for (int ch = '0'; ch <= 'z'; ++ch) {
        if (!std::isalnum(ch)) continue;
        int k = ch - 0x20, nWhite = 0;
        for (int j = 0; j < 16; ++j)
            for (int i = 0; i < 16; ++i) nWhite += At(moji, k % 16 * 16 + i, k / 16 * 16 + j) == 1;
        EXPECT_GE(nWhite, 4) << char(ch);
    }
    // Options: the help lines (x 32 on, y 280..400, the longest running off the right edge)
    // and the footer (y 416..440) lie on dark fill only: no rim (brightest channel 0x8C and
    // more) under any of them.
    const BMPFILE& opt = Picture("bmp/オプション.bmp");
    auto dark = [&](int x, int y) {
        auto c = rgb(At(opt, x, y));
        return std::max({c[0], c[1], c[2]}) < 0x60;
    };
    for (int y = 276; y < 404; ++y)
        for (int x = 32; x < 640; ++x) ASSERT_TRUE(dark(x, y)) << x << "," << y;
    for (int y = 414; y < 444; ++y)
        for (int x = 32; x < 600; ++x) ASSERT_TRUE(dark(x, y)) << x << "," << y;
}

TEST(AssetSounds, EveryWavIsReadByTheGameStartsAndEndsSilentAndIsNotClipped) {
    double dMin = 1e9, dMax = 0;
    for (const auto& snd : g_AssetSounds) {
        WAVEDATA wave{};
        ASSERT_TRUE(DSReadWaveFile((kData + "/" + snd.szFile).c_str(), &wave)) << snd.szFile;
        const std::vector<uint8_t> d(wave.lpData, wave.lpData + wave.dwSize);
        EXPECT_EQ(wave.Format.nChannels, 1);
        EXPECT_EQ(wave.Format.wBitsPerSample, 8);
        EXPECT_EQ(wave.Format.nSamplesPerSec, 22050u);
        DSFreeWave(&wave);
        ASSERT_GT(d.size(), 22050u / 50) << snd.szFile;  // at least 20 ms
        EXPECT_LT(d.size(), 22050u * 2) << snd.szFile;   // short effects
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(d[i], 128, 2) << snd.szFile;
            EXPECT_NEAR(d[d.size() - 1 - i], 128, 2) << snd.szFile;
        }
        int nPeak = 0;
        double dMean = 0;
        for (uint8_t v : d) {
            EXPECT_TRUE(v != 0 && v != 255) << snd.szFile;  // no sample at the rails
            nPeak = std::max(nPeak, std::abs(int(v) - 128));
            dMean += v - 128.0;
        }
        EXPECT_GT(nPeak, 40) << snd.szFile;
        // No offset: a DC shift is a step when the sound starts and stops over silence.
        EXPECT_LT(std::fabs(dMean / double(d.size())), 1.0) << snd.szFile;
        // Loudness as heard: the loudest 50 ms window's RMS, scaled by the table volume
        // (hundredths of a dB), so short blips and long tails compare fairly.
        const size_t nWin = 22050 / 20;
        double dBest = 0;
        for (size_t i = 0; i + nWin <= d.size(); i += nWin / 10) {
            double dSum = 0;
            for (size_t k = i; k < i + nWin; ++k) dSum += (d[k] - 128.0) * (d[k] - 128.0);
            dBest = std::max(dBest, std::sqrt(dSum / double(nWin)));
        }
        double dRms = dBest * std::pow(10.0, snd.nVolume / 2000.0);
        dMin = std::min(dMin, dRms);
        dMax = std::max(dMax, dRms);
    }
    EXPECT_LT(dMax / dMin, 2.51);  // within 8 dB of each other
}

TEST(AssetGen, TwoRunsWriteIdenticalBytesAndTheSheetIsAPng) {
    namespace fs = std::filesystem;
    TempDir temp;
    const fs::path tmp = temp.path;
    std::string cmd = std::string(POMRIN_BINARY_DIR) + "/tools/assetgen " + (tmp / "out").string() +
                      " --sheet " + (tmp / "sheet.png").string();
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    int nFiles = 0;
    for (const auto& entry : fs::recursive_directory_iterator(tmp / "out")) {
        if (!entry.is_regular_file()) continue;
        ++nFiles;
        fs::path rel = fs::relative(entry.path(), tmp / "out");
        EXPECT_EQ(ReadBytes(entry.path()), ReadBytes(fs::path(kData) / rel)) << rel;
    }
    EXPECT_EQ(nFiles, int(ABMP_COUNT + g_AssetEnglishBitmaps.size() + g_AssetSounds.size()));
    // The English pictures: the Japanese ones' size and palette (header and colour table), other words.
    for (int n : g_AssetEnglishBitmaps) {
        const std::string szFile = g_AssetBitmaps[size_t(n)].szFile;
        const auto ja = ReadBytes(tmp / "out" / fs::u8path(szFile));
        const auto en = ReadBytes(tmp / "out" / "bmp" / "en" / fs::u8path(szFile.substr(4)));
        ASSERT_EQ(en.size(), ja.size()) << szFile;
        EXPECT_TRUE(std::equal(ja.begin(), ja.begin() + 54 + 1024, en.begin())) << szFile;
        EXPECT_NE(en, ja) << szFile;
    }
    auto png = ReadBytes(tmp / "sheet.png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
}
