// The headless backend: a virtual clock, input set by the caller, a frame store and a
// sound device that records what it is asked to play.
#include "platform/headless/headless.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <deque>

#include "platform/pad_fold.h"
#include "platform/plat_audio.h"
#include "platform/plat_input.h"

namespace {

struct HeadlessJoy {
    bool bConnected = false;
    PlatJoy state{32767, 32767, 0};
    uint32_t dwHat = 0;  // PAD_HAT_ bits
};

struct HeadlessState {
    uint32_t dwTicks = 0;
    std::array<bool, 256> keys{};
    std::array<HeadlessJoy, 2> joys{};
    std::deque<PlatEvent> events;
    bool bVideo = true, bWindow = true, bAudio = true, bInstanceHeld = false;
    bool bLocked = false;
    int nWidth = 640, nHeight = 480;
    int nPresents = 0;
    std::vector<uint8_t> frame;
    std::array<PlatColor, 256> palette{};
    std::array<PlatColor, 256> framePalette{};
    std::vector<std::string> boxes;
    std::vector<bool> boxLocked;
    std::vector<HeadlessPlay> plays;
    int nLiveSounds = 0;
};

HeadlessState& St() {
    static HeadlessState s;
    return s;
}

}  // namespace

struct PlatSound {
    int nGroup = -1;
    int nIndex = 0;
    bool bPlaying = false;
    int32_t nVolume = 0;
};

void Headless_Reset() {
    int nLive = St().nLiveSounds;  // buffers the game still holds stay counted
    St() = HeadlessState{};
    St().nLiveSounds = nLive;
}
void Headless_SetTicks(uint32_t dwTicks) {
    St().dwTicks = dwTicks;
}
void Headless_AdvanceTicks(uint32_t dwMs) {
    St().dwTicks += dwMs;
}
void Headless_SetKey(int nVk, bool bDown) {
    if (nVk >= 0 && nVk < 256) St().keys[nVk] = bDown;
}
void Headless_ReleaseAllKeys() {
    St().keys.fill(false);
}
void Headless_SetJoy(int nId, bool bConnected, uint32_t dwX, uint32_t dwY, uint32_t dwButtons,
                     uint32_t dwHat) {
    if (nId < 0 || nId > 1) return;
    St().joys[nId].bConnected = bConnected;
    St().joys[nId].state = PlatJoy{dwX, dwY, dwButtons};
    St().joys[nId].dwHat = dwHat;
}
void Plat_OverrideDevices(const PlatDeviceOverride* lpDevices) {
    // The headless devices are only ever what the program sets: an override sets them.
    if (!lpDevices) return;
    for (int nVk = 0; nVk < 256; ++nVk) Headless_SetKey(nVk, lpDevices->bKeys[nVk]);
    for (int i = 0; i < 2; ++i)
        Headless_SetJoy(i, lpDevices->bJoy[i], lpDevices->Joy[i].dwX, lpDevices->Joy[i].dwY,
                        lpDevices->Joy[i].dwButtons, lpDevices->dwHat[i]);
}
void Headless_PushEvent(PlatEvent ev) {
    St().events.push_back(ev);
}
void Headless_SetVideoAvailable(bool b) {
    St().bVideo = b;
}
void Headless_SetWindowAvailable(bool b) {
    St().bWindow = b;
}
void Headless_SetAudioAvailable(bool b) {
    St().bAudio = b;
}
void Headless_SetInstanceHeld(bool b) {
    St().bInstanceHeld = b;
}
int Headless_PresentCount() {
    return St().nPresents;
}
const std::vector<uint8_t>& Headless_FramePixels() {
    return St().frame;
}
int Headless_FrameWidth() {
    return St().nWidth;
}
int Headless_FrameHeight() {
    return St().nHeight;
}
const PlatColor* Headless_FramePalette() {
    return St().framePalette.data();
}
std::vector<std::string>& Headless_MessageBoxes() {
    return St().boxes;
}
const std::vector<bool>& Headless_MessageBoxLocked() {
    return St().boxLocked;
}
std::vector<HeadlessPlay>& Headless_Plays() {
    return St().plays;
}
int Headless_LiveSounds() {
    return St().nLiveSounds;
}

