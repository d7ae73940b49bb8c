// pomrin-sim: the whole game on the headless platform, as fast as the machine allows.
// The virtual clock makes every frame-limiter wait instant while frames stay 11 ms apart in
// game time. Input comes from a script; sounds, a trace and pictures can be written out.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/game_main.h"
#include "app/input_script.h"
#include "app/png_write.h"
#include "app/window.h"
#include "lang/lang.h"
#include "platform/headless/headless.h"
#include "platform/plat_file.h"
#include "platform/plat_input.h"
#include "platform/plat_os.h"
#include "rollback.h"
#include "sim_net.h"
#include "trace.h"

namespace {

struct SIMOPTIONS {
    std::string szData = POMRIN_DATA_DIR;
    std::string szInput, szSounds, szTrace, szShots, szRecord;
    const char* szLang = nullptr;  // --lang: else the saved setting, else Japanese
    bool bFrames = false;
    uint32_t dwFrames = 0;
    uint32_t dwShotEvery = 0;
    std::set<uint32_t> ShotFrames;
    bool bSecondCopy = false;
    std::string szFail;
    SIMNET Net;  // net session or replay
};

SIMOPTIONS g_Sim;
INPUTSCRIPT g_Script;
// The lines after a "session" line: the local player of a session started from the online
// screen, by session frame (the waiting before it runs on the real clock).
INPUTSCRIPT g_SessionScript;
FILE* g_fpSounds;
FILE* g_fpTrace;
bool g_bEscapeDown;
bool g_bNetTick;  // the frame just run was the session's

constexpr const char* kUsage =
    "usage: pomrin-sim [--data DIR] [--input FILE] [--frames N] [--sounds FILE] [--trace FILE]\n"
    "                  [--shots DIR (--shot-every K | --shot-frames A,B,C)]\n"
    "                  [--record FILE] [--second-copy] [--fail video|window|audio] [--lang ja|en]\n"
    "                  [--rollback-test N]\n"
    "                  [--online | --host PORT | --join HOST:PORT | --join CODE] [--lobby HOST[:PORT]]\n"
    "                  [--net-delay N] [--net-timeout S]\n"
    "                  [--net-lag MS] [--net-jitter MS] [--net-loss PERCENT] [--net-seed N]\n"
    "                  [--net-record FILE] [--net-stats] [--net-desync-at F] [--net-junk-bits]\n"
    "                  [--replay FILE]\n";

bool ParseCount(const char* sz, uint32_t* lpValue) {
    if (!*sz) return false;
    uint64_t qw = 0;
    for (const char* p = sz; *p; ++p) {
        if (*p < '0' || *p > '9') return false;
        qw = qw * 10 + uint64_t(*p - '0');
        if (qw > 0xFFFFFFFFull) return false;
    }
    *lpValue = uint32_t(qw);
    return true;
}

// Paths on the command line and in the options are UTF-8, whatever the system's code page.
std::filesystem::path PathOf(const std::string& sz) {
    return std::filesystem::u8path(sz);
}
std::string Utf8(const std::filesystem::path& p) {
    const std::u8string sz = p.u8string();
    return std::string(sz.begin(), sz.end());
}

std::string Absolute(const std::string& sz) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(PathOf(sz), ec);
    return ec ? sz : Utf8(p);
}

