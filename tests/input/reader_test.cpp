// The fixed and the mapped readers over the headless keyboard and joysticks.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "input/input.h"
#include "platform/headless/headless.h"
#include "support/files.h"

namespace {

class Reader : public ::testing::Test {
  protected:
    void SetUp() override {
        Headless_Reset();
        SetDefaultKeyMap(&g_KeyMap);
        in[0] = in[1] = INPUTSTATE{};
        SetJoyButtonMask(in[0].wJoyButton);
        SetJoyButtonMask(in[1].wJoyButton);
    }
    void TearDown() override {
        SetDefaultKeyMap(&g_KeyMap);
        Headless_Reset();
    }
    INPUTSTATE in[2];
};

}  // namespace

TEST_F(Reader, JoystickThresholdsAndLayering) {
    struct Case {
        uint32_t dwPos;
        uint16_t wX, wY;  // wDir for the position on X, on Y
    } cases[] = {{10000, 0x1, 0x4}, {10001, 0, 0}, {55534, 0, 0},
                 {55535, 0x2, 0x8}, {0, 0x1, 0x4}, {65535, 0x2, 0x8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwPos);
        Headless_SetJoy(0, true, c.dwPos, 32767, 0);
        InputRead(&in[0], 0, INPUT_JOY);
        EXPECT_EQ(in[0].wDir, c.wX);
        Headless_SetJoy(0, true, 32767, c.dwPos, 0);
        InputRead(&in[0], 0, INPUT_JOY);
        EXPECT_EQ(in[0].wDir, c.wY);
    }
    // The pushed joystick wins the direction; the keyboard still gives the buttons.
    Headless_SetJoy(0, true, 60000, 32767, 0);
    Headless_SetKey(VK_LEFT, true);
    Headless_SetKey('Z', true);
    InputRead(&in[0], 0, INPUT_JOY | INPUT_KEY);
    EXPECT_EQ(std::tuple(in[0].wDir, in[0].nDir, in[0].wButton), std::tuple(0x2, 6, 0x1));
    // A held joystick button wins all buttons.
    Headless_SetJoy(0, true, 32767, 0, 0x4 | 0x10);  // buttons 3 and 5; 5 is not mapped
    InputRead(&in[0], 0, INPUT_JOY | INPUT_KEY);
    EXPECT_EQ(std::tuple(in[0].wDir, in[0].nDir, in[0].wButton), std::tuple(0x4, 2, 0x4));
}

TEST_F(Reader, AbsentJoysticks) {
    Headless_SetKey(VK_UP, true);
    in[1].wDir = 0x8;
    in[1].nDir = 8;
    InputRead(&in[1], 1, INPUT_JOY);  // joystick only, not there: record unchanged
    EXPECT_EQ(std::tuple(in[1].wDir, in[1].nDir), std::tuple(0x8, 8));
    InputRead(&in[1], 1, INPUT_JOY | INPUT_KEY);  // falls back to the keyboard
    EXPECT_EQ(in[1].wDir, 0x4);
    EXPECT_EQ(InputRead(&in[1], 0xFFFFFFFFu, INPUT_JOY | INPUT_KEY), 1u);

    EXPECT_EQ(CountJoysticks(), 0);
    Headless_SetJoy(1, true);
    EXPECT_EQ(CountJoysticks(), 0);  // counting stops at the first absent one
    Headless_SetJoy(0, true);
    EXPECT_EQ(CountJoysticks(), 2);
}

