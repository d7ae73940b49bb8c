#include "battle/battle_scene.h"

#include "app/crt_rand.h"
#include "app/option.h"
#include "app/scene_state.h"
#include "app/state_buf.h"
#include "battle/chara.h"
#include "battle/collision.h"
#include "battle/image.h"
#include "battle/move.h"
#include "battle/skill.h"
#include "battle_view/battle_draw.h"
#include "com/com.h"
#include "gfx/bitmap.h"
#include "gfx/palette.h"
#include "gfx/surface.h"
#include "input/input.h"
#include "sound/sound.h"

namespace {

// The background is loaded per round (LoadBackground), the rest once per match.
constexpr int BATTLE_BITMAPS[4] = {BMP_BATTLE_CHARA, BMP_EFFECT, BMP_MESSAGE, BMP_OTHER};
constexpr int BATTLE_SURFACES[5] = {BMP_BATTLE_BG, BMP_BATTLE_CHARA, BMP_EFFECT, BMP_MESSAGE, BMP_OTHER};

bool ComGame() {
    return g_Chara[1].nControl == CONTROL_COM;
}

void ResetFighter(CHARA* lpChara) {
    lpChara->bDead = 0;
    lpChara->box.nWidth = lpChara->box.nHeight = 32;
    lpChara->box.nWidthShift = lpChara->box.nHeightShift = 5;
    lpChara->box.nX = g_nStartPos[lpChara->nNum][0];
    lpChara->box.nY = g_nStartPos[lpChara->nNum][1];
    BoxUpdate(&lpChara->box);
    lpChara->nAccelX = lpChara->nAccelY = 0;
    lpChara->nSpeedX = lpChara->nSpeedY = 0;
    lpChara->nAngle = 0;
    lpChara->nSizeRow = 0;
    lpChara->bBig = lpChara->bSmall = 0;
    lpChara->nGauge = lpChara->nGaugeCost;
    for (int32_t s = 0; s < SKILL_SLOTS; s++) {
        lpChara->nSkillFlag[s] = 0;
        lpChara->nSkillTime[s] = 0;
    }
    AnimSet(&lpChara->anmBody, POSE_PLAIN);
    AnimSet(&lpChara->anmGauge, GAUGE_HELD);
}

void LoadBackground() {
    g_nBattleBackground = CrtRand() % 7;
    // A round simulated again after a rollback never closes the window.
    if (!DDShowBattleBackground(g_nBattleBackground) && !g_bDrawOff) PostCloseFailed();
}

void DrawStanding() {
    for (CHARA& c : g_Chara)
        if (!c.bDead) DrawFighter(&c, true, true);
}

void PhaseFadeIn() {
    if (DDFadeInStep(g_Palette, 0, 255, 0, 0, 0, 4.0, g_BasePalette, 0)) {
        g_nBattlePhase = PHASE_READY;
        g_bPaletteDirty = 0;
    }
    DrawBackground();
    DrawFighter(&g_Chara[0], true, false);
    DrawFighter(&g_Chara[1], true, false);
    DrawEffects();
}

void PhaseReady() {
    if (ComGame()) ComReady(&g_Chara[1], &g_Chara[0]);
    MoveReady(&g_Input[0], &g_Chara[0], 0);
    MoveReady(&g_Input[1], &g_Chara[1], 1);
    DrawBackground();
    DrawFighter(&g_Chara[0], true, false);
    DrawFighter(&g_Chara[1], true, false);
    DrawWins();
    DrawPhaseSign(0);
    if (++g_nPhaseCount >= 120) {
        g_nPhaseCount = 0;
        DSPlay(&g_Sound[SND_GO], 0);
        for (CHARA& c : g_Chara) c.nSpeedX = c.nSpeedY = 0;
        g_nBattlePhase = PHASE_FIGHT;
    }
}

void FightSkills() {
    CHARA* p1 = &g_Chara[0];
    CHARA* p2 = &g_Chara[1];
    ImageMove(p1);
    ImageMove(p2);
    ShotMove(p1);
    ShotMove(p2);
    SkillSuction(p1, p2);
    SkillSuction(p2, p1);
    SkillReflect(p1);
    SkillReflect(p2);
    SkillTrigger(p1, &g_Input[0], p2);
    SkillTrigger(p2, &g_Input[1], p1);
    SkillTick(p1, p2);
    SkillTick(p2, p1);
}

void PhaseFight() {
    CHARA* p1 = &g_Chara[0];
    CHARA* p2 = &g_Chara[1];
    InputTrigger(&g_Input[0]);
    InputTrigger(&g_Input[1]);
    if (ComGame()) ComThink(p2, p1);
    MoveFighter(&g_Input[0], p1);
    MoveFighter(&g_Input[1], p2);
    if (g_nBattleMode != BATTLE_SIMPLE) FightSkills();
    if (BoxOverlap(&p1->box, &p2->box)) {
        FighterCollision(p1, p2);
        if (ComGame()) p2->bComReset = 1;
    }
    ShotHit(p1, p2);
    ShotHit(p2, p1);
    TrapHit(p1, p2);
    TrapHit(p2, p1);
    for (CHARA& c : g_Chara) {
        if (IsOutOfArena(&c)) {
            c.bDead = 1;
            DSPlay(&g_Sound[SND_DEATH], 0);
            g_nBattlePhase = PHASE_KNOCKOUT;
        }
    }
    DrawFightPhase();
}

// A finished fall: score for the one left standing, then the next round or the match's end.
void RoundOver(int32_t nFallen) {
    g_nBattlePhase = PHASE_READY;
    CHARA& other = g_Chara[1 - nFallen];
    if (!other.bDead && ++other.nWin >= g_Option.nWinCount) {
        g_nBattlePhase = PHASE_MATCH_OVER;
        return;
    }
    ChangeUndo();
    RoundReset();
}

void PhaseKnockOut() {
    DrawBackground();
    for (int32_t i = 0; i < 2; i++) {
        CHARA* c = &g_Chara[i];
        if (!c->bDead) {
            DrawFighter(c, true, true);
        } else if (DrawKOBurst(c)) {
            RoundOver(i);
        }
    }
    DrawWins();
    BattlePaletteCycle();
}

// g_nPhaseCount is not reset for the result: it counts on from where the go sign left it
// (60 after any fight that outlasted the sign), so the sign stays until the count reaches 255.
void PhaseMatchOver() {
    DrawBackground();
    DrawStanding();
    DrawWins();
    if (DrawMatchResult()) {
        g_bPaletteDirty = 1;
        g_nBattlePhase = PHASE_FADE_OUT;
    }
}

void PhaseFadeOut() {
    if (DDFadeOutStep(g_Palette, 0, 255, 0, 0, 0, 4.0, g_BasePalette, 0)) {
        g_nBattleStep = -1;
        g_bPaletteDirty = 0;
    }
    DrawBackground();
    DrawStanding();
    DrawWins();
    BattlePaletteCycle();
}

}  // namespace