bool ParseArgs(const std::vector<std::string>& args) {
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& szArg = args[i];
        auto Value = [&](std::string* lpValue) {
            if (i + 1 >= args.size()) return false;
            *lpValue = args[++i];
            return true;
        };
        std::string szValue;
        if (szArg == "--data") {
            if (!Value(&g_Sim.szData)) return false;
        } else if (szArg == "--input") {
            if (!Value(&g_Sim.szInput)) return false;
        } else if (szArg == "--sounds") {
            if (!Value(&g_Sim.szSounds)) return false;
        } else if (szArg == "--trace") {
            if (!Value(&g_Sim.szTrace)) return false;
        } else if (szArg == "--record") {
            if (!Value(&g_Sim.szRecord)) return false;
        } else if (szArg == "--shots") {
            if (!Value(&g_Sim.szShots)) return false;
        } else if (szArg == "--frames") {
            if (!Value(&szValue) || !ParseCount(szValue.c_str(), &g_Sim.dwFrames)) return false;
            g_Sim.bFrames = true;
        } else if (szArg == "--shot-every") {
            if (!Value(&szValue) || !ParseCount(szValue.c_str(), &g_Sim.dwShotEvery) ||
                g_Sim.dwShotEvery == 0)
                return false;
        } else if (szArg == "--shot-frames") {
            if (!Value(&szValue)) return false;
            std::stringstream list(szValue);
            std::string szItem;
            while (std::getline(list, szItem, ',')) {
                uint32_t dw;
                if (!ParseCount(szItem.c_str(), &dw)) return false;
                g_Sim.ShotFrames.insert(dw);
            }
        } else if (szArg == "--rollback-test") {
            uint32_t n;
            if (!Value(&szValue) || !ParseCount(szValue.c_str(), &n) || !RollbackTestSet(n)) return false;
        } else if (szArg == "--online") {
            g_Sim.Net.bOnline = true;
        } else if (szArg == "--host") {
            if (!Value(&szValue) || !ParseCount(szValue.c_str(), &g_Sim.Net.dwPort) ||
                g_Sim.Net.dwPort > 65535)
                return false;
            g_Sim.Net.bNet = g_Sim.Net.bHost = true;
        } else if (szArg == "--join") {
            if (!Value(&g_Sim.Net.szJoin)) return false;
            g_Sim.Net.bNet = true;
            g_Sim.Net.bHost = false;
        } else if (szArg == "--lobby") {
            if (!Value(&g_Sim.Net.szLobby)) return false;
        } else if (szArg == "--net-delay" || szArg == "--net-timeout" || szArg == "--net-lag" ||
                   szArg == "--net-jitter" || szArg == "--net-loss" || szArg == "--net-seed" ||
                   szArg == "--net-desync-at") {
            uint32_t n;
            if (!Value(&szValue) || !ParseCount(szValue.c_str(), &n)) return false;
            SIMNET& net = g_Sim.Net;
            if (szArg == "--net-delay") {
                if (n > 8) return false;
                net.dwDelay = n;
            } else if (szArg == "--net-timeout") {
                if (n < 1 || n > 3600) return false;
                net.dwTimeout = n;
            } else if (szArg == "--net-lag" || szArg == "--net-jitter") {
                if (n > 1000) return false;
                (szArg == "--net-lag" ? net.dwLag : net.dwJitter) = n;
            } else if (szArg == "--net-loss") {
                if (n > 90) return false;
                net.dwLoss = n;
            } else if (szArg == "--net-seed") {
                net.dwSeed = n;
            } else {
                net.bDesync = true;
                net.dwDesyncAt = n;
            }
        } else if (szArg == "--net-record") {
            if (!Value(&g_Sim.Net.szRecord)) return false;
        } else if (szArg == "--net-stats") {
            g_Sim.Net.bStats = true;
        } else if (szArg == "--net-junk-bits") {
            g_Sim.Net.bJunkBits = true;
        } else if (szArg == "--replay") {
            if (!Value(&g_Sim.Net.szReplay)) return false;
        } else if (szArg == "--lang") {
            if (i + 1 >= args.size() || LanguageFromCode(args[i + 1].c_str()) < 0) return false;
            g_Sim.szLang = LanguageCode(LanguageFromCode(args[++i].c_str()));
        } else if (szArg == "--second-copy") {
            g_Sim.bSecondCopy = true;
        } else if (szArg == "--fail") {
            if (!Value(&g_Sim.szFail)) return false;
            if (g_Sim.szFail != "video" && g_Sim.szFail != "window" && g_Sim.szFail != "audio") return false;
        } else {
            return false;
        }
    }
    if (!g_Sim.szShots.empty() && g_Sim.dwShotEvery == 0 && g_Sim.ShotFrames.empty()) return false;
    if (g_Sim.Net.dwJitter > g_Sim.Net.dwLag) return false;
    if (g_Sim.Net.bNet && !g_Sim.Net.szReplay.empty()) return false;
    if (g_Sim.Net.bOnline && (g_Sim.Net.bNet || !g_Sim.Net.szReplay.empty())) return false;
    return true;
}

