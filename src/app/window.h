// The window's message queue and procedure. Platform events and the game's own requests
// (close, quit) pass through one queue, as window messages do, and are handled between frames.
#pragma once
#include <cstdint>

enum {
    WM_DESTROY = 2,
    WM_PAINT = 15,
    WM_CLOSE = 16,
    WM_QUIT = 18,
    WM_ACTIVATEAPP = 28,
    WM_KEYDOWN = 256,
};

struct MSG {
    uint32_t message;
    uint32_t wParam;
};

// Queues a message for the window (or WM_QUIT for the loop).
void PostMessage(uint32_t message, uint32_t wParam);
// Ends the loop with nExitCode once the messages before it are handled.
void PostQuitMessage(int32_t nExitCode);
// Takes the next message without waiting: a close the game asked for (g_nCloseRequest), then
// the game's own queued messages, then the platform's events.
bool PeekMessage(MSG* lpMsg);
// Forgets every queued message and close request (start of a run).
void ClearMessages();

int32_t WndProc(uint32_t message, uint32_t wParam);
// The default handling: a close request destroys the window.
int32_t DefWindowProc(uint32_t message, uint32_t wParam);
