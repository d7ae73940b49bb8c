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

// Records by their acceleration a per frame: plain, big (halved), small (x 4), one ブースト (x 2).
struct Accel {
    int32_t nSpeed, bBig, bSmall, bBoost, a;
};
constexpr Accel kAccels[] = {{7, 0, 0, 0, 7},   {23, 0, 0, 0, 23}, {61, 0, 0, 0, 61},
                             {23, 1, 0, 0, 11}, {23, 0, 1, 0, 92}, {23, 0, 0, 1, 46}};

CHARA Record(const Accel& t) {
    CHARA c = MakeFighter(320, 240, t.nSpeed);
    c.bBig = t.bBig;
    c.bSmall = t.bSmall;
    if (t.bBoost) c.nSkillFlag[1] = 1u << 3;  // ブースト
    return c;
}

TEST(ComSteer, PlanCountMatchesFrameByFrame) {
    for (const Accel& t : kAccels) {
        if (t.bSmall) continue;
        CHARA c = Record(t);
        for (int32_t v : Span(-40000, 40000, 1237, -300, 300)) {
            for (int32_t d : {-655360, -30000, -1024, -828, -1, 1, 23, 828, 5000, 491520}) {
                c.nSpeedX = c.nSpeedY = v;
                EXPECT_EQ(ComPlanCount(&c, d, true), LiteralCount(t.a, v, d, true))
                    << t.a << " " << v << " " << d;
                EXPECT_EQ(ComPlanCount(&c, d, false), LiteralCount(t.a, v, d, false))
                    << t.a << " " << v << " " << d;
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

// Braking toward an edge written out frame by frame, speed v toward it and nDist away: true
// when the record would still reach it.
bool LiteralReachesEdge(int64_t a, int64_t v, int64_t nDist) {
    for (int64_t x = 0;;) {
        v -= v > 0 ? 2 * a : a;
        x += v;
        if (x >= nDist) return true;
        if (v < 0) return false;
    }
}

TEST(ComSteer, WallBrakingMatchesFrameByFrameAtEveryEdge) {
    // Margin 10 px: the right and lower edges are reached at 630 and 470 px, the left and upper
    // ones when the centre falls below 10 px (so nDist is counted from 10 px - 1).
    for (const Accel& t : kAccels) {
        if (t.bBoost) continue;
        CHARA c = Record(t);
        c.nComWallMargin = 10;
        for (int32_t v : Span(1, 90001, 1999, 1, 200)) {
            for (int32_t d : Span(-5000, 400000, 7013, -300, 1200)) {
                const struct {
                    int32_t vx, vy, cx, cy;
                    uint16_t wPress;
                } edges[] = {{v, 0, 630 * 1024 - d, 240 * 1024, COM_LEFT},
                             {-v, 0, 10239 + d, 240 * 1024, COM_RIGHT},
                             {0, v, 320 * 1024, 470 * 1024 - d, COM_UP},
                             {0, -v, 320 * 1024, 10239 + d, COM_DOWN}};
                for (const auto& e : edges) {
                    c.nSpeedX = e.vx, c.nSpeedY = e.vy, c.box.nCenterX = e.cx, c.box.nCenterY = e.cy;
                    INPUTSTATE l = Cleared();
                    ComAvoidWall(&c, &l);
                    EXPECT_EQ(l.wDir == e.wPress, LiteralReachesEdge(t.a, v, d))
                        << t.a << " " << e.wPress << " " << v << " " << d;
                }
            }
        }
    }
}

// A COM at (x, y) px with the strongest row's look-ahead (85 frames) and wall margin (32 px).
CHARA Escaper(int32_t x, int32_t y) {
    CHARA c = MakeFighter(x, y);
    c.nComPredict = 85;
    c.nComWallMargin = 32;
    return c;
}

TEST(ComEscape, StillOpponentWalksSidewaysAndAWalkEndsAtTheInnerArena) {
    // Both at rest: the walk uses (0, 1), 255 steps of 1/1024 px. Neither flight is caught
    // within 170 frames (85 each), candidate 0 (+255) moves toward the middle (+50) and
    // candidate 1 does not, so 135 +- 20 beats 85 +- 20.
    CHARA com = Escaper(100, 240), enemy = MakeFighter(620, 240);
    CrtRandSetState(777);
    EXPECT_EQ(ComFindEscape(&com, &enemy), 1);
    EXPECT_EQ(com.nComTargetX, 255);
    EXPECT_EQ(com.nComTargetY, 0);
    EXPECT_EQ(CrtRandState(), LcgSkip(777, 2));  // one draw per candidate kept

    // COM at (601, 39) px, opponent rolling (2, 2) px a frame. Candidate 0 steps (+2, -2) px:
    // on step 12 x = 625 is clamped to 624 and, in the same step, y = 15 to 16: (+23, -23) px.
    // Candidate 1 steps (-2, +2) px: y = 465 on step 213 is clamped to 464, x = 175: (-426, +425).
    com = Escaper(601, 39), enemy = MakeFighter(100, 400);
    enemy.nSpeedX = enemy.nSpeedY = 2048;
    CrtRandSetState(5);
    ASSERT_EQ(ComFindEscape(&com, &enemy), 1);
    const bool bFirst = com.nComTargetX == 23 * 1024 && com.nComTargetY == -23 * 1024;
    const bool bSecond = com.nComTargetX == -426 * 1024 && com.nComTargetY == 425 * 1024;
    EXPECT_TRUE(bFirst || bSecond) << com.nComTargetX << " " << com.nComTargetY;
}

}  // namespace
