// The session: setting up, admitting or refusing guests, messages in and out, loss and the end.
#include "net/net_session.h"

#include <algorithm>
#include <cstring>

#include "net/net_link.h"

NETSESSION g_Net;
NETSESSION* g_lpNet = &g_Net;

namespace {

constexpr uint32_t NET_RESEND_MS = 20;        // unacknowledged inputs go again this often while stalled
constexpr uint32_t NET_RESEND_MAX_MS = 500;   // ... backing off to this while the peer is silent
constexpr uint32_t NET_HELLO_AGAIN_MS = 500;  // guest: HELLO again while no answer (CHALLENGE is unreliable)
constexpr uint32_t NET_HANDSHAKE_AGAIN_MS = 2000;  // guest: no answer at all by then: a new connection
constexpr int NET_SERVICE_MAX = 256;  // ENet events taken a call, so a flood cannot hold the frame

int g_nEnetUsers = 0;

bool EnetStart() {
    if (g_nEnetUsers == 0 && enet_initialize() != 0) return false;
    ++g_nEnetUsers;
    return true;
}

void EnetStop() {
    if (g_nEnetUsers > 0 && --g_nEnetUsers == 0) enet_deinitialize();
}

bool SetupValid(const NETSETUP* lpSetup) {
    const NETFAULT& f = lpSetup->Fault;
    if (strnlen(lpSetup->szVersion, sizeof(lpSetup->szVersion)) > NET_VERSION_MAX) return false;
    if (lpSetup->nInputDelay < 0 || lpSetup->nInputDelay > NET_MAX_INPUT_DELAY) return false;
    if (f.nLagMs < 0 || f.nLagMs > 1000 || f.nJitterMs < 0 || f.nJitterMs > f.nLagMs) return false;
    return f.nLossPercent >= 0 && f.nLossPercent <= 90;
}

void Begin(NETSESSION* lpNet, const NETSETUP* lpSetup) {
    *lpNet = NETSESSION{};
    lpNet->Setup = *lpSetup;
    lpNet->Setup.szBindAddress = nullptr;
    lpNet->qwRandom = lpSetup->Fault.dwSeed;
}

}  // namespace

void NetSetUp(NETSESSION* lpNet) {
    lpNet->nState = NET_PLAYING;
    lpNet->dwLastHeardMs = lpNet->dwNowMs;
    lpNet->dwRemoteMovedMs = lpNet->dwNowMs;
    lpNet->dwRemoteSeen = lpNet->Inputs.dwRemoteNext;
    lpNet->dwSetUpMs = lpNet->dwNowMs;
    lpNet->bSetUp = true;
    lpNet->dwBytesSentBase = lpNet->lpHost->totalSentData;
    lpNet->dwBytesReceivedBase = lpNet->lpHost->totalReceivedData;
    NETEVENT ev;
    ev.nType = NET_EV_CONNECTED;
    NetPushEvent(lpNet, ev);
}

