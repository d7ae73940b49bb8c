#include "input/keymap_text.h"

#include <array>
#include <charconv>
#include <sstream>
#include <vector>

namespace {

constexpr const char* kEntryNames[8] = {"left",    "right",   "up",      "down",
                                        "button1", "button2", "button3", "button4"};

struct NamedKey {
    const char* szName;
    int nVk;
};
constexpr NamedKey kNamedKeys[] = {
    {"BACKSPACE", VK_BACK}, {"TAB", VK_TAB},        {"ENTER", VK_RETURN},   {"SHIFT", VK_SHIFT},
    {"CTRL", VK_CONTROL},   {"ALT", VK_MENU},       {"ESCAPE", VK_ESCAPE},  {"SPACE", VK_SPACE},
    {"PAGEUP", VK_PRIOR},   {"PAGEDOWN", VK_NEXT},  {"END", VK_END},        {"HOME", VK_HOME},
    {"LEFT", VK_LEFT},      {"UP", VK_UP},          {"RIGHT", VK_RIGHT},    {"DOWN", VK_DOWN},
    {"INSERT", VK_INSERT},  {"DELETE", VK_DELETE},  {"KP*", VK_MULTIPLY},   {"KP+", VK_ADD},
    {"KP-", VK_SUBTRACT},   {"KP.", VK_DECIMAL},    {"KP/", VK_DIVIDE},     {"LSHIFT", VK_LSHIFT},
    {"RSHIFT", VK_RSHIFT},  {"LCTRL", VK_LCONTROL}, {"RCTRL", VK_RCONTROL}, {";", VK_OEM_1},
    {"=", VK_OEM_PLUS},     {",", VK_OEM_COMMA},    {"-", VK_OEM_MINUS},    {".", VK_OEM_PERIOD},
    {"/", VK_OEM_2},        {"`", VK_OEM_3},        {"[", VK_OEM_4},        {"\\", VK_OEM_5},
    {"]", VK_OEM_6},        {"'", VK_OEM_7},
};

constexpr NamedKey kAxes[] = {{"X-", JOY_X_LOW}, {"X+", JOY_X_HIGH}, {"Y-", JOY_Y_LOW}, {"Y+", JOY_Y_HIGH}};

bool ParseNumber(const std::string& s, uint64_t nMax, uint32_t* lpOut) {
    uint64_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || v > nMax) return false;
    *lpOut = uint32_t(v);
    return true;
}

int KeyCode(const std::string& s) {
    if (s.size() == 1 && ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= '0' && s[0] <= '9'))) return s[0];
    if (s.size() >= 2 && s[0] == 'F') {
        uint32_t n;
        if (ParseNumber(s.substr(1), 12, &n) && n >= 1) return VK_F1 + int(n) - 1;
    }
    if (s.size() == 3 && s.compare(0, 2, "KP") == 0 && s[2] >= '0' && s[2] <= '9')
        return VK_NUMPAD0 + (s[2] - '0');
    for (const NamedKey& k : kNamedKeys)
        if (s == k.szName) return k.nVk;
    uint32_t n;
    if (ParseNumber(s, 255, &n)) return int(n);
    return -1;
}

std::string JoyCodeText(uint16_t wCode) {
    for (const NamedKey& a : kAxes)
        if (wCode == a.nVk) return a.szName;
    if (wCode == 0) return "code 0";
    std::string s = "button ";
    bool bFirst = true;
    for (int i = 0; i < 16; ++i) {
        if (wCode & (1 << i)) {
            s += (bFirst ? "" : "+") + std::to_string(i + 1);
            bFirst = false;
        }
    }
    return s;
}

// "1+3" -> 0x5.
bool ParseButtons(const std::string& s, uint16_t* lpMask) {
    uint16_t wMask = 0;
    std::stringstream in(s);
    std::string part;
    while (std::getline(in, part, '+')) {
        uint32_t n;
        if (!ParseNumber(part, 16, &n) || n < 1) return false;
        wMask |= uint16_t(1 << (n - 1));
    }
    *lpMask = wMask;
    return wMask != 0;
}

