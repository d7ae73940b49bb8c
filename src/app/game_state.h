// The whole simulation state in one place: every subsystem's saved fields, one after another,
// in a fixed-size byte image, with a checksum of the whole and of each subsystem's part.
// Rollback keeps a ring of these; saving and restoring allocate nothing.
// Left out on purpose: the options scene (its object edits and writes the settings file; it is
// never part of a net session, and the rollback test rolls back over select and battle frames
// only), and what is fixed after start-up (g_BasePalette, g_KeyMap, the loaded pictures).
#pragma once
#include <cstdint>

// The subsystems, in the order their parts lie in the image.
enum {
    STATE_PART_SCENE,     // scene, next scene, title row
    STATE_PART_SETTINGS,  // settings in force, battle mode
    STATE_PART_RAND,      // the random generator
    STATE_PART_INPUT,     // input records with their filter histories, cursors
    STATE_PART_TITLE,     // title step and phase
    STATE_PART_SELECT,    // character select
    STATE_PART_BATTLE,    // battle step, phase, counters, sparks, arena
    STATE_PART_FIGHTERS,  // both fighters with their skills, images, shots, traps, COM
    STATE_PART_DRAW,      // battle drawing: the palette cycle
    STATE_PART_PALETTE,   // working and display palettes, fades
    STATE_PART_COUNT
};
extern const char* const g_szStatePart[STATE_PART_COUNT];

enum { GAMESTATE_BYTES = 6144 };

struct GAMESTATE {
    uint32_t nSize;                       // bytes of bData in use
    uint32_t nPartEnd[STATE_PART_COUNT];  // end of each part in bData
    uint8_t bData[GAMESTATE_BYTES];
};

// The most frames a rollback goes back; a ring of ROLLBACK_FRAMES + 1 states covers it.
enum { ROLLBACK_FRAMES = 8 };

// The preallocated ring: the slot of frame dwFrame (the state before it runs), reused every
// ROLLBACK_FRAMES + 1 frames.
GAMESTATE* GameStateSlot(uint32_t dwFrame);

// Copies the state into lpState. False only if it does not fit (a record grew past the image).
bool GameStateSave(GAMESTATE* lpState);
// Puts a saved state back. The pictures the state needs must be loaded (they are, within a
// scene); a restored battle puts its arena on screen.
bool GameStateRestore(const GAMESTATE* lpState);
// The state as the first frame found it (kept by GameFrame): where a net session started from a
// menu begins, as one started with the program does.
void GameStateKeepStart();
const GAMESTATE* GameStateStart();
// FNV-1a, 64 bits, over the saved bytes: of the whole image, or of one part.
uint64_t GameStateChecksum(const GAMESTATE* lpState);
uint64_t GameStatePartChecksum(const GAMESTATE* lpState, int nPart);
