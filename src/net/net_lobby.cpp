// The game's side of the lobby: rooms, punching and the relay on the ENet host's socket.
#include "net/net_lobby.h"

#include <cstdio>
#include <cstring>

#include "net/lobby_proto.h"
#include "net/net_link.h"
#include "platform/plat_net.h"

namespace {

constexpr uint32_t kRequestEveryMs = 1000;  // REGISTER, JOIN again until answered
constexpr uint32_t kUnreachableMs = 5000;   // no answer this long: the server is unreachable
constexpr uint32_t kPunchDelayMs = 500;     // after the small-TTL punch: the other side's goes out too
constexpr uint32_t kPunchEveryMs = 100;
constexpr uint32_t kPunchMs = 3000;      // no answer to the punches this long: the relay
constexpr uint32_t kDirectMs = 3000;     // guest: an answer, but no ENet connection this long
constexpr uint32_t kRelayEveryMs = 500;  // RELAY_BIND again until the other side is bound
constexpr uint32_t kRelayMs = 10000;     // no connection through the relay this long: no route
constexpr int kPunchTtl = 2;             // passes our router; the next one on the path drops it
constexpr int kCandidates = 1 + LOBBY_MAX_LOCAL;
constexpr int kEvents = 8;

enum STEP {
    STEP_OFF,
    STEP_CALL,    // REGISTER or JOIN sent, no answer yet
    STEP_ROOM,    // host: the room is up, waiting for INTRO
    STEP_PUNCH,   // both: punching; guest: until an answer
    STEP_DIRECT,  // guest: ENet connecting to the address that answered
    STEP_RELAY,   // both: binding to the relay, then (guest) connecting through it
    STEP_DONE,    // connected, or given up
};

struct NETLOBBY {
    STEP nStep = STEP_OFF;
    bool bHost = false;
    ENetAddress Server{};
    uint32_t dwCode = 0;
    char szCode[LOBBY_CODE_LENGTH + 1] = {};
    uint64_t qwKey = 0;
    uint64_t qwToken = 0;
    uint32_t dwKeepaliveMs = 2000;
    LOBBYADDR Peer[kCandidates];  // the other side's public address, then its local ones
    int nPeer = 0;
    uint32_t dwNowMs = 0;
    uint32_t dwCallMs = 0;      // the first REGISTER or JOIN of this call
    uint32_t dwSentMs = 0;      // the last request or keep-alive
    uint32_t dwStepMs = 0;      // when this step began
    uint32_t dwPunchMs = 0;     // the last round of punches
    bool bServerHeard = false;  // an answer came since the call began
    bool bUnreachableSaid = false;
    bool bPeerBound = false;  // RELAY_OK: the other side is bound too
    bool bRelayed = false;    // guest: connecting through the relay
    int nEvents = 0;
    int Events[kEvents] = {};
};

NETLOBBY g_Lobby;

void Push(int nEvent) {
    if (g_Lobby.nEvents < kEvents) g_Lobby.Events[g_Lobby.nEvents++] = nEvent;
}

ENetAddress ToEnet(const LOBBYADDR& a) {
    ENetAddress e{};
    e.host = ENET_HOST_TO_NET_32(a.dwIp);
    e.port = a.wPort;
    return e;
}

bool SameAddress(const ENetAddress& a, const ENetAddress& b) {
    return a.host == b.host && a.port == b.port;
}

void Send(const ENetAddress& To, const LOBBYMSG& m) {
    ENetHost* lpHost = g_lpNet->lpHost;
    uint8_t buf[LOBBY_MAX_MESSAGE];
    const int n = LobbyEncode(&m, buf, sizeof(buf));
    if (!lpHost || n <= 0) return;
    ENetBuffer b{};
    b.data = buf;
    b.dataLength = size_t(n);
    enet_socket_send(lpHost->socket, &To, &b, 1);
}

void SendPunches(uint8_t byType, int nTtl) {
    ENetHost* lpHost = g_lpNet->lpHost;
    const int nOldTtl = nTtl ? Plat_SocketGetTtl(intptr_t(lpHost->socket)) : 0;
    if (nOldTtl > 0) Plat_SocketSetTtl(intptr_t(lpHost->socket), nTtl);
    LOBBYMSG m;
    m.byType = byType;
    m.qwToken = g_Lobby.qwToken;
    m.bySide = g_Lobby.bHost ? LOBBY_SIDE_HOST : LOBBY_SIDE_GUEST;
    for (int i = 0; i < g_Lobby.nPeer; ++i) Send(ToEnet(g_Lobby.Peer[i]), m);
    if (nOldTtl > 0) Plat_SocketSetTtl(intptr_t(lpHost->socket), nOldTtl);
    g_Lobby.dwPunchMs = g_Lobby.dwNowMs;
}

// REGISTER or JOIN with our local addresses at the socket's port.
void SendCall() {
    LOBBYMSG m;
    m.byType = g_Lobby.bHost ? LOBBY_MSG_REGISTER : LOBBY_MSG_JOIN;
    m.dwCode = g_Lobby.dwCode;
    std::snprintf(m.szVersion, sizeof(m.szVersion), "%s", g_lpNet->Setup.szVersion);
    ENetAddress Bound{};
    enet_socket_get_address(g_lpNet->lpHost->socket, &Bound);
    uint32_t dwIp[LOBBY_MAX_LOCAL];
    m.nLocal = Plat_LocalAddresses(dwIp, LOBBY_MAX_LOCAL);
    for (int i = 0; i < m.nLocal; ++i) m.Local[i] = LOBBYADDR{dwIp[i], Bound.port};
    Send(g_Lobby.Server, m);
    g_Lobby.dwSentMs = g_Lobby.dwNowMs;
}

void SendToServer(uint8_t byType) {
    LOBBYMSG m;
    m.byType = byType;
    m.dwCode = g_Lobby.dwCode;
    m.qwKey = g_Lobby.qwKey;
    m.qwToken = g_Lobby.qwToken;
    m.bySide = g_Lobby.bHost ? LOBBY_SIDE_HOST : LOBBY_SIDE_GUEST;
    Send(g_Lobby.Server, m);
    g_Lobby.dwSentMs = g_Lobby.dwNowMs;
}

void Step(STEP nStep) {
    g_Lobby.nStep = nStep;
    g_Lobby.dwStepMs = g_Lobby.dwNowMs;
}

void Call() {
    g_Lobby.dwCallMs = g_Lobby.dwNowMs;
    g_Lobby.bServerHeard = false;
    Step(STEP_CALL);
    SendCall();
}

// Guest: the ENet connection goes (again) to this address; the session connects on its next turn.
void ConnectTo(const ENetAddress& To) {
    NETSESSION* lpNet = g_lpNet;
    if (lpNet->bHost || lpNet->nState != NET_CONNECTING) return;
    if (lpNet->lpPeer) {
        NetDropHeld(lpNet, lpNet->lpPeer);
        enet_peer_reset(lpNet->lpPeer);
        lpNet->lpPeer = nullptr;
    }
    lpNet->dwHostIp = To.host;
    lpNet->wPort = To.port;
}

void Relay() {
    Step(STEP_RELAY);
    g_Lobby.bPeerBound = false;
    SendToServer(LOBBY_MSG_RELAY_BIND);
}

void Intro(const LOBBYMSG& m) {
    const uint8_t bySide = g_Lobby.bHost ? LOBBY_SIDE_HOST : LOBBY_SIDE_GUEST;
    if (m.bySide != bySide || m.dwCode != g_Lobby.dwCode) return;
    // The same introduction again (a KEEPALIVE or JOIN crossed it): nothing new.
    if (g_Lobby.nStep != STEP_CALL && g_Lobby.nStep != STEP_ROOM) return;
    g_Lobby.qwToken = m.qwToken;
    g_Lobby.nPeer = 0;
    auto Add = [](const LOBBYADDR& a) {
        if (a.dwIp == 0 || a.wPort == 0) return;
        for (int i = 0; i < g_Lobby.nPeer; ++i)
            if (g_Lobby.Peer[i] == a) return;
        g_Lobby.Peer[g_Lobby.nPeer++] = a;
    };
    Add(m.Public);
    for (int i = 0; i < m.nLocal; ++i) Add(m.Local[i]);
    // No address: the other side has no direct route (a page on a WebSocket); the relay at once.
    if (!g_Lobby.nPeer) return Relay();
    Step(STEP_PUNCH);
    SendPunches(LOBBY_MSG_PUNCH, kPunchTtl);
}

void ServerError(const LOBBYMSG& m) {
    if (m.byRequest == LOBBY_MSG_RELAY_BIND) return;  // the relay's deadline decides
    if (g_Lobby.bHost && m.byRequest == LOBBY_MSG_KEEPALIVE && g_Lobby.nStep == STEP_ROOM) {
        Call();  // the room expired while we could not reach the server: a new one
        return;
    }
    if (m.byRequest == LOBBY_MSG_LEAVE || g_Lobby.nStep != STEP_CALL) return;
    switch (m.byReason) {
        case LOBBY_ERROR_UNKNOWN:
            Push(NETLOBBY_EV_UNKNOWN);
            break;
        case LOBBY_ERROR_TAKEN:
            Push(NETLOBBY_EV_TAKEN);
            break;
        case LOBBY_ERROR_VERSION:
            Push(NETLOBBY_EV_VERSION);
            break;
        case LOBBY_ERROR_FULL:
        case LOBBY_ERROR_TOO_MANY:
            Push(NETLOBBY_EV_BUSY);
            break;
        default:
            Push(NETLOBBY_EV_REFUSED);
            break;
    }
    Step(STEP_DONE);
}

void ServerMessage(const LOBBYMSG& m) {
    g_Lobby.bServerHeard = true;
    switch (m.byType) {
        case LOBBY_MSG_ROOM:
            if (!g_Lobby.bHost || g_Lobby.nStep != STEP_CALL) break;
            g_Lobby.dwCode = m.dwCode;
            g_Lobby.qwKey = m.qwKey;
            g_Lobby.dwKeepaliveMs = uint32_t(m.byKeepalive) * 1000;
            LobbyCodeText(m.dwCode, g_Lobby.szCode);
            // The room takes guests once a KEEPALIVE shows we hear the server at this address.
            SendToServer(LOBBY_MSG_KEEPALIVE);
            Step(STEP_ROOM);
            Push(NETLOBBY_EV_ROOM);
            break;
        case LOBBY_MSG_INTRO:
            Intro(m);
            break;
        case LOBBY_MSG_RELAY_OK:
            if (g_Lobby.nStep == STEP_RELAY && m.qwToken == g_Lobby.qwToken && m.byPeer)
                g_Lobby.bPeerBound = true;
            break;
        case LOBBY_MSG_ERROR:
            ServerError(m);
            break;
        default:
            break;
    }
}

void PeerMessage(const ENetAddress& From, const LOBBYMSG& m) {
    const bool bPunching = g_Lobby.nStep >= STEP_PUNCH && g_Lobby.nStep <= STEP_RELAY;
    const uint8_t byOther = g_Lobby.bHost ? LOBBY_SIDE_GUEST : LOBBY_SIDE_HOST;
    if (!bPunching || m.qwToken != g_Lobby.qwToken || m.bySide != byOther) return;
    if (m.byType == LOBBY_MSG_PUNCH) {
        // Answered where it came from: a router that gave the other side another port for us
        // than for the server is answered at that port.
        LOBBYMSG a = m;
        a.byType = LOBBY_MSG_PUNCH_ACK;
        a.bySide = g_Lobby.bHost ? LOBBY_SIDE_HOST : LOBBY_SIDE_GUEST;
        Send(From, a);
    }
    if (!g_Lobby.bHost && g_Lobby.nStep == STEP_PUNCH) {
        ConnectTo(From);
        Step(STEP_DIRECT);
    }
}

// The timers of each step.
void Tick() {
    NETLOBBY& l = g_Lobby;
    const uint32_t dwStep = l.dwNowMs - l.dwStepMs;
    const NETSTATE nSession = g_lpNet->nState;
    // Connected (through the lobby or directly), or the session is over: the meeting is done and
    // a host's room is given up (a relay in use stays: it lives on its own traffic).
    if (l.nStep < STEP_DONE && nSession != NET_WAITING && nSession != NET_CONNECTING) {
        if (l.bHost && l.qwKey) SendToServer(LOBBY_MSG_LEAVE);
        l.qwKey = 0;
        Step(STEP_DONE);
        return;
    }
    switch (l.nStep) {
        case STEP_CALL:
            if (!l.bServerHeard && !l.bUnreachableSaid && l.dwNowMs - l.dwCallMs >= kUnreachableMs) {
                l.bUnreachableSaid = true;
                Push(NETLOBBY_EV_UNREACHABLE);
                if (!l.bHost) {
                    Step(STEP_DONE);
                    break;
                }
            }
            // A host that cannot reach the server keeps asking, more slowly.
            if (l.dwNowMs - l.dwSentMs >= (l.bUnreachableSaid ? 3 * kRequestEveryMs : kRequestEveryMs))
                SendCall();
            break;
        case STEP_ROOM:
            if (l.dwNowMs - l.dwSentMs >= l.dwKeepaliveMs) SendToServer(LOBBY_MSG_KEEPALIVE);
            break;
        case STEP_PUNCH:
        case STEP_DIRECT:
            if (l.bHost && l.dwNowMs - l.dwSentMs >= l.dwKeepaliveMs) SendToServer(LOBBY_MSG_KEEPALIVE);
            if (dwStep >= kPunchDelayMs && l.dwNowMs - l.dwPunchMs >= kPunchEveryMs &&
                (l.nStep == STEP_PUNCH || dwStep < kDirectMs))
                SendPunches(LOBBY_MSG_PUNCH, 0);
            // (A host binds too, should the guest not get through; a relay unused just expires.)
            if (dwStep >= (l.nStep == STEP_DIRECT ? kDirectMs : kPunchMs)) Relay();
            break;
        case STEP_RELAY:
            if (l.bHost && l.dwNowMs - l.dwPunchMs >= kPunchEveryMs) SendPunches(LOBBY_MSG_PUNCH, 0);
            if (!l.bPeerBound && l.dwNowMs - l.dwSentMs >= kRelayEveryMs) SendToServer(LOBBY_MSG_RELAY_BIND);
            if (l.bPeerBound && !l.bHost && !l.bRelayed) {
                l.bRelayed = true;
                ConnectTo(l.Server);
            }
            if (dwStep >= kRelayMs) {
                Push(NETLOBBY_EV_NO_ROUTE);
                // The host's room is used up: a new one for the next guest.
                if (l.bHost) {
                    Call();
                } else {
                    Step(STEP_DONE);
                }
            }
            break;
        default:
            break;
    }
}

}  // namespace