namespace {

void End(NETSESSION* lpNet, int nType, int nReason, const char* szVersion) {
    NETEVENT ev;
    ev.nType = nType;
    ev.nReason = nReason;
    if (szVersion) std::memcpy(ev.szVersion, szVersion, sizeof(ev.szVersion));
    NetPushEvent(lpNet, ev);
    lpNet->nState = NET_ENDED;
}

// The peer's reason from its disconnect data: NET_EV_LEFT with a reason, or NET_EV_LOST (timeout).
void EndByDisconnect(NETSESSION* lpNet, uint32_t dwData) {
    if ((dwData & 0xFFFFFF00u) == NET_DISCONNECT_REFUSE && lpNet->nState == NET_HANDSHAKE) {
        const int nReason = int(dwData & 0xFF);
        End(lpNet, NET_EV_REFUSED, nReason >= 1 && nReason <= NET_REFUSE_LAST ? nReason : 0, nullptr);
    } else if (dwData == 0) {
        End(lpNet, NET_EV_LOST, 0, nullptr);
    } else {
        const int nReason = int(dwData & 0xFF);
        const bool bKnown =
            (dwData & 0xFFFFFF00u) == NET_DISCONNECT_BYE && nReason >= 1 && nReason <= NET_BYE_LAST;
        End(lpNet, NET_EV_LEFT, bKnown ? nReason : 0, nullptr);
    }
    lpNet->lpPeer = nullptr;
}

// Both sides, once playing: inputs, checksums, the end.
void PlayMessage(NETSESSION* lpNet, const NETMSG* lpMsg) {
    switch (lpMsg->byType) {
        case NET_MSG_INPUT:
            if (NetInputsApply(&lpNet->Inputs, lpMsg) < 0) {
                ++lpNet->Stats.dwPacketsMalformed;
            } else if (lpMsg->nCount > 0) {
                lpNet->bAckOwed = true;
            }
            break;
        case NET_MSG_CHECKSUM: {
            NETCHECKSUM& c = lpNet->RemoteSums[lpMsg->dwFrame % NET_CHECKSUM_SLOTS];
            c = NETCHECKSUM{true, lpMsg->dwFrame, lpMsg->qwChecksum};
            break;
        }
        case NET_MSG_BYE:
            End(lpNet, NET_EV_LEFT, lpMsg->byReason, nullptr);
            break;
        case NET_MSG_HELLO:
        case NET_MSG_CHALLENGE:
            ++lpNet->Stats.dwPacketsDropped;  // the guest's HELLO again, or the challenge again: late
            break;
        default:
            ++lpNet->Stats.dwPacketsMalformed;
            break;
    }
}

// Guest: our HELLO, echoing the host's challenge once we have it.
void SendHello(NETSESSION* lpNet) {
    NETMSG m;
    m.byType = NET_MSG_HELLO;
    m.wProtocol = NET_PROTOCOL;
    m.qwEcho = lpNet->qwEcho;
    m.qwRulesHash = lpNet->Setup.qwRulesHash;
    std::memcpy(m.szVersion, lpNet->Setup.szVersion, sizeof(m.szVersion));
    NetSendMessage(lpNet, lpNet->lpPeer, &m);
    lpNet->dwHelloSentMs = lpNet->dwNowMs;
}

void Receive(NETSESSION* lpNet, ENetPeer* lpPeer, const ENetPacket* lpPacket) {
    ++lpNet->Stats.dwPacketsReceived;
    NETMSG m;
    const bool bValid = NetDecode(lpPacket->data, lpPacket->dataLength, &m);
    if (lpNet->bHost && lpPeer != lpNet->lpPeer) {
        NetAdmitMessage(lpNet, lpPeer, &m, bValid);
        return;
    }
    // Only what the admitted peer (guest: the host) sends and we can read counts as hearing from it.
    if (bValid && lpPeer == lpNet->lpPeer && lpNet->nState != NET_ENDED)
        lpNet->dwLastHeardMs = lpNet->dwNowMs;
    if (!bValid) {
        ++lpNet->Stats.dwPacketsMalformed;
    } else if (lpNet->nState == NET_PLAYING && lpPeer == lpNet->lpPeer) {
        PlayMessage(lpNet, &m);
    } else if (lpNet->nState == NET_HANDSHAKE && lpPeer == lpNet->lpPeer && m.byType == NET_MSG_CHALLENGE) {
        lpNet->qwEcho = m.qwEcho;
        SendHello(lpNet);
    } else if (lpNet->nState == NET_HANDSHAKE && lpPeer == lpNet->lpPeer && m.byType == NET_MSG_WELCOME) {
        if (m.dwStartFrame != 0) {
            // Sessions start at frame 0; a host that says otherwise is not one of ours.
            ++lpNet->Stats.dwPacketsMalformed;
            enet_peer_disconnect_now(lpPeer, NET_DISCONNECT_BYE | NET_BYE_CLOSED);
            End(lpNet, NET_EV_LEFT, 0, nullptr);
            lpNet->lpPeer = nullptr;
            return;
        }
        std::memcpy(lpNet->bySettings, m.bySettings, NET_SETTINGS_SIZE);
        lpNet->nInputDelay = m.byInputDelay;
        NetInputsReset(&lpNet->Inputs, 0);
        NetSetUp(lpNet);
    } else if (lpNet->nState == NET_HANDSHAKE && lpPeer == lpNet->lpPeer && m.byType == NET_MSG_REFUSE) {
        End(lpNet, NET_EV_REFUSED, m.byReason, m.szVersion);
    } else if (lpNet->nState == NET_HANDSHAKE && m.byType == NET_MSG_INPUT) {
        ++lpNet->Stats.dwPacketsDropped;  // the host's first inputs overtook the WELCOME
    } else if (lpNet->nState == NET_ENDED) {
        ++lpNet->Stats.dwPacketsDropped;
    } else {
        ++lpNet->Stats.dwPacketsMalformed;
    }
}

void Connected(NETSESSION* lpNet, ENetPeer* lpPeer) {
    NetConfigurePeer(lpPeer);
    if (lpNet->bHost) {
        NetAdmitConnected(lpNet, lpPeer);
    } else if (lpNet->nState == NET_CONNECTING && lpPeer == lpNet->lpPeer) {
        SendHello(lpNet);
        lpNet->nState = NET_HANDSHAKE;
        lpNet->dwLastHeardMs = lpNet->dwNowMs;
        lpNet->dwHandshakeMs = lpNet->dwNowMs;
    }
}

void Disconnected(NETSESSION* lpNet, ENetPeer* lpPeer, uint32_t dwData) {
    if (lpNet->bHost) {
        const int nSlot = NetPeerSlot(lpNet, lpPeer);
        if (nSlot >= 0) lpNet->byPeerRole[nSlot] = NET_ROLE_NONE;
        if (lpPeer != lpNet->lpPeer) return;
        if (lpNet->nState == NET_PLAYING) EndByDisconnect(lpNet, dwData);
        lpNet->lpPeer = nullptr;
        return;
    }
    if (lpPeer != lpNet->lpPeer) return;
    if (lpNet->nState == NET_HANDSHAKE || lpNet->nState == NET_PLAYING) {
        EndByDisconnect(lpNet, dwData);
    }
    lpNet->lpPeer = nullptr;
}

void Deliver(NETSESSION* lpNet, const NETHELD& h) {
    // The peer record may have been reset and reused for another connection meanwhile.
    const bool bCurrent = h.lpPeer && h.lpPeer->connectID == h.dwConnectID;
    if (h.nKind == ENET_EVENT_TYPE_RECEIVE) {
        if (bCurrent)
            Receive(lpNet, h.lpPeer, h.lpPacket);
        else
            ++lpNet->Stats.dwPacketsDropped;
        enet_packet_destroy(h.lpPacket);
    } else if (h.nKind == ENET_EVENT_TYPE_CONNECT && bCurrent) {
        Connected(lpNet, h.lpPeer);
    } else if (h.nKind == ENET_EVENT_TYPE_DISCONNECT) {
        Disconnected(lpNet, h.lpPeer, h.dwData);
    }
}

void SendInputs(NETSESSION* lpNet) {
    NETMSG m;
    NetInputsMessage(&lpNet->Inputs, &m);
    NetSendMessage(lpNet, lpNet->lpPeer, &m);
    lpNet->dwLastInputSentMs = lpNet->dwNowMs;
    lpNet->bAckOwed = false;
}

// Guest: (again) asks the host for a connection.
void Connect(NETSESSION* lpNet) {
    ENetAddress addr{};
    addr.host = lpNet->dwHostIp;
    addr.port = lpNet->wPort;
    lpNet->qwEcho = 0;
    lpNet->lpPeer = enet_host_connect(lpNet->lpHost, &addr, NET_CHANNELS, 0);
    if (lpNet->lpPeer) enet_peer_timeout(lpNet->lpPeer, ENET_PEER_TIMEOUT_LIMIT, NET_LOST_MS, NET_LOST_MS);
}

void Watch(NETSESSION* lpNet) {
    // No answer yet: the host may not be up; keep trying until the caller gives up.
    if (lpNet->nState == NET_CONNECTING && !lpNet->lpPeer && lpNet->wPort) Connect(lpNet);
    if (lpNet->bHost) NetAdmitWatch(lpNet);
    if (lpNet->nState == NET_HANDSHAKE && lpNet->lpPeer &&
        lpNet->dwNowMs - lpNet->dwLastHeardMs >= NET_HANDSHAKE_AGAIN_MS) {
        // Not a word to our HELLOs: the host never finished ENet's handshake (its last
        // acknowledgement was lost) and has dropped the connection. A new one.
        NetDropHeld(lpNet, lpNet->lpPeer);
        enet_peer_disconnect_now(lpNet->lpPeer, 0);
        lpNet->nState = NET_CONNECTING;
        Connect(lpNet);
        return;
    }
    if (lpNet->nState == NET_HANDSHAKE && lpNet->lpPeer &&
        lpNet->dwNowMs - lpNet->dwHelloSentMs >= NET_HELLO_AGAIN_MS)
        SendHello(lpNet);
    if (lpNet->nState == NET_PLAYING && lpNet->Inputs.dwRemoteNext != lpNet->dwRemoteSeen) {
        lpNet->dwRemoteSeen = lpNet->Inputs.dwRemoteNext;
        lpNet->dwRemoteMovedMs = lpNet->dwNowMs;
    }
    // Lost: nothing heard, a host that answers but never welcomes nor refuses us, or a peer whose
    // inputs stand still (it may well answer everything else: the session would wait for ever).
    const bool bLive = lpNet->nState == NET_PLAYING || lpNet->nState == NET_HANDSHAKE;
    const uint32_t dwSilentMs = lpNet->dwNowMs - lpNet->dwLastHeardMs;
    const bool bNoWelcome =
        lpNet->nState == NET_HANDSHAKE && lpNet->dwNowMs - lpNet->dwHandshakeMs >= NET_LOST_MS;
    const bool bStill =
        lpNet->nState == NET_PLAYING && lpNet->dwNowMs - lpNet->dwRemoteMovedMs >= NET_LOST_MS;
    if (bLive && lpNet->lpPeer && (dwSilentMs >= NET_LOST_MS || bNoWelcome || bStill)) {
        ENetPeer* lpPeer = lpNet->lpPeer;
        NetDropHeld(lpNet, lpPeer);
        enet_peer_disconnect_now(lpPeer, 0);
        if (lpNet->bHost) lpNet->byPeerRole[NetPeerSlot(lpNet, lpPeer)] = NET_ROLE_NONE;
        EndByDisconnect(lpNet, 0);
        return;
    }
    if (lpNet->nState == NET_PLAYING) {
        // A peer that stopped answering gets our inputs less and less often.
        const uint32_t dwEvery = std::clamp(dwSilentMs / 2, NET_RESEND_MS, NET_RESEND_MAX_MS);
        const bool bUnacked = lpNet->Inputs.dwPeerAck != lpNet->Inputs.dwLocalNext;
        if ((bUnacked || lpNet->bAckOwed) && lpNet->dwNowMs - lpNet->dwLastInputSentMs >= dwEvery)
            SendInputs(lpNet);
        NETEVENT ev;
        if (!lpNet->bDesyncReported && NetCheckChecksum(&ev)) {
            lpNet->bDesyncReported = true;
            NetPushEvent(lpNet, ev);
        }
    }
}

}  // namespace

