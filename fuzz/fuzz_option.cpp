// The settings file: any bytes over the record, then everything that reads the values
// (options screen, battle speed and defence scalings, COM strength, win marks) must stay
// defined whatever they hold.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "app/option.h"
#include "battle/chara.h"
#include "battle/skill.h"
#include "battle_view/battle_draw.h"
#include "com/com.h"
#include "fuzz_file.h"
#include "gfx/bitmap.h"
#include "gfx/surface.h"
#include "menus/option_scene.h"


namespace {

void Check(bool b) {
    if (!b) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    DDCreateSurface(g_BackBuffer, 640, 480, 0, 0);
    DDCreateSurface(g_Bitmap[BMP_OTHER], 64, 64, 1, 0);
    DDCreateSurface(g_Bitmap[BMP_MESSAGE], 512, 512, 1, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* lpData, size_t nSize) {
    // The record starts as zero, as at start-up, and keeps what a short file does not cover.
    g_Option = OPTIONDATA{};
    if (!LoadOptionFile(FuzzWriteFile(lpData, nSize), &g_Option)) std::abort();

    OPTIONSCENE scene{};
    OptionGet(&scene);
    OptionApply(&scene);
    Check(g_Option.dGameSpeed == std::trunc(g_Option.dGameSpeed));

    const double dSpeed = BattleGameSpeed();
    Check(dSpeed >= 1.0 && dSpeed <= 20.0);
    for (int32_t v : {-1 << 20, -1024, 0, 1, 700, 1 << 20}) {
        (void)SpeedUp(v);
        (void)SlowDown(v);
        (void)ImpactScale(v);
    }
    for (int32_t nControl = 0; nControl < 3; ++nControl) {
        g_Chara[0].nControl = nControl;
        const double d = DefenseDivisor(&g_Chara[0]);
        Check(d >= 0.6 && d <= 1.4);
    }
    Check(SkillListOf(g_Option.nBattleMode) != nullptr);

    CHARA com{};
    com.nControl = 2;
    ComSetup(&com);

    // The win marks and the result sign with every count the match can reach.
    const int32_t nMax = g_Option.nWinCount < 0 ? 0 : g_Option.nWinCount > 6 ? 6 : g_Option.nWinCount;
    for (int32_t n = 0; n <= nMax; ++n) {
        g_Chara[0].nWin = n;
        g_Chara[1].nWin = nMax - n;
        DrawWins();
        (void)DrawMatchResult();
    }
    return 0;
}
