// Shared set-up for the rule tests: default settings, a silent sound device that logs its
// plays, and two 32 x 32 fighters placed by hand.
#pragma once
#include <gtest/gtest.h>

#include <cstring>

#include "support/fighter.h"
#include "app/crt_rand.h"
#include "app/option.h"
#include "battle/chara.h"
#include "battle/skill.h"
#include "platform/headless/headless.h"
#include "platform/plat_audio.h"
#include "sound/sound.h"

inline void OpenTestSounds() {
    static DSDEVICE s_Device{22050, 8, 1};
    static PlatSound* s_lpBuffers[SND_COUNT];
    g_lpDS = &s_Device;
    for (int i = 0; i < SND_COUNT; i++) {
        if (!s_lpBuffers[i]) {
            s_lpBuffers[i] = Plat_SoundCreate(PlatWaveFormat{1, 1, 22050, 22050, 1, 8}, nullptr, 0);
            Plat_SoundSetLabel(s_lpBuffers[i], i, 0);
        }
        g_Sound[i].lpBuffer = &s_lpBuffers[i];
        g_Sound[i].nCount = 1;
        g_Sound[i].nNext = 0;
    }
}

inline int Plays(int nSound) {
    int n = 0;
    for (const HeadlessPlay& p : Headless_Plays()) n += p.nGroup == nSound;
    return n;
}

inline void PlaceFighter(CHARA* lpChara, int32_t nPx, int32_t nPy, int32_t nWeight = 60) {
    *lpChara = Fighter(nPx, nPy, int32_t(lpChara - g_Chara) & 1, nWeight);
}

class BattleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_Option = OPTIONDATA{3, {3, 3, 3}, 2, 0, 1.0, 0, 0};
        g_nBattleMode = 0;
        OpenTestSounds();
        Headless_Plays().clear();
        std::memset(g_Effect, 0, sizeof g_Effect);
        PlaceFighter(&A, 100, 100);
        PlaceFighter(&B, 300, 300);
        CrtRandSetState(1);
    }
    CHARA& A = g_Chara[0];
    CHARA& B = g_Chara[1];
};

// Presses one skill button (0..3) with no direction.
inline INPUTSTATE Press(int nButton) {
    INPUTSTATE in{};
    in.nDir = 5;
    in.wButton = uint16_t(1u << nButton);
    return in;
}
