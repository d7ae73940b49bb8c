// SDL backend: the keyboard state of this moment and joysticks polled with hot-plug.
#include <SDL.h>

#include <array>
#include <map>

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

struct JoyState {
    bool bTried = false;
    bool bReady = false;
    std::map<SDL_JoystickID, SDL_Joystick*> opened;  // keyed by instance id
};

JoyState& Joys() {
    static JoyState s;
    return s;
}

// Joystick events are not taken from the queue (the event loop ignores them), so the
// devices are brought up to date here, which also notices devices plugged in or pulled out.
void JoyRefresh() {
    JoyState& js = Joys();
    SDL_JoystickUpdate();
    for (auto it = js.opened.begin(); it != js.opened.end();) {
        if (!SDL_JoystickGetAttached(it->second)) {
            SDL_JoystickClose(it->second);
            it = js.opened.erase(it);
        } else {
            ++it;
        }
    }
}

// The nId-th connected device, opened on first use.
SDL_Joystick* JoyByNumber(int nId) {
    JoyState& js = Joys();
    if (nId < 0 || nId >= SDL_NumJoysticks()) return nullptr;
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(nId);
    if (id < 0) return nullptr;
    auto it = js.opened.find(id);
    if (it != js.opened.end()) return it->second;
    SDL_Joystick* lpJoy = SDL_JoystickOpen(nId);
    if (lpJoy) js.opened[id] = lpJoy;
    return lpJoy;
}

// SDL's -32768..32767 to 0..65535 with rest (0) at 32767.
uint32_t AxisPosition(Sint16 v) {
    if (v < 0) return uint32_t((int32_t(v) + 32768) * 32767 / 32768);
    return 32767u + uint32_t(int32_t(v) * 32768 / 32767);
}

}  // namespace

bool Plat_KeyDown(int nVk) {
    if (nVk < 0 || nVk >= 256) return false;
    const KeyScan& k = g_KeyScan[size_t(nVk)];
    if (k.sc1 == SDL_SCANCODE_UNKNOWN) return false;
    const Uint8* lpState = SDL_GetKeyboardState(nullptr);
    return lpState[k.sc1] || (k.sc2 != SDL_SCANCODE_UNKNOWN && lpState[k.sc2]);
}

bool Plat_JoyRead(int nId, PlatJoy* lpJoy) {
    JoyState& js = Joys();
    if (!js.bTried) {
        js.bTried = true;
        js.bReady = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
        if (js.bReady) SDL_JoystickEventState(SDL_IGNORE);
    }
    if (!js.bReady) return false;
    JoyRefresh();
    SDL_Joystick* lpDev = JoyByNumber(nId);
    if (!lpDev) return false;
    int nAxes = SDL_JoystickNumAxes(lpDev);
    lpJoy->dwX = nAxes > 0 ? AxisPosition(SDL_JoystickGetAxis(lpDev, 0)) : 32767;
    lpJoy->dwY = nAxes > 1 ? AxisPosition(SDL_JoystickGetAxis(lpDev, 1)) : 32767;
    lpJoy->dwButtons = 0;
    int nButtons = SDL_JoystickNumButtons(lpDev);
    for (int i = 0; i < nButtons && i < 32; ++i)
        if (SDL_JoystickGetButton(lpDev, i)) lpJoy->dwButtons |= 1u << i;
    return true;
}