bool ApplyInput(uint32_t dwFrame) {
    const bool bSession = g_Sim.Net.bOnline && SimNetActive() && !SimNetWaiting();
    INPUTDEVICES dev = InputScriptAt(bSession ? g_SessionScript : g_Script, dwFrame);
    for (int nVk = 1; nVk < 256; ++nVk) Headless_SetKey(nVk, dev.Keys.test(size_t(nVk)));
    for (int i = 0; i < 2; ++i)
        Headless_SetJoy(i, dev.bJoyConnected[i], dev.Joy[i].dwX, dev.Joy[i].dwY, dev.Joy[i].dwButtons,
                        dev.dwJoyHat[i]);
    bool bEscape = dev.Keys.test(VK_ESCAPE);
    if (bEscape && !g_bEscapeDown) {
        // The key goes to the window as the Escape key-down, handled before the frame.
        g_bEscapeDown = true;
        Headless_PushEvent(PLAT_EV_ESCAPE);
        return false;
    }
    g_bEscapeDown = bEscape;
    return true;
}

// With the online screen the local frames keep the game's pace on the real clock too (90 a
// second), so that a script's frame numbers leave the local network the time it needs.
void PaceOnline() {
    using namespace std::chrono;
    static steady_clock::time_point next = steady_clock::now();
    std::this_thread::sleep_until(next);
    next = std::max(next + microseconds(11111), steady_clock::now() - milliseconds(50));
}

// The script up to a line "session" (alone, comments aside); the rest goes to lpszSession.
std::string SplitSession(const std::string& szText, std::string* lpszSession) {
    std::istringstream in(szText);
    std::string szLine, szBefore;
    bool bAfter = false;
    while (std::getline(in, szLine)) {
        std::istringstream words(szLine.substr(0, szLine.find('#')));
        std::string szWord, szMore;
        if (!bAfter && words >> szWord && szWord == "session" && !(words >> szMore)) {
            bAfter = true;
            continue;
        }
        (bAfter ? *lpszSession : szBefore) += szLine + "\n";
    }
    return szBefore;
}

bool BeforeFrame(uint32_t dwFrame) {
    g_bNetTick = SimNetActive();
    // The online screen stays on while its session waits: the script goes on by frame.
    if (g_bNetTick && g_Sim.Net.bOnline && SimNetWaiting()) return ApplyInput(dwFrame);
    if (g_bNetTick) return true;
    if (g_Sim.Net.bOnline) PaceOnline();
    if (g_Sim.bFrames && dwFrame >= g_Sim.dwFrames) {
        PostQuitMessage(0);
        return false;
    }
    return ApplyInput(dwFrame) && RollbackBeforeFrame(dwFrame);
}

void AfterFrame(uint32_t dwFrame) {
    std::vector<HeadlessPlay>& plays = Headless_Plays();
    if (g_bNetTick) {
        plays.clear();
        return;
    }
    RollbackAfterFrame(dwFrame);
    if (g_fpSounds)
        for (const HeadlessPlay& play : plays) std::fprintf(g_fpSounds, "%u %d\n", dwFrame, play.nGroup);
    plays.clear();
    if (g_fpTrace) std::fprintf(g_fpTrace, "%s\n", TraceLine(dwFrame).c_str());
    bool bShot =
        (g_Sim.dwShotEvery != 0 && dwFrame % g_Sim.dwShotEvery == 0) || g_Sim.ShotFrames.count(dwFrame) != 0;
    if (bShot && !g_Sim.szShots.empty()) {
        char szName[32];
        std::snprintf(szName, sizeof(szName), "%06u.png", dwFrame);
        std::string szFile = Utf8(PathOf(g_Sim.szShots) / szName);
        if (!SavePng(szFile.c_str(), Headless_FramePixels().data(), Headless_FrameWidth(),
                     Headless_FrameHeight(), Headless_FrameWidth(), Headless_FramePalette()))
            std::fprintf(stderr, "pomrin-sim: cannot write %s\n", szFile.c_str());
    }
    if (g_Sim.bFrames && dwFrame + 1 >= g_Sim.dwFrames) PostQuitMessage(0);
}

