// The online-play flags of the game's command line, taken out before GameMain sees the rest.
#include "net/net_entry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/game_main.h"
#include "app/input_script.h"
#include "app/option.h"
#include "app/scene_state.h"
#include "app/window.h"
#include "lang/lang.h"
#include "menus/online_scene.h"
#include "net/lobby_proto.h"
#include "net/net_lobby.h"
#include "net/net_online.h"
#include "net/net_play.h"
#include "net/net_play_text.h"
#include "net/net_record.h"
#include "platform/plat_input.h"
#include "platform/plat_os.h"

namespace {

bool ParseNumber(const char* sz, long nMin, long nMax, long* lpn) {
    if (!sz || !*sz) return false;
    char* lpEnd = nullptr;
    const long n = std::strtol(sz, &lpEnd, 10);
    if (*lpEnd || n < nMin || n > nMax) return false;
    *lpn = n;
    return true;
}

// A --record file watched in the window: the recorded devices stand in for the real ones.
INPUTSCRIPT g_Script;
bool g_bScriptEscape;

bool ScriptBeforeFrame(uint32_t dwFrame) {
    const INPUTDEVICES dev = InputScriptAt(g_Script, dwFrame);
    PlatDeviceOverride o;
    for (int nVk = 0; nVk < 256; ++nVk) o.bKeys[nVk] = dev.Keys.test(size_t(nVk));
    for (int i = 0; i < 2; ++i) {
        o.bJoy[i] = dev.bJoyConnected[i];
        o.Joy[i] = dev.Joy[i];
        o.dwHat[i] = dev.dwJoyHat[i];
    }
    Plat_OverrideDevices(&o);
    const bool bEscape = dev.Keys.test(VK_ESCAPE);
    const bool bPress = bEscape && !g_bScriptEscape;
    g_bScriptEscape = bEscape;
    if (bPress) PostMessage(WM_KEYDOWN, VK_ESCAPE);
    return !bPress;
}

void NetMessage(int nMessage) {
    if (nMessage == NETPLAY_MSG_ROOM) {
        // The code to read out or paste into a chat, alone on a line.
        std::printf("room %s\n", NetLobbyCode());
        std::fflush(stdout);
        return;
    }
    std::fprintf(stderr, "pomrin: net: %s\n", NetPlayMessageName(nMessage));
}

}  // namespace

int NetEntryArgs(std::vector<std::string>* lpArgs) {
    const std::vector<std::string>& args = *lpArgs;
    NETPLAYOPTIONS net;
    bool bNet = false;
    bool bOnline = false;
    std::string szReplay;
    std::string szJoin;
    std::vector<std::string> rest;
    if (!args.empty()) rest.push_back(args[0]);
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& szArg = args[i];
        const char* szNext = i + 1 < args.size() ? args[i + 1].c_str() : nullptr;
        long n = 0;
        bool bOk = true;
        if (szArg == "--online") {
            bOnline = true;
        } else if (szArg == "--host") {
            bNet = net.bHost = true;
            if (ParseNumber(szNext, 1, 65535, &n)) {
                net.wPort = uint16_t(n);
                ++i;
            }
        } else if (szArg == "--join") {
            bNet = true;
            if (szNext) szJoin = szNext;
            net.bHost = false;
            // Six code characters are a room code; anything else is the host's address.
            uint32_t dwCode;
            if (szNext && LobbyCodeParse(szNext, &dwCode))
                LobbyCodeText(dwCode, net.szCode);
            else
                bOk = szNext && NetParseAddress(szNext, net.szHost, sizeof(net.szHost), &net.wPort);
            ++i;
        } else if (szArg == "--lobby") {
            char szHost[256];
            uint16_t wPort;
            bOk = szNext && NetLobbyParseAddress(szNext, szHost, sizeof(szHost), &wPort);
            if (bOk) std::snprintf(net.szLobby, sizeof(net.szLobby), "%s", szNext);
            ++i;
        } else if (szArg == "--net-delay" || szArg == "--net-lag" || szArg == "--net-jitter" ||
                   szArg == "--net-loss" || szArg == "--net-seed") {
            const long nMax = szArg == "--net-delay"  ? 8
                              : szArg == "--net-loss" ? 90
                              : szArg == "--net-seed" ? 0x7FFFFFFF
                                                      : 1000;
            bOk = ParseNumber(szNext, 0, nMax, &n);
            ++i;
            if (szArg == "--net-delay") net.nInputDelay = int(n);
            if (szArg == "--net-lag") net.Fault.nLagMs = int(n);
            if (szArg == "--net-jitter") net.Fault.nJitterMs = int(n);
            if (szArg == "--net-loss") net.Fault.nLossPercent = int(n);
            if (szArg == "--net-seed") net.Fault.dwSeed = uint32_t(n);
        } else if (szArg == "--replay") {
            bOk = szNext != nullptr;
            if (szNext) szReplay = szNext;
            ++i;
        } else {
            rest.push_back(szArg);
        }
        // --online takes a room to join at once (a room's link in a page), nothing else.
        const bool bOnlineJoin = bOnline && bNet && !net.bHost;
        if (!bOk || net.Fault.nJitterMs > net.Fault.nLagMs || (bOnline && bNet && !bOnlineJoin)) {
            // A windowed program on some systems has no error stream: the platform finds a place.
            Plat_ShowText(
                GameText(TXT_GAME_NAME),
                "usage: pomrin [--online [--join CODE] | --host [PORT] | --join HOST[:PORT] | --join CODE] "
                "[--lobby HOST[:PORT]]\n"
                "          [--net-delay N] [--net-lag MS]\n"
                "          [--net-jitter MS] [--net-loss PERCENT] [--net-seed N] [--replay FILE]\n"
                "          [--record FILE] [--lang ja|en]\n",
                true);
            return 2;
        }
    }
    // The title's online row and the online screen; --online starts on the screen, and like a
    // session is not stopped by the one-copy rule.
    NETPLAYOPTIONS base = net;
    base.bLobbySettings = true;
    base.szCode[0] = base.szHost[0] = 0;
    NetOnlineInstall(&base);
    if (bOnline) {
        g_nScene = g_nNextScene = SCENE_ONLINE;
        g_bNoInstanceLock = true;
        // The screen joins the room as soon as it is up, as if the code had been typed.
        if (bNet) std::snprintf(g_szOnlineJoin, sizeof(g_szOnlineJoin), "%s", szJoin.c_str());
        bNet = false;
    }
    if (!szReplay.empty()) {
        std::string szText, szError;
        bool bOk = false;
        if (!NetRecordRead(szReplay, &szText, &szError)) {
        } else if (NetRecordLooksLike(szText)) {
            bOk = NetReplayStart(szText, true, &szError);
        } else if (ParseInputScript(szText, &g_Script, &szError)) {
            g_lpfnBeforeFrame = ScriptBeforeFrame;
            g_bSettingsReadOnly = true;
            bOk = true;
        }
        if (!bOk) {
            Plat_ShowText(GameText(TXT_GAME_NAME), (szReplay + ": " + szError + "\n").c_str(), true);
            return 2;
        }
        g_bNoInstanceLock = true;
    }
    if (bNet) {
        net.bLobbySettings = true;
        g_NetPlayHooks.lpfnMessage = NetMessage;
        if (!NetPlayStart(&net)) return 2;
        g_bNoInstanceLock = true;
    }
    // The flags left, in order.
    *lpArgs = std::move(rest);
    return 0;
}

void NetEntryEnd() {
    NetPlayShutdown();
}
