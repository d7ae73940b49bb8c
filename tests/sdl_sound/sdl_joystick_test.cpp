// The SDL joystick reader against SDL's virtual joysticks: plain joysticks keep their buttons
// and steer with stick and hat, pads of a known layout read in the standard layout, and pads
// are numbered in the order they were plugged in.
#include <gtest/gtest.h>

#include <SDL.h>

#include <memory>
#include <string>
#include <tuple>

#include "input/input.h"

namespace {

// A virtual device, plugged in on construction and pulled out on destruction.
class VirtualPad {
  public:
    VirtualPad(SDL_JoystickType type, int nAxes, int nButtons, int nHats, const char* szName = nullptr,
               Uint16 wVendor = 0, Uint16 wProduct = 0) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = Uint16(type);
        desc.naxes = Uint16(nAxes);
        desc.nbuttons = Uint16(nButtons);
        desc.nhats = Uint16(nHats);
        desc.name = szName;
        desc.vendor_id = wVendor;
        desc.product_id = wProduct;
        const int nIndex = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(nIndex, 0) << SDL_GetError();
        m_lpJoy = SDL_JoystickOpen(nIndex);
        EXPECT_NE(m_lpJoy, nullptr) << SDL_GetError();
        m_id = SDL_JoystickInstanceID(m_lpJoy);
    }
    ~VirtualPad() {
        SDL_JoystickClose(m_lpJoy);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == m_id) SDL_JoystickDetachVirtual(i);
    }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;
    std::string Guid() const {
        char sz[33];
        SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(m_lpJoy), sz, sizeof sz);
        return sz;
    }
    // Stick, hat and the raw buttons held (bit n = device button n).
    void Set(Sint16 nX, Sint16 nY, Uint8 nHat = SDL_HAT_CENTERED, uint32_t dwRaw = 0) {
        SDL_JoystickSetVirtualAxis(m_lpJoy, 0, nX);
        SDL_JoystickSetVirtualAxis(m_lpJoy, 1, nY);
        if (SDL_JoystickNumHats(m_lpJoy) > 0) SDL_JoystickSetVirtualHat(m_lpJoy, 0, nHat);
        for (int i = 0; i < SDL_JoystickNumButtons(m_lpJoy); ++i)
            SDL_JoystickSetVirtualButton(m_lpJoy, i, Uint8(dwRaw >> i & 1));
    }

  private:
    SDL_Joystick* m_lpJoy = nullptr;
    SDL_JoystickID m_id = -1;
};

PlatJoy Read(int nId) {
    PlatJoy joy{1, 1, 0xDEAD};
    EXPECT_TRUE(Plat_JoyRead(nId, &joy)) << "joystick " << nId;
    return joy;
}

struct FoldCase {
    const char* szName;
    Sint16 nX, nY;
    Uint8 nHat;
    uint32_t dwX, dwY;
};

// SDL's axis -32768..32767 reads as 0..65535; the hat gives full deflection on its axes.
const FoldCase kFold[] = {
    {"stick only", -32768, 32767, SDL_HAT_CENTERED, 0, 65535},
    {"stick at rest", 0, 0, SDL_HAT_CENTERED, 32767, 32767},
    {"half left: 16384 * 32767 / 32768", -16384, 0, SDL_HAT_CENTERED, 16383, 32767},
    {"hat alone", 0, 0, SDL_HAT_RIGHT, 65535, 32767},
    {"hat left, stick right", 32767, 0, SDL_HAT_LEFT, 0, 32767},
    {"hat up keeps the stick's x", -16384, 32767, SDL_HAT_UP, 16383, 0},
    {"diagonal up-left", 0, 0, SDL_HAT_LEFTUP, 0, 0},
    {"diagonal down-right, stick up-left", -20000, -20000, SDL_HAT_RIGHTDOWN, 65535, 65535},
};

}  // namespace

TEST(SdlJoystick, PlainJoystickKeepsItsButtonsAndFoldsHat0) {
    PlatJoy joy{};
    ASSERT_FALSE(Plat_JoyRead(0, &joy));  // also brings up the joystick subsystem; no pad here
    EXPECT_FALSE(Plat_KeyDown(VK_LEFT));
    VirtualPad pad(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 6, 1, "Plain Stick");

    PlatJoyInfo info;
    ASSERT_TRUE(Plat_JoyInfo(0, &info));
    EXPECT_EQ(std::tuple(info.szName, info.bStandard, info.bDpad, info.dwButtons),
              std::tuple("Plain Stick", false, true, 0x3Fu));

    for (const FoldCase& c : kFold) {
        pad.Set(c.nX, c.nY, c.nHat);
        joy = Read(0);
        EXPECT_EQ(std::tuple(joy.dwX, joy.dwY), std::tuple(c.dwX, c.dwY)) << c.szName;
    }
    pad.Set(0, 0, SDL_HAT_CENTERED, 0x21);  // raw buttons 0 and 5 are buttons 1 and 6
    EXPECT_EQ(Read(0).dwButtons, 0x21u);
}

