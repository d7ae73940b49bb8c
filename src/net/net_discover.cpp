#include "net/net_discover.h"

#include <enet/enet.h>

#include <cstdio>
#include <cstring>

#include "net/net_session.h"
#include "net/wire_io.h"
#include "platform/plat_net.h"

namespace {

constexpr uint8_t kQueryMagic[4] = {'P', 'M', 'D', 'Q'};
constexpr uint8_t kAnswerMagic[4] = {'P', 'M', 'D', 'A'};
constexpr uint8_t kVersion = 1;
constexpr uint32_t kQueryEveryMs = 1500;
constexpr uint32_t kForgetMs = 4000;

// ENetBuffer's two fields stand in another order on Windows.
ENetBuffer Buffer(void* lpData, size_t nSize) {
    ENetBuffer b;
    b.data = lpData;
    b.dataLength = nSize;
    return b;
}

bool Printable(const char* sz, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (sz[i] < 0x20 || sz[i] > 0x7E) return false;
    return true;
}

void PutText(WIREWRITER* w, const char* sz, size_t nMax) {
    char sz2[64] = {};
    size_t n = 0;
    for (; sz[n] && n < nMax; ++n) sz2[n] = sz[n] >= 0x20 && sz[n] <= 0x7E ? sz[n] : '?';
    PutUint(w, n, 1);
    PutBytes(w, sz2, n);
}

bool GetText(WIREREADER* r, char* lpOut, size_t nMax) {
    const size_t n = size_t(GetUint(r, 1));
    if (n > nMax) return false;
    GetBytes(r, lpOut, n);
    lpOut[n] = 0;
    return r->bOk && Printable(lpOut, n);
}

struct SEEN {
    NETGAME Game;
    uint32_t dwIp = 0;
    uint16_t wPort = 0;
    uint32_t dwSeenMs = 0;
};

struct LISTER {
    ENetSocket hSocket = ENET_SOCKET_NULL;
    uint32_t dwNextQueryMs = 0;
    SEEN Seen[NET_DISCOVER_MAX_GAMES];
    int nSeen = 0;
};
LISTER g_List;

void SendQueries() {
    uint8_t by[NET_DISCOVER_QUERY_SIZE];
    const size_t n = NetDiscoverWriteQuery(by, sizeof(by));
    uint32_t dwTo[17];
    int nTo = Plat_BroadcastAddresses(dwTo, 16);
    dwTo[nTo++] = 0x7F000001;  // games on this machine
    for (int i = 0; i < nTo; ++i)
        for (int p = 0; p < NET_DISCOVER_PORTS; ++p) {
            ENetAddress a;
            a.host = ENET_HOST_TO_NET_32(dwTo[i]);
            a.port = uint16_t(NET_DISCOVER_FIRST_PORT + p);
            ENetBuffer b = Buffer(by, n);
            enet_socket_send(g_List.hSocket, &a, &b, 1);
        }
}

bool SameGame(const SEEN& s, uint16_t wPort, const NETGAME& game) {
    return s.wPort == wPort && std::strcmp(s.Game.szName, game.szName) == 0 &&
           std::strcmp(s.Game.szVersion, game.szVersion) == 0;
}

void Heard(uint32_t dwIp, uint16_t wPort, const NETGAME& game, uint32_t dwNowMs) {
    // A game on this machine answers at 127.0.0.1 and at its network address: listed once, by
    // the address the other machines reach it at.
    constexpr uint32_t kLoopback = 0x7F000001;
    for (int k = 0; k < g_List.nSeen; ++k) {
        SEEN& s = g_List.Seen[k];
        if (!SameGame(s, wPort, game) || (s.dwIp == kLoopback) == (dwIp == kLoopback)) continue;
        if (dwIp == kLoopback) {
            s.dwSeenMs = dwNowMs;
            return;
        }
        s.dwIp = dwIp;  // the network address takes the loopback's place
    }
    int i = 0;
    while (i < g_List.nSeen && !(g_List.Seen[i].dwIp == dwIp && g_List.Seen[i].wPort == wPort)) ++i;
    if (i == g_List.nSeen) {
        if (g_List.nSeen == NET_DISCOVER_MAX_GAMES) return;
        ++g_List.nSeen;
    }
    SEEN& s = g_List.Seen[i];
    s.Game = game;
    s.dwIp = dwIp;
    s.wPort = wPort;
    s.dwSeenMs = dwNowMs;
    std::snprintf(s.Game.szAddress, sizeof(s.Game.szAddress), "%u.%u.%u.%u:%u", dwIp >> 24,
                  (dwIp >> 16) & 255, (dwIp >> 8) & 255, dwIp & 255, unsigned(wPort));
}

// Only the local network is answered: this machine, the private and link-local ranges, and
// addresses in the /24 of one of this machine's own (the name stays off the internet).
bool Nearby(uint32_t dwIp) {
    if ((dwIp >> 24) == 127 || (dwIp >> 24) == 10 || (dwIp >> 20) == 0xAC1 || (dwIp >> 16) == 0xC0A8 ||
        (dwIp >> 16) == 0xA9FE)
        return true;
    uint32_t dwOwn[16];
    const int n = Plat_LocalAddresses(dwOwn, 16);
    for (int i = 0; i < n; ++i)
        if ((dwOwn[i] >> 8) == (dwIp >> 8)) return true;
    return false;
}

}  // namespace

