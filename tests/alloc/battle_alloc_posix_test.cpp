// A battle frame must not touch the heap: every allocation is counted while VS COM matches at
// the strongest level run, and only frames wholly inside the fight scene are judged. Each fight
// frame also saves the state and rolls back eight frames, as a net session does.
// Linux only: malloc is replaced over glibc's own (__libc_malloc).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "app/frame.h"
#include "app/game_main.h"
#include "app/game_state.h"
#include "app/option.h"
#include "battle/battle_scene.h"
#include "gfx/surface.h"
#include "platform/headless/headless.h"
#include "platform/plat_input.h"
#include "platform/plat_system.h"
#include "sound/sound.h"

namespace {
std::atomic<bool> g_bCounting{false};
std::atomic<long> g_nAllocs{0};
void* Counted(size_t n) {
    if (g_bCounting.load(std::memory_order_relaxed)) g_nAllocs.fetch_add(1, std::memory_order_relaxed);
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    return p;
}
}  // namespace

void* operator new(size_t n) {
    return Counted(n);
}
void* operator new[](size_t n) {
    return Counted(n);
}
void* operator new(size_t n, const std::nothrow_t&) noexcept {
    try {
        return Counted(n);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](size_t n, const std::nothrow_t& t) noexcept {
    return operator new(n, t);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
    std::free(p);
}

// The C allocator too, where the sanitizer does not own it.
#if !defined(__SANITIZE_ADDRESS__)
extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
extern "C" void* malloc(size_t n) {
    if (g_bCounting.load(std::memory_order_relaxed)) g_nAllocs.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(n);
}
extern "C" void* calloc(size_t n, size_t m) {
    if (g_bCounting.load(std::memory_order_relaxed)) g_nAllocs.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(n, m);
}
extern "C" void* realloc(void* p, size_t n) {
    if (g_bCounting.load(std::memory_order_relaxed)) g_nAllocs.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, n);
}
#endif

namespace {

bool InFight() {
    return g_nScene == SCENE_BATTLE && g_nBattleStep == 1;
}

// Player 1 rolls about and uses button 1 now and then, so rounds are fought and lost.
void PlayerKeys(int nFrame) {
    static constexpr int kPattern[6][3] = {{VK_RIGHT, VK_DOWN, 0}, {0, 0, 0}, {VK_LEFT, 0, 0},
                                           {'Z', 0, 0},           {VK_UP, VK_RIGHT, 'X'}, {VK_DOWN, 0, 0}};
    Headless_ReleaseAllKeys();
    for (int nVk : kPattern[(nFrame / 40) % 6])
        if (nVk) Headless_SetKey(nVk, true);
}

}  // namespace

TEST(BattleAlloc, VsComFightFramesAtStrengthFourAllocateNothing) {
    ASSERT_NO_THROW(std::filesystem::current_path(POMRIN_DATA_DIR));
    Headless_Reset();
    ASSERT_TRUE(Plat_Init() && Plat_CreateWindow("alloc", 640, 480) && GameInit());
    SetDefaultOption(&g_Option);
    g_Option.nComLevel = 4;
    g_Option.nWinCount = 1;

    constexpr uint32_t kRing = ROLLBACK_FRAMES + 1;
    uint32_t dwRaw[kRing][2] = {};
    bool bFightAt[kRing] = {};
    long nJudged = 0, nAllocs = 0, nMatches = 0, nRollbacks = 0;
    for (uint32_t nFrame = 0; nFrame < 12000; ++nFrame) {
        const bool bFight = InFight();
        if (bFight) {
            PlayerKeys(nFrame);
        } else {
            // Title, select and the match result: button 1 every 20 frames takes us to the next fight.
            Headless_ReleaseAllKeys();
            Headless_SetKey('Z', nFrame % 20 == 10);
        }
        g_nAllocs = 0;
        g_bCounting = bFight;
        const uint32_t nSlot = nFrame % kRing;
        ASSERT_TRUE(GameStateSave(GameStateSlot(nFrame)));
        bFightAt[nSlot] = bFight;
        bool bBack = bFight && nFrame >= ROLLBACK_FRAMES;
        for (uint32_t f = nFrame - ROLLBACK_FRAMES; bBack && f < nFrame; ++f) bBack = bFightAt[f % kRing];
        if (bBack) {
            ASSERT_TRUE(GameStateRestore(GameStateSlot(nFrame - ROLLBACK_FRAMES)));
            g_bDrawOff = 1;
            for (uint32_t f = nFrame - ROLLBACK_FRAMES; f < nFrame; ++f) {
                DSFrameBegin(f, false);
                ASSERT_TRUE(GameStep(dwRaw[f % kRing]));
            }
            g_bDrawOff = 0;
            ++nRollbacks;
        }
        DSFrameBegin(nFrame, false);
        ASSERT_TRUE(GameFrame());
        g_bCounting = false;
        dwRaw[nSlot][0] = g_dwFrameInput[0];
        dwRaw[nSlot][1] = g_dwFrameInput[1];
        // The headless backend's record of plays is the test's, not the game's: kept small.
        Headless_Plays().clear();
        if (bFight && InFight()) {
            ++nJudged;
            nAllocs += g_nAllocs;
        }
        if (bFight && !InFight()) ++nMatches;
    }
    GameRelease();
    DSFrameReset();
    EXPECT_GT(nJudged, 5000);
    EXPECT_GT(nRollbacks, 5000);
    EXPECT_GE(nMatches, 1);
    EXPECT_EQ(nAllocs, 0) << "over " << nJudged << " fight frames";
}