bool BattleSetup() {
    if (!DDLoadBitmaps(BATTLE_BITMAPS)) return false;
    DDLoadBattleBackgrounds();
    for (int32_t p = 0; p < 2; p++) {
        CHARA* c = &g_Chara[p];
        c->nNum = p;
        c->nWin = 0;
        c->anmBody.lpAnimTable = &g_AnimSetBody;
        c->anmGauge.lpAnimTable = &g_AnimSetGauge;
        CHARACTER& chr = c->chr;
        chr.nSkillPower = 2 * chr.nSkillPower;
        chr.nSpeed = SpeedUp(chr.nSpeed / 4 + 8);
        c->nGaugeCost = 550 - chr.nSkillPower;
        if (g_nBattleMode == BATTLE_SHOOTING) c->nGaugeCost /= 3;
        chr.nSkillPower = SlowDown(chr.nSkillPower);
        c->nGaugeCost = SlowDown(c->nGaugeCost);
    }
    RoundReset();
    g_nBattlePhase = PHASE_FADE_IN;
    g_bPaletteDirty = 1;
    g_nBattleStep = 1;
    return true;
}

void RoundReset() {
    g_nFallCount = 0;
    g_nPhaseCount = 0;
    ResetFighter(&g_Chara[0]);
    ResetFighter(&g_Chara[1]);
    if (g_nTitleSelect == TITLE_ROW_VS_COM) ComSetup(&g_Chara[1]);
    LoadBackground();
    for (EFFECT& eff : g_Effect) eff = EFFECT{};
}

void BattleFrame() {
    switch (g_nBattlePhase) {
        case PHASE_FADE_IN:
            PhaseFadeIn();
            break;
        case PHASE_READY:
            PhaseReady();
            break;
        case PHASE_FIGHT:
            PhaseFight();
            break;
        case PHASE_KNOCKOUT:
            PhaseKnockOut();
            break;
        case PHASE_MATCH_OVER:
            PhaseMatchOver();
            break;
        case PHASE_FADE_OUT:
            PhaseFadeOut();
            break;
        default:
            break;
    }
}

void BattleExit() {
    DDReleaseBitmaps(BATTLE_SURFACES);
    DDReleaseBattleBackgrounds();
    g_nBattleStep = 0;
    g_nScene = SCENE_SELECT;
}

bool BattleMain() {
    return SceneMain(&g_nBattleStep, BattleSetup, BattleFrame, BattleExit);
}

void BattleStateIo(STATEBUF* lpBuf) {
    StateField(lpBuf, g_nBattleStep);
    StateField(lpBuf, g_nBattlePhase);
    StateField(lpBuf, g_nFallCount);
    StateField(lpBuf, g_nPhaseCount);
    StateRecord(lpBuf, g_Effect);
    StateField(lpBuf, g_nBattleBackground);
    if (lpBuf->bRestore && g_nBattleStep != 0) DDShowBattleBackground(g_nBattleBackground);
}
