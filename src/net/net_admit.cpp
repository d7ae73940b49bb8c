// Host: admitting a guest. Until a guest is admitted the host answers it with nothing larger
// than what it sent, so that a forged source address cannot turn the host against someone else:
//   ENet's CONNECT (56 bytes) gets one VERIFY_CONNECT (52), which ENet's timer never sends again;
//     only another datagram of at least that size from the same address (the same CONNECT again,
//     or the guest's HELLO when our VERIFY_CONNECT arrived but its acknowledgement was lost) has
//     it sent once more; a connection whose handshake is not finished after NET_HALF_OPEN_MS is
//     dropped without a word;
//   each HELLO (unsequenced, padded) gets one CHALLENGE (unsequenced, smaller);
//   only a HELLO that echoes the challenge, which only a guest receiving at its address knows,
//     is judged: WELCOME or REFUSE, both reliable;
//   anything else, or no echo within NET_ADMIT_MS, drops the connection without a word.
// (ENet's own pings, throttle and bandwidth commands are kept from such connections too; see
// NetConfigurePeer and NetService.)
#include <cstddef>
#include <cstring>
#include <random>

#include "net/net_link.h"

namespace {

uint64_t ChallengeValue() {
    // Unpredictable to whoever cannot read the datagrams; never 0 (the HELLO's "none yet").
    std::random_device rd;
    uint64_t qw = 0;
    while (qw == 0) qw = uint64_t(rd()) << 32 ^ rd();
    return qw;
}

bool HalfOpen(const ENetPeer* lpPeer) {
    return lpPeer->state == ENET_PEER_STATE_ACKNOWLEDGING_CONNECT ||
           lpPeer->state == ENET_PEER_STATE_CONNECTION_PENDING ||
           lpPeer->state == ENET_PEER_STATE_CONNECTION_SUCCEEDED;
}

// Drops a connection without sending anything.
void Drop(NETSESSION* lpNet, int nSlot) {
    ENetPeer* lpPeer = &lpNet->lpHost->peers[nSlot];
    NetDropHeld(lpNet, lpPeer);
    enet_peer_reset(lpPeer);
    lpNet->byPeerRole[nSlot] = NET_ROLE_NONE;
    lpNet->qwChallenge[nSlot] = 0;
    ++lpNet->Stats.dwPeersDropped;
}

void Refuse(NETSESSION* lpNet, ENetPeer* lpPeer, int nReason, const char* szGuestVersion) {
    NETMSG m;
    m.byType = NET_MSG_REFUSE;
    m.byReason = uint8_t(nReason);
    m.wProtocol = NET_PROTOCOL;
    std::memcpy(m.szVersion, lpNet->Setup.szVersion, sizeof(m.szVersion));
    NetSendMessage(lpNet, lpPeer, &m);
    // Disconnects once the REFUSE is acknowledged, or is dropped after the grace period.
    enet_peer_disconnect_later(lpPeer, NET_DISCONNECT_REFUSE | uint32_t(nReason));
    const int nSlot = NetPeerSlot(lpNet, lpPeer);
    lpNet->byPeerRole[nSlot] = NET_ROLE_REFUSED;
    lpNet->dwPeerDueMs[nSlot] = lpNet->dwNowMs + NET_REFUSE_GRACE_MS;
    NETEVENT ev;
    ev.nType = NET_EV_GUEST_REFUSED;
    ev.nReason = nReason;
    if (szGuestVersion) std::memcpy(ev.szVersion, szGuestVersion, sizeof(ev.szVersion));
    NetPushEvent(lpNet, ev);
}

}  // namespace

int NetPeerSlot(const NETSESSION* lpNet, const ENetPeer* lpPeer) {
    const ptrdiff_t n = lpPeer - lpNet->lpHost->peers;
    return n >= 0 && n < NET_PEERS && size_t(n) < lpNet->lpHost->peerCount ? int(n) : -1;
}

