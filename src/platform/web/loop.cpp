// The loop in a browser page: the browser's animation frames drive the game, which must never
// block the page; pace.h decides how many game frames each animation frame runs.
#include <emscripten.h>

#include "platform/plat_loop.h"
#include "platform/web/pace.h"

namespace {

struct WEBLOOP {
    PlatLoopPass (*lpfnPass)() = nullptr;
    int (*lpfnEnd)() = nullptr;
    WEBPACE pace;
};
WEBLOOP g_Loop;

void EndGame() {
    emscripten_cancel_main_loop();
    const int nExit = g_Loop.lpfnEnd();
    EM_ASM({ if (Module.onGameEnd) Module.onGameEnd($0); }, nExit);
}

void Tick() {
    const int nDue = WebFramesDue(g_Loop.pace, emscripten_get_now());
    for (int n = 0; n < nDue; ++n) {
        const double dStart = emscripten_get_now();
        switch (g_Loop.lpfnPass()) {
            case PLAT_LOOP_END:
                EndGame();
                return;
            case PLAT_LOOP_IDLE:
                // Nothing runs while the page is inactive; pacing restarts when it is back.
                g_Loop.pace.bPaced = false;
                return;
            case PLAT_LOOP_FRAME:
                break;
        }
        // For the page: how long the frame took, in milliseconds.
        EM_ASM({ if (Module.onGameFrame) Module.onGameFrame($0); }, emscripten_get_now() - dStart);
    }
}

}  // namespace

int Plat_RunLoop(PlatLoopPass (*lpfnPass)(), int (*lpfnEnd)()) {
    g_Loop.lpfnPass = lpfnPass;
    g_Loop.lpfnEnd = lpfnEnd;
    g_Loop.pace = WEBPACE{};
    // 0: at the browser's animation frames; true: this call does not return.
    emscripten_set_main_loop(Tick, 0, true);
    return 0;
}

bool Plat_PacesFrames() {
    return true;
}