size_t NetDiscoverWriteQuery(uint8_t* lpOut, size_t nSize) {
    if (nSize < NET_DISCOVER_QUERY_SIZE) return 0;
    std::memset(lpOut, 0, NET_DISCOVER_QUERY_SIZE);
    std::memcpy(lpOut, kQueryMagic, 4);
    lpOut[4] = kVersion;
    return NET_DISCOVER_QUERY_SIZE;
}

bool NetDiscoverIsQuery(const uint8_t* lpData, size_t nSize) {
    if (nSize != NET_DISCOVER_QUERY_SIZE || std::memcmp(lpData, kQueryMagic, 4) != 0 || lpData[4] != kVersion)
        return false;
    for (size_t i = 5; i < nSize; ++i)
        if (lpData[i]) return false;
    return true;
}

size_t NetDiscoverWriteAnswer(uint8_t* lpOut, size_t nSize, const char* szName, const char* szVersion,
                              uint16_t wPort) {
    WIREWRITER w{lpOut, nSize, 0, true};
    PutBytes(&w, kAnswerMagic, 4);
    PutUint(&w, kVersion, 1);
    PutUint(&w, wPort, 2);
    PutText(&w, szName, sizeof(NETGAME::szName) - 1);
    PutText(&w, szVersion, sizeof(NETGAME::szVersion) - 1);
    return w.bOk ? w.nPos : 0;
}

bool NetDiscoverReadAnswer(const uint8_t* lpData, size_t nSize, NETGAME* lpGame, uint16_t* lpwPort) {
    WIREREADER r{lpData, nSize, 0, true};
    uint8_t byMagic[4];
    GetBytes(&r, byMagic, 4);
    if (!r.bOk || std::memcmp(byMagic, kAnswerMagic, 4) != 0 || GetUint(&r, 1) != kVersion) return false;
    NETGAME g;
    *lpwPort = uint16_t(GetUint(&r, 2));
    if (!GetText(&r, g.szName, sizeof(g.szName) - 1) || !GetText(&r, g.szVersion, sizeof(g.szVersion) - 1))
        return false;
    if (r.nPos != nSize || *lpwPort == 0) return false;
    *lpGame = g;
    return true;
}

bool NetDiscoverTake(NETSESSION* lpNet, ENetHost* lpHost) {
    const uint8_t* lpData = lpHost->receivedData;
    const size_t nSize = lpHost->receivedDataLength;
    if (nSize < 4 || (std::memcmp(lpData, kQueryMagic, 4) != 0 && std::memcmp(lpData, kAnswerMagic, 4) != 0))
        return false;
    if (!lpNet->bHost || NetState() != NET_WAITING || !NetDiscoverIsQuery(lpData, nSize) ||
        !Nearby(ENET_NET_TO_HOST_32(lpHost->receivedAddress.host)))
        return true;
    char szName[64] = "pomrin";
    Plat_HostName(szName, sizeof(szName));
    uint8_t by[NET_DISCOVER_QUERY_SIZE];
    const size_t n =
        NetDiscoverWriteAnswer(by, sizeof(by), szName, lpNet->Setup.szVersion, lpHost->address.port);
    ENetBuffer b = Buffer(by, n);
    if (n) enet_socket_send(lpHost->socket, &lpHost->receivedAddress, &b, 1);
    return true;
}

int NetDiscoverService(uint32_t dwNowMs, NETGAME* lpGames, int nMax) {
    if (g_List.hSocket == ENET_SOCKET_NULL) {
        if (enet_initialize() != 0) return 0;
        g_List = LISTER{};
        g_List.hSocket = enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM);
        if (g_List.hSocket == ENET_SOCKET_NULL) return 0;
        enet_socket_set_option(g_List.hSocket, ENET_SOCKOPT_NONBLOCK, 1);
        enet_socket_set_option(g_List.hSocket, ENET_SOCKOPT_BROADCAST, 1);
        ENetAddress any{ENET_HOST_ANY, 0};
        enet_socket_bind(g_List.hSocket, &any);
        g_List.dwNextQueryMs = dwNowMs;
    }
    if (int32_t(dwNowMs - g_List.dwNextQueryMs) >= 0) {
        SendQueries();
        g_List.dwNextQueryMs = dwNowMs + kQueryEveryMs;
    }
    for (int nRead = 0; nRead < 64; ++nRead) {
        uint8_t by[128];
        ENetBuffer b = Buffer(by, sizeof(by));
        ENetAddress from;
        const int n = enet_socket_receive(g_List.hSocket, &from, &b, 1);
        if (n <= 0) break;
        NETGAME game;
        uint16_t wPort;
        if (NetDiscoverReadAnswer(by, size_t(n), &game, &wPort))
            Heard(ENET_NET_TO_HOST_32(from.host), wPort, game, dwNowMs);
    }
    int nOut = 0;
    for (int i = 0; i < g_List.nSeen;) {
        if (dwNowMs - g_List.Seen[i].dwSeenMs > kForgetMs) {
            g_List.Seen[i] = g_List.Seen[--g_List.nSeen];
            continue;
        }
        if (nOut < nMax) lpGames[nOut++] = g_List.Seen[i].Game;
        ++i;
    }
    return nOut;
}

void NetDiscoverStop() {
    if (g_List.hSocket == ENET_SOCKET_NULL) return;
    enet_socket_destroy(g_List.hSocket);
    g_List = LISTER{};
    enet_deinitialize();
}
