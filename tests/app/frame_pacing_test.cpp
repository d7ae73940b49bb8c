// Frame pacing on the headless clock, which moves only when the game sleeps.
#include <gtest/gtest.h>

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
    Headless_AdvanceTicks(2);  // a quick scene
    FrameWait(90);
    EXPECT_EQ(Plat_GetTicks(), 1011u);
    Headless_AdvanceTicks(2);
    FrameWait(90);
    EXPECT_EQ(Plat_GetTicks(), 1022u);
    Headless_AdvanceTicks(20);  // a slow scene: no wait, the next deadline 11 ms on
    FrameWait(90);
    EXPECT_EQ(Plat_GetTicks(), 1042u);
    Headless_AdvanceTicks(10);
    FrameWait(90);
    EXPECT_EQ(Plat_GetTicks(), 1053u);

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
