#include "battle_view/battle_draw.h"

#include "app/option.h"
#include "app/state_buf.h"
#include "battle/battle_scene.h"
#include "battle/chara.h"
#include "battle/skill.h"
#include "gfx/bitmap.h"
#include "gfx/blit.h"
#include "gfx/palette.h"
#include "gfx/surface.h"

int32_t g_nCycleCount = 0;
int32_t g_nCycleStep = 0;

namespace {

constexpr int32_t KEYED = 1;

// Screen pixel of a fixed-point position (arithmetic shift: rounds toward minus infinity).
constexpr int32_t Px(int32_t nFixed) {
    return nFixed >> 10;
}

// A clone or afterimage body: sprite 1 of the owner's column, placed by the image centre.
void DrawImageBody(const CHARA* lpChara, const IMAGE& img, bool bRotate) {
    const BOX& box = img.box;
    const int32_t nSrcX = lpChara->chr.nId << box.nWidthShift;
    const int32_t nSrcY = (1 << box.nHeightShift) + img.nSizeRow;
    if (bRotate) {
        DDBltRotate(g_BackBuffer, Px(box.nCenterX), Px(box.nCenterY), box.nWidth, box.nHeight, box.nWidth / 2,
                    box.nHeight / 2, lpChara->nAngle, g_Bitmap[BMP_BATTLE_CHARA], nSrcX, nSrcY, KEYED);
    } else {
        DDBltClip(g_BackBuffer, Px(box.nCenterX) - box.nWidth / 2, Px(box.nCenterY) - box.nHeight / 2,
                  box.nWidth, box.nHeight, g_Bitmap[BMP_BATTLE_CHARA], nSrcX, nSrcY, KEYED);
    }
}

// A 32 x 32 effect piece turned with the owner, centred on a shot or trap.
void DrawImagePiece(const CHARA* lpChara, const IMAGE& img, int32_t nSrcX, int32_t nSrcY) {
    DDBltRotate(g_BackBuffer, Px(img.box.nCenterX), Px(img.box.nCenterY), 32, 32, 16, 16, lpChara->nAngle,
                g_Bitmap[BMP_EFFECT], nSrcX, nSrcY, KEYED);
}

// The sprite the cursor stands on, without stepping it.
int32_t AnimSprite(const ANIM& anm) {
    const ANIMSET* lpSet = anm.lpAnimTable;
    if (!lpSet || anm.nAnim < 0 || anm.nAnim >= lpSet->nCount) return 0;
    return lpSet->lpList[anm.nAnim][anm.nFrame].nSprite;
}

bool SlotRuns(const CHARA* lpChara, int32_t nSlot, int32_t nId) {
    return (lpChara->nSkillFlag[nSlot] & (1u << nId)) != 0;
}

}  // namespace

void DrawBackground() {
    DDBltClip(g_BackBuffer, 0, 0, 640, 480, g_Bitmap[BMP_BATTLE_BG], 0, 0, 0);
}

void DrawPhaseSign(int32_t nRow) {
    DDBltClip(g_BackBuffer, 248, 208, 144, 48, g_Bitmap[BMP_MESSAGE], 0, nRow * 48, KEYED);
}

