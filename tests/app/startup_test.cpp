// Start-up failures: which box is shown, and whether the single-instance lock is still held
// while it is on screen.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/game_main.h"
#include "platform/headless/headless.h"

namespace {

TEST(Startup, FailureBoxesAndTheInstanceLock) {
    ASSERT_NO_THROW(std::filesystem::current_path(POMRIN_DATA_DIR));

    // The window cannot be made: the box comes while this copy still counts as running.
    Headless_Reset();
    Headless_SetWindowAvailable(false);
    EXPECT_EQ(GameRun(nullptr), 1);
    ASSERT_EQ(Headless_MessageBoxes(), std::vector<std::string>{"エラー: ウインドウクラスの生成に失敗！"});
    EXPECT_TRUE(Headless_MessageBoxLocked()[0]);

    // Start-up fails after the display is up (no sound device): everything is released and
    // the lock given back before the box, so a copy started meanwhile runs normally.
    Headless_Reset();
    Headless_SetAudioAvailable(false);
    EXPECT_EQ(GameRun(nullptr), 1);
    ASSERT_EQ(Headless_MessageBoxes(), std::vector<std::string>{"エラー: ゲーム全体の初期設定に失敗！"});
    EXPECT_FALSE(Headless_MessageBoxLocked()[0]);
}

}  // namespace
