#include <cmath>
#include <tuple>

#include "battle/move.h"
#include "battle_fixture.h"

using BoxTest = BattleTest;
using MoveTest = BattleTest;

TEST_F(BoxTest, EdgesThatTouchOverlap) {
    PlaceFighter(&B, 131, 100);  // A spans 100..131
    EXPECT_TRUE(BoxOverlap(&A.box, &B.box));
    EXPECT_TRUE(BoxOverlap(&B.box, &A.box));
    PlaceFighter(&B, 132, 100);
    EXPECT_FALSE(BoxOverlap(&A.box, &B.box));
    PlaceFighter(&B, 100, 68);  // B spans 68..99 down to A's top edge minus one
    EXPECT_FALSE(BoxOverlap(&A.box, &B.box));
    PlaceFighter(&B, 100, 69);
    EXPECT_TRUE(BoxOverlap(&A.box, &B.box));
}

TEST_F(BoxTest, KnockOutBoundsAreZeroAnd640By480) {
    auto Out = [&](int32_t nCX, int32_t nCY) {
        A.box.nCenterX = nCX;
        A.box.nCenterY = nCY;
        return IsOutOfArena(&A);
    };
    EXPECT_FALSE(Out(0, 0));
    EXPECT_FALSE(Out(655359, 491519));
    EXPECT_TRUE(Out(-1, 100));
    EXPECT_TRUE(Out(655360, 100));
    EXPECT_TRUE(Out(100, -1));
    EXPECT_TRUE(Out(100, 491520));
}

TEST_F(BoxTest, GaugeFlashRunsFiveTenTwentyFramesThenHolds) {
    AnimSet(&A.anmGauge, 1);
    std::vector<int> seen;
    for (int i = 0; i < 36; i++) seen.push_back(AnimStep(&A.anmGauge));
    std::vector<int> want(4, 1);
    want.insert(want.end(), 10, 2);
    want.insert(want.end(), 20, 3);
    want.insert(want.end(), 2, 0);
    EXPECT_EQ(seen, want);
    EXPECT_EQ(A.anmGauge.nAnim, 0);
    AnimSet(&A.anmBody, 2);  // shield pose blinks every frame
    const int n1 = AnimStep(&A.anmBody), n2 = AnimStep(&A.anmBody), n3 = AnimStep(&A.anmBody);
    EXPECT_EQ(std::tuple(n1, n2, n3), std::tuple(1, 0, 1));
}

TEST_F(MoveTest, CounterSteeringDoublesAndSizeScalesAcceleration) {
    // chr.nSpeed 23 is the rescaled speed a.
    A.nSpeedX = 500;
    Accelerate(&A, 4);
    EXPECT_EQ(std::tuple(A.nAccelX, A.nAccelY), std::tuple(-46, 0));
    Accelerate(&A, 6);
    EXPECT_EQ(A.nAccelX, 23);
    A.nSpeedX = 0;
    Accelerate(&A, 4);
    EXPECT_EQ(A.nAccelX, -23);
    A.bBig = 1;
    Accelerate(&A, 9);
    EXPECT_EQ(std::tuple(A.nAccelX, A.nAccelY), std::tuple(11, 11));
    A.bBig = 0;
    A.bSmall = 1;
    Accelerate(&A, 1);
    EXPECT_EQ(A.nAccelX, -92);
    INPUTSTATE in{};
    in.nDir = 2;
    SteerDirect(&A, &in);
    EXPECT_EQ(A.nSpeedY, -23 * 200 * 4);
    Accelerate(&A, 42);  // not a direction: none
    EXPECT_EQ(A.nAccelX, 0);
}

TEST_F(MoveTest, TwoBoostsTripleAccelerationAndSpin120) {
    A.nSkillFlag[0] = A.nSkillFlag[2] = 1u << SKILL_BOOST;
    INPUTSTATE in{};
    in.nDir = 6;
    MoveFighter(&in, &A);
    EXPECT_EQ(std::tuple(A.nSpeedX, A.box.nX, A.nAngle), std::tuple(69, 100 * 1024 + 69, 120));
    for (int i = 0; i < 2; i++) MoveFighter(&in, &A);
    EXPECT_EQ(A.nAngle, 0);  // 360 wraps to 0
}

TEST_F(MoveTest, ReadyPhaseKeepsEachFighterNearItsCorner) {
    // Steps of 23 x 200 = 4600 from the start centres (143, 111) and (495, 367) pixels; the
    // last step that would leave start +- (128, 96) pixels is undone.
    struct Case {
        int nNum, nDir;
        int32_t nCX, nCY;
    };
    const Case cases[] = {
        {0, 1, 3832, 3264},
        {0, 9, 261432, 196464},
        {1, 1, 364280, 265408},
        {1, 9, 621880, 458608},
    };
    for (const Case& c : cases) {
        CHARA& f = g_Chara[c.nNum];
        PlaceFighter(&f, c.nNum ? 480 : 128, c.nNum ? 352 : 96);
        INPUTSTATE in{};
        in.nDir = c.nDir;
        for (int i = 0; i < 100; i++) MoveReady(&in, &f, c.nNum);
        EXPECT_EQ(f.box.nCenterX, c.nCX) << c.nNum << " dir " << c.nDir;
        EXPECT_EQ(f.box.nCenterY, c.nCY) << c.nNum << " dir " << c.nDir;
        EXPECT_EQ(f.nAngle, 0);
    }
}

TEST_F(BoxTest, DamagedSettingsAreBroughtIntoRange) {
    // Speed below 1 or NaN counts as 1, above 20 as 20; defences outside 1..5 as the nearest end.
    for (auto [dSpeed, nUp, nDown] : {std::tuple{std::nan(""), 100, 100},
                                      {-1.0, 100, 100},
                                      {0.0, 100, 100},
                                      {1e300, 1050, 9},
                                      {2.0, 150, 66}}) {
        g_Option.dGameSpeed = dSpeed;
        EXPECT_EQ(SpeedUp(100), nUp) << dSpeed;
        EXPECT_EQ(SlowDown(100), nDown) << dSpeed;
    }
    A.nControl = 1;
    g_Option.nDefense[1] = -2;
    EXPECT_DOUBLE_EQ(DefenseDivisor(&A), 0.6);
    g_Option.nDefense[1] = 9;
    EXPECT_DOUBLE_EQ(DefenseDivisor(&A), 1.4);
    A.nControl = 7;  // not a controller: the COM's entry
    g_Option.nDefense[2] = 4;
    EXPECT_DOUBLE_EQ(DefenseDivisor(&A), 1.2);
    EXPECT_EQ(std::tuple(SkillListOf(7)->nCount, SkillListOf(1)->nCount, SkillListOf(2)->nCount),
              std::tuple(4, 17, 10));
}