void NetAdmitConnected(NETSESSION* lpNet, ENetPeer* lpPeer) {
    const int nSlot = NetPeerSlot(lpNet, lpPeer);
    if (nSlot < 0) {
        enet_peer_reset(lpPeer);
        return;
    }
    lpNet->byPeerRole[nSlot] = NET_ROLE_PENDING;
    lpNet->dwPeerDueMs[nSlot] = lpNet->dwNowMs + NET_ADMIT_MS;
    lpNet->qwChallenge[nSlot] = 0;
    // No pings before the echo: a guest that is not listening gets nothing unasked.
    enet_peer_ping_interval(lpPeer, 2 * NET_ADMIT_MS);
}

void NetAdmitMessage(NETSESSION* lpNet, ENetPeer* lpPeer, const NETMSG* lpMsg, bool bValid) {
    const int nSlot = NetPeerSlot(lpNet, lpPeer);
    if (nSlot < 0 || lpNet->byPeerRole[nSlot] != NET_ROLE_PENDING) {
        ++lpNet->Stats.dwPacketsDropped;
        return;
    }
    if (!bValid || lpMsg->byType != NET_MSG_HELLO) {
        ++lpNet->Stats.dwPacketsMalformed;
        Drop(lpNet, nSlot);
        return;
    }
    uint64_t& qwChallenge = lpNet->qwChallenge[nSlot];
    if (qwChallenge == 0 || lpMsg->qwEcho != qwChallenge) {
        if (qwChallenge == 0) qwChallenge = ChallengeValue();
        NETMSG m;
        m.byType = NET_MSG_CHALLENGE;
        m.qwEcho = qwChallenge;
        NetSendMessage(lpNet, lpPeer, &m);
        return;
    }
    // The guest receives at its address: judge its HELLO.
    if (lpMsg->wProtocol != NET_PROTOCOL) {
        Refuse(lpNet, lpPeer, NET_REFUSE_PROTOCOL, nullptr);
    } else if (std::strcmp(lpMsg->szVersion, lpNet->Setup.szVersion) != 0) {
        Refuse(lpNet, lpPeer, NET_REFUSE_VERSION, lpMsg->szVersion);
    } else if (lpMsg->qwRulesHash != lpNet->Setup.qwRulesHash) {
        Refuse(lpNet, lpPeer, NET_REFUSE_RULES, lpMsg->szVersion);
    } else if (lpNet->nState != NET_WAITING) {
        Refuse(lpNet, lpPeer, NET_REFUSE_FULL, lpMsg->szVersion);
    } else {
        NETMSG m;
        m.byType = NET_MSG_WELCOME;
        std::memcpy(m.bySettings, lpNet->Setup.bySettings, NET_SETTINGS_SIZE);
        m.byInputDelay = uint8_t(lpNet->Setup.nInputDelay);
        m.dwStartFrame = 0;
        NetSendMessage(lpNet, lpPeer, &m);
        enet_peer_ping_interval(lpPeer, ENET_PEER_PING_INTERVAL);
        lpNet->lpPeer = lpPeer;
        lpNet->byPeerRole[nSlot] = NET_ROLE_GUEST;
        NetSetUp(lpNet);
    }
}