TEST_F(Reader, MappedJoysticksAndCounts) {
    g_KeyMap.bCustom = 1;
    g_KeyMap.Player[0].Bind[0] = KEYBIND{0, 1, 0};  // joystick 0 button 1 steers left
    g_KeyMap.Player[0].nCount = 6;
    Headless_SetJoy(0, true, 32767, 60000, 0x1);
    for (int k : {'Z', 'X', 'C', 'V'}) Headless_SetKey(k, true);
    InputReadMapped(in, 2);
    // Player 1: nCount 6, two buttons; player 2 on joystick 0, Y high.
    EXPECT_EQ(std::tuple(in[0].wDir, in[0].wButton, in[1].wDir, in[1].nDir, in[1].wButton),
              std::tuple(0x1, 0x3, 0x8, 8, 0x1));
    Headless_SetJoy(0, false);
    InputReadMapped(in, 2);
    EXPECT_EQ(std::tuple(in[0].wDir, in[1].wButton), std::tuple(0, 0));  // an absent joystick is never down
}

TEST_F(Reader, MappedValuesBeyondTheLimitsAreNeverDown) {
    g_KeyMap.bCustom = 1;
    for (int k : {'Z', 'X', 'C', 'V'}) Headless_SetKey(k, true);
    Headless_SetJoy(0, true, 0, 0, 0xFFFF);
    Headless_SetJoy(1, true, 0, 0, 0xFFFF);

    g_KeyMap.Player[0].nCount = 0xFFFFFFFFu;  // never past the eight entries
    g_KeyMap.Player[1].nCount = 2;            // directions only
    InputReadMapped(in, 2);
    EXPECT_EQ(std::tuple(in[0].wButton, in[1].wButton, in[1].wDir), std::tuple(0xF, 0, 0x1 | 0x4));

    g_KeyMap.nJoyCount = 1;  // joystick 1 is not polled
    for (KEYBIND& b : g_KeyMap.Player[1].Bind) b.nDevice = 1;
    InputReadMapped(in, 2);
    EXPECT_EQ(in[1].wDir, 0);

    g_KeyMap.nJoyCount = 0xFFFFFFFFu;  // more than can be polled
    for (KEYBIND& b : g_KeyMap.Player[1].Bind) b.nDevice = 200;
    g_KeyMap.Player[1].Bind[2].nDevice = 1;
    InputReadMapped(in, 5);  // only two blocks exist
    EXPECT_EQ(std::tuple(in[1].wDir, in[1].nDir), std::tuple(0x4, 2));
}

TEST(KeyFile, LoadsTheLittleEndianImage) {
    std::vector<uint8_t> bytes(144, 0);
    bytes[0] = 8;  // player 1 left: keyboard
    bytes[4] = 'A';
    bytes[64] = 5;                 // player 1 nCount
    bytes[68 + 8 * 4 + 4] = 0x00;  // player 2 button 1: joystick 0, mask 0x100
    bytes[68 + 8 * 4 + 5] = 0x01;
    bytes[132] = 4;
    bytes[136] = 1;
    bytes[140] = 1;
    TempDir dir;
    const std::string szPath = dir.File("CustomKey.dat");
    auto write = [&](size_t n) {
        WriteBytes(szPath, std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(n)));
    };
    write(144);
    KEYMAP map{};
    ASSERT_EQ(LoadKeyFile(szPath.c_str(), &map), 1u);
    EXPECT_EQ(std::tuple(map.Player[0].Bind[0].nDevice, map.Player[0].Bind[0].wCode, map.Player[0].nCount,
                         map.Player[1].Bind[4].wCode, map.Player[1].nCount, map.nJoyCount, map.bCustom),
              std::tuple(8u, 'A', 5u, 0x100, 4u, 1u, 1u));

    // A short file fills the leading fields only; no defaults are applied.
    KEYMAP shortMap{};
    write(66);
    ASSERT_EQ(LoadKeyFile(szPath.c_str(), &shortMap), 1u);
    EXPECT_EQ(std::tuple(shortMap.Player[0].nCount, shortMap.Player[1].nCount, shortMap.bCustom),
              std::tuple(5u, 0u, 0u));
    std::remove(szPath.c_str());
    EXPECT_EQ(LoadKeyFile(szPath.c_str(), &shortMap), 0u);
}