bool NetHost(uint16_t wPort, const NETSETUP* lpSetup) {
    NETSESSION* lpNet = g_lpNet;
    NetClose(0, 0);
    if (!SetupValid(lpSetup) || !EnetStart()) return false;
    ENetAddress addr{};
    addr.host = ENET_HOST_ANY;
    addr.port = wPort;
    if (lpSetup->szBindAddress && enet_address_set_host_ip(&addr, lpSetup->szBindAddress) != 0) {
        EnetStop();
        return false;
    }
    Begin(lpNet, lpSetup);
    lpNet->lpHost = enet_host_create(&addr, NET_PEERS, NET_CHANNELS, 0, 0);
    if (!lpNet->lpHost) {
        EnetStop();
        *lpNet = NETSESSION{};
        return false;
    }
    lpNet->bHost = true;
    lpNet->wPort = lpNet->lpHost->address.port;
    std::memcpy(lpNet->bySettings, lpSetup->bySettings, NET_SETTINGS_SIZE);
    lpNet->nInputDelay = lpSetup->nInputDelay;
    NetInputsReset(&lpNet->Inputs, lpSetup->dwStartFrame);
    lpNet->nState = NET_WAITING;
    NetConfigureHost(lpNet->lpHost);
    lpNet->lpHost->duplicatePeers = NET_PEERS_PER_ADDRESS;
    return true;
}

