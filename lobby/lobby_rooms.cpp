// Rooms: a host registers and keeps its room alive, a guest joins it by code, and the server
// introduces the two to each other.
#include <cstring>

#include "lobby/lobby_state.h"

namespace {

const char* CodeText(uint32_t dwCode, char* sz) {
    LobbyCodeText(dwCode, sz);
    return sz;
}

const char* AddrText(const LOBBYPEER& Peer, char* sz) {
    return LobbyPeerText(Peer, sz);
}

// The INTRO for one side: the other side's addresses. When either side is a WebSocket peer there
// is no direct route to punch: both get an INTRO without addresses, which sends them to the relay.
void SendIntro(const LOBBYROOM& Room, uint32_t dwCode, uint8_t bySide, size_t nRequestSize) {
    LOBBYMSG m;
    m.byType = LOBBY_MSG_INTRO;
    m.dwCode = dwCode;
    m.qwToken = Room.qwToken;
    m.bySide = bySide;
    const bool bToHost = bySide == LOBBY_SIDE_HOST;
    if (!Room.Host.qwConn && !Room.Guest.qwConn) {
        m.Public = bToHost ? Room.Guest.Addr : Room.Host.Addr;
        m.nLocal = bToHost ? Room.nGuestLocal : Room.nHostLocal;
        std::memcpy(m.Local, bToHost ? Room.GuestLocal : Room.HostLocal, sizeof(m.Local));
    }
    LobbySend(bToHost ? Room.Host : Room.Guest, m, nRequestSize);
}

// The room of this host with this key, or null.
LOBBYROOM* HostsRoom(const LOBBYPEER& From, const LOBBYMSG& Msg) {
    auto it = g_lpLobby->Rooms.find(Msg.dwCode);
    if (it == g_lpLobby->Rooms.end() || !(it->second.Host == From) || it->second.qwKey != Msg.qwKey)
        return nullptr;
    return &it->second;
}

}  // namespace

void LobbyRemoveRoom(uint32_t dwCode, const char* szWhy) {
    LOBBY& l = *g_lpLobby;
    auto it = l.Rooms.find(dwCode);
    if (it == l.Rooms.end()) return;
    const LOBBYROOM& r = it->second;
    auto itSource = l.Sources.find(r.Host.Addr.dwIp);
    if (itSource != l.Sources.end()) itSource->second.nRooms--;
    l.RoomOfHost.erase(LobbyEndKey(r.Host));
    if (r.bTaken) l.RoomOfToken.erase(r.qwToken);
    char szCode[8];
    LobbyLogf("room %s %s", CodeText(dwCode, szCode), szWhy);
    l.Rooms.erase(it);
}

void LobbyRegister(const LOBBYPEER& From, const LOBBYMSG& Msg, size_t nSize, uint64_t qwNowMs) {
    LOBBY& l = *g_lpLobby;
    char szCode[8], szFrom[LOBBY_PEER_TEXT];
    // The same host again: a REGISTER whose ROOM was lost gets that ROOM again; otherwise the host
    // starts over and its old room ends.
    auto itOld = l.RoomOfHost.find(LobbyEndKey(From));
    uint32_t dwCode = 0;
    if (itOld != l.RoomOfHost.end()) {
        const LOBBYROOM& r = l.Rooms.at(itOld->second);
        if (!r.bConfirmed && std::strcmp(r.szVersion, Msg.szVersion) == 0)
            dwCode = itOld->second;
        else
            LobbyRemoveRoom(itOld->second, "closed (its host registered again)");
    }
    if (!dwCode) {
        LOBBYSOURCE& s = l.Sources.at(From.Addr.dwIp);
        if (l.Rooms.size() >= size_t(l.Config.nMaxRooms)) {
            LobbyLogf("refused %s register: server full", AddrText(From, szFrom));
            return LobbySendError(From, LOBBY_ERROR_FULL, Msg.byType, nSize);
        }
        if (s.nRooms >= l.Config.nRoomsPerSource) {
            LobbyLogf("refused %s register: too many rooms from its address", AddrText(From, szFrom));
            return LobbySendError(From, LOBBY_ERROR_TOO_MANY, Msg.byType, nSize);
        }
        // Random codes; taken ones (a few in a billion while the server holds thousands) are drawn again.
        for (int i = 0; i < 16 && !dwCode; ++i) {
            const uint32_t dw = uint32_t(l.lpfnRandom() % LOBBY_CODE_LIMIT);
            if (dw && !l.Rooms.count(dw)) dwCode = dw;
        }
        if (!dwCode) return LobbySendError(From, LOBBY_ERROR_FULL, Msg.byType, nSize);
        LOBBYROOM& r = l.Rooms[dwCode];
        r.Host = From;
        r.qwKey = l.lpfnRandom();
        std::memcpy(r.szVersion, Msg.szVersion, sizeof(r.szVersion));
        r.nHostLocal = Msg.nLocal;
        std::memcpy(r.HostLocal, Msg.Local, sizeof(r.HostLocal));
        r.qwMadeMs = r.qwSeenMs = qwNowMs;
        l.RoomOfHost[LobbyEndKey(From)] = dwCode;
        s.nRooms++;
        l.Stats.qwRoomsMade++;
        LobbyLogf("room %s made by %s (version %s)", CodeText(dwCode, szCode), AddrText(From, szFrom),
                  r.szVersion);
    }
    const LOBBYROOM& r = l.Rooms.at(dwCode);
    LOBBYMSG m;
    m.byType = LOBBY_MSG_ROOM;
    m.dwCode = dwCode;
    m.qwKey = r.qwKey;
    m.Public = From.Addr;
    m.wLifetime = l.Config.wRoomLifetime;
    m.byKeepalive = l.Config.byKeepalive;
    LobbySend(From, m, nSize);
}