// ---- system ----
bool Plat_Init() {
    return St().bVideo;
}
void Plat_Quit() {}
uint32_t Plat_GetTicks() {
    return St().dwTicks;
}
void Plat_Delay(uint32_t ms) {
    St().dwTicks += ms;
}
bool Plat_LockInstance(const char*) {
    if (St().bInstanceHeld) return false;
    St().bLocked = true;
    return true;
}
void Plat_UnlockInstance() {
    St().bLocked = false;
}
void Plat_MessageBox(const char* szText, const char* szCaption) {
    std::string line = std::string(szCaption) + ": " + szText;
    St().boxes.push_back(line);
    St().boxLocked.push_back(St().bLocked);
    std::fprintf(stderr, "%s\n", line.c_str());
}
bool Plat_CreateWindow(const char*, int, int) {
    return St().bWindow;
}
void Plat_SetWindowTitle(const char*) {}
void Plat_DestroyWindow() {}
PlatEvent Plat_PollEvent() {
    if (St().events.empty()) return PLAT_EV_NONE;
    PlatEvent ev = St().events.front();
    St().events.pop_front();
    return ev;
}
void Plat_WaitEvent() {
    // Nothing can arrive from outside: waiting would never end, so return at once.
}

// ---- display ----
bool Plat_DisplayInit(int nWidth, int nHeight) {
    St().nWidth = nWidth;
    St().nHeight = nHeight;
    St().frame.assign(size_t(nWidth) * nHeight, 0);
    return true;
}
void Plat_DisplayQuit() {}
void Plat_SetPalette(const PlatColor lpPalette[256]) {
    std::copy(lpPalette, lpPalette + 256, St().palette.begin());
}
void Plat_Present(const uint8_t* lpPixels, int nPitch) {
    HeadlessState& s = St();
    s.frame.resize(size_t(s.nWidth) * s.nHeight);
    for (int y = 0; y < s.nHeight; ++y)
        std::memcpy(&s.frame[size_t(y) * s.nWidth], lpPixels + size_t(y) * nPitch, size_t(s.nWidth));
    s.framePalette = s.palette;
    ++s.nPresents;
}
int Plat_RefreshRate() {
    return 0;
}

// ---- input ----
bool Plat_KeyDown(int nVk) {
    return nVk >= 0 && nVk < 256 && St().keys[nVk];
}
bool Plat_JoyRead(int nId, PlatJoy* lpJoy) {
    if (nId < 0 || nId > 1 || !St().joys[nId].bConnected) return false;
    *lpJoy = St().joys[nId].state;
    PadFold(lpJoy, St().joys[nId].dwHat);
    return true;
}

// ---- audio ----
bool Plat_AudioInit(uint32_t, uint16_t, uint16_t) {
    return St().bAudio;
}
void Plat_AudioQuit() {}
PlatSound* Plat_SoundCreate(const PlatWaveFormat&, const uint8_t*, uint32_t) {
    ++St().nLiveSounds;
    return new PlatSound;
}
PlatSound* Plat_SoundDuplicate(PlatSound* lpSource) {
    if (!lpSource) return nullptr;
    ++St().nLiveSounds;
    return new PlatSound(*lpSource);
}
void Plat_SoundRelease(PlatSound* lpSound) {
    if (!lpSound) return;
    --St().nLiveSounds;
    delete lpSound;
}
void Plat_SoundSetLabel(PlatSound* lpSound, int nGroup, int nIndex) {
    if (!lpSound) return;
    lpSound->nGroup = nGroup;
    lpSound->nIndex = nIndex;
}
void Plat_SoundPlay(PlatSound* lpSound, bool bLoop) {
    if (!lpSound) return;
    lpSound->bPlaying = true;
    St().plays.push_back(
        HeadlessPlay{lpSound->nGroup, lpSound->nIndex, bLoop, St().nPresents, lpSound->nVolume});
}
void Plat_SoundStop(PlatSound* lpSound) {
    if (lpSound) lpSound->bPlaying = false;
}
void Plat_SoundRewind(PlatSound*) {}
void Plat_SoundSetVolume(PlatSound* lpSound, int32_t nVolume) {
    if (lpSound) lpSound->nVolume = nVolume;
}
int32_t Plat_SoundGetVolume(PlatSound* lpSound) {
    return lpSound ? lpSound->nVolume : 0;
}
