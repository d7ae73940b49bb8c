#include <cmath>

#include "assets.h"
#include "layout.h"

std::vector<uint8_t> SynthSound(int n) {
    int nLen = kSampleRate / 5;
    std::vector<uint8_t> out(static_cast<size_t>(nLen));
    for (int i = 0; i < nLen; ++i) {
        float t = float(i) / kSampleRate;
        float env = std::sin(3.14159265f * i / (nLen - 1));
        float v = 0.5f * env * std::sin(6.2831853f * (300.0f + 60.0f * n) * t);
        out[size_t(i)] = uint8_t(std::lround(128 + 127 * v));
    }
    return out;
}
