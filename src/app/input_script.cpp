#include "app/input_script.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <sstream>

#include "platform/pad_fold.h"

namespace {

struct KEYNAME {
    const char* szName;
    int nVk;
};
constexpr std::array<KEYNAME, 10> g_KeyNames = {{
    {"LEFT", VK_LEFT},
    {"RIGHT", VK_RIGHT},
    {"UP", VK_UP},
    {"DOWN", VK_DOWN},
    {"ESCAPE", VK_ESCAPE},
    {"SPACE", VK_SPACE},
    {"RETURN", VK_RETURN},
    {"TAB", VK_TAB},
    {"SHIFT", VK_SHIFT},
    {"CONTROL", VK_CONTROL},
}};

// Decimal digits only (or 0x and hex digits when bHex), no sign, no overflow past dwMax.
bool ParseNumber(const std::string& s, bool bHex, uint32_t dwMax, uint32_t* lpValue) {
    size_t i = 0;
    int nBase = 10;
    if (bHex && s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        nBase = 16;
        i = 2;
    }
    if (i >= s.size()) return false;
    uint64_t qw = 0;
    for (; i < s.size(); ++i) {
        int c = static_cast<unsigned char>(s[i]);
        int nDigit;
        if (c >= '0' && c <= '9')
            nDigit = c - '0';
        else if (nBase == 16 && std::isxdigit(c))
            nDigit = std::toupper(c) - 'A' + 10;
        else
            return false;
        qw = qw * nBase + nDigit;
        if (qw > dwMax) return false;
    }
    *lpValue = uint32_t(qw);
    return true;
}

// Hat positions by name; the index is the PAD_HAT_ bits.
constexpr std::array<const char*, 13> g_HatNames = {"C",     "U", "R",  "UR",    "D",     nullptr, "DR",
                                                    nullptr, "L", "UL", nullptr, nullptr, "DL"};
static_assert(PAD_HAT_UP == 1 && PAD_HAT_RIGHT == 2 && PAD_HAT_DOWN == 4 && PAD_HAT_LEFT == 8);

bool ParseHat(const std::string& s, uint32_t* lpHat) {
    for (size_t i = 0; i < g_HatNames.size(); ++i) {
        if (g_HatNames[i] && s == g_HatNames[i]) {
            *lpHat = uint32_t(i);
            return true;
        }
    }
    return false;
}

bool ParseJoy(const std::string& s, PlatJoy* lpJoy, uint32_t* lpHat) {
    std::array<std::string, 4> parts;
    size_t nPart = 0, nStart = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == ',') {
            if (nPart >= parts.size()) return false;
            parts[nPart++] = s.substr(nStart, i - nStart);
            nStart = i + 1;
        }
    }
    *lpHat = 0;
    if (nPart < 3 || (nPart == 4 && !ParseHat(parts[3], lpHat))) return false;
    return ParseNumber(parts[0], false, 65535, &lpJoy->dwX) &&
           ParseNumber(parts[1], false, 65535, &lpJoy->dwY) &&
           ParseNumber(parts[2], true, 0xFFFFFFFFu, &lpJoy->dwButtons);
}

}  // namespace

std::string InputKeyName(int nVk) {
    if (nVk < 1 || nVk > 255) return "";
    for (const KEYNAME& k : g_KeyNames)
        if (k.nVk == nVk) return k.szName;
    if ((nVk >= 'A' && nVk <= 'Z') || (nVk >= '0' && nVk <= '9')) return std::string(1, char(nVk));
    return "VK" + std::to_string(nVk);
}

int InputKeyCode(const std::string& szName) {
    for (const KEYNAME& k : g_KeyNames)
        if (szName == k.szName) return k.nVk;
    if (szName.size() == 1) {
        int c = std::toupper(static_cast<unsigned char>(szName[0]));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
        return -1;
    }
    uint32_t dwCode;
    if (szName.size() > 2 && szName.compare(0, 2, "VK") == 0 &&
        ParseNumber(szName.substr(2), false, 255, &dwCode) && dwCode >= 1)
        return int(dwCode);
    return -1;
}

