// The loop in a browser page: the browser's animation frames drive the game, which must never
// block the page. Game frames keep their own pace of 90 a second whatever the display's refresh
// rate: each deadline is booked from the previous one, an animation frame runs at most two game
// frames, and after a stall (a hidden tab, a busy machine) the pacing starts afresh rather than
// racing to catch up.
#include <emscripten.h>

#include "platform/plat_loop.h"

namespace {

constexpr double kFrameMs = 1000.0 / 90.0;
constexpr int kMaxFramesPerTick = 2;
// Further behind than this and the missed frames are dropped.
constexpr double kStallMs = 100.0;

struct WEBLOOP {
    PlatLoopPass (*lpfnPass)() = nullptr;
    int (*lpfnEnd)() = nullptr;
    double dNext = 0;
    bool bPaced = false;  // dNext holds a deadline
};
WEBLOOP g_Loop;

void EndGame() {
    emscripten_cancel_main_loop();
    const int nExit = g_Loop.lpfnEnd();
    EM_ASM({ if (Module.onGameEnd) Module.onGameEnd($0); }, nExit);
}

void Tick() {
    const double dNow = emscripten_get_now();
    if (!g_Loop.bPaced || dNow - g_Loop.dNext > kStallMs) {
        g_Loop.dNext = dNow;
        g_Loop.bPaced = true;
    }
    for (int n = 0; n < kMaxFramesPerTick && dNow >= g_Loop.dNext; ++n) {
        const double dStart = emscripten_get_now();
        switch (g_Loop.lpfnPass()) {
            case PLAT_LOOP_END:
                EndGame();
                return;
            case PLAT_LOOP_IDLE:
                // Nothing runs while the page is inactive; pacing restarts when it is back.
                g_Loop.bPaced = false;
                return;
            case PLAT_LOOP_FRAME:
                break;
        }
        // For the page: how long the frame took, in milliseconds.
        EM_ASM({ if (Module.onGameFrame) Module.onGameFrame($0); }, emscripten_get_now() - dStart);
        g_Loop.dNext += kFrameMs;
    }
}

}  // namespace

int Plat_RunLoop(PlatLoopPass (*lpfnPass)(), int (*lpfnEnd)()) {
    g_Loop.lpfnPass = lpfnPass;
    g_Loop.lpfnEnd = lpfnEnd;
    g_Loop.bPaced = false;
    // 0: at the browser's animation frames; true: this call does not return.
    emscripten_set_main_loop(Tick, 0, true);
    return 0;
}

bool Plat_PacesFrames() {
    return true;
}
