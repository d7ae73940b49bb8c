// The simulator's loop under Node: passes back to back like the native loop, except that with
// a net channel open each pass gives Node's event loop its turn (the WebSocket's messages come
// in only then), after the wait the session asked for. Needs the link's ASYNCIFY.
#include <emscripten.h>

#include "platform/plat_loop.h"
#include "platform/plat_system.h"
#include "platform/web/net/web_net.h"

int Plat_RunLoop(PlatLoopPass (*lpfnPass)(), int (*lpfnEnd)()) {
    for (;;) {
        const PlatLoopPass nPass = lpfnPass();
        if (nPass == PLAT_LOOP_END) return lpfnEnd();
        if (nPass == PLAT_LOOP_IDLE) Plat_WaitEvent();
        bool bOpen;
        const uint32_t dwSleepMs = WebNetTakeSleep(&bOpen);
        if (bOpen || dwSleepMs) emscripten_sleep(dwSleepMs);
    }
}

bool Plat_PacesFrames() {
    return false;
}
