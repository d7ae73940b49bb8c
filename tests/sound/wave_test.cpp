// The WAV reader against files sox wrote in formats the game refuses, damaged copies of its
// files, and a hand-made file with an odd chunk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sound/sound.h"
#include "support/files.h"

namespace {

std::string Fixture(const char* szName) {
    return std::string(POMRIN_TEST_DIR) + "/fixtures/" + szName;
}

// Each case writes its own file in the test's temporary folder.
std::string WriteTemp(const TempDir& dir, const std::vector<uint8_t>& bytes) {
    static int s_nFile = 0;
    const std::string szPath = dir.File(("case" + std::to_string(s_nFile++) + ".wav").c_str());
    WriteBytes(szPath, bytes);
    return szPath;
}

void PutLe32(std::vector<uint8_t>& b, size_t nAt, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[nAt + i] = uint8_t(v >> (8 * i));
}

bool Reads(const std::string& szPath, WAVEDATA* lpWave) {
    *lpWave = WAVEDATA{};
    return DSReadWaveFile(szPath.c_str(), lpWave);
}

}  // namespace

TEST(WaveRead, OtherFormatsTruncatedFilesAndLyingSizesAreRefused) {
    WAVEDATA wave;
    for (const char* szName : {"s24_extensible.wav", "ulaw.wav", "no_such_file.wav"})
        EXPECT_FALSE(Reads(Fixture(szName), &wave)) << szName;
    TempDir dir;
    // u8_mono_22k.wav: 44-byte header, 2205 data bytes, one pad byte; any cut loses part of a
    // chunk the headers promise.
    const std::vector<uint8_t> u8 = ReadBytes(Fixture("u8_mono_22k.wav"));
    ASSERT_EQ(u8.size(), 2250u);
    for (size_t n : {0, 4, 11, 12, 20, 36, 43, 44, 1000, 2248, 2249}) {
        std::vector<uint8_t> cut(u8.begin(), u8.begin() + long(n));
        EXPECT_FALSE(Reads(WriteTemp(dir, cut), &wave)) << "cut to " << n;
    }
    // s16_mono_22k.wav with one size or the form type changed.
    const std::vector<uint8_t> whole = ReadBytes(Fixture("s16_mono_22k.wav"));
    struct Lie {
        size_t nAt;
        uint32_t dwValue;
    } lies[] = {
        {40, 0xFFFFFFF0u},  // data bigger than the file
        {40, 4411},         // data one byte past the end
        {4, 0x7FFFFFFFu},   // RIFF form bigger than the file
        {16, 0xFFFFFFFFu},  // "fmt " bigger than everything
        {16, 14},           // "fmt " too short for a PCM header
        {8, 0x45564158u},   // form type "XAVE"
    };
    for (const Lie& lie : lies) {
        std::vector<uint8_t> bad = whole;
        PutLe32(bad, lie.nAt, lie.dwValue);
        EXPECT_FALSE(Reads(WriteTemp(dir, bad), &wave)) << lie.nAt << " " << lie.dwValue;
    }
}

TEST(WaveRead, OddChunksArePaddedBeforeTheNext) {
    TempDir dir;
    // 8-bit header, then an odd 3-byte "junk" chunk with its pad byte, then 5 data bytes.
    std::vector<uint8_t> b = {
        'R', 'I', 'F', 'F',  0,    0, 0,   0,    'W',  'A', 'V', 'E', 'f', 'm', 't', ' ', 16,  0,   0,   0, 1,
        0,   1,   0,   0x22, 0x56, 0, 0,   0x22, 0x56, 0,   0,   1,   0,   8,   0,   'j', 'u', 'n', 'k', 3, 0,
        0,   0,   'd', 'a',  't',  0, 'd', 'a',  't',  'a', 5,   0,   0,   0,   10,  20,  30,  40,  50,  0};
    PutLe32(b, 4, uint32_t(b.size() - 8));
    WAVEDATA wave;
    ASSERT_TRUE(Reads(WriteTemp(dir, b), &wave));
    ASSERT_EQ(wave.dwSize, 5u);
    EXPECT_EQ(std::vector<uint8_t>(wave.lpData, wave.lpData + 5), (std::vector<uint8_t>{10, 20, 30, 40, 50}));
    DSFreeWave(&wave);
}