void NetAdmitHeard(NETSESSION* lpNet) {
    // The datagram ENet is about to read: the same CONNECT again, or one sent to a connection that
    // still waits for the acknowledgement of our VERIFY_CONNECT, makes that VERIFY_CONNECT due at
    // once (ENet's timer, run right after reading, sends it). Its time-out is set so that, doubled
    // by the resend, it is back to the long one NetAdmitWatch gave it. (A CONNECT with another id
    // is a new connection with its own VERIFY_CONNECT: it draws nothing else.)
    ENetHost* lpHost = lpNet->lpHost;
    const uint8_t* lpData = lpHost->receivedData;
    const size_t nSize = lpHost->receivedDataLength;
    constexpr size_t VERIFY_SIZE = sizeof(ENetProtocolHeader) + sizeof(enet_uint32) + sizeof(ENetProtocolVerifyConnect);
    if (nSize < VERIFY_SIZE) return;
    const unsigned nHeader = unsigned(lpData[0] << 8 | lpData[1]);
    if (nHeader & ENET_PROTOCOL_HEADER_FLAG_COMPRESSED) return;
    const unsigned nPeerID = nHeader & ~unsigned(ENET_PROTOCOL_HEADER_FLAG_MASK | ENET_PROTOCOL_HEADER_SESSION_MASK);
    const size_t nCommand = (nHeader & ENET_PROTOCOL_HEADER_FLAG_SENT_TIME ? 4 : 2) + sizeof(enet_uint32);
    enet_uint32 dwConnectID = 0;
    if (nPeerID == ENET_PROTOCOL_MAXIMUM_PEER_ID) {
        if (nSize < nCommand + sizeof(ENetProtocolConnect) ||
            (lpData[nCommand] & ENET_PROTOCOL_COMMAND_MASK) != ENET_PROTOCOL_COMMAND_CONNECT)
            return;
        std::memcpy(&dwConnectID, lpData + nCommand + offsetof(ENetProtocolConnect, connectID), sizeof(dwConnectID));
    }
    for (int i = 0; i < NET_PEERS && size_t(i) < lpHost->peerCount; ++i) {
        ENetPeer* lpPeer = &lpHost->peers[i];
        if (lpPeer->state != ENET_PEER_STATE_ACKNOWLEDGING_CONNECT ||
            lpPeer->address.host != lpHost->receivedAddress.host ||
            lpPeer->address.port != lpHost->receivedAddress.port ||
            (nPeerID == ENET_PROTOCOL_MAXIMUM_PEER_ID ? lpPeer->connectID != dwConnectID : nPeerID != unsigned(i)))
            continue;
        for (ENetListIterator it = enet_list_begin(&lpPeer->sentReliableCommands);
             it != enet_list_end(&lpPeer->sentReliableCommands); it = enet_list_next(it)) {
            ENetOutgoingCommand* lpCmd = reinterpret_cast<ENetOutgoingCommand*>(it);
            if ((lpCmd->command.header.command & ENET_PROTOCOL_COMMAND_MASK) != ENET_PROTOCOL_COMMAND_VERIFY_CONNECT)
                continue;
            lpCmd->roundTripTimeout = 2 * NET_HALF_OPEN_MS;
            lpCmd->sentTime = lpHost->serviceTime - lpCmd->roundTripTimeout;
            lpPeer->nextTimeout = lpHost->serviceTime;
        }
    }
}

void NetAdmitWatch(NETSESSION* lpNet) {
    for (int i = 0; i < NET_PEERS && size_t(i) < lpNet->lpHost->peerCount; ++i) {
        ENetPeer* lpPeer = &lpNet->lpHost->peers[i];
        if (HalfOpen(lpPeer)) {
            if (lpNet->dwHalfOpenID[i] != lpPeer->connectID || lpNet->dwHalfOpenMs[i] == 0) {
                lpNet->dwHalfOpenID[i] = lpPeer->connectID;
                lpNet->dwHalfOpenMs[i] = lpNet->dwNowMs | 1;
                // ENet would send its VERIFY_CONNECT again and again on its own; here it goes
                // again only as the answer to another datagram (NetAdmitHeard).
                for (ENetListIterator it = enet_list_begin(&lpPeer->sentReliableCommands);
                     it != enet_list_end(&lpPeer->sentReliableCommands); it = enet_list_next(it))
                    reinterpret_cast<ENetOutgoingCommand*>(it)->roundTripTimeout = 4 * NET_HALF_OPEN_MS;
            } else if (lpNet->dwNowMs - lpNet->dwHalfOpenMs[i] >= NET_HALF_OPEN_MS) {
                Drop(lpNet, i);
            }
            continue;
        }
        lpNet->dwHalfOpenMs[i] = 0;
        const uint8_t byRole = lpNet->byPeerRole[i];
        if (byRole != NET_ROLE_PENDING && byRole != NET_ROLE_REFUSED) continue;
        if (lpPeer->state == ENET_PEER_STATE_DISCONNECTED) {
            lpNet->byPeerRole[i] = NET_ROLE_NONE;
        } else if (int32_t(lpNet->dwNowMs - lpNet->dwPeerDueMs[i]) >= 0) {
            Drop(lpNet, i);
        }
    }
}
