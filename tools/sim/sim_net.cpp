#include "sim_net.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/crt_rand.h"
#include "net/lobby_proto.h"
#include "net/net_lobby.h"
#include "net/net_online.h"
#include "net/net_play.h"
#include "net/net_play_text.h"
#include "net/net_record.h"
#include "trace.h"

namespace {

const SIMNET* g_lpSimNet;
FILE* g_fpTrace;
bool (*g_lpfnApplyInput)(uint32_t);
std::string g_szTraceRing[64];  // each frame's trace line from its last simulation
NETPLAYOPTIONS g_Options;

// The script drives the local player by session frame; the trace takes the confirmed frames only.
void Sample(uint32_t dwFrame) {
    g_lpfnApplyInput(dwFrame);
}

void Stepped(uint32_t dwFrame) {
    if (g_lpSimNet->bDesync && dwFrame == g_lpSimNet->dwDesyncAt) CrtRandSetState(CrtRandState() ^ 0x5A5A);
    if (g_fpTrace) g_szTraceRing[dwFrame % 64] = TraceLine(dwFrame);
}

void Confirmed(uint32_t dwFrame) {
    if (g_fpTrace) std::fprintf(g_fpTrace, "%s\n", g_szTraceRing[dwFrame % 64].c_str());
}

void Message(int nMessage) {
    if (nMessage == NETPLAY_MSG_ROOM) {
        // For whoever starts the guest: the code alone on a line, at once.
        std::printf("room %s\n", NetLobbyCode());
        std::fflush(stdout);
        return;
    }
    std::fprintf(stderr, "pomrin-sim: net: %s\n", NetPlayMessageName(nMessage));
}

}  // namespace

int SimNetStart(const SIMNET& net, uint32_t dwFrames, FILE* fpTrace, bool (*lpfnApplyInput)(uint32_t)) {
    g_lpSimNet = &net;
    g_fpTrace = fpTrace;
    g_lpfnApplyInput = lpfnApplyInput;
    if (!net.szReplay.empty()) {
        std::string szText, szError;
        if (!NetRecordRead(net.szReplay, &szText, &szError) || !NetReplayStart(szText, false, &szError)) {
            std::fprintf(stderr, "pomrin-sim: %s: %s\n", net.szReplay.c_str(), szError.c_str());
            return 2;
        }
    }
    if (!net.bNet && !net.bOnline) return 0;
    NETPLAYOPTIONS& o = g_Options;
    o.bHost = net.bHost;
    o.wPort = uint16_t(net.dwPort);
    uint32_t dwCode;
    if (net.bOnline) {
        // The screen says whom to join.
    } else if (!net.bHost && LobbyCodeParse(net.szJoin.c_str(), &dwCode)) {
        LobbyCodeText(dwCode, o.szCode);
    } else if (!net.bHost && !NetParseAddress(net.szJoin.c_str(), o.szHost, sizeof(o.szHost), &o.wPort)) {
        std::fprintf(stderr, "pomrin-sim: --join %s: not HOST:PORT nor a room code\n", net.szJoin.c_str());
        return 2;
    }
    char szLobbyHost[256];
    uint16_t wLobbyPort;
    if (!net.szLobby.empty() &&
        !NetLobbyParseAddress(net.szLobby.c_str(), szLobbyHost, sizeof(szLobbyHost), &wLobbyPort)) {
        std::fprintf(stderr, "pomrin-sim: --lobby %s: not HOST[:PORT]\n", net.szLobby.c_str());
        return 2;
    }
    std::snprintf(o.szLobby, sizeof(o.szLobby), "%s", net.szLobby.c_str());
    o.nInputDelay = int(net.dwDelay);
    o.Fault.nLagMs = int(net.dwLag);
    o.Fault.nJitterMs = int(net.dwJitter);
    o.Fault.nLossPercent = int(net.dwLoss);
    o.Fault.dwSeed = net.dwSeed;
    o.dwTimeoutMs = net.dwTimeout * 1000;
    o.dwFrames = dwFrames;
    o.szRecord = net.szRecord.empty() ? nullptr : net.szRecord.c_str();
    o.dwJunkBits = net.bJunkBits ? 0x80000100u : 0;
    g_NetPlayHooks.lpfnSample = Sample;
    g_NetPlayHooks.lpfnStepped = Stepped;
    g_NetPlayHooks.lpfnConfirmed = Confirmed;
    g_NetPlayHooks.lpfnMessage = Message;
    // The online screen's sessions take these options, the simulator's reading of Settings.txt
    // aside: only --lobby sets the server.
    if (net.bOnline) {
        NetOnlineInstall(&o);
        return 0;
    }
    return NetPlayStart(&o) ? 0 : 2;
}

bool SimNetActive() {
    return NetPlayActive();
}

bool SimNetWaiting() {
    return NetPlayConnecting();
}

void SimNetEnd(const SIMNET& net) {
    NetPlayShutdown();
    if (!net.bStats) return;
    const NETPLAYSTATS s = NetPlayStats();
    const NETSTATS n = NetPlayNetStats();
    std::fprintf(stderr,
                 "pomrin-sim: net stats: rollbacks %u (longest %u frames), frames waited %u (held %u), "
                 "packets sent %u received %u dropped %u malformed %u, bytes/s sent %u received %u, "
                 "round trip %u ms\n",
                 s.dwRollbacks, s.dwLongestRollback, s.dwFramesWaited, s.dwFramesHeld, n.dwPacketsSent,
                 n.dwPacketsReceived, n.dwPacketsDropped, n.dwPacketsMalformed, n.dwBytesSentPerSec,
                 n.dwBytesReceivedPerSec, n.dwRoundTripMs);
    if (NetPlayRoute())
        std::printf("route %s\n", NetPlayRoute() == NETLOBBY_ROUTE_RELAY ? "relay" : "direct");
}
