#include "soak_script.h"

#include <cstring>

namespace {

// splitmix64: small, well mixed, and independent of the game's generator.
struct SOAKRNG {
    uint64_t qw;
    uint64_t Next() {
        uint64_t z = (qw += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t Below(uint32_t n) { return uint32_t(Next() % n); }
    bool Chance(uint32_t nPercent) { return Below(100) < nPercent; }
};

void Put32(std::vector<uint8_t>& v, uint32_t dw) {
    for (int i = 0; i < 4; ++i) v.push_back(uint8_t(dw >> (8 * i)));
}

std::vector<uint8_t> MakeOption(SOAKRNG& rng) {
    std::vector<uint8_t> v;
    Put32(v, 1 + rng.Below(5));
    for (int i = 0; i < 3; ++i) Put32(v, 1 + rng.Below(5));
    Put32(v, rng.Below(5));
    Put32(v, 0);
    double dSpeed = double(1 + rng.Below(20));
    uint64_t qw;
    std::memcpy(&qw, &dSpeed, 8);
    Put32(v, uint32_t(qw));
    Put32(v, uint32_t(qw >> 32));
    Put32(v, rng.Below(4));
    Put32(v, 0);
    switch (rng.Below(10)) {
        case 0:  // cut short
            v.resize(rng.Below(40));
            break;
        case 1:  // a few random bytes changed: out-of-range counts, NaN or huge speeds
            for (int i = 0, n = 1 + int(rng.Below(4)); i < n; ++i) v[rng.Below(40)] = uint8_t(rng.Next());
            break;
        case 2:  // noise, sometimes longer than the record
            v.resize(rng.Below(64));
            for (uint8_t& b : v) b = uint8_t(rng.Next());
            break;
        default:
            break;
    }
    return v;
}

std::vector<uint8_t> MakeKeyFile(SOAKRNG& rng) {
    std::vector<uint8_t> v;
    static constexpr uint16_t kKeys[8] = {0x25, 0x27, 0x26, 0x28, 'Z', 'X', 'C', 'V'};
    static constexpr uint16_t kJoy[8] = {256, 512, 1024, 2048, 1, 2, 4, 8};
    for (int p = 0; p < 2; ++p) {
        const bool bKeyboard = p == 0 ? !rng.Chance(20) : rng.Chance(20);
        for (int i = 0; i < 8; ++i) {
            Put32(v, bKeyboard ? 8 : rng.Below(2));
            Put32(v, bKeyboard ? kKeys[i] : kJoy[i]);
        }
        Put32(v, 4 + rng.Below(5));
    }
    Put32(v, rng.Below(3));
    Put32(v, 1);
    if (rng.Chance(30))
        for (int i = 0, n = 1 + int(rng.Below(6)); i < n; ++i) v[rng.Below(144)] = uint8_t(rng.Next());
    if (rng.Chance(10)) v.resize(rng.Below(144));
    return v;
}

// Key sets of one frame: keyboard names and the two joysticks.
struct HELD {
    std::string szKeys;
    int nJoyX[2] = {32767, 32767}, nJoyY[2] = {32767, 32767};
    uint32_t dwButtons[2] = {};
};

const char* const kDirs[4] = {"LEFT", "RIGHT", "UP", "DOWN"};
const char* const kButtons[4] = {"Z", "X", "C", "V"};

class ScriptWriter {
  public:
    ScriptWriter(SOAKRNG& rng, uint32_t dwEnd) : m_Rng(rng), m_dwEnd(dwEnd) {
        m_bJoy[0] = rng.Chance(70);
        m_bJoy[1] = m_bJoy[0] && rng.Chance(40);
    }
    bool Done() const { return m_dwFrame >= m_dwEnd; }

    // One key tapped for a frame, then a random gap.
    void Tap(const char* szKey, uint32_t nGap) {
        HELD h;
        h.szKeys = szKey;
        Line(h, 1 + m_Rng.Below(2));
        Line(HELD{}, nGap);
    }
    // Menu wandering: arrow taps with decides (button 1) and cancels (button 2) mixed in.
    void Menu(uint32_t nTaps, uint32_t nDecide, uint32_t nCancel) {
        for (uint32_t i = 0; i < nTaps && !Done(); ++i) {
            uint32_t n = m_Rng.Below(100);
            const char* szKey = n < nDecide ? "Z" : n < nDecide + nCancel ? "X" : kDirs[m_Rng.Below(4)];
            Tap(szKey, 2 + m_Rng.Below(25));
        }
    }
    // Fighting: both players hold random directions and buttons, changing every few frames.
    void Fight(uint32_t nFrames) {
        const uint32_t dwStop = m_dwFrame + nFrames;
        while (m_dwFrame < dwStop && !Done()) {
            HELD h;
            for (int d = 0; d < 4; d += 2)
                if (uint32_t r = m_Rng.Below(3); r < 2) h.szKeys += std::string(kDirs[d + r]) + " ";
            for (const char* b : kButtons)
                if (m_Rng.Chance(15)) h.szKeys += std::string(b) + " ";
            for (int j = 0; j < 2; ++j) {
                h.nJoyX[j] = int(m_Rng.Below(3)) * 32767;
                h.nJoyY[j] = int(m_Rng.Below(3)) * 32767;
                h.dwButtons[j] = m_Rng.Chance(30) ? 1u << m_Rng.Below(4) : 0;
            }
            Line(h, 3 + m_Rng.Below(40));
        }
    }
    void Idle(uint32_t nFrames) { Line(HELD{}, nFrames); }
    // Joysticks come and go now and then.
    void Replug() {
        m_bJoy[m_Rng.Below(2)] ^= true;
    }
    void Plug(int nJoy) { m_bJoy[nJoy] = true; }
    std::string Text() const { return m_szText; }

  private:
    void Line(const HELD& h, uint32_t nFrames) {
        if (Done()) return;
        m_szText += std::to_string(m_dwFrame) + " " + h.szKeys;
        for (int j = 0; j < 2; ++j)
            if (m_bJoy[j])
                m_szText += " J" + std::to_string(j) + "=" + std::to_string(h.nJoyX[j]) + "," +
                            std::to_string(h.nJoyY[j]) + "," + std::to_string(h.dwButtons[j]);
        m_szText += "\n";
        m_dwFrame += nFrames ? nFrames : 1;
    }
    SOAKRNG& m_Rng;
    uint32_t m_dwEnd;
    uint32_t m_dwFrame = 0;
    bool m_bJoy[2] = {};
    std::string m_szText;
};

}  // namespace

SOAKSESSION MakeSoakSession(uint64_t qwSeed, uint32_t dwFrames, int nTitleRow, int nBattleMode) {
    SOAKRNG rng{qwSeed * 0x2545F4914F6CDD1Dull + 1};
    SOAKSESSION s;
    s.dwFrames = dwFrames;
    s.bNoOption = rng.Chance(10);
    if (!s.bNoOption) s.Option = MakeOption(rng);
    if (rng.Chance(25)) {
        s.KeyFile = MakeKeyFile(rng);
        if (dwFrames > 8000) s.dwFrames = dwFrames = 8000;
    }

    // A chosen opening needs the keyboard for player 1 (no key file) and, for two players,
    // joystick 0 for player 2.
    if (nTitleRow >= 0) s.KeyFile.clear();
    if (nBattleMode >= 0) {
        if (s.bNoOption || s.Option.size() < 40) {
            s.bNoOption = false;
            s.Option = MakeOption(rng);
            s.Option.resize(40);
        }
        s.Option[32] = uint8_t(nBattleMode);
        s.Option[33] = s.Option[34] = s.Option[35] = 0;
    }

    ScriptWriter w(rng, dwFrames);
    w.Idle(60 + rng.Below(60));
    if (nTitleRow == 1) {
        w.Plug(0);
        w.Tap("DOWN", 4);
    }
    if (nTitleRow >= 0) w.Tap("Z", 60);
    while (!w.Done()) {
        switch (rng.Below(10)) {
            case 0:  // the options screen: edits, saves, back out
                w.Tap("DOWN", 4);
                w.Tap("DOWN", 4);
                w.Tap("Z", 90);
                w.Menu(10 + rng.Below(40), 8, 2);
                w.Tap("X", 90);
                break;
            case 1:
            case 2:  // character select and a short look around before deciding
                w.Menu(5 + rng.Below(30), 30, 5);
                break;
            case 3:
                w.Replug();
                w.Menu(3, 30, 0);
                break;
            default:  // into a battle (if not there yet) and fight
                w.Menu(6, 70, 0);
                w.Fight(300 + rng.Below(3000));
                break;
        }
    }
    s.szScript = w.Text();
    return s;
}
