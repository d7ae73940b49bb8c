// COM steering: direction presses, plans, wall braking and the escape search.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/crt_rand.h"
#include "com/com.h"
#include "com_test_util.h"

namespace {

INPUTSTATE Cleared() {
    INPUTSTATE l{};
    ComClearInput(&l);
    return l;
}

TEST(ComSteer, PressedDirectionReplacesItsOpposite) {
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

// A plan as text: l r u d for the direction bits, '.' for an entry left from before (16).
std::string PlanText(const CHARA& c) {
    std::string sz;
    for (int i = 0; i < 16; ++i) {
        const int32_t n = c.nComPlan[i];
        sz += n == COM_LEFT    ? 'l'
              : n == COM_RIGHT ? 'r'
              : n == COM_UP    ? 'u'
              : n == COM_DOWN  ? 'd'
              : n == 16        ? '.'
                               : '?';
    }
    return sz;
}

// Acceleration 23 from rest: after k frames the distance is 23 k (k + 1) / 2.
TEST(ComSteer, Plans) {
    const struct {
        int32_t nDx, nDy;
        const char* szPlan;
    } cases[] = {
        {0, 10240, "dddddddddddddddd"},      // passed on frame 30 (10695): 29 frames, all down
        {0, -1024, ".u.u.u.uu.u.u.u."},      // 8 frames: s = 0, eight entries, leftovers kept
        {10240, 10240, "rdrdrdrddrdrdrdr"},  // 29 and 29: s = 3, a = b = 9, cut to 8 and 8
        {4000, -2500, "rurururrrurururu"},   // 18 and 14: s = 2, a = 9, b = 7
    };
    for (const auto& t : cases) {
        CHARA c = MakeFighter(320, 240);
        std::fill(c.nComPlan, c.nComPlan + 16, 16);
        ComMakePlan(&c, t.nDx, t.nDy);
        EXPECT_EQ(PlanText(c), t.szPlan) << t.nDx << " " << t.nDy;
        EXPECT_EQ(c.nComPlanPos, 0);
    }
}

TEST(ComSteer, PlanCounts) {
    // From rest the distance after 8 frames is exactly 828: across that is reached (7 frames
    // before), down it must be passed, on frame 9 (8 frames before).
    CHARA c = MakeFighter(320, 240);
    EXPECT_EQ(ComPlanCount(&c, 828, true), 7);
    EXPECT_EQ(ComPlanCount(&c, -828, false), 8);
    // Moving right at 230, 1 px to the left: braking 46 a frame reaches speed 0 on frame 5
    // (distance -460), then speeds -23, -46, ... pass -1024 on frame 16 (sum -1058).
    c.nSpeedX = 230;
    EXPECT_EQ(ComPlanCount(&c, -1024, true), 15);
    EXPECT_EQ(c.nSpeedX, 230);  // the record is left as it was
    c.nSpeedX = -2048;          // already fast enough: the first frame reaches it
    EXPECT_EQ(ComPlanCount(&c, -1024, true), 0);
}

// Every nStep-th value of nFrom..nTo, and every value of nFineFrom..nFineTo.
std::vector<int32_t> Span(int32_t nFrom, int32_t nTo, int32_t nStep, int32_t nFineFrom, int32_t nFineTo) {
    std::vector<int32_t> v;
    for (int32_t i = nFrom; i <= nTo; i += nStep) v.push_back(i);
    for (int32_t i = nFineFrom; i <= nFineTo; ++i) v.push_back(i);
    return v;
}

// The count loop written out frame by frame, as a reference for the closed form.
int64_t LiteralCount(int64_t a, int64_t v, int64_t nDist, bool bAxisX) {
    const int64_t nSign = nDist < 0 ? -1 : 1;
    int64_t nSum = 0;
    for (int64_t n = 0;; ++n) {
        int64_t acc = nSign * a;
        if ((v > 0 && acc < 0) || (v < 0 && acc > 0)) acc *= 2;
        v += acc;
        nSum += v;
        const bool bStop =
            bAxisX ? (nSign < 0 ? nSum <= nDist : nSum >= nDist) : (nSign < 0 ? nSum < nDist : nSum > nDist);
        if (bStop) return n;
    }
}

TEST(ComSteer, PlanCountMatchesFrameByFrame) {
    for (int32_t a : {7, 23, 61}) {
        CHARA c = MakeFighter(320, 240, a);
        for (int32_t v : Span(-40000, 40000, 1237, -300, 300)) {
            for (int32_t d : {-655360, -30000, -1024, -828, -1, 1, 23, 828, 5000, 491520}) {
                c.nSpeedX = c.nSpeedY = v;
                EXPECT_EQ(ComPlanCount(&c, d, true), LiteralCount(a, v, d, true))
                    << a << " " << v << " " << d;
                EXPECT_EQ(ComPlanCount(&c, d, false), LiteralCount(a, v, d, false))
                    << a << " " << v << " " << d;
            }
        }
    }
}

TEST(ComSteer, StepPlanWrapsWithADiagonal) {
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
TEST(ComSteer, WallBrakingAtTheLastMoment) {
    CHARA c = MakeFighter(320, 240);
    c.nComWallMargin = 32;
    const auto pressed = [&](int32_t vx, int32_t vy, int32_t cx, int32_t cy) {
        c.nSpeedX = vx, c.nSpeedY = vy, c.box.nCenterX = cx, c.box.nCenterY = cy;
        INPUTSTATE l = Cleared();
        ComAvoidWall(&c, &l);
        return l.wDir;
    };
    EXPECT_EQ(pressed(-2300, 0, 32768 + 56350 - 1, 0), COM_RIGHT);  // would pass x = 32 px
    EXPECT_EQ(pressed(-2300, 0, 32768 + 56350, 0), 0);              // stops right at it
    EXPECT_EQ(pressed(2300, 0, 608 * 1024 - 56350, 0), COM_LEFT);   // right edge 608 px reached
    EXPECT_EQ(pressed(2300, 0, 608 * 1024 - 56350 - 1, 0), 0);
    EXPECT_EQ(pressed(0, 2300, 0, 448 * 1024 - 56350), COM_UP);  // bottom edge 448 px
    EXPECT_EQ(pressed(0, -2300, 0, 32768 + 56350 - 1), COM_DOWN);
}

// The left-edge braking loop written out frame by frame.
bool LiteralBrakeLeft(int64_t a, int64_t v, int64_t x, int64_t nMargin) {
    while (true) {
        v += v < 0 ? 2 * a : a;
        x += v;
        if (x < nMargin) return true;
        if (v > 0) return false;
    }
}

TEST(ComSteer, WallBrakingMatchesFrameByFrame) {
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

// The right and lower edges, and the upper one, written out frame by frame: the braking
// toward them runs mirrored in the closed form. Big and small records brake at their own rate.
bool LiteralBrakeTowardPlus(int64_t a, int64_t v, int64_t x, int64_t nEdge) {
    while (true) {
        v -= v > 0 ? 2 * a : a;
        x += v;
        if (x >= nEdge) return true;
        if (v < 0) return false;
    }
}

TEST(ComSteer, WallBrakingOtherEdgesMatchFrameByFrame) {
    const struct { int32_t bBig, bSmall, a; } sizes[] = {{0, 0, 23}, {1, 0, 11}, {0, 1, 92}};
    for (const auto& t : sizes) {
        CHARA c = MakeFighter(320, 240, 23);
        c.bBig = t.bBig;
        c.bSmall = t.bSmall;
        c.nComWallMargin = 10;
        for (int32_t v : Span(1, 90001, 1999, 1, 200)) {
            for (int32_t x : Span(300000, 700000, 7013, 644000, 644600)) {
                c.nSpeedX = v, c.nSpeedY = 0, c.box.nCenterX = x, c.box.nCenterY = 240 * 1024;
                INPUTSTATE l = Cleared();
                ComAvoidWall(&c, &l);
                EXPECT_EQ(l.wDir == COM_LEFT, LiteralBrakeTowardPlus(t.a, v, x, 630 * 1024)) << v << " " << x;
                // Down toward y = 470 px; up toward 10 px is the same seen upside down.
                c.nSpeedX = 0, c.nSpeedY = v, c.box.nCenterX = 320 * 1024, c.box.nCenterY = x - 163840;
                l = Cleared();
                ComAvoidWall(&c, &l);
                EXPECT_EQ(l.wDir == COM_UP, LiteralBrakeTowardPlus(t.a, v, x - 163840, 470 * 1024))
                    << v << " " << x;
                c.nSpeedY = -v, c.box.nCenterY = 20480 - (x - 163840 - 470 * 1024) - 1;
                l = Cleared();
                ComAvoidWall(&c, &l);
                EXPECT_EQ(l.wDir == COM_DOWN, LiteralBrakeLeft(t.a, -v, c.box.nCenterY, 10240))
                    << v << " " << x;
            }
        }
    }
}

TEST(ComSteer, PlanCountOfBigAndBoostedRecordsMatchesFrameByFrame) {
    CHARA c = MakeFighter(320, 240, 23);
    c.bBig = 1;  // 23 >> 1
    for (int32_t v : Span(-20000, 20000, 3001, -30, 30))
        for (int32_t d : {-30000, -828, 828, 30000}) {
            c.nSpeedX = c.nSpeedY = v;
            EXPECT_EQ(ComPlanCount(&c, d, true), LiteralCount(11, v, d, true)) << v << " " << d;
        }
    c.bBig = 0;
    c.nSkillFlag[1] = 1u << 3;  // one ブースト running: twice the acceleration
    for (int32_t v : Span(-20000, 20000, 3001, -30, 30))
        for (int32_t d : {-30000, -828, 828, 30000}) {
            c.nSpeedX = c.nSpeedY = v;
            EXPECT_EQ(ComPlanCount(&c, d, false), LiteralCount(46, v, d, false)) << v << " " << d;
        }
}

TEST(ComEscape, StillOpponentWalksSideways) {
    // Both at rest: the walk uses (0, 1), 255 steps of 1/1024 px. Neither flight is caught
    // within 170 frames (85 each), candidate 0 (+255) moves toward the middle (+50) and
    // candidate 1 does not, so 135 +- 20 beats 85 +- 20.
    CHARA com = MakeFighter(100, 240), enemy = MakeFighter(620, 240);
    com.nComPredict = 85;
    com.nComWallMargin = 32;
    CrtRandSetState(777);
    EXPECT_EQ(ComFindEscape(&com, &enemy), 1);
    EXPECT_EQ(com.nComTargetX, 255);
    EXPECT_EQ(com.nComTargetY, 0);
    EXPECT_EQ(CrtRandState(), LcgSkip(777, 2));  // one draw per candidate kept
}

TEST(ComEscape, WalkEndsAtTheInnerArenaAfterBothChecks) {
    // COM at (601, 39) px, opponent rolling (2, 2) px a frame. Candidate 0 steps (+2, -2) px:
    // on step 12 x = 625 is clamped to 624 and, in the same step, y = 15 to 16: (+23, -23) px.
    // Candidate 1 steps (-2, +2) px: y = 465 on step 213 is clamped to 464, x = 175: (-426, +425).
    CHARA com = MakeFighter(601, 39), enemy = MakeFighter(100, 400);
    com.nComPredict = 85;
    com.nComWallMargin = 32;
    enemy.nSpeedX = enemy.nSpeedY = 2048;
    CrtRandSetState(5);
    ASSERT_EQ(ComFindEscape(&com, &enemy), 1);
    const bool bFirst = com.nComTargetX == 23 * 1024 && com.nComTargetY == -23 * 1024;
    const bool bSecond = com.nComTargetX == -426 * 1024 && com.nComTargetY == 425 * 1024;
    EXPECT_TRUE(bFirst || bSecond) << com.nComTargetX << " " << com.nComTargetY;
}

TEST(ComEscape, NoEscapeFromAFastRush) {
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
