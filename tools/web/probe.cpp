// Linked into the page for its tests: the scene on screen, read by the browser test to tell
// battle frames from the others, and player 1's cursor column in character select.
#include <emscripten.h>

#include "app/frame.h"
#include "input/input.h"

extern "C" EMSCRIPTEN_KEEPALIVE int pomrin_scene() {
    return g_nScene;
}

extern "C" EMSCRIPTEN_KEEPALIVE int pomrin_cursor_col() {
    return g_Cursor[0].nCol;
}