bool NetJoin(const char* szHost, uint16_t wPort, const NETSETUP* lpSetup) {
    NETSESSION* lpNet = g_lpNet;
    NetClose(0, 0);
    if (!szHost || strnlen(szHost, 256) >= 256 || !SetupValid(lpSetup) || !EnetStart()) return false;
    ENetAddress addr{}, local{};
    addr.port = wPort;
    local.host = ENET_HOST_ANY;
    if (lpSetup->szBindAddress && enet_address_set_host_ip(&local, lpSetup->szBindAddress) != 0) {
        EnetStop();
        return false;
    }
    Begin(lpNet, lpSetup);
    // Port 0: the address comes later (a room joined through the lobby), see NetLobbyStart.
    if ((wPort != 0 && enet_address_set_host(&addr, szHost) != 0) ||
        !(lpNet->lpHost =
              enet_host_create(local.host == ENET_HOST_ANY ? nullptr : &local, 1, NET_CHANNELS, 0, 0))) {
        EnetStop();
        *lpNet = NETSESSION{};
        return false;
    }
    std::strcpy(lpNet->szHost, szHost);
    lpNet->dwHostIp = addr.host;
    lpNet->wPort = wPort;
    NetConfigureHost(lpNet->lpHost);
    lpNet->nState = NET_CONNECTING;
    if (wPort) Connect(lpNet);
    return true;
}

