// The relay: the two endpoints of a meeting bind to it with their session token, and from then on
// every datagram of one that is not a lobby message goes, unchanged, to the other.
#include "lobby/lobby_state.h"

namespace {

const char* SIDE_NAME[2] = {"host", "guest"};

void Unbind(LOBBYRELAY* lpRelay, int nSide) {
    LOBBY& l = *g_lpLobby;
    if (!lpRelay->bBound[nSide]) return;
    lpRelay->bBound[nSide] = false;
    l.RelayOfEnd.erase(LobbyEndKey(lpRelay->Side[nSide]));
    auto it = l.Sources.find(lpRelay->Side[nSide].Addr.dwIp);
    if (it != l.Sources.end()) it->second.nRelays--;
}

}  // namespace

void LobbyRemoveRelay(uint64_t qwToken, const char* szWhy) {
    LOBBY& l = *g_lpLobby;
    auto it = l.Relays.find(qwToken);
    if (it == l.Relays.end()) return;
    LOBBYRELAY& r = it->second;
    Unbind(&r, 0);
    Unbind(&r, 1);
    char szCode[8];
    LobbyCodeText(r.dwCode, szCode);
    LobbyLogf("relay %s %s after %llu packets", szCode, szWhy, (unsigned long long)r.qwPackets);
    l.Relays.erase(it);
}

void LobbyRelayBind(const LOBBYPEER& From, const LOBBYMSG& Msg, size_t nSize, uint64_t qwNowMs) {
    LOBBY& l = *g_lpLobby;
    char szCode[8], szFrom[LOBBY_PEER_TEXT];
    LobbyPeerText(From, szFrom);
    auto it = l.Relays.find(Msg.qwToken);
    if (it == l.Relays.end()) {
        // The first bind of a meeting makes its relay, from the room that introduced the two.
        auto itRoom = l.RoomOfToken.find(Msg.qwToken);
        if (itRoom == l.RoomOfToken.end()) {
            LobbyLogf("refused %s relay: unknown session", szFrom);
            return LobbySendError(From, LOBBY_ERROR_UNKNOWN, Msg.byType, nSize);
        }
        if (l.Relays.size() >= size_t(l.Config.nMaxRelays)) {
            LobbyLogf("refused %s relay: server full", szFrom);
            return LobbySendError(From, LOBBY_ERROR_FULL, Msg.byType, nSize);
        }
        LOBBYROOM& room = l.Rooms.at(itRoom->second);
        if (!((Msg.bySide == LOBBY_SIDE_HOST ? room.Host : room.Guest) == From)) {
            LobbyLogf("refused %s relay: not the %s's address", szFrom, SIDE_NAME[Msg.bySide]);
            return LobbySendError(From, LOBBY_ERROR_BAD, Msg.byType, nSize);
        }
        LOBBYRELAY r;
        r.dwCode = itRoom->second;
        r.Side[LOBBY_SIDE_HOST] = room.Host;
        r.Side[LOBBY_SIDE_GUEST] = room.Guest;
        r.qwLastMs = qwNowMs;
        room.qwSeenMs = qwNowMs;
        it = l.Relays.emplace(Msg.qwToken, r).first;
        l.Stats.qwRelaysMade++;
    }
    LOBBYRELAY& r = it->second;
    LobbyCodeText(r.dwCode, szCode);
    const int nSide = Msg.bySide;
    if (!(r.Side[nSide] == From)) {
        LobbyLogf("refused %s relay %s: not the %s's address", szFrom, szCode, SIDE_NAME[nSide]);
        return LobbySendError(From, LOBBY_ERROR_BAD, Msg.byType, nSize);
    }
    if (!r.bBound[nSide]) {
        LOBBYSOURCE& s = l.Sources.at(From.Addr.dwIp);
        if (s.nRelays >= l.Config.nRelaysPerSource) {
            LobbyLogf("refused %s relay %s: too many relays from its address", szFrom, szCode);
            return LobbySendError(From, LOBBY_ERROR_TOO_MANY, Msg.byType, nSize);
        }
        // An endpoint forwards through one relay: a newer meeting takes it from an older one.
        auto itOld = l.RelayOfEnd.find(LobbyEndKey(From));
        if (itOld != l.RelayOfEnd.end()) {
            LOBBYRELAY& old = l.Relays.at(itOld->second);
            Unbind(&old, old.Side[0] == From ? 0 : 1);
        }
        r.bBound[nSide] = true;
        l.RelayOfEnd[LobbyEndKey(From)] = Msg.qwToken;
        s.nRelays++;
        LobbyLogf("relay %s bound by the %s %s%s", szCode, SIDE_NAME[nSide], szFrom,
                  r.bBound[1 - nSide] ? " (both bound)" : "");
    }
    r.qwLastMs = qwNowMs;
    LOBBYMSG m;
    m.byType = LOBBY_MSG_RELAY_OK;
    m.qwToken = Msg.qwToken;
    m.bySide = Msg.bySide;
    m.byPeer = r.bBound[1 - nSide] ? 1 : 0;
    LobbySend(From, m, nSize);
}

void LobbyRelayForward(const LOBBYPEER& From, const uint8_t* lpData, size_t nSize, uint64_t qwNowMs) {
    LOBBY& l = *g_lpLobby;
    auto itEnd = l.RelayOfEnd.find(LobbyEndKey(From));
    if (itEnd == l.RelayOfEnd.end()) {
        l.Stats.qwDropped[LOBBY_DROP_UNBOUND]++;
        return;
    }
    LOBBYRELAY& r = l.Relays.at(itEnd->second);
    const int nSide = r.Side[0] == From ? 0 : 1;
    if (!r.bBound[1 - nSide]) {
        l.Stats.qwDropped[LOBBY_DROP_UNBOUND]++;
        return;
    }
    // Both buckets are checked before either is charged, so a refused datagram costs nothing.
    const int64_t nPackets = l.Config.nRelayPacketsPerSecond, nBytes = l.Config.nRelayBytesPerSecond;
    LOBBYBUCKET Packets = r.Packets[nSide], Bytes = r.Bytes[nSide];
    if (!LobbyBucketTake(&Packets, qwNowMs, nPackets * 60, nPackets * 2, 1) ||
        !LobbyBucketTake(&Bytes, qwNowMs, nBytes * 60, nBytes * 2, int64_t(nSize))) {
        l.Stats.qwDropped[LOBBY_DROP_RELAY_RATE]++;
        return;
    }
    r.Packets[nSide] = Packets;
    r.Bytes[nSide] = Bytes;
    r.qwLastMs = qwNowMs;
    if (!l.lpfnSend || !l.lpfnSend(r.Side[1 - nSide], lpData, nSize)) {
        l.Stats.qwDropped[LOBBY_DROP_SEND]++;
        return;
    }
    r.qwPackets++;
    l.Stats.qwRelayedPackets++;
    l.Stats.qwRelayedBytes += nSize;
}
