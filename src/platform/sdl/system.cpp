// SDL backend: clock, instance lock, message boxes, window and events.
#include <SDL.h>

#include "platform/plat_system.h"

bool Plat_Init() { return SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0; }
void Plat_Quit() { SDL_Quit(); }
uint32_t Plat_GetTicks() { return SDL_GetTicks(); }
void Plat_Delay(uint32_t ms) { SDL_Delay(ms); }
bool Plat_LockInstance(const char*) { return true; }
void Plat_UnlockInstance() {}
void Plat_MessageBox(const char* szText, const char* szCaption) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, szCaption, szText, nullptr);
}
bool Plat_CreateWindow(const char*, int, int) { return false; }
void Plat_DestroyWindow() {}
PlatEvent Plat_PollEvent() { return PLAT_EV_NONE; }
void Plat_WaitEvent() { SDL_WaitEvent(nullptr); }