void DrawFighter(CHARA* lpChara, bool bStill, bool bShow) {
    const BOX& box = lpChara->box;
    int32_t s = AnimSprite(lpChara->anmBody);
    const int32_t nAnim = lpChara->anmBody.nAnim;
    if (nAnim == POSE_ATTACK || nAnim == POSE_SUCTION) {
        s = 1;
        int32_t nAuraX = 32, nAuraY = 96;
        if (lpChara->bBig)
            nAuraY += 32;
        else if (lpChara->bSmall)
            nAuraX += 64;
        if (nAnim == POSE_SUCTION) nAuraX += box.nWidth;
        DDBltRotate(g_BackBuffer, Px(box.nCenterX), Px(box.nCenterY), box.nWidth, box.nHeight, box.nWidth / 2,
                    box.nHeight / 2, lpChara->nAngle, g_Bitmap[BMP_EFFECT], nAuraX, nAuraY, KEYED);
    }
    if (bShow && s == 0) s = 1;
    int32_t nSrcX = lpChara->chr.nId << box.nWidthShift;
    const int32_t nSrcY = (s << box.nHeightShift) + lpChara->nSizeRow;
    if (bStill) {
        // Player 1's still pictures sit in the block 384 pixels to the right.
        if (!lpChara->bBig && !lpChara->bSmall) nSrcX = nSrcX - lpChara->nNum * 384 + 384;
        DDBltClip(g_BackBuffer, Px(box.nX), Px(box.nY), box.nWidth, box.nHeight, g_Bitmap[BMP_BATTLE_CHARA],
                  nSrcX, nSrcY, KEYED);
    } else if (SkillActive(lpChara, SKILL_FREE)) {
        DDBltClip(g_BackBuffer, Px(box.nX), Px(box.nY), box.nWidth, box.nHeight, g_Bitmap[BMP_BATTLE_CHARA],
                  nSrcX, nSrcY, KEYED);
    } else {
        DDBltRotate(g_BackBuffer, Px(box.nCenterX), Px(box.nCenterY), box.nWidth, box.nHeight, box.nWidth / 2,
                    box.nHeight / 2, lpChara->nAngle, g_Bitmap[BMP_BATTLE_CHARA], nSrcX, nSrcY, KEYED);
    }
}

void DrawSkillImages(CHARA* lpChara) {
    AnimStep(&lpChara->anmBody);
    const bool bRotate = !SkillActive(lpChara, SKILL_FREE);
    for (int32_t nSlot = 0; nSlot < SKILL_SLOTS; nSlot++) {
        const IMAGE* lpImg = lpChara->slot[nSlot];
        if (SlotRuns(lpChara, nSlot, SKILL_CLONE4)) {
            for (int32_t i = 0; i < SLOT_IMAGES; i++) DrawImageBody(lpChara, lpImg[i], bRotate);
        } else if (SlotRuns(lpChara, nSlot, SKILL_CLONE)) {
            DrawImageBody(lpChara, lpImg[0], bRotate);
        } else if (SlotRuns(lpChara, nSlot, SKILL_AFTERIMAGE)) {
            DrawImageBody(lpChara, lpImg[0], true);
        }
    }
}

void DrawTraps(CHARA* lpChara) {
    for (int32_t nSlot = 0; nSlot < SKILL_SLOTS; nSlot++) {
        if (SlotRuns(lpChara, nSlot, SKILL_TRAP) && lpChara->slot[nSlot][0].nCount >= 100)
            DrawImagePiece(lpChara, lpChara->slot[nSlot][0], 32, 64);
    }
}

void DrawShots(CHARA* lpChara) {
    for (int32_t nSlot = 0; nSlot < SKILL_SLOTS; nSlot++) {
        if (SlotRuns(lpChara, nSlot, SKILL_SHOT)) DrawImagePiece(lpChara, lpChara->slot[nSlot][0], 64, 64);
    }
}

void DrawShade(CHARA* lpChara) {
    if (SkillActive(lpChara, SKILL_SHADE)) DDFillRect(g_BackBuffer, 0, 0, 640, 480, 0);
}

void DrawGaugeFlash(CHARA* lpChara) {
    if (SkillActive(lpChara, SKILL_VANISH) || SkillActive(lpChara, SKILL_CLONE) ||
        SkillActive(lpChara, SKILL_CLONE4) || SkillActive(lpChara, SKILL_AFTERIMAGE))
        return;
    const int32_t s = AnimStep(&lpChara->anmGauge);
    DDBltClip(g_BackBuffer, Px(lpChara->box.nX) - 16, Px(lpChara->box.nY) - 16, 32, 32, g_Bitmap[BMP_EFFECT],
              0, (s + 2) * 32, KEYED);
}

