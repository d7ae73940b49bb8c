// SDL backend: the keyboard state of this moment, and joysticks and game controllers polled
// with hot-plug and numbered in the order they were plugged in.
#include <SDL.h>

#include <algorithm>
#include <array>
#include <vector>

#include "platform/pad_fold.h"
#include "platform/plat_input.h"

namespace {

// Virtual-key code -> scancode (and a second scancode for keys found twice, like Shift).
struct KeyScan {
    SDL_Scancode sc1 = SDL_SCANCODE_UNKNOWN;
    SDL_Scancode sc2 = SDL_SCANCODE_UNKNOWN;
};

std::array<KeyScan, 256> BuildKeyTable() {
    std::array<KeyScan, 256> t{};
    auto set = [&](int nVk, SDL_Scancode a, SDL_Scancode b = SDL_SCANCODE_UNKNOWN) { t[nVk] = {a, b}; };
    for (int i = 0; i < 26; ++i) set('A' + i, SDL_Scancode(SDL_SCANCODE_A + i));
    set('0', SDL_SCANCODE_0);
    for (int i = 1; i < 10; ++i) set('0' + i, SDL_Scancode(SDL_SCANCODE_1 + i - 1));
    for (int i = 0; i < 12; ++i) set(VK_F1 + i, SDL_Scancode(SDL_SCANCODE_F1 + i));
    set(VK_NUMPAD0, SDL_SCANCODE_KP_0);
    for (int i = 1; i < 10; ++i) set(VK_NUMPAD0 + i, SDL_Scancode(SDL_SCANCODE_KP_1 + i - 1));
    set(VK_BACK, SDL_SCANCODE_BACKSPACE);
    set(VK_TAB, SDL_SCANCODE_TAB);
    set(VK_RETURN, SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER);
    set(VK_SHIFT, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT);
    set(VK_CONTROL, SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL);
    set(VK_MENU, SDL_SCANCODE_LALT, SDL_SCANCODE_RALT);
    set(VK_ESCAPE, SDL_SCANCODE_ESCAPE);
    set(VK_SPACE, SDL_SCANCODE_SPACE);
    set(VK_PRIOR, SDL_SCANCODE_PAGEUP);
    set(VK_NEXT, SDL_SCANCODE_PAGEDOWN);
    set(VK_END, SDL_SCANCODE_END);
    set(VK_HOME, SDL_SCANCODE_HOME);
    set(VK_LEFT, SDL_SCANCODE_LEFT);
    set(VK_UP, SDL_SCANCODE_UP);
    set(VK_RIGHT, SDL_SCANCODE_RIGHT);
    set(VK_DOWN, SDL_SCANCODE_DOWN);
    set(VK_INSERT, SDL_SCANCODE_INSERT);
    set(VK_DELETE, SDL_SCANCODE_DELETE);
    set(VK_MULTIPLY, SDL_SCANCODE_KP_MULTIPLY);
    set(VK_ADD, SDL_SCANCODE_KP_PLUS);
    set(VK_SUBTRACT, SDL_SCANCODE_KP_MINUS);
    set(VK_DECIMAL, SDL_SCANCODE_KP_PERIOD);
    set(VK_DIVIDE, SDL_SCANCODE_KP_DIVIDE);
    set(VK_LSHIFT, SDL_SCANCODE_LSHIFT);
    set(VK_RSHIFT, SDL_SCANCODE_RSHIFT);
    set(VK_LCONTROL, SDL_SCANCODE_LCTRL);
    set(VK_RCONTROL, SDL_SCANCODE_RCTRL);
    set(VK_OEM_1, SDL_SCANCODE_SEMICOLON);
    set(VK_OEM_PLUS, SDL_SCANCODE_EQUALS);
    set(VK_OEM_COMMA, SDL_SCANCODE_COMMA);
    set(VK_OEM_MINUS, SDL_SCANCODE_MINUS);
    set(VK_OEM_PERIOD, SDL_SCANCODE_PERIOD);
    set(VK_OEM_2, SDL_SCANCODE_SLASH);
    set(VK_OEM_3, SDL_SCANCODE_GRAVE);
    set(VK_OEM_4, SDL_SCANCODE_LEFTBRACKET);
    set(VK_OEM_5, SDL_SCANCODE_BACKSLASH);
    set(VK_OEM_6, SDL_SCANCODE_RIGHTBRACKET);
    set(VK_OEM_7, SDL_SCANCODE_APOSTROPHE);
    return t;
}

const std::array<KeyScan, 256> g_KeyScan = BuildKeyTable();

// A connected device: a game controller when SDL knows its layout, else a plain joystick.
struct Pad {
    SDL_JoystickID id;
    SDL_Joystick* lpJoy;
    SDL_GameController* lpPad;  // null for a plain joystick
};

struct JoyState {
    bool bTried = false;
    bool bReady = false;
    std::vector<Pad> pads;                // in the order they were plugged in: pad n = joystick n
    std::vector<SDL_JoystickID> refused;  // devices that would not open, not tried again
};

JoyState& Joys() {
    static JoyState s;
    return s;
}

// The standard layout in the game's numbering: button n+1 is this controller button.
constexpr SDL_GameControllerButton kStandardButtons[PAD_STANDARD_BUTTONS] = {
    SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_LEFTSTICK,
    SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_GUIDE};
constexpr SDL_GameControllerButton kDpad[4] = {
    SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
    SDL_CONTROLLER_BUTTON_DPAD_LEFT};
constexpr uint32_t kDpadBits[4] = {PAD_HAT_UP, PAD_HAT_RIGHT, PAD_HAT_DOWN, PAD_HAT_LEFT};
static_assert(SDL_HAT_UP == PAD_HAT_UP && SDL_HAT_RIGHT == PAD_HAT_RIGHT && SDL_HAT_DOWN == PAD_HAT_DOWN &&
              SDL_HAT_LEFT == PAD_HAT_LEFT);

bool JoyInit() {
    JoyState& js = Joys();
    if (!js.bTried) {
        js.bTried = true;
        js.bReady = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
        if (js.bReady) {
            // Layouts of pads SDL does not know itself, from the community list when it is there.
            for (const char* szFile : {"gamecontrollerdb.txt", "user_data/gamecontrollerdb.txt"})
                if (SDL_RWops* lpFile = SDL_RWFromFile(szFile, "rb"))
                    SDL_GameControllerAddMappingsFromRW(lpFile, 1);
            // The event loop does not take device events; the devices are polled here instead.
            SDL_JoystickEventState(SDL_IGNORE);
            SDL_GameControllerEventState(SDL_IGNORE);
        }
    }
    return js.bReady;
}

void PadClose(const Pad& pad) {
    if (pad.lpPad)
        SDL_GameControllerClose(pad.lpPad);
    else
        SDL_JoystickClose(pad.lpJoy);
}

// Brings the devices up to date, which also notices devices plugged in or pulled out: the ones
// pulled out are dropped (those after them move up), new ones are opened at the end.
void JoyRefresh() {
    JoyState& js = Joys();
    SDL_JoystickUpdate();
    std::erase_if(js.pads, [](const Pad& pad) {
        if (SDL_JoystickGetAttached(pad.lpJoy)) return false;
        PadClose(pad);
        return true;
    });
    const int nDevices = SDL_NumJoysticks();
    for (int i = 0; i < nDevices; ++i) {
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
        auto Same = [id](const Pad& pad) { return pad.id == id; };
        if (id < 0 || std::any_of(js.pads.begin(), js.pads.end(), Same) ||
            std::find(js.refused.begin(), js.refused.end(), id) != js.refused.end())
            continue;
        Pad pad{id, nullptr, nullptr};
        if (SDL_IsGameController(i) && (pad.lpPad = SDL_GameControllerOpen(i)) != nullptr)
            pad.lpJoy = SDL_GameControllerGetJoystick(pad.lpPad);
        else
            pad.lpJoy = SDL_JoystickOpen(i);
        if (pad.lpJoy)
            js.pads.push_back(pad);
        else
            js.refused.push_back(id);
    }
}

const Pad* PadByNumber(int nId) {
    if (!JoyInit()) return nullptr;
    JoyRefresh();
    const JoyState& js = Joys();
    return nId >= 0 && size_t(nId) < js.pads.size() ? &js.pads[size_t(nId)] : nullptr;
}

}  // namespace