bool NetLobbyParseAddress(const char* szText, char* szHost, size_t nHostSize, uint16_t* lpwPort) {
    if (!NetParseAddress(szText, szHost, nHostSize, lpwPort)) return false;
    if (!std::strchr(szText, ':')) *lpwPort = LOBBY_DEFAULT_PORT;
    return true;
}

bool NetLobbyStart(const char* szServer, uint16_t wServerPort, const char* szCode, uint32_t dwNowMs) {
    g_Lobby = NETLOBBY{};
    NETSESSION* lpNet = g_lpNet;
    if (!lpNet->lpHost || !szServer) return false;
    ENetAddress Server{};
    Server.port = wServerPort;
    if (enet_address_set_host(&Server, szServer) != 0 || Server.port == 0) return false;
    g_Lobby.bHost = lpNet->bHost;
    if (!g_Lobby.bHost && (!szCode || !LobbyCodeParse(szCode, &g_Lobby.dwCode))) return false;
    if (!g_Lobby.bHost) LobbyCodeText(g_Lobby.dwCode, g_Lobby.szCode);
    g_Lobby.Server = Server;
    g_Lobby.dwNowMs = dwNowMs;
    Plat_SocketIgnoreErrors(intptr_t(lpNet->lpHost->socket));
    Call();
    return true;
}

