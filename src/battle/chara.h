// The combatant record, the character table and the battle-wide state.
#pragma once
#include <array>
#include <cstdint>

// Body rectangle; positions in fixed point (1024 = one pixel), sizes in pixels.
struct BOX {
    int32_t nWidth;
    int32_t nHeight;
    int32_t nWidthShift;  // log2 of the width, for the drawing
    int32_t nHeightShift;
    int32_t nX;       // left edge
    int32_t nY;       // top edge
    int32_t nBottom;  // derived by BoxUpdate
    int32_t nRight;
    int32_t nTop;
    int32_t nCenterX;
    int32_t nCenterY;
};

// One row of a frame list: sprite index (or -1 hold, -2 loop, -3 switch), duration, unused.
struct ANIMROW {
    int32_t nSprite;
    int32_t nTime;  // frames; for -3 the animation to switch to
    int32_t nUnused;
};
// An animation set: one frame list per animation number.
struct ANIMSET {
    const ANIMROW* const* lpList;
    int32_t nCount;
};

struct ANIM {
    int32_t nFrame;
    int32_t nCount;
    const ANIMSET* lpAnimTable;
    int32_t nAnim;
};

// A body made by a skill: clone, shot, trap or afterimage.
struct IMAGE {
    BOX box;
    int32_t nCount;  // trap: arming frames up to 100; shot: frames of flight
    int32_t nSizeRow;
    int32_t bBig;
};

// One row of the character table (48 bytes). Names are UTF-8 here.
struct CHARACTER {
    char szName[32];
    int32_t nId;  // also the sprite column
    int32_t nWeight;
    int32_t nSpeed;
    int32_t nSkillPower;
};
static_assert(sizeof(CHARACTER) == 48);

enum { CHARA_COUNT = 12, SKILL_SLOTS = 3, SKILL_BUTTONS = 4, SLOT_IMAGES = 3 };
// Who steers a fighter (CHARA::nControl).
enum { CONTROL_P1 = 0, CONTROL_P2 = 1, CONTROL_COM = 2 };

struct CHARA {
    int32_t nNum;      // 0 player 1, 1 player 2
    int32_t nControl;  // CONTROL_*; also the index of the defence setting
    uint8_t bDead;
    int32_t nAccelX, nAccelY;
    int32_t nSpeedX, nSpeedY;
    int32_t nMass;
    int32_t nSlotSpeedX[SKILL_SLOTS], nSlotSpeedY[SKILL_SLOTS];
    int32_t nWin;
    int32_t nSkill[SKILL_BUTTONS];
    uint32_t nSkillFlag[SKILL_SLOTS];  // 1 << skill id, 0 = slot free
    int32_t nSkillTime[SKILL_SLOTS];
    int32_t nGauge;
    int32_t nGaugeCost;
    ANIM anmBody;
    ANIM anmGauge;
    BOX box;
    int32_t nAngle;    // degrees 0..359
    int32_t nSizeRow;  // 0 normal, 64 big, 192 small
    int32_t bBig;
    int32_t bSmall;
    CHARACTER chr;
    IMAGE slot[SKILL_SLOTS][SLOT_IMAGES];

    // COM opponent state; a copy of the record carries it along.
    int32_t nComReadyCount;
    int32_t nComReadyBits;
    int32_t nComMode;  // 0 chase, 1 dodge
    int32_t nComPredict;
    int32_t bComReset;
    int32_t nComChaseCount;
    int32_t bComIncoming;
    int32_t nComThinkInterval;
    int32_t nComThinkCount;
    int32_t nComMoveFrames;
    int32_t nComMoveCount;
    int32_t nComTargetX, nComTargetY;
    int32_t nComPlan[16];
    int32_t nComPlanPos;
    int32_t nComWallMargin;
    int32_t nComAhead12;
    int32_t nComRate12;
    int32_t bComDone12;
    int32_t nComAhead3;
    int32_t nComRate3;
    int32_t bComDone3;
    int32_t nComRate4;
    int32_t bComDone4;
    int32_t nComStrength;
};

// Impact spark; nTime 0 = entry free.
struct EFFECT {
    int32_t nType;   // 0 small, 1 middle, 2 large
    int32_t nX, nY;  // pixels, top-left
    int32_t nTime;
};

enum { EFFECT_COUNT = 8 };

extern const std::array<CHARACTER, CHARA_COUNT> g_CharaTable;

extern CHARA g_Chara[2];
extern EFFECT g_Effect[EFFECT_COUNT];
extern int32_t g_nBattlePhase;  // 1 fade-in, 2 ready, 3 fight, 4 knock-out, 5 match over, 6 fade-out
extern int32_t g_nBattleStep;   // 0 set-up pending, 1 running, -1 leaving
extern int32_t g_nFallCount;
extern int32_t g_nPhaseCount;
extern int32_t g_nBattleBackground;      // arena of the round, 0..6 (g_szBattleBackground)
extern const int32_t g_nStartPos[2][2];  // start corners, fixed point

// Body animations (the poses skills hold) and gauge animations.
enum { POSE_PLAIN = 0, POSE_ATTACK = 1, POSE_GUARD = 2, POSE_HIDDEN = 3, POSE_SUCTION = 4 };
enum { GAUGE_HELD = 0, GAUGE_FLASH = 1 };
extern const ANIMSET g_AnimSetBody;
extern const ANIMSET g_AnimSetGauge;

void BoxUpdate(BOX* lpBox);
bool BoxOverlap(const BOX* lpBoxA, const BOX* lpBoxB);
void AnimSet(ANIM* lpAnim, int32_t nAnim);
int32_t AnimStep(ANIM* lpAnim);
bool IsOutOfArena(const CHARA* lpChara);
int32_t SkillCount(const CHARA* lpChara, int32_t nId);
bool SkillActive(const CHARA* lpChara, int32_t nId);
bool SkillPoseFree(const CHARA* lpChara);

// Game-speed scalings, each truncated toward zero.
int32_t SpeedUp(int32_t v);
int32_t SlowDown(int32_t v);
int32_t ImpactScale(int32_t v);

// Settings as the rules may use them: a damaged settings file must not reach a division,
// a conversion or a table index unchecked.
double BattleGameSpeed();                     // 1..20; anything else (NaN too) brought in range
double DefenseDivisor(const CHARA* lpChara);  // nDefense[nControl] x 0.2 + 0.4, defence 1..5

// Records a spark in the first free g_Effect entry; none when all are busy.
void EffectAdd(int32_t nType, int32_t nX, int32_t nY);

struct STATEBUF;
// Saves or restores both fighters: bodies, skills, their clones, shots and traps, COM state.
void CharaStateIo(STATEBUF* lpBuf);