namespace {
bool g_bOverride;
PlatDeviceOverride g_Override;
}  // namespace

void Plat_OverrideDevices(const PlatDeviceOverride* lpDevices) {
    g_bOverride = lpDevices != nullptr;
    if (lpDevices) g_Override = *lpDevices;
}

bool Plat_KeyDown(int nVk) {
    if (nVk < 0 || nVk >= 256) return false;
    if (g_bOverride) return g_Override.bKeys[nVk];
    const KeyScan& k = g_KeyScan[size_t(nVk)];
    if (k.sc1 == SDL_SCANCODE_UNKNOWN) return false;
    const Uint8* lpState = SDL_GetKeyboardState(nullptr);
    return lpState[k.sc1] || (k.sc2 != SDL_SCANCODE_UNKNOWN && lpState[k.sc2]);
}

bool Plat_JoyRead(int nId, PlatJoy* lpJoy) {
    if (g_bOverride) {
        if (nId < 0 || nId > 1 || !g_Override.bJoy[nId]) return false;
        *lpJoy = g_Override.Joy[nId];
        PadFold(lpJoy, g_Override.dwHat[nId]);
        return true;
    }
    const Pad* lpDev = PadByNumber(nId);
    if (!lpDev) return false;
    uint32_t dwHat = 0;
    lpJoy->dwButtons = 0;
    if (SDL_GameController* lpPad = lpDev->lpPad) {
        lpJoy->dwX = PadAxisPosition(SDL_GameControllerGetAxis(lpPad, SDL_CONTROLLER_AXIS_LEFTX));
        lpJoy->dwY = PadAxisPosition(SDL_GameControllerGetAxis(lpPad, SDL_CONTROLLER_AXIS_LEFTY));
        for (int i = 0; i < PAD_STANDARD_BUTTONS; ++i)
            if (SDL_GameControllerGetButton(lpPad, kStandardButtons[i])) lpJoy->dwButtons |= 1u << i;
        for (int i = 0; i < 4; ++i)
            if (SDL_GameControllerGetButton(lpPad, kDpad[i])) dwHat |= kDpadBits[i];
    } else {
        SDL_Joystick* lpDevJoy = lpDev->lpJoy;
        const int nAxes = SDL_JoystickNumAxes(lpDevJoy);
        lpJoy->dwX = nAxes > 0 ? PadAxisPosition(SDL_JoystickGetAxis(lpDevJoy, 0)) : 32767;
        lpJoy->dwY = nAxes > 1 ? PadAxisPosition(SDL_JoystickGetAxis(lpDevJoy, 1)) : 32767;
        const int nButtons = SDL_JoystickNumButtons(lpDevJoy);
        for (int i = 0; i < nButtons && i < 32; ++i)
            if (SDL_JoystickGetButton(lpDevJoy, i)) lpJoy->dwButtons |= 1u << i;
        if (SDL_JoystickNumHats(lpDevJoy) > 0) dwHat = SDL_JoystickGetHat(lpDevJoy, 0);
    }
    PadFold(lpJoy, dwHat);
    return true;
}

