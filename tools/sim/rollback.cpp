#include "rollback.h"

#include <cstdio>

#include "app/frame.h"
#include "app/game_state.h"
#include "app/window.h"
#include "gfx/surface.h"
#include "input/input.h"
#include "sound/sound.h"

namespace {

constexpr uint32_t kRing = ROLLBACK_FRAMES + 1;

struct RBFRAME {
    uint32_t dwFrame;  // the frame this entry is about; the entry is valid only for it
    uint8_t bValid;
    uint8_t bRollable;  // the state before the frame is in select or battle
    uint32_t dwRaw[2];  // the inputs the frame ran with
};

uint32_t g_nBack;
RBFRAME g_Frames[kRing];
GAMESTATE g_Again;

bool Rollable() {
    return g_nScene == SCENE_SELECT || g_nScene == SCENE_BATTLE;
}

// A wrong guess of the frame's input: some directions and buttons flipped.
uint32_t Altered(uint32_t dwRaw, uint32_t dwFrame, int nPlayer) {
    if (dwRaw & INPUT_RAW_NONE) return dwRaw;
    uint32_t h = (dwFrame * 2 + uint32_t(nPlayer) + 1) * 0x9E3779B9u;
    h ^= h >> 16;
    return (dwRaw ^ ((h & 0xFE) | 1)) & (INPUT_RAW_DIR_MASK | INPUT_RAW_BUTTON_MASK);
}

bool WindowReady(uint32_t dwFrame) {
    if (dwFrame < g_nBack) return false;
    for (uint32_t f = dwFrame - g_nBack; f <= dwFrame; ++f) {
        const RBFRAME& e = g_Frames[f % kRing];
        if (!e.bValid || e.dwFrame != f || !e.bRollable) return false;
    }
    return true;
}

bool Fail(uint32_t dwFrame, const char* szPart) {
    std::fprintf(stderr,
                 "pomrin-sim: rollback test: frame %u: %s state differs after rolling back %u frames\n",
                 dwFrame, szPart, g_nBack);
    PostQuitMessage(1);
    return false;
}

}  // namespace

bool RollbackTestSet(uint32_t nFrames) {
    if (nFrames < 1 || nFrames > ROLLBACK_FRAMES) return false;
    g_nBack = nFrames;
    return true;
}

bool RollbackBeforeFrame(uint32_t dwFrame) {
    if (!g_nBack) return true;
    GAMESTATE& now = *GameStateSlot(dwFrame);
    RBFRAME& entry = g_Frames[dwFrame % kRing];
    if (!GameStateSave(&now)) return Fail(dwFrame, "whole");
    entry = RBFRAME{dwFrame, 1, uint8_t(Rollable()), {INPUT_RAW_NONE, INPUT_RAW_NONE}};
    if (WindowReady(dwFrame)) {
        const uint32_t dwFirst = dwFrame - g_nBack;
        const GAMESTATE& back = *GameStateSlot(dwFirst);
        g_bDrawOff = 1;
        // The wrong guesses, silent: a test's outputs are those of the true run.
        GameStateRestore(&back);
        for (uint32_t f = dwFirst; f < dwFrame && Rollable(); ++f) {
            uint32_t dwRaw[2];
            for (int p = 0; p < 2; ++p) dwRaw[p] = Altered(g_Frames[f % kRing].dwRaw[p], f, p);
            DSFrameBegin(f, true);
            if (!GameStep(dwRaw)) break;
        }
        // Back, and forward again with the true inputs; these frames played their sounds already.
        GameStateRestore(&back);
        bool bOk = true;
        for (uint32_t f = dwFirst; f < dwFrame && bOk; ++f) {
            DSFrameBegin(f, false);
            bOk = GameStep(g_Frames[f % kRing].dwRaw);
        }
        g_bDrawOff = 0;
        if (!bOk || !GameStateSave(&g_Again)) return Fail(dwFrame, "whole");
        if (GameStateChecksum(&g_Again) != GameStateChecksum(&now) || g_Again.nSize != now.nSize) {
            for (int i = 0; i < STATE_PART_COUNT; ++i)
                if (GameStatePartChecksum(&g_Again, i) != GameStatePartChecksum(&now, i))
                    return Fail(dwFrame, g_szStatePart[i]);
            return Fail(dwFrame, "whole");
        }
    }
    DSFrameBegin(dwFrame, false);
    return true;
}

void RollbackAfterFrame(uint32_t dwFrame) {
    if (!g_nBack) return;
    RBFRAME& entry = g_Frames[dwFrame % kRing];
    if (entry.bValid && entry.dwFrame == dwFrame) {
        entry.dwRaw[0] = g_dwFrameInput[0];
        entry.dwRaw[1] = g_dwFrameInput[1];
    }
}
