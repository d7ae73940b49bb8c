#include "app/window.h"

#include <deque>

#include "app/frame.h"
#include "app/input_record.h"
#include "platform/plat_input.h"
#include "platform/plat_system.h"

namespace {
std::deque<MSG> g_Messages;
}

void PostMessage(uint32_t message, uint32_t wParam) {
    g_Messages.push_back(MSG{message, wParam});
}

void PostQuitMessage(int32_t nExitCode) {
    PostMessage(WM_QUIT, uint32_t(nExitCode));
}

void ClearMessages() {
    g_Messages.clear();
    g_nCloseRequest = -1;
}

bool PeekMessage(MSG* lpMsg) {
    if (g_nCloseRequest >= 0) {
        *lpMsg = MSG{WM_CLOSE, uint32_t(g_nCloseRequest)};
        g_nCloseRequest = -1;
        return true;
    }
    if (!g_Messages.empty()) {
        *lpMsg = g_Messages.front();
        g_Messages.pop_front();
        return true;
    }
    switch (Plat_PollEvent()) {
        case PLAT_EV_ACTIVATE:
            *lpMsg = MSG{WM_ACTIVATEAPP, 1};
            return true;
        case PLAT_EV_DEACTIVATE:
            *lpMsg = MSG{WM_ACTIVATEAPP, 0};
            return true;
        case PLAT_EV_REPAINT:
            *lpMsg = MSG{WM_PAINT, 0};
            return true;
        case PLAT_EV_CLOSE:
        case PLAT_EV_ESCAPE:
            // A replay must end where the player ended the game.
            RecordEscape(g_dwFrameCount);
            *lpMsg = MSG{WM_KEYDOWN, VK_ESCAPE};
            return true;
        case PLAT_EV_NONE:
            break;
    }
    return false;
}

int32_t WndProc(uint32_t message, uint32_t wParam) {
    switch (message) {
        case WM_DESTROY:
            // wParam: the exit code the close request carried (1 after a failure).
            ReleaseScene();
            PostQuitMessage(int32_t(wParam));
            return 0;
        case WM_PAINT:
            if (g_bReady == 1) PresentBackBuffer();
            return 0;
        case WM_ACTIVATEAPP:
            g_bHasFocus = wParam != 0 ? 1 : 0;
            g_bActive = g_bHasFocus != 0 || g_lpfnSessionFrame ? 1 : 0;
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) PostMessage(WM_CLOSE, 0);
            return 0;
        default:
            return DefWindowProc(message, wParam);
    }
}

int32_t DefWindowProc(uint32_t message, uint32_t wParam) {
    // The platform window itself is closed after GameRelease, once the display is down.
    if (message == WM_CLOSE) WndProc(WM_DESTROY, wParam);
    return 0;
}