bool Plat_JoyInfo(int nId, PlatJoyInfo* lpInfo) {
    const Pad* lpDev = PadByNumber(nId);
    if (!lpDev) return false;
    const char* szName = lpDev->lpPad ? SDL_GameControllerName(lpDev->lpPad) : SDL_JoystickName(lpDev->lpJoy);
    *lpInfo = PlatJoyInfo{};
    lpInfo->szName = szName ? szName : "";
    lpInfo->bStandard = lpDev->lpPad != nullptr;
    if (lpDev->lpPad) {
        for (int i = 0; i < PAD_STANDARD_BUTTONS; ++i)
            if (SDL_GameControllerHasButton(lpDev->lpPad, kStandardButtons[i])) lpInfo->dwButtons |= 1u << i;
        for (SDL_GameControllerButton b : kDpad)
            if (SDL_GameControllerHasButton(lpDev->lpPad, b)) lpInfo->bDpad = true;
    } else {
        const int nButtons = std::clamp(SDL_JoystickNumButtons(lpDev->lpJoy), 0, 32);
        lpInfo->dwButtons = nButtons == 32 ? 0xFFFFFFFFu : (1u << nButtons) - 1;
        lpInfo->bDpad = SDL_JoystickNumHats(lpDev->lpJoy) > 0;
    }
    return true;
}
