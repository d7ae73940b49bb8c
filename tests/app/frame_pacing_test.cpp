// Frame pacing on the headless clock, which moves only when the game sleeps.
#include <gtest/gtest.h>

#include <vector>

#include "app/frame.h"
#include "platform/headless/headless.h"

// The first frame never waits and 0 fps never books; frames start 11 ms apart and late frames
// are not made up; the clock's wrap neither stalls nor rushes.
TEST(FramePacing, DeadlinesElevenMsApartOverLateFramesAndTheClockWrap) {
    Headless_Reset();
    FrameLimitReset();
    Headless_SetTicks(5000);
    EXPECT_TRUE(FrameLimit(0));
    EXPECT_TRUE(FrameLimit(0));
    EXPECT_TRUE(FrameLimit(90));
    EXPECT_EQ(g_dwNextFrame, 5011u);
    EXPECT_FALSE(FrameLimit(90));
    Headless_SetTicks(5010);
    EXPECT_FALSE(FrameLimit(90));
    Headless_SetTicks(5011);
    EXPECT_TRUE(FrameLimit(90));
    EXPECT_EQ(g_dwNextFrame, 5022u);

    FrameLimitReset();
    Headless_SetTicks(1000);
    FrameWait(90);
    EXPECT_EQ(Plat_GetTicks(), 1000u);
    // Two quick scenes (2 ms each), a slow one (20 ms: no wait, the next deadline 11 ms on), 10 ms.
    std::vector<uint32_t> ticks;
    for (uint32_t nScene : {2u, 2u, 20u, 10u}) {
        Headless_AdvanceTicks(nScene);
        FrameWait(90);
        ticks.push_back(Plat_GetTicks());
    }
    EXPECT_EQ(ticks, (std::vector<uint32_t>{1011, 1022, 1042, 1053}));

    // Booked just before the wrap, the deadline lies past zero: the wait still lasts 11 ms.
    FrameLimitReset();
    Headless_SetTicks(0xFFFFFFFAu);
    FrameWait(90);
    Headless_AdvanceTicks(1);
    FrameWait(90);
    EXPECT_EQ(Plat_GetTicks(), 5u);
    // A deadline booked before the clock wrapped below it: the frame may start at once.
    FrameLimitReset();
    Headless_SetTicks(0xFFFFFFF0u);
    EXPECT_TRUE(FrameLimit(90));
    Headless_SetTicks(3);
    EXPECT_TRUE(FrameLimit(90));
    EXPECT_EQ(g_dwNextFrame, 14u);
}