uint16_t NetLocalPort() {
    return g_lpNet->lpHost ? g_lpNet->lpHost->address.port : 0;
}

int NetService(uint32_t dwNowMs, NETEVENT* lpEvents, int nMax) {
    NETSESSION* lpNet = g_lpNet;
    if (lpNet->lpHost) {
        lpNet->dwNowMs = dwNowMs;
        ENetEvent ev;
        // ENet would tell every connection, admitted or not, of the bandwidth limits (a reliable
        // command) whenever one comes or goes; both sides run unlimited, so it never needs to.
        lpNet->lpHost->recalculateBandwidthLimits = 0;
        // Kept while the peer is there: the round trip survives the peer's leaving.
        if (lpNet->lpPeer && lpNet->lpPeer->state == ENET_PEER_STATE_CONNECTED)
            lpNet->Stats.dwRoundTripMs = lpNet->lpPeer->roundTripTime;
        for (int i = 0; i < NET_SERVICE_MAX && enet_host_service(lpNet->lpHost, &ev, 0) > 0; ++i) {
            lpNet->lpHost->recalculateBandwidthLimits = 0;
            NetHold(lpNet, &ev);
        }
        lpNet->lpHost->recalculateBandwidthLimits = 0;
        NETHELD h;
        while (NetTakeHeld(lpNet, &h)) Deliver(lpNet, h);
        Watch(lpNet);
        enet_host_flush(lpNet->lpHost);
    }
    int n = 0;
    for (; n < nMax && n < lpNet->nEvents; ++n) lpEvents[n] = lpNet->Events[n];
    std::memmove(lpNet->Events, lpNet->Events + n, sizeof(NETEVENT) * size_t(lpNet->nEvents - n));
    lpNet->nEvents -= n;
    return n;
}

