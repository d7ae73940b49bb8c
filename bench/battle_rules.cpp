// One fight frame of the battle rules for both fighters (movement, skills, images,
// collision, shots, traps, knock-out test), without drawing or the COM. Target: <= 5 us.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/option.h"
#include "battle/collision.h"
#include "battle/image.h"
#include "battle/move.h"
#include "battle/skill.h"
#include "input/input.h"

namespace {
void Reset() {
    g_Option = OPTIONDATA{3, {3, 3, 3}, 2, 0, 1.0, 1, 0};
    g_nBattleMode = 1;
    for (int i = 0; i < 2; i++) {
        CHARA& c = g_Chara[i];
        std::memset(&c, 0, sizeof c);
        c.nNum = c.nControl = i;
        c.chr = g_CharaTable[i ? 6 : 0];
        c.chr.nSpeed = c.chr.nSpeed / 4 + 8;
        c.chr.nSkillPower *= 2;
        c.nGaugeCost = 550 - c.chr.nSkillPower;
        c.nGauge = c.nGaugeCost;
        c.box = BOX{32, 32, 5, 5, g_nStartPos[i][0], g_nStartPos[i][1], 0, 0, 0, 0, 0};
        BoxUpdate(&c.box);
        c.anmBody.lpAnimTable = &g_AnimSetBody;
        c.anmGauge.lpAnimTable = &g_AnimSetGauge;
        const int32_t nSkills[2][4] = {{SKILL_SHOT, SKILL_CLONE4, SKILL_SUCTION, SKILL_BOOST},
                                       {SKILL_TRAP, SKILL_AFTERIMAGE, SKILL_ATTACK, SKILL_REFLECT}};
        std::memcpy(c.nSkill, nSkills[i], sizeof c.nSkill);
    }
    std::memset(g_Effect, 0, sizeof g_Effect);
}

void FightFrame(uint32_t nFrame) {
    CHARA* P = g_Chara;
    INPUTSTATE in[2]{};
    for (int i = 0; i < 2; i++) {
        const BOX &me = P[i].box, &him = P[1 - i].box;
        in[i].nDir = 5 + (him.nCenterX > me.nCenterX) - (him.nCenterX < me.nCenterX) +
                     3 * ((him.nCenterY > me.nCenterY) - (him.nCenterY < me.nCenterY));
        if (nFrame % 37 == 0) in[i].wButton = uint16_t(1u << ((nFrame / 37 + i) % 4));
    }
    MoveFighter(&in[0], &P[0]);
    MoveFighter(&in[1], &P[1]);
    for (int i = 0; i < 2; i++) ImageMove(&P[i]);
    for (int i = 0; i < 2; i++) ShotMove(&P[i]);
    SkillSuction(&P[0], &P[1]);
    SkillSuction(&P[1], &P[0]);
    for (int i = 0; i < 2; i++) SkillReflect(&P[i]);
    for (int i = 0; i < 2; i++) SkillTrigger(&P[i], &in[i], &P[1 - i]);
    for (int i = 0; i < 2; i++) SkillTick(&P[i], &P[1 - i]);
    if (BoxOverlap(&P[0].box, &P[1].box)) FighterCollision(&P[0], &P[1]);
    ShotHit(&P[0], &P[1]);
    ShotHit(&P[1], &P[0]);
    TrapHit(&P[0], &P[1]);
    TrapHit(&P[1], &P[0]);
    for (EFFECT& e : g_Effect)
        if (e.nTime) e.nTime--;
    if (IsOutOfArena(&P[0]) || IsOutOfArena(&P[1])) {
        ChangeUndo();
        Reset();
    }
}

void BM_FightFrameRules(benchmark::State& state) {
    Reset();
    uint32_t nFrame = 0;
    for (auto _ : state) {
        FightFrame(nFrame++);
        benchmark::DoNotOptimize(g_Chara);
    }
}
BENCHMARK(BM_FightFrameRules);
}  // namespace
