// SDL backend: clock, instance lock, message boxes, window and events.
#include <SDL.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include <algorithm>
#include <cstdio>

#include "platform/plat_os.h"
#include "platform/plat_system.h"
#include "platform/sdl/sdl_window.h"

namespace {

SDL_Window* g_lpWindow = nullptr;

void ToggleFullScreen() {
    if (!g_lpWindow) return;
#ifdef __EMSCRIPTEN__
    // The page puts its picture in full screen and scales it itself.
    EM_ASM({ if (Module.toggleFullScreen) Module.toggleFullScreen(); });
#else
    const bool bFull = SDL_GetWindowFlags(g_lpWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_SetWindowFullscreen(g_lpWindow, bFull ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
#endif
}

#ifndef __EMSCRIPTEN__
// The largest whole-number multiple of the picture that fits the usable screen area.
int OpeningScale(int nWidth, int nHeight) {
    SDL_Rect rc;
    if (SDL_GetDisplayUsableBounds(0, &rc) != 0) return 1;
    int nScale = std::min(rc.w / nWidth, rc.h / nHeight);
    // Leave room for the title bar when the picture would fill the height exactly.
    while (nScale > 1 && nHeight * nScale + 32 > rc.h) --nScale;
    return nScale < 1 ? 1 : nScale;
}
#endif

}  // namespace

SDL_Window* SdlWindow() {
    return g_lpWindow;
}

bool Plat_Init() {
    // main() is the program's own entry on every system; SDL runs no main of its own.
    SDL_SetMainReady();
    return SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
}
void Plat_Quit() {
    SDL_Quit();
}
uint32_t Plat_GetTicks() {
    return SDL_GetTicks();
}
void Plat_Delay(uint32_t ms) {
    SDL_Delay(ms);
}

bool Plat_LockInstance(const char* szName) {
    return Plat_OsLockInstance(szName);
}

void Plat_UnlockInstance() {
    Plat_OsUnlockInstance();
}

void Plat_MessageBox(const char* szText, const char* szCaption) {
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, szCaption, szText, nullptr) != 0)
        std::fprintf(stderr, "%s: %s\n", szCaption, szText);
}

bool Plat_CreateWindow(const char* szTitle, int nWidth, int nHeight) {
    if (g_lpWindow) return true;
#ifdef __EMSCRIPTEN__
    // A page's canvas keeps the picture's own size; the page scales it to the browser window.
    const int nScale = 1;
    const Uint32 dwFlags = 0;
#else
    const int nScale = OpeningScale(nWidth, nHeight);
    const Uint32 dwFlags = SDL_WINDOW_RESIZABLE;
#endif
    g_lpWindow = SDL_CreateWindow(szTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, nWidth * nScale,
                                  nHeight * nScale, dwFlags);
    if (!g_lpWindow) return false;
    SDL_SetWindowMinimumSize(g_lpWindow, nWidth / 4, nHeight / 4);
    return true;
}

void Plat_SetWindowTitle(const char* szTitle) {
    if (g_lpWindow) SDL_SetWindowTitle(g_lpWindow, szTitle);
}

void Plat_DestroyWindow() {
    if (!g_lpWindow) return;
    SDL_DestroyWindow(g_lpWindow);
    g_lpWindow = nullptr;
}

PlatEvent Plat_PollEvent() {
    SDL_Event ev;
    while (SDL_PollEvent(&ev)) {
        switch (ev.type) {
            case SDL_QUIT:
                return PLAT_EV_CLOSE;
            case SDL_WINDOWEVENT:
                switch (ev.window.event) {
                    case SDL_WINDOWEVENT_FOCUS_GAINED:
                        return PLAT_EV_ACTIVATE;
                    case SDL_WINDOWEVENT_FOCUS_LOST:
                        return PLAT_EV_DEACTIVATE;
                    case SDL_WINDOWEVENT_CLOSE:
                        return PLAT_EV_CLOSE;
                    case SDL_WINDOWEVENT_SIZE_CHANGED:
                        return PLAT_EV_REPAINT;
                    case SDL_WINDOWEVENT_EXPOSED:
                        return PLAT_EV_REPAINT;
                    default:
                        break;
                }
                break;
            case SDL_KEYDOWN:
                if (ev.key.repeat) break;
                if (ev.key.keysym.sym == SDLK_F11 ||
                    (ev.key.keysym.sym == SDLK_RETURN && (ev.key.keysym.mod & KMOD_ALT))) {
                    ToggleFullScreen();
                    break;
                }
#ifndef __EMSCRIPTEN__
                // In a browser Escape only leaves full screen, as everywhere on the web.
                if (ev.key.keysym.sym == SDLK_ESCAPE) return PLAT_EV_ESCAPE;
#endif
                break;
            default:  // joysticks are polled, keys read as state
                break;
        }
    }
    return PLAT_EV_NONE;
}

void Plat_WaitEvent() {
    SDL_WaitEvent(nullptr);
}
