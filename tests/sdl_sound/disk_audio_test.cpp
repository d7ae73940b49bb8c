// The SDL sound device through SDL's "disk" driver: a played sound reaches the output file.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "sound/sound.h"
#include "support/files.h"

namespace {

// Output samples far from the 8-bit silence level 0x80.
size_t LoudBytes(const std::vector<uint8_t>& bytes) {
    size_t n = 0;
    for (uint8_t b : bytes) n += (b < 0x60 || b > 0xA0);
    return n;
}

}  // namespace

TEST(SdlSound, PlayedSoundReachesTheDiskDevice) {
    TempDir dir;
    const std::string szOut = dir.File("disk.raw");
    SetEnv("SDL_AUDIODRIVER", "disk");
    SetEnv("SDL_DISKAUDIOFILE", szOut.c_str());
    ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));

    std::string szWave = std::string(POMRIN_TEST_DIR) + "/../sound/fixtures/s16_stereo_22k.wav";
    SOUNDGROUP group{};
    ASSERT_TRUE(DSCreateBufferGropeFromFile(&group, szWave.c_str(), 2, -500));
    EXPECT_EQ(group.nCount, 2);
    DSPlay(&group, 0);
    // The driver writes at its own pace; wait (without judging the time) for a second of output,
    // then read it once the device is closed (under Wine a file read while the driver writes it
    // showed only silence).
    for (int i = 0; i < 500 && ReadBytes(szOut).size() < 22050; ++i) SDL_Delay(20);
    DSReleaseBufferGroup(&group);
    DS_Release();
    EXPECT_GE(LoudBytes(ReadBytes(szOut)), 500u);  // 0.1 s of a sine wave, -5 dB: most of 2205 samples are loud
}

TEST(SdlSound, NoDeviceMeansStartUpFails) {
    SetEnv("SDL_AUDIODRIVER", "no_such_driver");
    EXPECT_FALSE(DS_Init(nullptr, 22050, 8, 1));
    EXPECT_EQ(g_lpDS, nullptr);
}
