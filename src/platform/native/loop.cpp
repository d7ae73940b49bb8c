// The native loop: passes back to back; the game's frame limiter paces them.
#include "platform/plat_loop.h"
#include "platform/plat_system.h"

int Plat_RunLoop(PlatLoopPass (*lpfnPass)(), int (*lpfnEnd)()) {
    for (;;) {
        switch (lpfnPass()) {
            case PLAT_LOOP_END:
                return lpfnEnd();
            case PLAT_LOOP_IDLE:
                Plat_WaitEvent();
                break;
            case PLAT_LOOP_FRAME:
                break;
        }
    }
}

bool Plat_PacesFrames() {
    return false;
}