bool ParseInputScript(const std::string& szText, INPUTSCRIPT* lpScript, std::string* szError) {
    lpScript->Lines.clear();
    std::istringstream in(szText);
    std::string szLine;
    bool bJoyOn[2] = {};
    for (int nLine = 1; std::getline(in, szLine); ++nLine) {
        szLine = szLine.substr(0, szLine.find('#'));
        std::istringstream words(szLine);
        std::string szWord;
        if (!(words >> szWord)) continue;
        auto Fail = [&](const std::string& szWhy) {
            *szError = "line " + std::to_string(nLine) + ": " + szWhy;
            lpScript->Lines.clear();
            return false;
        };
        INPUTFRAME line;
        if (!ParseNumber(szWord, false, 0xFFFFFFFFu, &line.dwFrame))
            return Fail("frame number expected, found '" + szWord + "'");
        if (!lpScript->Lines.empty() && line.dwFrame <= lpScript->Lines.back().dwFrame)
            return Fail("frame " + szWord + " does not come after the line before");
        while (words >> szWord) {
            if (szWord.size() > 3 && szWord[0] == 'J' && (szWord[1] == '0' || szWord[1] == '1') &&
                szWord[2] == '=') {
                int nId = szWord[1] - '0';
                if (!ParseJoy(szWord.substr(3), &line.Joy[nId], &line.dwHat[nId]))
                    return Fail(
                        "joystick state must be x,y,buttons[,hat] with x and y 0..65535 and hat one of "
                        "C U D L R UL UR DL DR: '" +
                        szWord + "'");
                line.bJoy[nId] = true;
                bJoyOn[nId] = true;
                continue;
            }
            int nVk = InputKeyCode(szWord);
            if (nVk < 0) return Fail("unknown key '" + szWord + "'");
            line.Keys.set(size_t(nVk));
        }
        line.bJoyOn[0] = bJoyOn[0];
        line.bJoyOn[1] = bJoyOn[1];
        lpScript->Lines.push_back(line);
    }
    return true;
}

INPUTDEVICES InputScriptAt(const INPUTSCRIPT& script, uint32_t dwFrame) {
    INPUTDEVICES dev;
    auto it = std::upper_bound(script.Lines.begin(), script.Lines.end(), dwFrame,
                               [](uint32_t dw, const INPUTFRAME& line) { return dw < line.dwFrame; });
    if (it == script.Lines.begin()) return dev;
    const INPUTFRAME& line = *(it - 1);
    dev.Keys = line.Keys;
    for (int i = 0; i < 2; ++i) {
        dev.bJoyConnected[i] = line.bJoyOn[i];
        if (line.bJoy[i]) {
            dev.Joy[i] = line.Joy[i];
            dev.dwJoyHat[i] = line.dwHat[i];
        }
    }
    return dev;
}

std::string FormatInputLine(uint32_t dwFrame, const INPUTDEVICES& dev) {
    std::string s = std::to_string(dwFrame);
    for (int nVk = 1; nVk < 256; ++nVk)
        if (dev.Keys.test(size_t(nVk))) s += " " + InputKeyName(nVk);
    for (int i = 0; i < 2; ++i) {
        if (!dev.bJoyConnected[i]) continue;
        s += " J" + std::to_string(i) + "=" + std::to_string(dev.Joy[i].dwX) + "," +
             std::to_string(dev.Joy[i].dwY) + "," + std::to_string(dev.Joy[i].dwButtons);
        if (dev.dwJoyHat[i] != 0 && dev.dwJoyHat[i] < g_HatNames.size() && g_HatNames[dev.dwJoyHat[i]])
            s += std::string(",") + g_HatNames[dev.dwJoyHat[i]];
    }
    return s;
}