bool ParseBind(const std::vector<std::string>& w, KEYBIND* lpBind, std::string* lpWhy) {
    // "key code N": a key without a name; a bare single digit would mean the digit key instead.
    if (w.size() == 5 && w[2] == "key" && w[3] == "code") {
        uint32_t n;
        if (!ParseNumber(w[4], 255, &n)) {
            *lpWhy = "key code takes 0..255";
            return false;
        }
        *lpBind = KEYBIND{KEY_DEVICE_KEYBOARD, uint16_t(n), 0};
        return true;
    }
    if (w.size() == 4 && w[2] == "key") {
        int nVk = KeyCode(w[3]);
        if (nVk < 0) {
            *lpWhy = "unknown key \"" + w[3] + "\"";
            return false;
        }
        *lpBind = KEYBIND{KEY_DEVICE_KEYBOARD, uint16_t(nVk), 0};
        return true;
    }
    uint32_t nJoy;
    if (w.size() < 4 || w[2].compare(0, 3, "joy") != 0 || !ParseNumber(w[2].substr(3), 0xFFFFFFFFu, &nJoy) ||
        nJoy == KEY_DEVICE_KEYBOARD) {
        *lpWhy = "expected \"key NAME\" or \"joyN ...\" (N not 8)";
        return false;
    }
    uint16_t wCode = 0;
    bool bOk = false;
    if (w.size() == 4) {
        for (const NamedKey& a : kAxes)
            if (w[3] == a.szName) wCode = uint16_t(a.nVk), bOk = true;
    } else if (w.size() == 5 && w[3] == "button") {
        bOk = ParseButtons(w[4], &wCode);
    } else if (w.size() == 5 && w[3] == "code") {
        uint32_t n;
        bOk = ParseNumber(w[4], 0xFFFF, &n);
        wCode = uint16_t(n);
    }
    if (!bOk) {
        *lpWhy = "expected X- X+ Y- Y+, \"button N[+M...]\" (1..16) or \"code N\" (0..65535)";
        return false;
    }
    *lpBind = KEYBIND{nJoy, wCode, 0};
    return true;
}

}  // namespace

std::string KeyName(int nVk) {
    if ((nVk >= 'A' && nVk <= 'Z') || (nVk >= '0' && nVk <= '9')) return std::string(1, char(nVk));
    if (nVk >= VK_F1 && nVk <= VK_F12) return "F" + std::to_string(nVk - VK_F1 + 1);
    if (nVk >= VK_NUMPAD0 && nVk <= VK_NUMPAD0 + 9) return "KP" + std::to_string(nVk - VK_NUMPAD0);
    for (const NamedKey& k : kNamedKeys)
        if (k.nVk == nVk) return k.szName;
    return "";
}

std::string KeyMapToText(const KEYMAP& map) {
    std::ostringstream out;
    out << "custom " << map.bCustom << "\njoysticks " << map.nJoyCount << "\n";
    for (int p = 0; p < 2; ++p) {
        const KEYPLAYER& player = map.Player[p];
        out << "player" << p + 1 << " count " << player.nCount << "\n";
        for (int i = 0; i < 8; ++i) {
            const KEYBIND& b = player.Bind[i];
            out << "player" << p + 1 << " " << kEntryNames[i] << " ";
            if (b.nDevice == KEY_DEVICE_KEYBOARD) {
                std::string szName = KeyName(b.wCode);
                out << "key " << (szName.empty() ? "code " + std::to_string(b.wCode) : szName);
            } else {
                out << "joy" << b.nDevice << " " << JoyCodeText(b.wCode);
            }
            out << "\n";
        }
    }
    return out.str();
}

bool KeyMapFromText(const std::string& szText, KEYMAP* lpMap, std::string* lpError) {
    KEYMAP map;
    SetDefaultKeyMap(&map);
    std::istringstream in(szText);
    std::string line;
    int nLine = 0;
    while (std::getline(in, line)) {
        ++nLine;
        if (size_t nHash = line.find('#'); nHash != std::string::npos) line.erase(nHash);
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string s; words >> s;) w.push_back(s);
        if (w.empty()) continue;
        std::string szWhy = "unknown line";
        bool bOk = false;
        uint32_t n;
        if (w[0] == "custom" && w.size() == 2) {
            bOk = ParseNumber(w[1], 0xFFFFFFFFu, &map.bCustom);
            szWhy = "custom takes a number";
        } else if (w[0] == "joysticks" && w.size() == 2) {
            bOk = ParseNumber(w[1], KEY_MAX_JOY, &map.nJoyCount);
            szWhy = "joysticks takes 0.." + std::to_string(KEY_MAX_JOY);
        } else if ((w[0] == "player1" || w[0] == "player2") && w.size() >= 3) {
            KEYPLAYER& player = map.Player[w[0] == "player1" ? 0 : 1];
            if (w[1] == "count") {
                bOk = w.size() == 3 && ParseNumber(w[2], 8, &n) && n >= 4;
                if (bOk) player.nCount = n;
                szWhy = "count takes 4..8";
            } else {
                int nEntry = -1;
                for (int i = 0; i < 8; ++i)
                    if (w[1] == kEntryNames[i]) nEntry = i;
                if (nEntry < 0)
                    szWhy = "unknown entry \"" + w[1] + "\"";
                else
                    bOk = ParseBind(w, &player.Bind[nEntry], &szWhy);
            }
        }
        if (!bOk) {
            *lpError = "line " + std::to_string(nLine) + ": " + szWhy;
            return false;
        }
    }
    // A joystick the game will not poll would make the entry dead; refuse it here instead.
    for (int p = 0; p < 2; ++p) {
        for (int i = 0; i < 8; ++i) {
            const KEYBIND& b = map.Player[p].Bind[i];
            if (b.nDevice != KEY_DEVICE_KEYBOARD && b.nDevice >= map.nJoyCount) {
                *lpError = "player" + std::to_string(p + 1) + " " + kEntryNames[i] + " uses joy" +
                           std::to_string(b.nDevice) + " but joysticks is " + std::to_string(map.nJoyCount);
                return false;
            }
        }
    }
    *lpMap = map;
    return true;
}
