// The browser page's frame pacing: 90 game frames a second from any display's animation frames.
#include <gtest/gtest.h>

#include <vector>

#include "platform/web/pace.h"

namespace {

// Game frames run over nTicks animation frames dMs apart, starting at dStart.
int FramesOver(WEBPACE& pace, double dStart, double dMs, int nTicks, int* lpMaxPerTick = nullptr) {
    int nTotal = 0;
    for (int i = 0; i < nTicks; ++i) {
        const int n = WebFramesDue(pace, dStart + i * dMs);
        if (lpMaxPerTick && n > *lpMaxPerTick) *lpMaxPerTick = n;
        nTotal += n;
    }
    return nTotal;
}

}  // namespace

TEST(WebPace, NinetyGameFramesASecondTwoAFrameAtMostAndAStallStartsAfresh) {
    // 60 Hz: 1 or 2 game frames an animation frame; 120 and 144 Hz: 0 or 1. Ten seconds of each
    // gives 900 game frames (the first tick runs one at once, the last deadline may fall just after).
    for (double dHz : {60.0, 75.0, 120.0, 144.0}) {
        WEBPACE pace;
        int nMax = 0;
        const int nFrames = FramesOver(pace, 5000.0, 1000.0 / dHz, int(10 * dHz), &nMax);
        EXPECT_NEAR(nFrames, 900, 1) << dHz << " Hz";
        EXPECT_EQ(nMax, dHz < 90 ? 2 : 1) << dHz << " Hz";
    }
    // 30 Hz would need 3 a tick: the game runs at most 2 (a little under 60 a second, as the
    // growing lag restarts the pacing now and then) rather than jump ahead.
    WEBPACE slow;
    int nMax = 0;
    const int nFrames = FramesOver(slow, 0.0, 1000.0 / 30.0, 300, &nMax);
    EXPECT_EQ(nMax, 2);
    EXPECT_GE(nFrames, 540);
    EXPECT_LE(nFrames, 600);
    // At 60 Hz one animation frame comes 33 ms late: the next ones catch up two at a time,
    // each deadline booked from the previous one.
    WEBPACE late;
    // At 0 ms the frame due at 0, at 16.7 the one at 11.1, at 50 those at 22.2 and 33.3 (44.4
    // waits), at 66.7 44.4 and 55.6, at 83.3 66.7 and 77.8: caught up.
    std::vector<int> due;
    for (double dNow : {0.0, 16.7, 50.0, 66.7, 83.3}) due.push_back(WebFramesDue(late, dNow));
    EXPECT_EQ(due, (std::vector<int>{1, 1, 2, 2, 2}));
    EXPECT_NEAR(late.dNext, 8 * WEB_FRAME_MS, 1e-9);
    // A hidden tab gets no animation frames; back after 5 s it runs one frame, not 450.
    WEBPACE pace;
    FramesOver(pace, 0.0, 1000.0 / 60, 60);
    EXPECT_EQ(WebFramesDue(pace, 6000.0), 1);
    EXPECT_NEAR(pace.dNext, 6000.0 + WEB_FRAME_MS, 1e-9);
    // So does a pause the loop asked for (an inactive window).
    pace.bPaced = false;
    EXPECT_EQ(WebFramesDue(pace, 6001.0), 1);
    EXPECT_NEAR(pace.dNext, 6001.0 + WEB_FRAME_MS, 1e-9);
}
