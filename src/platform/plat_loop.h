// Platform layer: who drives the game's loop. Natively the program loops by itself; in a
// browser the page's animation frames call the game, which must never block.
#pragma once

// What one pass of the game's loop did.
enum PlatLoopPass {
    PLAT_LOOP_FRAME,  // ran one frame
    PLAT_LOOP_IDLE,   // the window is inactive: nothing to do until an event arrives
    PLAT_LOOP_END,    // the game is over
};

// Calls lpfnPass over and over; after it returned PLAT_LOOP_END calls lpfnEnd once and returns
// its value, the exit code. In a browser the call does not return: the page's animation frames
// run the passes at the game's pace, and after lpfnEnd the page offers to start again.
int Plat_RunLoop(PlatLoopPass (*lpfnPass)(), int (*lpfnEnd)());

// True when the platform runs the passes at the game's pace itself, so the game's own frame
// limiter must stay off.
bool Plat_PacesFrames();
