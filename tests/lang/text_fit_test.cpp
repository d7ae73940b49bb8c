// The texts of both languages against the boxes they are drawn in, measured by the ink the
// game's own font puts down.
#include <gtest/gtest.h>

#include <string>

#include "gfx/palette.h"
#include "gfx/text.h"
#include "lang/lang.h"

namespace {

// The x just past the last ink of szText drawn at x 0 in the nPx font (0 for no ink).
int InkRight(const char* szText, int nPx) {
    static SURFACE s;
    static int nFont = 0;
    if (!s.lpSurface) {
        g_BasePalette.fill({0, 0, 0, PC_RESERVED});
        g_BasePalette[1] = {255, 255, 255, PC_RESERVED};
        EXPECT_TRUE(DDCreateSurface(s, 1200, 40, 0, 0));
    }
    if (nFont != nPx) {
        EXPECT_NE(DDCreateFont(0, nPx), nullptr);
        nFont = nPx;
    }
    std::fill(s.lpSurface.get(), s.lpSurface.get() + size_t(s.nPitch) * s.nHeight, uint8_t(0));
    DDTextOut(s, 0, 0, DDRGB(255, 255, 255), szText);
    int nRight = 0;
    for (int y = 0; y < s.nHeight; ++y)
        for (int x = nRight; x < s.nWidth; ++x)
            if (s.lpSurface[size_t(y) * s.nPitch + x]) nRight = x + 1;
    return nRight;
}

void ExpectFits(const std::string& szText, const TEXTBOX& box, const std::string& szWhat) {
    if (box.nPx == 0) return;
    const int nInk = InkRight(szText.c_str(), box.nPx);
    EXPECT_GT(nInk, 0) << szWhat << ": " << szText;
    EXPECT_LE(box.nLeft + nInk, box.nRight) << szWhat << ": " << szText;
}

TEST(Texts, EveryDrawnTextOfBothLanguagesFitsItsBox) {
    const GAMETEXT* ja = TextTable(LANG_JA);
    const GAMETEXT* en = TextTable(LANG_EN);
    for (int nLang : {LANG_JA, LANG_EN}) {
        const GAMETEXT* table = TextTable(nLang);
        for (int id = 0; id < TXT_COUNT; ++id) {
            const std::string szWhat = std::string(LanguageCode(nLang)) + " text " + std::to_string(id);
            ASSERT_TRUE(table[id].szText && *table[id].szText) << szWhat;
            ExpectFits(table[id].szText, table[id].Box, szWhat);
            ExpectFits(table[id].szText, table[id].Box2, szWhat);
        }
        // A skill line is its label and the skill's name, whichever skill is chosen.
        for (int k = 0; k < 4; ++k)
            for (int n = 0; n < 17; ++n)
                ExpectFits(std::string(table[TXT_SKILL_LABEL + k].szText) + table[TXT_SKILL_NAME + n].szText,
                           table[TXT_SKILL_LABEL + k].Box, "skill line");
    }
    // English: printable ASCII (the drawn text was Shift-JIS), inside the Japanese text's box.
    for (int id = 0; id < TXT_COUNT; ++id) {
        for (const char* p = en[id].szText; *p; ++p) EXPECT_TRUE(*p >= 0x20 && *p < 0x7F) << en[id].szText;
        for (auto [a, b] : {std::pair{en[id].Box, ja[id].Box}, std::pair{en[id].Box2, ja[id].Box2}}) {
            EXPECT_EQ(a.nPx, b.nPx) << en[id].szText;
            EXPECT_GE(a.nLeft, b.nLeft) << en[id].szText;
            EXPECT_LE(a.nRight, b.nRight) << en[id].szText;
        }
    }
    // The language row reads the same in both languages.
    ExpectFits(LanguageLabel().szText, LanguageLabel().Box, "language row");
    for (int nLang : {LANG_JA, LANG_EN})
        ExpectFits(LanguageName(nLang).szText, LanguageName(nLang).Box, "language");
    DDDeleteFont();
}

}  // namespace
