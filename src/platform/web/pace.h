// The pace of game frames in a browser page: 90 a second from the browser's animation frames,
// whatever the display's refresh rate. Each deadline is booked from the previous one, an
// animation frame runs at most two game frames, and after a stall (a hidden tab, a busy machine)
// the pacing starts afresh rather than racing to catch up. No browser here, so tests can run it.
#pragma once

struct WEBPACE {
    double dNext = 0;     // the deadline of the next game frame, in milliseconds
    bool bPaced = false;  // dNext holds a deadline
};

constexpr double WEB_FRAME_MS = 1000.0 / 90.0;
constexpr int WEB_MAX_FRAMES_PER_TICK = 2;
// Further behind than this and the missed frames are dropped.
constexpr double WEB_STALL_MS = 100.0;

// At an animation frame at dNow: the number of game frames to run now, their deadlines booked.
inline int WebFramesDue(WEBPACE& pace, double dNow) {
    if (!pace.bPaced || dNow - pace.dNext > WEB_STALL_MS) {
        pace.dNext = dNow;
        pace.bPaced = true;
    }
    int n = 0;
    while (n < WEB_MAX_FRAMES_PER_TICK && dNow >= pace.dNext) {
        pace.dNext += WEB_FRAME_MS;
        ++n;
    }
    return n;
}