bool DrawKOBurst(CHARA* lpChara) {
    g_nFallCount += 1;
    const BOX& box = lpChara->box;
    DDBltBurst(g_BackBuffer, Px(box.nX), Px(box.nY), box.nWidth, box.nHeight, g_Bitmap[BMP_BATTLE_CHARA],
               lpChara->chr.nId << box.nWidthShift, lpChara->nSizeRow + box.nHeight, g_nFallCount, KEYED);
    return g_nFallCount >= 160;
}

void DrawEffects() {
    for (EFFECT& eff : g_Effect) {
        if (eff.nTime == 0) continue;
        DDBltClip(g_BackBuffer, eff.nX, eff.nY, 32, 32, g_Bitmap[BMP_EFFECT], eff.nType * 32, 16, KEYED);
        eff.nTime -= 1;
    }
}

void DrawWins() {
    for (int32_t i = 0; i < g_Chara[0].nWin; i++)
        DDBltClip(g_BackBuffer, 16 * i, 0, 16, 16, g_Bitmap[BMP_OTHER], 0, 32, KEYED);
    // Wide enough for any wins-needed a damaged settings file holds; marks left of the screen are skipped.
    int64_t x = 592;
    if (g_Option.nWinCount >= 4) x = 592 + (3 - int64_t(g_Option.nWinCount)) * 16;
    for (int32_t i = 0; i < g_Chara[1].nWin && x < 640; i++, x += 16)
        if (x > -16) DDBltClip(g_BackBuffer, int32_t(x), 0, 16, 16, g_Bitmap[BMP_OTHER], 16, 32, KEYED);
}

void DrawGaugeStocks() {
    for (int32_t p = 0; p < 2; p++) {
        const CHARA& c = g_Chara[p];
        // A cost of zero cannot come from the character table; draw no stocks rather than divide by it.
        const int32_t n = c.nGaugeCost > 0 ? c.nGauge / c.nGaugeCost : 0;
        const int32_t x0 = p == 0 ? 0 : 592;
        for (int32_t i = 0; i < n; i++)
            DDBltClip(g_BackBuffer, x0 + 16 * i, 16, 16, 16, g_Bitmap[BMP_EFFECT], 0, 48, KEYED);
    }
}

bool DrawMatchResult() {
    const SURFACE& msg = g_Bitmap[BMP_MESSAGE];
    if (g_Chara[0].nWin >= g_Option.nWinCount)
        DDBltClip(g_BackBuffer, 240, 216, 144, 48, msg, 160, 0, KEYED);
    else if (g_Chara[1].nControl == CONTROL_P2)
        DDBltClip(g_BackBuffer, 240, 216, 144, 48, msg, 160, 48, KEYED);
    else
        DDBltClip(g_BackBuffer, 240, 216, 168, 48, msg, 304, 0, KEYED);
    g_nPhaseCount += 1;
    return g_nPhaseCount >= 255;
}

void BattlePaletteCycle() {
    if (++g_nCycleCount < 5) return;
    g_nCycleCount = 0;
    g_nCycleStep = (g_nCycleStep + 1) % 9;
    DDCyclePalette(g_Palette, 7, 15, g_nCycleStep, 0, g_Palette);
    DDSetPaletteEntries(7, 9, &g_Palette[7]);
}

void DrawFightPhase() {
    CHARA* p1 = &g_Chara[0];
    CHARA* p2 = &g_Chara[1];
    DrawBackground();
    DrawSkillImages(p1);
    DrawSkillImages(p2);
    DrawTraps(p1);
    DrawTraps(p2);
    DrawFighter(p1, false, false);
    DrawFighter(p2, false, false);
    DrawGaugeFlash(p1);
    DrawGaugeFlash(p2);
    DrawWins();
    if (g_nBattleMode != BATTLE_SIMPLE) DrawGaugeStocks();
    DrawShade(p1);
    DrawShade(p2);
    DrawShots(p1);
    DrawShots(p2);
    DrawEffects();
    if (g_nPhaseCount < 60) {
        g_nPhaseCount += 1;
        DrawPhaseSign(1);
    }
    BattlePaletteCycle();
}

void BattleDrawStateIo(STATEBUF* lpBuf) {
    StateField(lpBuf, g_nCycleCount);
    StateField(lpBuf, g_nCycleStep);
}
