// Sounds keyed by (frame, sound): a frame simulated again plays only what it had not played.
#include <cstring>

#include "sound/sound.h"
#include "sound/sound_frame.h"

namespace {

struct SOUNDFRAME {
    uint32_t dwFrame;
    uint8_t bUsed;
    uint8_t nPlayed[SND_COUNT];  // plays of each sound this frame has made so far
};

bool g_bFramed;              // DSFrameBegin was called: plays are keyed by frame
bool g_bSilent;              // the frame being simulated plays nothing
uint32_t g_dwFrame;          // the frame being simulated
uint32_t g_dwNewest;         // the newest frame begun
uint8_t g_nSeen[SND_COUNT];  // plays of each sound in this pass over g_dwFrame
SOUNDFRAME g_History[DS_FRAME_HISTORY];

}  // namespace

void DSFrameBegin(uint32_t dwFrame, bool bSilent) {
    if (!g_bFramed || int32_t(dwFrame - g_dwNewest) > 0) g_dwNewest = dwFrame;
    g_bFramed = true;
    g_bSilent = bSilent;
    g_dwFrame = dwFrame;
    std::memset(g_nSeen, 0, sizeof g_nSeen);
    SOUNDFRAME& slot = g_History[dwFrame % DS_FRAME_HISTORY];
    if (!slot.bUsed || slot.dwFrame != dwFrame) {
        slot = SOUNDFRAME{};
        slot.dwFrame = dwFrame;
        slot.bUsed = 1;
    }
}

void DSFrameReset() {
    g_bFramed = g_bSilent = false;
    std::memset(g_History, 0, sizeof g_History);
}

bool DSFrameAllows(int32_t nSound) {
    if (!g_bFramed) return true;
    if (g_bSilent) return false;
    if (nSound < 0 || nSound >= SND_COUNT) return true;
    SOUNDFRAME& slot = g_History[g_dwFrame % DS_FRAME_HISTORY];
    if (g_nSeen[nSound] < 255) ++g_nSeen[nSound];
    if (g_nSeen[nSound] <= slot.nPlayed[nSound]) return false;
    slot.nPlayed[nSound] = g_nSeen[nSound];
    // Counted as played either way: a late sound is dropped for good.
    return uint32_t(g_dwNewest - g_dwFrame) <= DS_LATE_FRAMES;
}
