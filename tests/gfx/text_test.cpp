#include <cstring>
#include <set>
#include <tuple>
#include <utility>

#include "gfx/palette.h"
#include "gfx/text.h"
#include "support/surface.h"

namespace {

using Ink = std::set<std::pair<int, int>>;

struct TextTest : ::testing::Test {
    SURFACE s;
    void SetUp() override {
        g_BasePalette.fill({0, 0, 0, PC_RESERVED});
        g_BasePalette[15] = {255, 255, 255, PC_RESERVED};
        g_BasePalette[16] = {250, 250, 250, PC_RESERVED};
        ASSERT_TRUE(DDCreateSurface(s, 200, 100, 0, 0));
        ASSERT_NE(DDCreateFont(0, 20), nullptr);
    }
    void TearDown() override { DDDeleteFont(); }
    // Pixels not 0, shifted by (dx, dy); every inked pixel must be the white index.
    Ink Draw(const char* szText, int dx = 0, int dy = 0) {
        Fill(s, 0);
        DDTextOut(s, 10, 10, DDRGB(255, 255, 255), szText);
        Ink ink;
        for (int y = 0; y < s.nHeight; ++y)
            for (int x = 0; x < s.nWidth; ++x)
                if (At(s, x, y)) {
                    EXPECT_EQ(At(s, x, y), 15);
                    ink.insert({x + dx, y + dy});
                }
        return ink;
    }
};

// Each text draws as its one glyph drawn twice, the second time shifted: lines are 20 pixels
// apart (with a 24-pixel font too, whose lines then overlap), full-width glyphs advance 20
// pixels and half-width ones 10.
TEST_F(TextTest, LinesAndFixedPitchGlyphs) {
    const struct {
        int nFont;
        const char *szOne, *szTwo;
        int dx, dy;
    } cases[] = {{20, "A", "A\nA", 0, 20},
                 {24, "A", "A\nA", 0, 20},
                 {20, "あ", "ああ", 20, 0},
                 {20, "X", "XX", 10, 0}};
    for (const auto& c : cases) {
        ASSERT_NE(DDCreateFont(0, c.nFont), nullptr);
        Ink both = Draw(c.szOne);
        ASSERT_FALSE(both.empty());
        for (auto p : Draw(c.szOne, c.dx, c.dy)) both.insert(p);
        EXPECT_EQ(Draw(c.szTwo), both) << c.szTwo;
    }
    EXPECT_EQ(Draw("A\n"), Draw("A"));
}

// Twice as large: every pixel of the glyph as a 2 x 2 block, its offset from the origin doubled;
// widths are the pen's advance (half-width 10, full-width 20 at 20 pixels), first line only.
TEST_F(TextTest, ScaledTextAndWidth) {
    Ink big;
    for (auto [x, y] : Draw("W"))
        for (int k = 0; k < 4; ++k) big.insert({10 + 2 * (x - 10) + k % 2, 10 + 2 * (y - 10) + k / 2});
    Fill(s, 0);
    DDTextOutScaled(s, 10, 10, DDRGB(255, 255, 255), "W\nW", 2);
    Ink drawn;
    for (int y = 0; y < s.nHeight; ++y)
        for (int x = 0; x < s.nWidth; ++x)
            if (At(s, x, y)) drawn.insert({x, y});
    EXPECT_EQ(drawn, big);
    EXPECT_EQ(std::tuple(DDTextWidth("XX\nA"), DDTextWidth("あX")), std::tuple(20, 30));
}

// Empty texts draw nothing; texts cut at the edges and malformed UTF-8 draw what they can.
TEST_F(TextTest, EmptyCutAndMalformedTexts) {
    for (const char* sz : {"", "\n", "\n\n"}) EXPECT_TRUE(Draw(sz).empty()) << int(strlen(sz));
    Fill(s, 0);
    DDTextOut(s, -8, -8, DDRGB(255, 255, 255), "ポムリン\nポムリン");
    DDTextOut(s, 190, 90, DDRGB(255, 255, 255), "ポムリン");
    EXPECT_GT(CountNot(s, 0), 0);
    const char szBad[] = {'A', char(0xE3), char(0x81), '\n', char(0xFF), char(0xC0), 'B', 0};
    DDTextOut(s, 0, 0, DDRGB(255, 255, 255), szBad);
    DDTextOutF(s, 0, 40, DDRGB(255, 255, 255), "%d %s", 12, "強さ");
    DDDeleteFont();
    EXPECT_TRUE(Draw("A").empty());  // no font, no text
}

}  // namespace
