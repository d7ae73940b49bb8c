// The SDL joystick reader against SDL's virtual joysticks: range, buttons and hot-plug.
#include <gtest/gtest.h>

#include <SDL.h>

#include "input/input.h"

TEST(SdlJoystick, VirtualDeviceReadsAndUnplugs) {
    PlatJoy joy{};
    EXPECT_FALSE(Plat_JoyRead(0, &joy));  // also brings up the joystick subsystem
    EXPECT_FALSE(Plat_KeyDown(VK_LEFT));
    int nIndex = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
    ASSERT_GE(nIndex, 0) << SDL_GetError();
    SDL_Joystick* lpDev = SDL_JoystickOpen(nIndex);
    ASSERT_NE(lpDev, nullptr);

    ASSERT_TRUE(Plat_JoyRead(0, &joy));
    EXPECT_EQ(joy.dwX, 32767u);  // at rest
    EXPECT_EQ(joy.dwY, 32767u);
    SDL_JoystickSetVirtualAxis(lpDev, 0, -32768);
    SDL_JoystickSetVirtualAxis(lpDev, 1, 32767);
    SDL_JoystickSetVirtualButton(lpDev, 2, 1);
    ASSERT_TRUE(Plat_JoyRead(0, &joy));
    EXPECT_EQ(joy.dwX, 0u);
    EXPECT_EQ(joy.dwY, 65535u);
    EXPECT_EQ(joy.dwButtons, 0x4u);
    EXPECT_EQ(CountJoysticks(), 1);

    INPUTSTATE in{};
    SetJoyButtonMask(in.wJoyButton);
    InputRead(&in, 0, INPUT_JOY);
    EXPECT_EQ(in.wDir, DIR_LEFT | DIR_DOWN);
    EXPECT_EQ(in.nDir, 7);
    EXPECT_EQ(in.wButton, 0x4);

    SDL_JoystickClose(lpDev);
    SDL_JoystickDetachVirtual(nIndex);
    EXPECT_FALSE(Plat_JoyRead(0, &joy));  // pulled out
    EXPECT_EQ(CountJoysticks(), 0);
}
