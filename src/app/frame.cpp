#include "app/frame.h"

#include <iterator>
#include <stdexcept>

#include "app/debug_trace.h"
#include "app/game_state.h"
#include "app/input_record.h"
#include "battle/battle_scene.h"
#include "gfx/bitmap.h"
#include "gfx/blit.h"
#include "gfx/palette.h"
#include "gfx/surface.h"
#include "input/input.h"
#include "menus/online_scene.h"
#include "menus/option_scene.h"
#include "menus/title.h"
#include "platform/plat_system.h"
#include "select/select.h"

uint8_t g_bActive;
uint8_t g_bReady;
int32_t g_bFrameLimit;
uint32_t g_dwNextFrame;
uint32_t g_dwLastTime;
uint32_t g_dwFrameCount;
uint32_t g_dwFrameInput[2];
bool (*g_lpfnSessionFrame)();
uint8_t g_bHasFocus = 1;

namespace {
bool g_bFrameInit;
// Polls of an unmoving clock in the last millisecond before a 1 ms sleep: a real clock moves
// on its own within them; the simulator's virtual clock moves only when slept on.
constexpr int kSpinPolls = 64;
}  // namespace

bool FrameLimit(uint32_t nFps) {
    if (!g_bFrameInit) {
        g_bFrameInit = true;
        g_dwNextFrame = Plat_GetTicks();
    }
    g_dwLastTime = Plat_GetTicks();
    if (nFps == 0) return true;
    // Signed difference: a clock that wraps past zero never stalls the game.
    if (int32_t(g_dwLastTime - g_dwNextFrame) < 0) return false;
    g_dwNextFrame = g_dwLastTime + 1000 / nFps;
    return true;
}

void FrameWait(uint32_t nFps) {
    uint32_t dwSeen = g_dwLastTime;
    int nPolls = 0;
    while (!FrameLimit(nFps)) {
        int32_t nLeft = int32_t(g_dwNextFrame - g_dwLastTime);
        if (nLeft > 1) {
            // Sleep until shortly before the deadline, so the wait does not keep a core busy.
            Plat_Delay(uint32_t(nLeft - 1));
            continue;
        }
        if (g_dwLastTime != dwSeen) {
            dwSeen = g_dwLastTime;
            nPolls = 0;
        }
        if (++nPolls > kSpinPolls) {
            Plat_Delay(1);
            nPolls = 0;
        } else {
            Plat_Delay(0);
        }
    }
}

void FrameLimitReset() {
    g_bFrameInit = false;
    g_dwNextFrame = 0;
    g_dwLastTime = 0;
}

void PresentBackBuffer() {
    if (g_Primary.nWidth == SCREEN_WIDTH)
        DDBltClip(g_Primary, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, g_BackBuffer, 0, 0, 0);
    else
        DDBltStretch(g_Primary, 0, 0, g_Primary.nWidth, g_Primary.nHeight, g_BackBuffer, 0, 0, SCREEN_WIDTH,
                     SCREEN_HEIGHT, 0);
    DDPresent();
}

void ReadInputWords(bool bTwo, uint32_t dwRaw[2]) {
    // The readers write into copies of the records (they keep the joystick button masks); a
    // copy whose nDir the reader did not touch was not read.
    INPUTSTATE read[2] = {g_Input[0], g_Input[1]};
    read[0].nDir = read[1].nDir = -1;
    if (g_KeyMap.bCustom != 0) {
        InputReadMapped(read, bTwo ? 2 : 1);
    } else if (!bTwo) {
        InputRead(&read[0], 0, INPUT_JOY | INPUT_KEY);
    } else if (CountJoysticks() < 2) {
        InputRead(&read[0], 0, INPUT_KEY);
        InputRead(&read[1], 0, INPUT_JOY);
    } else {
        InputRead(&read[0], 0, INPUT_JOY);
        InputRead(&read[1], 1, INPUT_JOY);
    }
    for (int p = 0; p < 2; ++p) dwRaw[p] = read[p].nDir < 0 ? INPUT_RAW_NONE : InputRawPack(&read[p]);
}

static void DestroyOptionScene() {
    if (!g_lpOption) return;
    OptionDestroy(g_lpOption);
    delete g_lpOption;
    g_lpOption = nullptr;
}

// The options scene lives in g_lpOption while on screen; a failure there closes the game.
static bool OptionMain() {
    try {
        CreateOption();
        OptionRun(g_lpOption);
    } catch (const std::exception& e) {
        DebugTrace(e.what());
        PostCloseFailed();
    }
    return true;
}

namespace {
// The scenes by g_nScene: the frame's step (false ends the program) and the release when the
// window goes away on that scene (null: nothing to free; the options scene goes with GameRelease).
struct SCENEENTRY {
    bool (*lpfnMain)();
    void (*lpfnRelease)();
};
constexpr SCENEENTRY g_SceneTable[] = {
    {TitleMain, nullptr},         // SCENE_TITLE
    {SelectMain, SelectRelease},  // SCENE_SELECT
    {BattleMain, BattleExit},     // SCENE_BATTLE
    {OptionMain, nullptr},        // SCENE_OPTION
    {OnlineMain, OnlineRelease},  // SCENE_ONLINE
};
static_assert(SCENE_TITLE == 0 && SCENE_SELECT == 1 && SCENE_BATTLE == 2 && SCENE_OPTION == 3 &&
              SCENE_ONLINE == 4);

const SCENEENTRY* SceneEntry() {
    return g_nScene >= 0 && g_nScene < int32_t(std::size(g_SceneTable)) ? &g_SceneTable[g_nScene] : nullptr;
}
}  // namespace

void ReleaseScene() {
    const SCENEENTRY* lpEntry = SceneEntry();
    if (lpEntry && lpEntry->lpfnRelease) lpEntry->lpfnRelease();
}

bool GameStep(const uint32_t dwRaw[2]) {
    InputRawApply(dwRaw[0], &g_Input[0]);
    InputRawApply(dwRaw[1], &g_Input[1]);

    if (const SCENEENTRY* lpEntry = SceneEntry()) {
        if (g_nScene != SCENE_OPTION) DestroyOptionScene();
        if (!lpEntry->lpfnMain()) return false;
    }

    if (g_bPaletteDirty) DDSetPaletteEntries(0, 256, g_Palette.data());
    return true;
}

bool GameFrame() {
    if (g_lpfnSessionFrame) return g_lpfnSessionFrame();
    uint32_t dwFrame = g_dwFrameCount++;
    if (dwFrame == 0) GameStateKeepStart();
    if (g_bFrameLimit == 1) FrameWait(90);
    if (!DDRestoreSurfaces()) return false;
    RecordFrame(dwFrame);
    ReadInputWords(IsTwoHumans(), g_dwFrameInput);
    if (!GameStep(g_dwFrameInput)) return false;
    PresentBackBuffer();
    return true;
}