TEST(SdlJoystick, MappedPadReadsInTheStandardLayout) {
    // A pad with its face buttons in another order and the D-pad on buttons 8..11, mapped at
    // run time by its GUID (which SDL builds from the USB ids given here).
    VirtualPad pad(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 12, 0, "Sofa Pad", 0x1234, 0x5678);
    const std::string szMap =
        pad.Guid() +
        ",Sofa Pad,a:b1,b:b2,x:b0,y:b3,leftshoulder:b4,rightshoulder:b5,back:b6,start:b7,"
        "dpup:b8,dpdown:b9,dpleft:b10,dpright:b11,leftx:a0,lefty:a1,";
    ASSERT_GE(SDL_GameControllerAddMapping(szMap.c_str()), 0) << SDL_GetError();

    PlatJoyInfo info;
    ASSERT_TRUE(Plat_JoyInfo(0, &info));
    // Buttons south..start; no stick clicks, no guide.
    EXPECT_EQ(std::tuple(info.bStandard, info.bDpad, info.dwButtons), std::tuple(true, true, 0xFFu));

    struct {
        uint32_t dwRaw, dwButtons;
    } const kButtons[] = {{1u << 1, 0x1},  {1u << 2, 0x2},  {1u << 0, 0x4}, {1u << 3, 0x8},
                          {1u << 6, 0x40}, {1u << 7, 0x80}, {1u << 8, 0}};
    for (const auto& b : kButtons) {
        pad.Set(0, 0, SDL_HAT_CENTERED, b.dwRaw);
        EXPECT_EQ(Read(0).dwButtons, b.dwButtons) << "raw " << b.dwRaw;
    }
    // D-pad buttons: left against the stick leaning right; up and right together.
    pad.Set(32767, 0, SDL_HAT_CENTERED, 1u << 10);
    EXPECT_EQ(Read(0).dwX, 0u);
    pad.Set(0, 0, SDL_HAT_CENTERED, 1u << 8 | 1u << 11);
    PlatJoy joy = Read(0);
    EXPECT_EQ(std::tuple(joy.dwX, joy.dwY), std::tuple(65535u, 0u));

    // The game's reader: the D-pad steers, the south button is button 1.
    INPUTSTATE in{};
    SetJoyButtonMask(in.wJoyButton);
    pad.Set(0, 0, SDL_HAT_CENTERED, 1u << 9 | 1u << 10 | 1u << 1);
    InputRead(&in, 0, INPUT_JOY);
    EXPECT_EQ(std::tuple(in.wDir, in.nDir, in.wButton), std::tuple(DIR_LEFT | DIR_DOWN, 7, 0x1));
}

TEST(SdlJoystick, PadsKeepPlugOrderAndMoveUpWhenOneGoes) {
    PlatJoy joy{};
    {
        // SDL maps a virtual game controller itself (a:b0 b:b1 x:b2 y:b3, stick on axes 0 and 1).
        auto first = std::make_unique<VirtualPad>(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
        VirtualPad second(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 0);
        first->Set(-32768, 0, SDL_HAT_CENTERED, 1u << 2);
        second.Set(32767, 0, SDL_HAT_CENTERED, 1u << 3);
        PlatJoyInfo info;
        ASSERT_TRUE(Plat_JoyInfo(0, &info));
        EXPECT_EQ(std::tuple(info.bStandard, info.bDpad), std::tuple(true, false));
        joy = Read(0);
        EXPECT_EQ(std::tuple(joy.dwX, joy.dwY, joy.dwButtons),
                  std::tuple(0u, 32767u, 0x4u));  // x: west, button 3
        joy = Read(1);
        EXPECT_EQ(std::tuple(joy.dwX, joy.dwButtons, CountJoysticks()), std::tuple(65535u, 0x8u, 2));

        first.reset();  // pad 0 pulled out: the other one moves up
        joy = Read(0);
        EXPECT_EQ(std::tuple(joy.dwX, joy.dwButtons, CountJoysticks()), std::tuple(65535u, 0x8u, 1));
        EXPECT_FALSE(Plat_JoyRead(1, &joy));
    }
    EXPECT_FALSE(Plat_JoyRead(0, &joy));
    EXPECT_EQ(CountJoysticks(), 0);
}
