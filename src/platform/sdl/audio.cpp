// SDL backend: the sound device.
#include <SDL.h>

#include "platform/plat_audio.h"

bool Plat_AudioInit(uint32_t, uint16_t, uint16_t) { return false; }
void Plat_AudioQuit() {}
PlatSound* Plat_SoundCreate(const PlatWaveFormat&, const uint8_t*, uint32_t) { return nullptr; }
PlatSound* Plat_SoundDuplicate(PlatSound*) { return nullptr; }
void Plat_SoundRelease(PlatSound*) {}
void Plat_SoundSetLabel(PlatSound*, int, int) {}
void Plat_SoundPlay(PlatSound*, bool) {}
void Plat_SoundStop(PlatSound*) {}
void Plat_SoundRewind(PlatSound*) {}
void Plat_SoundSetVolume(PlatSound*, int32_t) {}