bool NetSendInput(uint32_t dwFrame, uint32_t dwInput) {
    NETSESSION* lpNet = g_lpNet;
    if (lpNet->nState != NET_PLAYING || !NetInputsAddLocal(&lpNet->Inputs, dwFrame, dwInput)) return false;
    SendInputs(lpNet);
    enet_host_flush(lpNet->lpHost);
    return true;
}

bool NetRemoteInput(uint32_t dwFrame, uint32_t* lpdwInput) {
    return NetInputsRemote(&g_lpNet->Inputs, dwFrame, lpdwInput);
}

uint32_t NetPeerAck() {
    return g_lpNet->Inputs.dwPeerAck;
}

uint32_t NetRemoteNext() {
    return g_lpNet->Inputs.dwRemoteNext;
}

int NetFrameAdvantage() {
    return NetInputsAdvantage(&g_lpNet->Inputs);
}

bool NetSendChecksum(uint32_t dwFrame, uint64_t qwChecksum) {
    NETSESSION* lpNet = g_lpNet;
    if (lpNet->nState != NET_PLAYING) return false;
    lpNet->LocalSums[dwFrame % NET_CHECKSUM_SLOTS] = NETCHECKSUM{true, dwFrame, qwChecksum};
    NETMSG m;
    m.byType = NET_MSG_CHECKSUM;
    m.dwFrame = dwFrame;
    m.qwChecksum = qwChecksum;
    const bool bSent = NetSendMessage(lpNet, lpNet->lpPeer, &m);
    enet_host_flush(lpNet->lpHost);
    return bSent;
}

bool NetCheckChecksum(NETEVENT* lpEvent) {
    NETSESSION* lpNet = g_lpNet;
    bool bFound = false;
    for (int i = 0; i < NET_CHECKSUM_SLOTS; ++i) {
        NETCHECKSUM& l = lpNet->LocalSums[i];
        NETCHECKSUM& r = lpNet->RemoteSums[i];
        if (!l.bUsed || !r.bUsed || l.dwFrame != r.dwFrame) continue;
        if (l.qwSum == r.qwSum) {
            l.bUsed = r.bUsed = false;
        } else if (!bFound || l.dwFrame < lpEvent->dwFrame) {
            *lpEvent = NETEVENT{};
            lpEvent->nType = NET_EV_DESYNC;
            lpEvent->dwFrame = l.dwFrame;
            lpEvent->qwLocal = l.qwSum;
            lpEvent->qwRemote = r.qwSum;
            bFound = true;
        }
    }
    return bFound;
}

