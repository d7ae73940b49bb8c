// COM steering: direction presses, plans, wall braking and the escape search.
#include <gtest/gtest.h>

#include <vector>

#include "app/crt_rand.h"
#include "com/com.h"
#include "com_test_util.h"

namespace {

INPUTSTATE Cleared()
{
    INPUTSTATE l{};
    ComClearInput(&l);
    return l;
}

TEST(ComSteer, PressedDirectionReplacesItsOpposite)
{
    INPUTSTATE l = Cleared();
    EXPECT_EQ(l.nDir, 5);
    ComPressDir(&l, COM_LEFT | COM_UP);
    EXPECT_EQ(l.wDir, COM_LEFT | COM_UP);
    EXPECT_EQ(l.nDir, 1);
    ComPressDir(&l, COM_LEFT);  // already held: no second step
    EXPECT_EQ(l.nDir, 1);
    ComPressDir(&l, COM_RIGHT | COM_DOWN);
    EXPECT_EQ(l.wDir, COM_RIGHT | COM_DOWN);
    EXPECT_EQ(l.nDir, 9);
    l = Cleared();
    ComPressDir(&l, COM_LEFT | COM_RIGHT);  // right comes later and wins
    EXPECT_EQ(l.wDir, COM_RIGHT);
    EXPECT_EQ(l.nDir, 6);
}

// Acceleration 23 from rest: after k frames the distance is 23 k (k + 1) / 2.
TEST(ComSteer, PlanOnOneAxis)
{
    CHARA c = MakeFighter(320, 240);
    for (int i = 0; i < 16; ++i) c.nComPlan[i] = 20 + i;
    // 10 px down: passed (strictly) on frame 30 (10695 > 10240), so 29 frames; all down.
    ComMakePlan(&c, 0, 10240);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(c.nComPlan[i], COM_DOWN) << i;

    // 1 px up: passed on frame 9, 8 frames in all: s = 0, eight up entries, leftovers kept.
    for (int i = 0; i < 16; ++i) c.nComPlan[i] = 20 + i;
    ComMakePlan(&c, 0, -1024);
    const int32_t nExpect[16] = {20, 4, 22, 4, 24, 4, 26, 4, 4, 21, 4, 23, 4, 25, 4, 27};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(c.nComPlan[i], nExpect[i]) << i;
    EXPECT_EQ(c.nComPlanPos, 0);
}

TEST(ComSteer, PlanInterleavesEqualAxes)
{
    // 29 frames on each axis: s = 3, a = b = 9, cut to 8 and 8.
    CHARA c = MakeFighter(320, 240);
    ComMakePlan(&c, 10240, 10240);
    const int32_t x = COM_RIGHT, y = COM_DOWN;
    const int32_t nExpect[16] = {x, y, x, y, x, y, x, y, y, x, y, x, y, x, y, x};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(c.nComPlan[i], nExpect[i]) << i;
}

TEST(ComSteer, PlanWithUnevenAxes)
{
    // Right 4000: reached on frame 19 (4370), 18 frames. Up 2500: passed on frame 15 (2760),
    // 14 frames. s = 2, a = 9, b = 7; the interleave stops where i + a would reach 16.
    CHARA c = MakeFighter(320, 240);
    ComMakePlan(&c, 4000, -2500);
    const int32_t x = COM_RIGHT, y = COM_UP;
    const int32_t nExpect[16] = {x, y, x, y, x, y, x, x, x, y, x, y, x, y, x, y};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(c.nComPlan[i], nExpect[i]) << i;
}

TEST(ComSteer, PlanCountReachesAcrossPassesDown)
{
    // From rest the distance after 8 frames is exactly 828: across that is reached (7 frames
    // before), down it must be passed, on frame 9 (8 frames before).
    CHARA c = MakeFighter(320, 240);
    EXPECT_EQ(ComPlanCount(&c, 828, true), 7);
    EXPECT_EQ(ComPlanCount(&c, 828, false), 8);
    EXPECT_EQ(ComPlanCount(&c, -828, true), 7);
    EXPECT_EQ(ComPlanCount(&c, -828, false), 8);

    // Moving right at 230, 1 px to the left: braking 46 a frame reaches speed 0 on frame 5
    // (distance -460), then speeds -23, -46, ... pass -1024 on frame 16 (sum -1058).
    c.nSpeedX = 230;
    EXPECT_EQ(ComPlanCount(&c, -1024, true), 15);
    EXPECT_EQ(c.nSpeedX, 230);  // the record is left as it was
    // Already fast enough toward the target: the first frame reaches it.
    c.nSpeedX = -2048;
    EXPECT_EQ(ComPlanCount(&c, -1024, true), 0);
}

// Every nStep-th value of nFrom..nTo, and every value of nFineFrom..nFineTo.
std::vector<int32_t> Span(int32_t nFrom, int32_t nTo, int32_t nStep, int32_t nFineFrom, int32_t nFineTo)
{
    std::vector<int32_t> v;
    for (int32_t i = nFrom; i <= nTo; i += nStep) v.push_back(i);
    for (int32_t i = nFineFrom; i <= nFineTo; ++i) v.push_back(i);
    return v;
}

// The count loop written out frame by frame, as a reference for the closed form.
int64_t LiteralCount(int64_t a, int64_t v, int64_t nDist, bool bAxisX)
{
    const int64_t nSign = nDist < 0 ? -1 : 1;
    int64_t nSum = 0;
    for (int64_t n = 0;; ++n) {
        int64_t acc = nSign * a;
        if ((v > 0 && acc < 0) || (v < 0 && acc > 0)) acc *= 2;
        v += acc;
        nSum += v;
        const bool bStop = bAxisX ? (nSign < 0 ? nSum <= nDist : nSum >= nDist)
                                  : (nSign < 0 ? nSum < nDist : nSum > nDist);
        if (bStop) return n;
    }
}

TEST(ComSteer, PlanCountMatchesFrameByFrame)
{
    for (int32_t a : {7, 23, 61}) {
        CHARA c = MakeFighter(320, 240, a);
        for (int32_t v : Span(-40000, 40000, 1237, -300, 300)) {
            for (int32_t d : {-655360, -30000, -1024, -828, -1, 1, 23, 828, 5000, 491520}) {
                c.nSpeedX = c.nSpeedY = v;
                EXPECT_EQ(ComPlanCount(&c, d, true), LiteralCount(a, v, d, true)) << a << " " << v << " " << d;
                EXPECT_EQ(ComPlanCount(&c, d, false), LiteralCount(a, v, d, false)) << a << " " << v << " " << d;
            }
        }
    }
}

TEST(ComSteer, StepPlanWrapsWithADiagonal)
{
    CHARA c = MakeFighter(320, 240);
    for (int i = 0; i < 16; ++i) c.nComPlan[i] = COM_LEFT;
    c.nComPlan[15] = COM_RIGHT;
    c.nComPlan[0] = COM_UP;
    c.nComPlanPos = 15;
    INPUTSTATE l = Cleared();
    ComStepPlan(&c, &l);
    EXPECT_EQ(l.wDir, COM_RIGHT | COM_UP);
    EXPECT_EQ(l.nDir, 3);
    EXPECT_EQ(c.nComPlanPos, 1);
    // Equal neighbours: one entry, no diagonal.
    l = Cleared();
    ComStepPlan(&c, &l);
    EXPECT_EQ(l.wDir, COM_LEFT);
    EXPECT_EQ(c.nComPlanPos, 2);
}

// Margin 32 px, speed 2300, braking 46 a frame: 49 frames still move, covering 56350.
TEST(ComSteer, WallBrakingAtTheLastMoment)
{
    CHARA c = MakeFighter(320, 240);
    c.nComWallMargin = 32;
    c.nSpeedX = -2300;
    c.box.nCenterX = 32768 + 56350 - 1;  // would stop just past x = 32 px
    INPUTSTATE l = Cleared();
    ComAvoidWall(&c, &l);
    EXPECT_EQ(l.wDir, COM_RIGHT);
    EXPECT_EQ(l.nDir, 6);
    c.box.nCenterX += 1;  // stops exactly at 32 px
    l = Cleared();
    ComAvoidWall(&c, &l);
    EXPECT_EQ(l.wDir, 0);

    c.nSpeedX = 2300;  // toward the right edge at 608 px
    c.box.nCenterX = 608 * 1024 - 56350;
    l = Cleared();
    ComAvoidWall(&c, &l);
    EXPECT_EQ(l.wDir, COM_LEFT);
    c.box.nCenterX -= 1;
    l = Cleared();
    ComAvoidWall(&c, &l);
    EXPECT_EQ(l.wDir, 0);

    c.nSpeedX = 0;  // the vertical checks use the height
    c.nSpeedY = 2300;
    c.box.nCenterY = 448 * 1024 - 56350;
    l = Cleared();
    ComAvoidWall(&c, &l);
    EXPECT_EQ(l.wDir, COM_UP);
    EXPECT_EQ(l.nDir, 2);
}

// The left-edge braking loop written out frame by frame.
bool LiteralBrakeLeft(int64_t a, int64_t v, int64_t x, int64_t nMargin)
{
    while (true) {
        v += v < 0 ? 2 * a : a;
        x += v;
        if (x < nMargin) return true;
        if (v > 0) return false;
    }
}

TEST(ComSteer, WallBrakingMatchesFrameByFrame)
{
    for (int32_t a : {7, 23, 61}) {
        CHARA c = MakeFighter(320, 240, a);
        c.nComWallMargin = 10;
        for (int32_t v : Span(-90001, -1, 997, -300, -1)) {
            for (int32_t x : Span(-5000, 700000, 12011, 10000, 10500)) {
                c.nSpeedX = v;
                c.box.nCenterX = x;
                INPUTSTATE l = Cleared();
                ComAvoidWall(&c, &l);
                EXPECT_EQ(l.wDir == COM_RIGHT, LiteralBrakeLeft(a, v, x, 10240)) << a << " " << v << " " << x;
            }
        }
    }
}

TEST(ComEscape, StillOpponentWalksSideways)
{
    // Both at rest: the walk uses (0, 1), 255 steps of 1/1024 px. Candidate 0 (+255) moves
    // toward the middle (+50), candidate 1 does not, so 135 +- 20 beats 85 +- 20.
    CHARA com = MakeFighter(200, 240), enemy = MakeFighter(500, 240);
    com.nComPredict = 85;
    com.nComWallMargin = 32;
    CrtRandSetState(777);
    EXPECT_EQ(ComFindEscape(&com, &enemy), 1);
    EXPECT_EQ(com.nComTargetX, 255);
    EXPECT_EQ(com.nComTargetY, 0);
    EXPECT_EQ(CrtRandState(), LcgSkip(777, 2));  // one draw per candidate kept
}

TEST(ComEscape, NoEscapeFromAFastRush)
{
    // The opponent rushes in at 20 px a frame from 70 px away: caught in flight either way.
    CHARA com = MakeFighter(320, 240), enemy = MakeFighter(250, 240);
    com.nComPredict = 85;
    com.nComWallMargin = 32;
    enemy.nSpeedX = 20480;
    CrtRandSetState(777);
    EXPECT_EQ(ComFindEscape(&com, &enemy), 0);
    EXPECT_EQ(CrtRandState(), 777u);
}

}  // namespace
