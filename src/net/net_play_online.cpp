// The online screen's requests, as sessions of net_play with the screen kept on.
#include <chrono>
#include <cstdio>

#include "app/scene_state.h"
#include "net/lobby_proto.h"
#include "net/net_lobby.h"
#include "net/net_online.h"
#include "net/net_play.h"
#include "net/net_play_text.h"
#include "platform/plat_net.h"

namespace {

NETPLAYOPTIONS g_Base;

NETPLAYOPTIONS ScreenOptions() {
    NETPLAYOPTIONS o = g_Base;
    o.bScreen = true;
    return o;
}

uint32_t NowMs() {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool Host() {
    if (NetPlayActive()) return false;
    NetDiscoverStop();
    NETPLAYOPTIONS o = ScreenOptions();
    o.bHost = true;
    o.wPort = NET_DEFAULT_PORT;
    return NetPlayStart(&o);
}

bool Join(const char* szTarget) {
    if (NetPlayActive()) return false;
    NetDiscoverStop();
    NETPLAYOPTIONS o = ScreenOptions();
    o.bHost = false;
    o.wPort = NET_DEFAULT_PORT;
    // Six code characters are a room code; anything else is the host's address.
    uint32_t dwCode;
    if (LobbyCodeParse(szTarget, &dwCode))
        LobbyCodeText(dwCode, o.szCode);
    else if (!Plat_NetDirect() || !NetParseAddress(szTarget, o.szHost, sizeof(o.szHost), &o.wPort))
        return false;
    return NetPlayStart(&o);
}

void Status(NETONLINESTATUS* lpStatus) {
    NETONLINESTATUS s;
    const NETPLAYOPTIONS* lpOpt = NetPlayOptions();
    if (NetPlayConnecting()) {
        s.nState = lpOpt->bHost ? NETONLINE_WAITING : NETONLINE_CONNECTING;
        const int nStage = NetLobbyStage();
        s.nStep = nStage == 1                        ? NETONLINE_STEP_LOBBY
                  : nStage == 3                      ? NETONLINE_STEP_RELAY
                  : nStage == 2 || !lpOpt->szCode[0] ? NETONLINE_STEP_DIRECT
                                                     : NETONLINE_STEP_LOBBY;
        s.nMessage = NetPlayLobbyNote();
        s.bNoAnswer = NetPlayNoAnswer();
        if (lpOpt->bHost) {
            std::snprintf(s.szCode, sizeof(s.szCode), "%s", NetLobbyCode());
            s.wPort = lpOpt->wPort;
            uint32_t dwIp;
            if (Plat_LocalAddresses(&dwIp, 1) == 1)
                std::snprintf(s.szLocal, sizeof(s.szLocal), "%u.%u.%u.%u", dwIp >> 24, (dwIp >> 16) & 255,
                              (dwIp >> 8) & 255, dwIp & 255);
        }
    } else {
        s.nMessage = NetPlayEndMessage();
    }
    s.nRoute = NetPlayRoute();
    *lpStatus = s;
}

bool LobbyValid(const char* szText) {
    char szHost[256];
    uint16_t wPort;
    return NetLobbyParseAddress(szText, szHost, sizeof(szHost), &wPort);
}

int Games(NETGAME* lpGames, int nMax) {
    return NetDiscoverService(NowMs(), lpGames, nMax);
}

NETONLINE g_Online = {true, Host, Join, NetPlayCancel, Status, LobbyValid, Games, NetDiscoverStop};

}  // namespace

void NetOnlineInstall(const NETPLAYOPTIONS* lpBase) {
    if (lpBase) {
        g_Base = *lpBase;
    } else {
        g_Base = NETPLAYOPTIONS{};
        g_Base.bLobbySettings = true;
    }
    g_Online.bDirect = Plat_NetDirect();
    g_lpNetOnline = &g_Online;
    g_bTitleOnline = true;
}