void NetClose(int nReason, uint32_t dwLingerMs) {
    NETSESSION* lpNet = g_lpNet;
    if (!lpNet->lpHost) {
        *lpNet = NETSESSION{};
        return;
    }
    ENetHost* lpHost = lpNet->lpHost;
    ENetPeer* lpPeer = lpNet->lpPeer;
    const bool bKnown = nReason >= 1 && nReason <= NET_BYE_LAST;
    const uint32_t dwData = NET_DISCONNECT_BYE | uint32_t(bKnown ? nReason : NET_BYE_CLOSED);
    NetDropHeld(lpNet, nullptr);
    if (lpPeer && lpPeer->state == ENET_PEER_STATE_CONNECTED &&
        (lpNet->nState == NET_PLAYING || lpNet->nState == NET_HANDSHAKE)) {
        if (bKnown && lpNet->nState == NET_PLAYING) {
            NETMSG m;
            m.byType = NET_MSG_BYE;
            m.byReason = uint8_t(nReason);
            m.dwFrame = lpNet->Inputs.dwLocalNext;
            NetSendMessage(lpNet, lpPeer, &m);
        }
        enet_host_flush(lpHost);
        if (dwLingerMs > 0) {
            // Let the BYE be acknowledged and the disconnect confirmed, for at most dwLingerMs.
            enet_peer_disconnect_later(lpPeer, dwData);
            const uint32_t dwStart = enet_time_get();
            ENetEvent ev;
            while (lpPeer->state != ENET_PEER_STATE_DISCONNECTED && enet_time_get() - dwStart < dwLingerMs) {
                if (enet_host_service(lpHost, &ev, 10) < 0) break;
                if (ev.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(ev.packet);
            }
        }
    }
    // Everyone admitted or refused hears that the session is over; connections never admitted
    // hear nothing.
    for (size_t i = 0; i < lpHost->peerCount; ++i) {
        ENetPeer* p = &lpHost->peers[i];
        if (p->state == ENET_PEER_STATE_DISCONNECTED) continue;
        const bool bAnswered =
            !lpNet->bHost || (i < size_t(NET_PEERS) && (lpNet->byPeerRole[i] == NET_ROLE_GUEST ||
                                                        lpNet->byPeerRole[i] == NET_ROLE_REFUSED));
        if (bAnswered)
            enet_peer_disconnect_now(p, dwData);
        else
            enet_peer_reset(p);
    }
    enet_host_destroy(lpHost);
    EnetStop();
    *lpNet = NETSESSION{};
}

NETSTATE NetState() {
    return g_lpNet->nState;
}

uint32_t NetRoundTripMs() {
    return g_lpNet && g_lpNet->lpPeer ? g_lpNet->lpPeer->roundTripTime : 0;
}

NETSTATS NetStats() {
    const NETSESSION* lpNet = g_lpNet;
    NETSTATS s = lpNet->Stats;
    if (!lpNet->lpHost) return s;
    s.dwBytesSent = lpNet->lpHost->totalSentData;
    s.dwBytesReceived = lpNet->lpHost->totalReceivedData;
    const uint32_t dwElapsed = lpNet->dwNowMs - lpNet->dwSetUpMs;
    if (lpNet->bSetUp && dwElapsed > 0) {
        s.dwBytesSentPerSec = uint32_t(uint64_t(s.dwBytesSent - lpNet->dwBytesSentBase) * 1000 / dwElapsed);
        s.dwBytesReceivedPerSec =
            uint32_t(uint64_t(s.dwBytesReceived - lpNet->dwBytesReceivedBase) * 1000 / dwElapsed);
    }
    return s;
}

bool NetSendRaw(int nChannel, const void* lpData, size_t nSize) {
    NETSESSION* lpNet = g_lpNet;
    if (!lpNet->lpPeer || lpNet->lpPeer->state != ENET_PEER_STATE_CONNECTED || nChannel < 0 ||
        nChannel >= NET_CHANNELS)
        return false;
    ENetPacket* lpPacket = enet_packet_create(
        lpData, nSize, nChannel == 0 ? ENET_PACKET_FLAG_UNSEQUENCED : ENET_PACKET_FLAG_RELIABLE);
    if (!lpPacket || enet_peer_send(lpNet->lpPeer, uint8_t(nChannel), lpPacket) < 0) {
        if (lpPacket) enet_packet_destroy(lpPacket);
        return false;
    }
    enet_host_flush(lpNet->lpHost);
    return true;
}
