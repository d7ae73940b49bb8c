// SDL backend: the sound device through SDL_mixer. Each buffer plays on its own mixer
// channel; a file's samples are converted once to the opened device format and shared by
// the buffer and its duplicates.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <memory>
#include <vector>

#include "platform/plat_audio.h"

namespace {

// Converted samples and the mixer chunk over them. Mix_QuickLoad_RAW does not copy, so the
// bytes live as long as the chunk.
struct SampleStore {
    std::vector<Uint8> bytes;
    Mix_Chunk* lpChunk = nullptr;
    ~SampleStore() {
        if (lpChunk) Mix_FreeChunk(lpChunk);
    }
};

struct AudioState {
    bool bOpen = false;
    int nFreq = 0;
    Uint16 wFormat = 0;
    int nChannels = 0;
    std::vector<bool> channelUsed;
};

AudioState& Audio() {
    static AudioState s;
    return s;
}

int TakeChannel() {
    AudioState& a = Audio();
    for (size_t i = 0; i < a.channelUsed.size(); ++i) {
        if (!a.channelUsed[i]) {
            a.channelUsed[i] = true;
            return int(i);
        }
    }
    a.channelUsed.push_back(true);
    int nCount = int(a.channelUsed.size());
    Mix_AllocateChannels(nCount);
    Mix_ReserveChannels(nCount);
    return nCount - 1;
}

int GainOf(int32_t nVolume) {
    double dGain = std::pow(10.0, nVolume / 2000.0);
    int nGain = int(std::lround(dGain * MIX_MAX_VOLUME));
    return nGain < 0 ? 0 : nGain > MIX_MAX_VOLUME ? MIX_MAX_VOLUME : nGain;
}

}  // namespace

struct PlatSound {
    std::shared_ptr<SampleStore> lpSamples;
    int nChannel = -1;
    int32_t nVolume = 0;
};

bool Plat_AudioInit(uint32_t dwRate, uint16_t wBits, uint16_t wChannels) {
    AudioState& a = Audio();
    if (a.bOpen) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    Uint16 wFormat = wBits == 8 ? AUDIO_U8 : AUDIO_S16SYS;
    // A small buffer keeps the delay between a play and its sound short.
    if (Mix_OpenAudio(int(dwRate), wFormat, wChannels, 512) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    // A sound server may have given another rate or channel count than asked for.
    if (!Mix_QuerySpec(&a.nFreq, &a.wFormat, &a.nChannels)) {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(0);
    a.channelUsed.clear();
    a.bOpen = true;
    return true;
}

void Plat_AudioQuit() {
    AudioState& a = Audio();
    if (!a.bOpen) return;
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    a.bOpen = false;
    a.channelUsed.clear();
}

PlatSound* Plat_SoundCreate(const PlatWaveFormat& fmt, const uint8_t* lpData, uint32_t dwBytes) {
    AudioState& a = Audio();
    if (!a.bOpen || fmt.wFormatTag != 1 || fmt.nBlockAlign == 0) return nullptr;
    if (fmt.wBitsPerSample != 8 && fmt.wBitsPerSample != 16) return nullptr;
    SDL_AudioFormat wSrc = fmt.wBitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    uint32_t dwWhole = dwBytes - dwBytes % fmt.nBlockAlign;
    if (dwWhole == 0 || dwWhole > 0x7FFFFFFFu / 16) return nullptr;

    SDL_AudioCVT cvt;
    int nBuild = SDL_BuildAudioCVT(&cvt, wSrc, Uint8(fmt.nChannels), int(fmt.nSamplesPerSec), a.wFormat,
                                   Uint8(a.nChannels), a.nFreq);
    if (nBuild < 0) return nullptr;
    auto lpStore = std::make_shared<SampleStore>();
    if (nBuild == 0) {
        lpStore->bytes.assign(lpData, lpData + dwWhole);
    } else {
        lpStore->bytes.resize(size_t(dwWhole) * size_t(cvt.len_mult));
        SDL_memcpy(lpStore->bytes.data(), lpData, dwWhole);
        cvt.buf = lpStore->bytes.data();
        cvt.len = int(dwWhole);
        if (SDL_ConvertAudio(&cvt) != 0) return nullptr;
        lpStore->bytes.resize(size_t(cvt.len_cvt));
        lpStore->bytes.shrink_to_fit();
    }
    if (lpStore->bytes.empty()) return nullptr;
    lpStore->lpChunk = Mix_QuickLoad_RAW(lpStore->bytes.data(), Uint32(lpStore->bytes.size()));
    if (!lpStore->lpChunk) return nullptr;

    auto* lpSound = new PlatSound;
    lpSound->lpSamples = std::move(lpStore);
    lpSound->nChannel = TakeChannel();
    Mix_Volume(lpSound->nChannel, MIX_MAX_VOLUME);
    return lpSound;
}

PlatSound* Plat_SoundDuplicate(PlatSound* lpSource) {
    if (!lpSource || !Audio().bOpen) return nullptr;
    auto* lpSound = new PlatSound;
    lpSound->lpSamples = lpSource->lpSamples;
    lpSound->nChannel = TakeChannel();
    lpSound->nVolume = lpSource->nVolume;
    Mix_Volume(lpSound->nChannel, GainOf(lpSound->nVolume));
    return lpSound;
}

void Plat_SoundRelease(PlatSound* lpSound) {
    if (!lpSound) return;
    AudioState& a = Audio();
    if (a.bOpen && lpSound->nChannel >= 0 && size_t(lpSound->nChannel) < a.channelUsed.size()) {
        Mix_HaltChannel(lpSound->nChannel);
        a.channelUsed[size_t(lpSound->nChannel)] = false;
    }
    delete lpSound;
}

void Plat_SoundSetLabel(PlatSound*, int, int) {}

void Plat_SoundPlay(PlatSound* lpSound, bool bLoop) {
    if (!lpSound || !Audio().bOpen) return;
    Mix_PlayChannel(lpSound->nChannel, lpSound->lpSamples->lpChunk, bLoop ? -1 : 0);
}

void Plat_SoundStop(PlatSound* lpSound) {
    if (lpSound && Audio().bOpen) Mix_HaltChannel(lpSound->nChannel);
}

// Every play starts a chunk from its beginning, so a stopped buffer is already rewound.
void Plat_SoundRewind(PlatSound*) {}

void Plat_SoundSetVolume(PlatSound* lpSound, int32_t nVolume) {
    if (!lpSound) return;
    lpSound->nVolume = nVolume;
    if (Audio().bOpen) Mix_Volume(lpSound->nChannel, GainOf(nVolume));
}

int32_t Plat_SoundGetVolume(PlatSound* lpSound) {
    return lpSound ? lpSound->nVolume : 0;
}