FILE* OpenOutput(const std::string& szFile) {
    FILE* fp = Plat_FileOpen(szFile.c_str(), "wb");
    if (!fp) std::fprintf(stderr, "pomrin-sim: cannot write %s\n", szFile.c_str());
    return fp;
}

}  // namespace

int main(int argc, char** argv) {
    if (!ParseArgs(Plat_Arguments(argc, argv))) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!g_Sim.szInput.empty()) {
        std::ifstream in(PathOf(g_Sim.szInput), std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "pomrin-sim: cannot read %s\n", g_Sim.szInput.c_str());
            return 2;
        }
        std::stringstream text;
        text << in.rdbuf();
        std::string szError, szSession;
        std::string szText = SplitSession(text.str(), &szSession);
        if (!ParseInputScript(szText, &g_Script, &szError) ||
            !ParseInputScript(szSession, &g_SessionScript, &szError)) {
            std::fprintf(stderr, "pomrin-sim: %s: %s%s\n", g_Sim.szInput.c_str(), szError.c_str(),
                         szSession.empty() ? "" : " (lines after \"session\" count from it)");
            return 2;
        }
    }
    // Output paths are taken from where the simulator was started, before it enters the data.
    if (!g_Sim.szSounds.empty() && !(g_fpSounds = OpenOutput(g_Sim.szSounds))) return 2;
    if (!g_Sim.szTrace.empty() && !(g_fpTrace = OpenOutput(g_Sim.szTrace))) return 2;
    if (!g_Sim.szRecord.empty()) g_Sim.szRecord = Absolute(g_Sim.szRecord);
    if (!g_Sim.Net.szRecord.empty()) g_Sim.Net.szRecord = Absolute(g_Sim.Net.szRecord);
    if (!g_Sim.Net.szReplay.empty()) g_Sim.Net.szReplay = Absolute(g_Sim.Net.szReplay);
    if (!g_Sim.szShots.empty()) {
        g_Sim.szShots = Absolute(g_Sim.szShots);
        std::error_code ec;
        std::filesystem::create_directories(PathOf(g_Sim.szShots), ec);
    }
    if (int nExit = SimNetStart(g_Sim.Net, g_Sim.bFrames ? g_Sim.dwFrames : 0, g_fpTrace, ApplyInput))
        return nExit;
    std::error_code ec;
    std::filesystem::current_path(PathOf(g_Sim.szData), ec);
    if (ec) {
        std::fprintf(stderr, "pomrin-sim: cannot enter the data folder %s\n", g_Sim.szData.c_str());
        return 2;
    }

    ChooseLanguage(g_Sim.szLang, false);
    Headless_Reset();
    Headless_SetInstanceHeld(g_Sim.bSecondCopy);
    Headless_SetVideoAvailable(g_Sim.szFail != "video");
    Headless_SetWindowAvailable(g_Sim.szFail != "window");
    Headless_SetAudioAvailable(g_Sim.szFail != "audio");
    g_lpfnBeforeFrame = BeforeFrame;
    g_lpfnAfterFrame = AfterFrame;
    int nExit = GameRun(g_Sim.szRecord.empty() ? nullptr : g_Sim.szRecord.c_str());
    SimNetEnd(g_Sim.Net);
    if (g_fpSounds) std::fclose(g_fpSounds);
    if (g_fpTrace) std::fclose(g_fpTrace);
    return nExit;
}
