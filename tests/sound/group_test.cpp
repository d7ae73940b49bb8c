// Sound groups on the headless device: building, round robin, the failure chain, rollback frames.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>

#include "platform/headless/headless.h"
#include "sound/sound.h"

namespace {

std::string g_szFiles[SND_COUNT];

// The real table's counts and volumes over the sox fixtures; row nBad gets szBad.
std::array<SOUNDTABLE, SND_COUNT> FixtureTable(int nBad = -1, const char* szBad = nullptr) {
    static const char* kFiles[] = {"u8_mono_22k.wav", "s16_mono_22k.wav", "s16_stereo_22k.wav",
                                   "s16_mono_44k.wav"};
    std::array<SOUNDTABLE, SND_COUNT> t = g_SoundTable;
    for (int i = 0; i < SND_COUNT; ++i) {
        g_szFiles[i] = std::string(POMRIN_TEST_DIR) + "/fixtures/" + (i == nBad ? szBad : kFiles[i % 4]);
        t[size_t(i)].szFile = g_szFiles[i].c_str();
    }
    return t;
}

class SoundGroups : public ::testing::Test {
  protected:
    void SetUp() override {
        Headless_Reset();
        nLiveBefore = Headless_LiveSounds();
        ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
    }
    void TearDown() override {
        DS_Release();
        EXPECT_EQ(Headless_LiveSounds(), nLiveBefore);
    }
    int nLiveBefore = 0;
};

std::vector<int> PlayedIndices() {
    std::vector<int> v;
    for (const HeadlessPlay& p : Headless_Plays()) v.push_back(p.nIndex);
    return v;
}

}  // namespace

TEST_F(SoundGroups, CursorPlaysRoundRobinAndGoRestarts) {
    auto table = FixtureTable();
    ASSERT_EQ(DSCreateBufferGroup(g_Sound, table.data()), 1u);
    EXPECT_EQ(g_Sound[SND_CURSOR].nCount, 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(DSGetVolume(&g_Sound[SND_CURSOR], i), -500);
    EXPECT_EQ(DSGetVolume(&g_Sound[SND_GO], 0), 0);

    for (int i = 0; i < 5; ++i) DSPlay(&g_Sound[SND_CURSOR], 0);
    EXPECT_EQ(PlayedIndices(), (std::vector<int>{0, 1, 2, 3, 0}));
    for (const HeadlessPlay& p : Headless_Plays()) {
        EXPECT_EQ(p.nGroup, SND_CURSOR);
        EXPECT_EQ(p.nVolume, -500);
    }

    Headless_Plays().clear();
    DSPlay(&g_Sound[SND_GO], 0);
    DSPlay(&g_Sound[SND_GO], 0);
    EXPECT_EQ(PlayedIndices(), (std::vector<int>{0, 0}));
    EXPECT_EQ(std::tuple(Headless_Plays()[1].nGroup, Headless_Plays()[1].bLoop), std::tuple(SND_GO, false));
    DSPlay(&g_Sound[SND_GO], 3);  // the looping bit among other play flags
    EXPECT_TRUE(Headless_Plays()[2].bLoop);
}

TEST_F(SoundGroups, ARefusedFileStopsTheChainThere) {
    auto table = FixtureTable(5, "s24_extensible.wav");
    EXPECT_EQ(DSCreateBufferGroup(g_Sound, table.data()), 0u);
    for (int i = 0; i < 5; ++i) EXPECT_NE(g_Sound[i].lpBuffer, nullptr) << i;
    // The failing group itself is left empty, holding no buffers: 4 + 2 + 2 + 2 + 1 remain.
    for (int i = 5; i < SND_COUNT; ++i) EXPECT_EQ(g_Sound[i].lpBuffer, nullptr) << i;
    EXPECT_EQ(Headless_LiveSounds(), nLiveBefore + 11);
    DSPlay(&g_Sound[SND_DEATH], 0);  // an empty group is silent
    EXPECT_TRUE(Headless_Plays().empty());

    // A second pass builds only the groups still empty, the failed one included.
    auto good = FixtureTable();
    ASSERT_EQ(DSCreateBufferGroup(g_Sound, good.data()), 1u);
    EXPECT_EQ(g_Sound[SND_SKILL].nCount, 2);
    DSPlay(&g_Sound[SND_SKILL], 0);
    DSPlay(&g_Sound[SND_SKILL], 0);
    ASSERT_EQ(Headless_Plays().size(), 2u);
    const auto& p = Headless_Plays()[1];
    EXPECT_EQ(std::tuple(p.nGroup, p.nIndex, p.nVolume), std::tuple(SND_SKILL, 1, -1000));
}

// Frames simulated again after a rollback: frame 10 plays the hit twice; simulated again it
// plays nothing, unless it now plays the hit a third time or a new sound, and only while it is
// at most DS_LATE_FRAMES (4) behind the newest frame; a silent pass plays and counts nothing.
TEST_F(SoundGroups, FramesSimulatedAgainPlayOnlyWhatTheyHadNotPlayed) {
    auto table = FixtureTable();
    ASSERT_EQ(DSCreateBufferGroup(g_Sound, table.data()), 1u);
    auto Frame = [](uint32_t dwFrame, bool bSilent, std::initializer_list<int> sounds) {
        Headless_Plays().clear();
        DSFrameBegin(dwFrame, bSilent);
        for (int n : sounds) DSPlay(&g_Sound[n], 0);
        std::vector<int> v;
        for (const HeadlessPlay& p : Headless_Plays()) v.push_back(p.nGroup);
        return v;
    };
    EXPECT_EQ(Frame(10, false, {SND_HIT_S, SND_HIT_S}), (std::vector<int>{SND_HIT_S, SND_HIT_S}));
    EXPECT_EQ(Frame(11, true, {SND_GO}), std::vector<int>{});
    EXPECT_EQ(Frame(10, false, {SND_HIT_S, SND_HIT_S}), std::vector<int>{});
    EXPECT_EQ(Frame(11, false, {SND_GO}), std::vector<int>{SND_GO});
    EXPECT_EQ(Frame(14, false, {}), std::vector<int>{});
    EXPECT_EQ(Frame(10, false, {SND_HIT_S, SND_SHOT, SND_HIT_S, SND_HIT_S}),
              (std::vector<int>{SND_SHOT, SND_HIT_S}));
    EXPECT_EQ(Frame(15, false, {}), std::vector<int>{});
    EXPECT_EQ(Frame(10, false, {SND_DEATH}), std::vector<int>{});  // five behind: dropped
    EXPECT_EQ(Frame(11, false, {SND_GO, SND_DEATH}), std::vector<int>{SND_DEATH});
    DSFrameReset();
    Headless_Plays().clear();
    DSPlay(&g_Sound[SND_GO], 0);
    EXPECT_EQ(Headless_Plays().size(), 1u);
}
