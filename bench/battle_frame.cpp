// One whole fight frame: the rules of both fighters and the complete picture, with both
// fighters turning, skills running on both sides and sparks on screen.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>

#include "app/frame.h"
#include "app/option.h"
#include "battle/battle_scene.h"
#include "battle/chara.h"
#include "battle/skill.h"
#include "gfx/bitmap.h"
#include "gfx/surface.h"
#include "input/input.h"

namespace {

void PlaceFighter(CHARA& c, int nNum, int nChara, int x, int y, int nAngle) {
    c = CHARA{};
    c.nNum = nNum;
    c.nControl = nNum;
    c.chr = g_CharaTable[nChara];
    c.box.nWidth = c.box.nHeight = 32;
    c.box.nWidthShift = c.box.nHeightShift = 5;
    c.box.nX = x * 1024;
    c.box.nY = y * 1024;
    BoxUpdate(&c.box);
    c.nAngle = nAngle;
    c.nSpeedX = 700;
    c.nSpeedY = -400;
    c.nGaugeCost = 200;
    c.nGauge = 450;
    c.anmBody.lpAnimTable = &g_AnimSetBody;
    c.anmGauge.lpAnimTable = &g_AnimSetGauge;
}

void RunSkill(CHARA& c, int nSlot, int nId) {
    g_SkillHandler[nId](&c, nSlot);
    c.nSkillTime[nSlot] = 1000000;
}

void BattleFrameBench(benchmark::State& state) {
    if (chdir(POMRIN_DATA_DIR) != 0) {
        state.SkipWithError("no data folder");
        return;
    }
    DDCreateSurface(g_BackBuffer, 640, 480, 0, 0);
    for (int nId : {BMP_BATTLE_CHARA, BMP_EFFECT, BMP_MESSAGE, BMP_OTHER}) {
        const BITMAPLISTENTRY& row = g_BitmapList[nId];
        DDLoadBitmap(g_Bitmap[nId], row.szFile, row.bColorKey, 8, row.bSysMem);
    }
    DDLoadBattleBackground(g_szBattleBackground[0]);
    g_nBattleMode = 1;
    g_nTitleSelect = 1;
    g_nBattlePhase = PHASE_FIGHT;
    g_nPhaseCount = 0;  // the go sign shows too
    PlaceFighter(g_Chara[0], 0, 0, 250, 200, 30);
    PlaceFighter(g_Chara[1], 1, 10, 360, 260, 200);
    RunSkill(g_Chara[0], 0, SKILL_ATTACK);  // aura
    RunSkill(g_Chara[0], 1, SKILL_CLONE4);  // three clones
    RunSkill(g_Chara[0], 2, SKILL_SHOT);
    RunSkill(g_Chara[1], 0, SKILL_TRAP);
    g_Chara[1].slot[0][0].nCount = 100;  // armed
    RunSkill(g_Chara[1], 1, SKILL_AFTERIMAGE);
    RunSkill(g_Chara[1], 2, SKILL_CLONE);
    for (int i = 0; i < 4; i++) g_Effect[i] = EFFECT{i % 3, 100 + 90 * i, 300, 1000000};
    std::memset(g_Input, 0, sizeof g_Input);
    g_Input[0].nDir = g_Input[1].nDir = 5;

    CHARA start[2];
    std::memcpy(start, g_Chara, sizeof start);
    int nFrame = 0;
    for (auto _ : state) {
        // Every 64 frames back to the start, so nobody rolls out and the skills keep running.
        if ((++nFrame & 63) == 0) {
            std::memcpy(g_Chara, start, sizeof start);
            g_nBattlePhase = PHASE_FIGHT;
        }
        BattleFrame();
        benchmark::DoNotOptimize(g_BackBuffer.lpSurface[0]);
    }
}
BENCHMARK(BattleFrameBench)->Unit(benchmark::kMicrosecond);

}  // namespace
