// ENet glue: fault injection (drop below ENet, delay above it), sending, events, addresses.
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "net/net_discover.h"
#include "net/net_link.h"
#include "net/net_lobby.h"

namespace {

// The fault injection's own generator (the game's rand() must not be touched by the network).
uint32_t NetRandom(NETSESSION* lpNet) {
    uint64_t z = (lpNet->qwRandom += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return uint32_t((z ^ (z >> 31)) >> 32);
}

bool TimeReached(uint32_t dwNow, uint32_t dwDue) {
    return int32_t(dwNow - dwDue) >= 0;
}

}  // namespace

int ENET_CALLBACK NetIntercept(ENetHost* lpHost, ENetEvent*) {
    NETSESSION* lpNet = g_lpNet;
    if (!lpNet || lpNet->lpHost != lpHost) return 0;
    // Lobby datagrams (the server, the other side's punches) are never ENet's, nor faults'.
    if (NetLobbyTake(lpHost)) return 1;
    if (NetDiscoverTake(lpNet, lpHost)) return 1;
    const NETFAULT& f = lpNet->Setup.Fault;
    if (f.nLossPercent > 0 && int(NetRandom(lpNet) % 100) < f.nLossPercent) {
        ++lpNet->Stats.dwPacketsDropped;
        return 1;
    }
    if (lpNet->bHost) NetAdmitHeard(lpNet);
    return 0;
}

void NetConfigureHost(ENetHost* lpHost) {
    // ENet's CRC32 covers each datagram and the connection's id, which only the two peers know:
    // a datagram forged from the peer's address is dropped. (It also makes the wire format
    // differ from a copy without it, which then gets no answer at all.)
    lpHost->checksum = enet_crc32;
    lpHost->intercept = NetIntercept;
    lpHost->maximumPacketSize = 4096;
    lpHost->maximumWaitingData = 64 * 1024;
}

void NetHold(NETSESSION* lpNet, const ENetEvent* lpEvent) {
    // Messages leave room for connection events, which must never be lost.
    const int nRoom = lpEvent->type == ENET_EVENT_TYPE_RECEIVE ? NET_HOLD_MAX - 32 : NET_HOLD_MAX;
    if (lpNet->nHeld >= nRoom) {
        if (lpEvent->packet) enet_packet_destroy(lpEvent->packet);
        ++lpNet->Stats.dwPacketsDropped;
        return;
    }
    const NETFAULT& f = lpNet->Setup.Fault;
    int nDelay = f.nLagMs;
    if (f.nJitterMs > 0) nDelay += int(NetRandom(lpNet) % uint32_t(2 * f.nJitterMs + 1)) - f.nJitterMs;
    uint32_t dwDue = lpNet->dwNowMs + uint32_t(nDelay > 0 ? nDelay : 0);
    // Reliable messages and connection events keep ENet's order; inputs may overtake each other.
    const bool bInput = lpEvent->type == ENET_EVENT_TYPE_RECEIVE && lpEvent->channelID == NET_CHANNEL_INPUT;
    if (!bInput) {
        if (lpNet->nHeld > 0 && !TimeReached(dwDue, lpNet->dwLastOrderedDueMs))
            dwDue = lpNet->dwLastOrderedDueMs;
        lpNet->dwLastOrderedDueMs = dwDue;
    }
    NETHELD& h = lpNet->Held[lpNet->nHeld++];
    h.nKind = lpEvent->type;
    h.lpPeer = lpEvent->peer;
    h.dwConnectID = lpEvent->peer ? lpEvent->peer->connectID : 0;
    h.lpPacket = lpEvent->type == ENET_EVENT_TYPE_RECEIVE ? lpEvent->packet : nullptr;
    h.byChannel = lpEvent->channelID;
    h.dwData = lpEvent->data;
    h.dwDueMs = dwDue;
}

bool NetTakeHeld(NETSESSION* lpNet, NETHELD* lpHeld) {
    int nBest = -1;
    for (int i = 0; i < lpNet->nHeld; ++i) {
        if (!TimeReached(lpNet->dwNowMs, lpNet->Held[i].dwDueMs)) continue;
        if (nBest < 0 || int32_t(lpNet->Held[i].dwDueMs - lpNet->Held[nBest].dwDueMs) < 0) nBest = i;
    }
    if (nBest < 0) return false;
    *lpHeld = lpNet->Held[nBest];
    // Keep the arrival order of the rest: equal due times are taken first come, first served.
    std::memmove(&lpNet->Held[nBest], &lpNet->Held[nBest + 1],
                 sizeof(NETHELD) * size_t(lpNet->nHeld - nBest - 1));
    --lpNet->nHeld;
    return true;
}

void NetDropHeld(NETSESSION* lpNet, ENetPeer* lpPeer) {
    int n = 0;
    for (int i = 0; i < lpNet->nHeld; ++i) {
        NETHELD& h = lpNet->Held[i];
        if (lpPeer && h.lpPeer != lpPeer) {
            lpNet->Held[n++] = h;
            continue;
        }
        if (h.lpPacket) enet_packet_destroy(h.lpPacket);
    }
    lpNet->nHeld = n;
}

bool NetSendMessage(NETSESSION* lpNet, ENetPeer* lpPeer, const NETMSG* lpMsg) {
    uint8_t buf[NET_MAX_MESSAGE];
    const int nSize = NetEncode(lpMsg, buf, sizeof(buf));
    if (nSize <= 0 || !lpPeer) return false;
    // Inputs go unreliably (each carries the unacknowledged ones). So do the admission's HELLO and
    // CHALLENGE: the guest sends its HELLO again until answered, each HELLO draws one CHALLENGE,
    // and a lost one must not hold back the next behind it; to an address not yet admitted
    // ENet then sends nothing again.
    const bool bInput = lpMsg->byType == NET_MSG_INPUT;
    const bool bUnreliable = bInput || lpMsg->byType == NET_MSG_HELLO || lpMsg->byType == NET_MSG_CHALLENGE;
    ENetPacket* lpPacket = enet_packet_create(
        buf, size_t(nSize), bUnreliable ? ENET_PACKET_FLAG_UNSEQUENCED : ENET_PACKET_FLAG_RELIABLE);
    if (!lpPacket) return false;
    if (enet_peer_send(lpPeer, bInput ? NET_CHANNEL_INPUT : NET_CHANNEL_CONTROL, lpPacket) < 0) {
        enet_packet_destroy(lpPacket);
        return false;
    }
    ++lpNet->Stats.dwPacketsSent;
    return true;
}

void NetPushEvent(NETSESSION* lpNet, const NETEVENT& ev) {
    if (lpNet->nEvents < NET_EVENT_MAX) lpNet->Events[lpNet->nEvents++] = ev;
}

void NetConfigurePeer(ENetPeer* lpPeer) {
    // The session's own watch (NET_LOST_MS, judged after reading what has arrived) ends a silent
    // session; ENet's timeout, judged before reading, is only the backstop: after a long stall of
    // this program it would drop a peer whose answers are waiting in the socket.
    enet_peer_timeout(lpPeer, ENET_PEER_TIMEOUT_LIMIT, 2 * NET_LOST_MS, 2 * NET_LOST_MS);
    // ENet drops unreliable packets while it measures a worse round trip; inputs must always go.
    // Set on our side only: enet_peer_throttle_configure would also send the peer a reliable
    // command, to an address that may not have joined (each side sets its own anyway).
    lpPeer->packetThrottleInterval = ENET_PEER_PACKET_THROTTLE_INTERVAL;
    lpPeer->packetThrottleAcceleration = ENET_PEER_PACKET_THROTTLE_ACCELERATION;
    lpPeer->packetThrottleDeceleration = 0;
}

bool NetParseAddress(const char* szText, char* szHost, size_t nHostSize, uint16_t* lpwPort) {
    if (!szText || !szHost || nHostSize == 0) return false;
    szHost[0] = 0;
    const char* lpColon = std::strchr(szText, ':');
    const size_t nHost = lpColon ? size_t(lpColon - szText) : std::strlen(szText);
    if (nHost == 0 || nHost >= nHostSize || nHost > 253) return false;
    // Host names: letters, digits, '-' and '.'; this also covers dotted IPv4 addresses.
    for (size_t i = 0; i < nHost; ++i) {
        const unsigned char c = (unsigned char)szText[i];
        if (!std::isalnum(c) && c != '-' && c != '.') return false;
    }
    uint16_t wPort = NET_DEFAULT_PORT;
    if (lpColon) {
        const char* szPort = lpColon + 1;
        const size_t nDigits = std::strlen(szPort);
        if (nDigits == 0 || nDigits > 5) return false;
        long nPort = 0;
        for (size_t i = 0; i < nDigits; ++i) {
            if (szPort[i] < '0' || szPort[i] > '9') return false;
            nPort = nPort * 10 + (szPort[i] - '0');
        }
        if (nPort < 1 || nPort > 65535) return false;
        wPort = uint16_t(nPort);
    }
    std::memcpy(szHost, szText, nHost);
    szHost[nHost] = 0;
    *lpwPort = wPort;
    return true;
}
