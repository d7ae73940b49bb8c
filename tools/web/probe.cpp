// Linked into the page for its tests: the scene on screen, read by the browser test to tell
// battle frames from the others.
#include <emscripten.h>

#include "app/frame.h"

extern "C" EMSCRIPTEN_KEEPALIVE int pomrin_scene() {
    return g_nScene;
}
