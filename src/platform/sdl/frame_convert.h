// Index-to-colour conversion of a presented frame; no SDL here, so benchmarks can call it.
#pragma once
#include <cstddef>
#include <cstdint>

// Writes nWidth x nHeight 32-bit pixels (rows nDstPitch bytes apart) from 8-bit indices.
inline void ConvertFrame(const uint8_t* lpSrc, int nSrcPitch, int nWidth, int nHeight,
                         const uint32_t lpLut[256], uint8_t* lpDst, int nDstPitch) {
    for (int y = 0; y < nHeight; ++y) {
        const uint8_t* s = lpSrc + size_t(y) * nSrcPitch;
        uint32_t* d = reinterpret_cast<uint32_t*>(lpDst + size_t(y) * nDstPitch);
        for (int x = 0; x < nWidth; ++x) d[x] = lpLut[s[x]];
    }
}
