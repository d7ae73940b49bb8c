// The BMP reader over arbitrary bytes: it either refuses them or returns a picture whose
// size, table and pixels agree with each other.
#include <cstdint>
#include <cstdlib>

#include "gfx/bmp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* lpData, size_t nSize) {
    BMPFILE bmp;
    if (!DDParseBmp(lpData, nSize, bmp)) return 0;
    if (bmp.nWidth <= 0 || bmp.nHeight <= 0 || bmp.colors.size() > 256 ||
        bmp.pixels.size() != size_t(bmp.nWidth) * size_t(bmp.nHeight))
        std::abort();
    // Every pixel is read by the caller; touching them all lets the sanitizer see any hole.
    unsigned nSum = 0;
    for (uint8_t b : bmp.pixels) nSum += b;
    return nSum == 0xFFFFFFFFu;
}
