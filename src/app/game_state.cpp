#include "app/game_state.h"

#include "app/crt_rand.h"
#include "app/option.h"
#include "app/scene_state.h"
#include "app/state_buf.h"
#include "battle/battle_scene.h"
#include "battle/chara.h"
#include "battle_view/battle_draw.h"
#include "gfx/palette.h"
#include "input/input.h"
#include "menus/title.h"
#include "select/select.h"

const char* const g_szStatePart[STATE_PART_COUNT] = {
    "scene", "settings", "rand", "input", "title", "select", "battle", "fighters", "draw", "palette",
};

namespace {

void (*const kPartIo[STATE_PART_COUNT])(STATEBUF*) = {
    SceneStateIo,  OptionStateIo, RandStateIo,  InputStateIo,      TitleStateIo,
    SelectStateIo, BattleStateIo, CharaStateIo, BattleDrawStateIo, PaletteStateIo,
};

GAMESTATE g_StateRing[ROLLBACK_FRAMES + 1];

uint64_t Fnv1a(const uint8_t* lpData, uint32_t nBytes) {
    uint64_t qw = 14695981039346656037ull;
    for (uint32_t i = 0; i < nBytes; ++i) qw = (qw ^ lpData[i]) * 1099511628211ull;
    return qw;
}

}  // namespace

GAMESTATE* GameStateSlot(uint32_t dwFrame) {
    return &g_StateRing[dwFrame % (ROLLBACK_FRAMES + 1)];
}

bool GameStateSave(GAMESTATE* lpState) {
    STATEBUF buf{lpState->bData, GAMESTATE_BYTES, 0, 0, 0};
    for (int i = 0; i < STATE_PART_COUNT; ++i) {
        kPartIo[i](&buf);
        lpState->nPartEnd[i] = buf.nPos;
    }
    lpState->nSize = buf.nPos;
    return !buf.bOverflow;
}

bool GameStateRestore(const GAMESTATE* lpState) {
    // Restoring only reads the buffer.
    STATEBUF buf{const_cast<uint8_t*>(lpState->bData), lpState->nSize, 0, 1, 0};
    for (int i = 0; i < STATE_PART_COUNT; ++i) kPartIo[i](&buf);
    return !buf.bOverflow && buf.nPos == lpState->nSize;
}

uint64_t GameStateChecksum(const GAMESTATE* lpState) {
    return Fnv1a(lpState->bData, lpState->nSize);
}

uint64_t GameStatePartChecksum(const GAMESTATE* lpState, int nPart) {
    if (nPart < 0 || nPart >= STATE_PART_COUNT) return 0;
    const uint32_t nBegin = nPart == 0 ? 0 : lpState->nPartEnd[nPart - 1];
    return Fnv1a(lpState->bData + nBegin, lpState->nPartEnd[nPart] - nBegin);
}

namespace {
GAMESTATE g_StartState;
}  // namespace

void GameStateKeepStart() {
    GameStateSave(&g_StartState);
}

const GAMESTATE* GameStateStart() {
    return &g_StartState;
}