void LobbyKeepalive(const LOBBYPEER& From, const LOBBYMSG& Msg, size_t nSize, uint64_t qwNowMs) {
    LOBBYROOM* lpRoom = HostsRoom(From, Msg);
    if (!lpRoom) return LobbySendError(From, LOBBY_ERROR_UNKNOWN, Msg.byType, nSize);
    lpRoom->bConfirmed = true;
    lpRoom->qwSeenMs = qwNowMs;
    if (lpRoom->bTaken) return SendIntro(*lpRoom, Msg.dwCode, LOBBY_SIDE_HOST, nSize);
    const uint64_t qwAgeS = (qwNowMs - lpRoom->qwMadeMs) / 1000;
    LOBBYMSG m;
    m.byType = LOBBY_MSG_ALIVE;
    m.dwCode = Msg.dwCode;
    m.wLeft =
        uint16_t(qwAgeS < g_lpLobby->Config.wRoomLifetime ? g_lpLobby->Config.wRoomLifetime - qwAgeS : 0);
    LobbySend(From, m, nSize);
}

void LobbyLeave(const LOBBYPEER& From, const LOBBYMSG& Msg) {
    if (!HostsRoom(From, Msg)) {
        g_lpLobby->Stats.qwDropped[LOBBY_DROP_BAD]++;
        return;
    }
    LobbyRemoveRoom(Msg.dwCode, "closed by its host");
}

void LobbyJoin(const LOBBYPEER& From, const LOBBYMSG& Msg, size_t nSize, uint64_t qwNowMs) {
    LOBBY& l = *g_lpLobby;
    LOBBYSOURCE& s = l.Sources.at(From.Addr.dwIp);
    char szCode[8], szFrom[LOBBY_PEER_TEXT], szHost[LOBBY_PEER_TEXT];
    CodeText(Msg.dwCode, szCode);
    AddrText(From, szFrom);
    // Code guessing: after a few wrong codes an address gets one ERROR, then silence, until its
    // allowance of wrong codes has grown back.
    const int nPerMinute = l.Config.nWrongCodesPerMinute;
    LOBBYBUCKET Probe = s.WrongCodes;
    if (!LobbyBucketTake(&Probe, qwNowMs, nPerMinute, nPerMinute, 1)) {
        if (s.bGuessWarned) {
            l.Stats.qwDropped[LOBBY_DROP_GUESS]++;
            return;
        }
        s.bGuessWarned = true;
        LobbyLogf("refused %s join %s: too many wrong codes", szFrom, szCode);
        return LobbySendError(From, LOBBY_ERROR_TOO_MANY, Msg.byType, nSize);
    }
    s.bGuessWarned = false;
    auto it = l.Rooms.find(Msg.dwCode);
    if (it == l.Rooms.end() || !it->second.bConfirmed) {
        LobbyBucketTake(&s.WrongCodes, qwNowMs, nPerMinute, nPerMinute, 1);
        LobbyLogf("refused %s join %s: unknown code", szFrom, szCode);
        return LobbySendError(From, LOBBY_ERROR_UNKNOWN, Msg.byType, nSize);
    }
    LOBBYROOM& r = it->second;
    AddrText(r.Host, szHost);
    if (r.Host == From) {
        LobbyLogf("refused %s join %s: its own room", szFrom, szCode);
        return LobbySendError(From, LOBBY_ERROR_BAD, Msg.byType, nSize);
    }
    if (r.bTaken && !(r.Guest == From)) {
        LobbyLogf("refused %s join %s: taken", szFrom, szCode);
        return LobbySendError(From, LOBBY_ERROR_TAKEN, Msg.byType, nSize);
    }
    if (std::strcmp(r.szVersion, Msg.szVersion) != 0) {
        LobbyLogf("refused %s join %s: version %s, the host's %s", szFrom, szCode, Msg.szVersion,
                  r.szVersion);
        return LobbySendError(From, LOBBY_ERROR_VERSION, Msg.byType, nSize, r.szVersion);
    }
    if (!r.bTaken) {
        r.bTaken = true;
        r.Guest = From;
        r.nGuestLocal = Msg.nLocal;
        std::memcpy(r.GuestLocal, Msg.Local, sizeof(r.GuestLocal));
        do r.qwToken = l.lpfnRandom();
        while (l.RoomOfToken.count(r.qwToken) || l.Relays.count(r.qwToken));
        l.RoomOfToken[r.qwToken] = Msg.dwCode;
        l.Stats.qwMeetings++;
        LobbyLogf("room %s joined by %s (host %s)", szCode, szFrom, szHost);
    }
    r.qwSeenMs = qwNowMs;
    // The host's copy goes out at the size of its own requests (it has sent at least that much).
    SendIntro(r, Msg.dwCode, LOBBY_SIDE_GUEST, nSize);
    SendIntro(r, Msg.dwCode, LOBBY_SIDE_HOST, LOBBY_REQUEST_MIN);
}
