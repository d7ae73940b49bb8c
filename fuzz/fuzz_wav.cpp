// The WAV reader over arbitrary bytes: it refuses them or returns samples that all lie
// inside the file.
#include <cstdint>
#include <cstdlib>

#include "fuzz_file.h"
#include "sound/sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* lpData, size_t nSize) {
    const char* szFile = FuzzWriteFile(lpData, nSize);
    WAVEDATA wave{};
    if (!DSReadWaveFile(szFile, &wave)) return 0;
    if (!wave.lpData || wave.dwSize > nSize || wave.Format.wFormatTag != 1) std::abort();
    unsigned nSum = 0;
    for (uint32_t i = 0; i < wave.dwSize; ++i) nSum += wave.lpData[i];
    delete[] wave.lpData;
    return nSum == 0xFFFFFFFFu;
}
