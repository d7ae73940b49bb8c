// SDL backend: presenting the 8-bit picture.
#include <SDL.h>

#include "platform/plat_display.h"

bool Plat_DisplayInit(int, int) { return false; }
void Plat_DisplayQuit() {}
void Plat_SetPalette(const PlatColor*) {}
void Plat_Present(const uint8_t*, int) {}
int Plat_RefreshRate() { return 0; }
