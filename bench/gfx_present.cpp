// Frame costs: index-to-colour conversion of a whole frame, a full-screen opaque copy,
// and turning a 32 x 32 sprite.
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "gfx/blit.h"
#include "platform/sdl/frame_convert.h"

namespace {

void FillPattern(SURFACE& s) {
    for (int y = 0; y < s.nHeight; ++y)
        for (int x = 0; x < s.nWidth; ++x) s.lpSurface[size_t(y) * s.nPitch + x] = uint8_t(x * 7 + y * 13);
}

void BM_PresentConvert(benchmark::State& state) {
    SURFACE frame;
    DDCreateSurface(frame, 640, 480, 0, 0);
    FillPattern(frame);
    std::array<uint32_t, 256> lut;
    for (int i = 0; i < 256; ++i) lut[i] = 0xFF000000u | uint32_t(i) * 0x010203u;
    std::vector<uint32_t> texture(640 * 480);
    for (auto _ : state) {
        ConvertFrame(frame.lpSurface.get(), frame.nPitch, 640, 480, lut.data(),
                     reinterpret_cast<uint8_t*>(texture.data()), 640 * 4);
        benchmark::DoNotOptimize(texture.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PresentConvert)->Unit(benchmark::kMicrosecond);

void BM_FullScreenOpaqueCopy(benchmark::State& state) {
    SURFACE src, dst;
    DDCreateSurface(src, 640, 480, 0, 0);
    DDCreateSurface(dst, 640, 480, 0, 0);
    FillPattern(src);
    for (auto _ : state) {
        DDBltClip(dst, 0, 0, 640, 480, src, 0, 0, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullScreenOpaqueCopy)->Unit(benchmark::kMicrosecond);

void BM_Rotate32(benchmark::State& state) {
    SURFACE src, dst;
    DDCreateSurface(src, 64, 64, 1, 1);
    DDCreateSurface(dst, 640, 480, 0, 0);
    FillPattern(src);
    const int nAngle = int(state.range(0));
    for (auto _ : state) {
        DDBltRotate(dst, 320, 240, 32, 32, 16, 16, nAngle, src, 16, 16, 1);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Rotate32)->Arg(0)->Arg(30)->Arg(45)->Arg(90);

}  // namespace
