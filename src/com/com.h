// The computer player: fills player 2's input record each battle frame, deciding by
// simulating copies of both fighters with the game's own movement rules.
// Its state lives in the COM block at the tail of CHARA, so a copied record carries it.
#pragma once
#include <cstdint>

struct CHARA;
struct INPUTSTATE;

// Direction bits of wDir and of a plan entry.
enum { COM_LEFT = 1, COM_RIGHT = 2, COM_UP = 4, COM_DOWN = 8 };
enum { COM_PLAN_LEN = 16, COM_STRENGTHS = 5 };

// One row of the strength table.
struct COMSTRENGTH {
    int32_t nThinkInterval;
    int32_t nMoveFrames;
    int32_t nWallMargin;  // pixels
    int32_t nAhead12;
    int32_t nRate12;  // per mille
    int32_t nAhead3;
    int32_t nRate3;
    int32_t nRate4;
};
extern const COMSTRENGTH g_ComStrength[COM_STRENGTHS];

// Round start of a VS COM game, after the positions are set.
void ComSetup(CHARA* lpCom);
// Ready phase, every frame, before the fighters move.
void ComReady(CHARA* lpCom, CHARA* lpEnemy);
// Fight phase, every frame, after InputTrigger and before the fighters move.
void ComThink(CHARA* lpCom, CHARA* lpEnemy);

// rand() % 100 + 1 <= n; one draw.
bool RandPercent(int32_t n);
// rand() % 1000 + 1 <= nRate; one draw.
bool RandPerMille(int32_t nRate);

// Steering primitives; they work the same on the real records and on copies.
void ComClearInput(INPUTSTATE* lpInput);
void ComPressDir(INPUTSTATE* lpInput, int32_t nBits);
void ComAdvance(CHARA* lpCopy, int32_t nDir);
void ComMakePlan(CHARA* lpChara, int32_t nDx, int32_t nDy);
// Frames one axis of a plan needs to cover nDist from the record's present speed (the count
// before the frame that reaches it), at most 2^31 - 1.
int32_t ComPlanCount(CHARA* lpChara, int32_t nDist, bool bAxisX);
void ComStepPlan(CHARA* lpChara, INPUTSTATE* lpInput);
void ComAvoidWall(CHARA* lpChara, INPUTSTATE* lpInput);
// Dodge mode: 1 and a new plan when an escape point is found, else 0.
int32_t ComFindEscape(CHARA* lpCom, CHARA* lpEnemy);
