// pomrin-sim: the whole game on the headless platform, as fast as the machine allows.
// The virtual clock makes every frame-limiter wait instant while frames stay 11 ms apart in
// game time. Input comes from a script; sounds, a trace and pictures can be written out.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "app/crt_rand.h"
#include "app/game_main.h"
#include "app/input_script.h"
#include "app/png_write.h"
#include "app/window.h"
#include "net/net_play.h"
#include "net/net_play_text.h"
#include "net/net_record.h"
#include "platform/headless/headless.h"
#include "platform/plat_input.h"
#include "rollback.h"
#include "trace.h"
#include "platform/plat_file.h"

namespace {

struct SIMOPTIONS {
    std::string szData = POMRIN_DATA_DIR;
    std::string szInput, szSounds, szTrace, szShots, szRecord;
    bool bFrames = false;
    uint32_t dwFrames = 0;
    uint32_t dwShotEvery = 0;
    std::set<uint32_t> ShotFrames;
    bool bSecondCopy = false;
    std::string szFail;
    // Net session
    bool bNet = false;
    NETPLAYOPTIONS Net;
    uint32_t dwNetTimeout = 10;
    std::string szNetRecord, szReplay;
    bool bNetStats = false;
    bool bDesync = false;  // test: this peer's random generator is disturbed on frame dwDesyncAt
    uint32_t dwDesyncAt = 0;
};

SIMOPTIONS g_Sim;
INPUTSCRIPT g_Script;
FILE* g_fpSounds;
FILE* g_fpTrace;
bool g_bEscapeDown;
bool g_bNetTick;  // the frame just run was the session's
std::string g_szTraceRing[64];  // net session: each frame's trace line from its last simulation

constexpr const char* kUsage =
    "usage: pomrin-sim [--data DIR] [--input FILE] [--frames N] [--sounds FILE] [--trace FILE]\n"
    "                  [--shots DIR (--shot-every K | --shot-frames A,B,C)]\n"
    "                  [--record FILE] [--second-copy] [--fail video|window|audio]\n"
    "                  [--rollback-test N]\n"
    "                  [--host PORT | --join HOST:PORT] [--net-delay N] [--net-timeout S]\n"
    "                  [--net-lag MS] [--net-jitter MS] [--net-loss PERCENT] [--net-seed N]\n"
    "                  [--net-record FILE] [--net-stats] [--net-desync-at F] [--replay FILE]\n";

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

std::string Absolute(const std::string& sz) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(sz, ec);
    return ec ? sz : p.string();
}