int NetLobbyService(uint32_t dwNowMs) {
    NETLOBBY& l = g_Lobby;
    if (l.nStep == STEP_OFF || !g_lpNet->lpHost) return NETLOBBY_EV_NONE;
    l.dwNowMs = dwNowMs;
    Tick();
    if (l.nEvents == 0) return NETLOBBY_EV_NONE;
    const int nEvent = l.Events[0];
    std::memmove(l.Events, l.Events + 1, sizeof(int) * size_t(--l.nEvents));
    return nEvent;
}

bool NetLobbyTake(ENetHost* lpHost) {
    const uint8_t* lpData = lpHost->receivedData;
    const size_t nSize = lpHost->receivedDataLength;
    if (!LobbyIsLobby(lpData, nSize)) return false;
    if (g_Lobby.nStep == STEP_OFF) return true;
    LOBBYMSG m;
    const LOBBYDECODE nDecode = LobbyDecode(lpData, nSize, &m);
    const bool bServer = SameAddress(lpHost->receivedAddress, g_Lobby.Server);
    if (nDecode == LOBBY_DECODE_PROTOCOL && bServer && m.byType == LOBBY_MSG_ERROR &&
        g_Lobby.nStep == STEP_CALL) {
        // A server of another lobby protocol: this game cannot use it.
        Push(NETLOBBY_EV_REFUSED);
        Step(STEP_DONE);
    }
    if (nDecode != LOBBY_DECODE_OK) return true;
    if (bServer)
        ServerMessage(m);
    else if (m.byType == LOBBY_MSG_PUNCH || m.byType == LOBBY_MSG_PUNCH_ACK)
        PeerMessage(lpHost->receivedAddress, m);
    return true;
}

int NetLobbyStage() {
    switch (g_Lobby.nStep) {
        case STEP_CALL:
        case STEP_ROOM:
            return 1;
        case STEP_PUNCH:
        case STEP_DIRECT:
            return 2;
        case STEP_RELAY:
            return 3;
        default:
            return 0;
    }
}

const char* NetLobbyCode() {
    return g_Lobby.bHost ? g_Lobby.szCode : "";
}

int NetLobbyRoute() {
    const ENetPeer* lpPeer = g_lpNet->lpPeer;
    if (!lpPeer) return NETLOBBY_ROUTE_NONE;
    const bool bRelay = g_Lobby.nStep != STEP_OFF && SameAddress(lpPeer->address, g_Lobby.Server);
    return bRelay ? NETLOBBY_ROUTE_RELAY : NETLOBBY_ROUTE_DIRECT;
}

void NetLobbyStop() {
    if (g_Lobby.bHost && g_Lobby.qwKey && g_lpNet->lpHost) SendToServer(LOBBY_MSG_LEAVE);
    g_Lobby = NETLOBBY{};
}
