// Platform layer: a sound device with buffers that play once or loop, can be duplicated
// sharing their samples, stopped, rewound and given a volume in hundredths of a decibel.
#pragma once
#include <cstdint>

struct PlatSound;  // one sound buffer

// The format of a buffer's samples, as in a WAV file's "fmt " chunk (PCM only).
struct PlatWaveFormat {
    uint16_t wFormatTag;
    uint16_t nChannels;
    uint32_t nSamplesPerSec;
    uint32_t nAvgBytesPerSec;
    uint16_t nBlockAlign;
    uint16_t wBitsPerSample;
};

// Opens the sound device asking for this format. False: no device.
bool Plat_AudioInit(uint32_t dwRate, uint16_t wBits, uint16_t wChannels);
void Plat_AudioQuit();

// A buffer holding a copy of the samples (converted to the device's format as needed).
PlatSound* Plat_SoundCreate(const PlatWaveFormat& fmt, const uint8_t* lpData, uint32_t dwBytes);
// A second buffer sharing lpSource's samples, with its own position and volume.
PlatSound* Plat_SoundDuplicate(PlatSound* lpSource);
void Plat_SoundRelease(PlatSound* lpSound);
// Names the buffer for diagnostics and the headless play log: group nGroup, buffer nIndex.
void Plat_SoundSetLabel(PlatSound* lpSound, int nGroup, int nIndex);

void Plat_SoundPlay(PlatSound* lpSound, bool bLoop);
void Plat_SoundStop(PlatSound* lpSound);
void Plat_SoundRewind(PlatSound* lpSound);
// nVolume in hundredths of a decibel, -10000 (silent) .. 0 (as recorded).
void Plat_SoundSetVolume(PlatSound* lpSound, int32_t nVolume);
int32_t Plat_SoundGetVolume(PlatSound* lpSound);