bool ParseArgs(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::string szArg = argv[i];
        auto Value = [&](std::string* lpValue) {
            if (i + 1 >= argc) return false;
            *lpValue = argv[++i];
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
        } else if (szArg == "--host") {
            uint32_t n;
            if (!Value(&szValue) || !ParseCount(szValue.c_str(), &n) || n > 65535) return false;
            g_Sim.bNet = g_Sim.Net.bHost = true;
            g_Sim.Net.wPort = uint16_t(n);
        } else if (szArg == "--join") {
            if (!Value(&szValue) ||
                !NetParseAddress(szValue.c_str(), g_Sim.Net.szHost, sizeof(g_Sim.Net.szHost), &g_Sim.Net.wPort))
                return false;
            g_Sim.bNet = true;
            g_Sim.Net.bHost = false;
        } else if (szArg == "--net-delay" || szArg == "--net-timeout" || szArg == "--net-lag" ||
                   szArg == "--net-jitter" || szArg == "--net-loss" || szArg == "--net-seed") {
            uint32_t n;
            if (!Value(&szValue) || !ParseCount(szValue.c_str(), &n)) return false;
            if (szArg == "--net-delay") {
                if (n > NET_MAX_INPUT_DELAY) return false;
                g_Sim.Net.nInputDelay = int(n);
            } else if (szArg == "--net-timeout") {
                if (n < 1 || n > 3600) return false;
                g_Sim.dwNetTimeout = n;
            } else if (szArg == "--net-lag") {
                if (n > 1000) return false;
                g_Sim.Net.Fault.nLagMs = int(n);
            } else if (szArg == "--net-jitter") {
                if (n > 1000) return false;
                g_Sim.Net.Fault.nJitterMs = int(n);
            } else if (szArg == "--net-loss") {
                if (n > 90) return false;
                g_Sim.Net.Fault.nLossPercent = int(n);
            } else {
                g_Sim.Net.Fault.dwSeed = n;
            }
        } else if (szArg == "--net-record") {
            if (!Value(&g_Sim.szNetRecord)) return false;
        } else if (szArg == "--net-desync-at") {
            if (!Value(&szValue) || !ParseCount(szValue.c_str(), &g_Sim.dwDesyncAt)) return false;
            g_Sim.bDesync = true;
        } else if (szArg == "--net-stats") {
            g_Sim.bNetStats = true;
        } else if (szArg == "--replay") {
            if (!Value(&g_Sim.szReplay)) return false;
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
    if (g_Sim.Net.Fault.nJitterMs > g_Sim.Net.Fault.nLagMs) return false;
    if (g_Sim.bNet && !g_Sim.szReplay.empty()) return false;
    return true;
}

bool ApplyInput(uint32_t dwFrame) {
    INPUTDEVICES dev = InputScriptAt(g_Script, dwFrame);
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

// Net session hooks: the script drives the local player by session frame, the trace takes the
// confirmed frames only.
void NetSample(uint32_t dwFrame) {
    ApplyInput(dwFrame);
}

void NetStepped(uint32_t dwFrame) {
    if (g_Sim.bDesync && dwFrame == g_Sim.dwDesyncAt) CrtRandSetState(CrtRandState() ^ 0x5A5A);
    if (g_fpTrace) g_szTraceRing[dwFrame % 64] = TraceLine(dwFrame);
}

void NetConfirmed(uint32_t dwFrame) {
    if (g_fpTrace) std::fprintf(g_fpTrace, "%s\n", g_szTraceRing[dwFrame % 64].c_str());
}

void NetMessage(int nMessage) {
    std::fprintf(stderr, "pomrin-sim: net: %s\n", NetPlayMessageName(nMessage));
}

void PrintNetStats() {
    NETPLAYSTATS s = NetPlayStats();
    NETSTATS n = NetPlayNetStats();
    std::fprintf(stderr,
                 "pomrin-sim: net stats: rollbacks %u (longest %u frames), frames waited %u (held %u), "
                 "packets sent %u received %u dropped %u malformed %u, bytes/s sent %u received %u\n",
                 s.dwRollbacks, s.dwLongestRollback, s.dwFramesWaited, s.dwFramesHeld, n.dwPacketsSent,
                 n.dwPacketsReceived, n.dwPacketsDropped, n.dwPacketsMalformed, n.dwBytesSentPerSec,
                 n.dwBytesReceivedPerSec);
}

bool BeforeFrame(uint32_t dwFrame) {
    g_bNetTick = NetPlayActive();
    if (g_bNetTick) return true;
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
        std::string szFile = (std::filesystem::path(g_Sim.szShots) / szName).string();
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
    if (!ParseArgs(argc, argv)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!g_Sim.szInput.empty()) {
        std::ifstream in(g_Sim.szInput, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "pomrin-sim: cannot read %s\n", g_Sim.szInput.c_str());
            return 2;
        }
        std::stringstream text;
        text << in.rdbuf();
        std::string szError;
        if (!ParseInputScript(text.str(), &g_Script, &szError)) {
            std::fprintf(stderr, "pomrin-sim: %s: %s\n", g_Sim.szInput.c_str(), szError.c_str());
            return 2;
        }
    }
    // Output paths are taken from where the simulator was started, before it enters the data.
    if (!g_Sim.szSounds.empty() && !(g_fpSounds = OpenOutput(g_Sim.szSounds))) return 2;
    if (!g_Sim.szTrace.empty() && !(g_fpTrace = OpenOutput(g_Sim.szTrace))) return 2;
    if (!g_Sim.szRecord.empty()) g_Sim.szRecord = Absolute(g_Sim.szRecord);
    if (!g_Sim.szNetRecord.empty()) g_Sim.szNetRecord = Absolute(g_Sim.szNetRecord);
    if (!g_Sim.szReplay.empty()) {
        std::ifstream in(g_Sim.szReplay, std::ios::binary);
        std::stringstream text;
        if (in) text << in.rdbuf();
        std::string szError;
        if (!in || !NetReplayStart(text.str(), false, &szError)) {
            std::fprintf(stderr, "pomrin-sim: %s: %s\n", g_Sim.szReplay.c_str(), in ? szError.c_str() : "cannot read");
            return 2;
        }
    }
    if (g_Sim.bNet) {
        g_Sim.Net.dwTimeoutMs = g_Sim.dwNetTimeout * 1000;
        g_Sim.Net.dwFrames = g_Sim.bFrames ? g_Sim.dwFrames : 0;
        g_Sim.Net.szRecord = g_Sim.szNetRecord.empty() ? nullptr : g_Sim.szNetRecord.c_str();
        g_NetPlayHooks.lpfnSample = NetSample;
        g_NetPlayHooks.lpfnStepped = NetStepped;
        g_NetPlayHooks.lpfnConfirmed = NetConfirmed;
        g_NetPlayHooks.lpfnMessage = NetMessage;
        if (!NetPlayStart(&g_Sim.Net)) return 2;
    }
    if (!g_Sim.szShots.empty()) {
        g_Sim.szShots = Absolute(g_Sim.szShots);
        std::error_code ec;
        std::filesystem::create_directories(g_Sim.szShots, ec);
    }
    std::error_code ec;
    std::filesystem::current_path(g_Sim.szData, ec);
    if (ec) {
        std::fprintf(stderr, "pomrin-sim: cannot enter the data folder %s\n", g_Sim.szData.c_str());
        return 2;
    }

    Headless_Reset();
    Headless_SetInstanceHeld(g_Sim.bSecondCopy);
    Headless_SetVideoAvailable(g_Sim.szFail != "video");
    Headless_SetWindowAvailable(g_Sim.szFail != "window");
    Headless_SetAudioAvailable(g_Sim.szFail != "audio");
    g_lpfnBeforeFrame = BeforeFrame;
    g_lpfnAfterFrame = AfterFrame;
    int nExit = GameRun(g_Sim.szRecord.empty() ? nullptr : g_Sim.szRecord.c_str());
    NetPlayShutdown();
    if (g_Sim.bNetStats) PrintNetStats();
    if (g_fpSounds) std::fclose(g_fpSounds);
    if (g_fpTrace) std::fclose(g_fpTrace);
    return nExit;
}
