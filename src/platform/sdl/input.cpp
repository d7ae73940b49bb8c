// SDL backend: keyboard and joystick state.
#include <SDL.h>

#include "platform/plat_input.h"

bool Plat_KeyDown(int) { return false; }
bool Plat_JoyRead(int, PlatJoy*) { return false; }
