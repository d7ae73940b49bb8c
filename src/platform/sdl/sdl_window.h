// Shared between the SDL backend's files: the one window.
#pragma once
#include <SDL.h>

SDL_Window* SdlWindow();
