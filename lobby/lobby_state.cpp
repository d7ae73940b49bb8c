// The lobby's dispatch: what a datagram is and who may send it, the limits of each source
// address, the answers, expiry and the counters.
#include "lobby/lobby_state.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

LOBBY g_Lobby;

LOBBYSOURCE* Source(uint32_t dwIp, uint64_t qwNowMs) {
    LOBBY& l = *g_lpLobby;
    auto it = l.Sources.find(dwIp);
    if (it == l.Sources.end()) {
        if (l.Sources.size() >= size_t(l.Config.nMaxSources)) return nullptr;
        it = l.Sources.emplace(dwIp, LOBBYSOURCE{}).first;
    }
    it->second.qwLastMs = qwNowMs;
    return &it->second;
}

void Drop(int nWhy) {
    g_lpLobby->Stats.qwDropped[nWhy]++;
}

void HandleLobby(const LOBBYPEER& From, const uint8_t* lpData, size_t nSize, uint64_t qwNowMs) {
    LOBBY& l = *g_lpLobby;
    LOBBYSOURCE* lpSource = Source(From.Addr.dwIp, qwNowMs);
    if (!lpSource) return Drop(LOBBY_DROP_BUSY);
    if (!LobbyBucketTake(&lpSource->Requests, qwNowMs, l.Config.nRequestsPerMinute, l.Config.nRequestBurst,
                         1))
        return Drop(LOBBY_DROP_RATE);
    LOBBYMSG m;
    switch (LobbyDecode(lpData, nSize, &m)) {
        case LOBBY_DECODE_OK:
            break;
        case LOBBY_DECODE_PROTOCOL:
            // Never answer an ERROR, lest two servers answer each other for ever.
            if (m.byType == LOBBY_MSG_ERROR) return Drop(LOBBY_DROP_BAD);
            return LobbySendError(From, LOBBY_ERROR_PROTOCOL, m.byType, nSize);
        default:
            return Drop(LOBBY_DROP_BAD);
    }
    switch (m.byType) {
        case LOBBY_MSG_REGISTER:
            return LobbyRegister(From, m, nSize, qwNowMs);
        case LOBBY_MSG_KEEPALIVE:
            return LobbyKeepalive(From, m, nSize, qwNowMs);
        case LOBBY_MSG_JOIN:
            return LobbyJoin(From, m, nSize, qwNowMs);
        case LOBBY_MSG_RELAY_BIND:
            return LobbyRelayBind(From, m, nSize, qwNowMs);
        case LOBBY_MSG_LEAVE:
            return LobbyLeave(From, m);
        default:
            return Drop(LOBBY_DROP_BAD);  // what the server sends, or a punch gone astray
    }
}

}  // namespace

LOBBY* g_lpLobby = &g_Lobby;

void LobbyReset(const LOBBYCONFIG& Config) {
    LOBBY& l = *g_lpLobby;
    l.Config = Config;
    l.Rooms.clear();
    l.RoomOfHost.clear();
    l.RoomOfToken.clear();
    l.Relays.clear();
    l.RelayOfEnd.clear();
    l.Sources.clear();
    l.Stats = LOBBYSTATS{};
    l.LogLines = LOBBYBUCKET{};
}

uint64_t LobbyEndKey(const LOBBYPEER& Peer) {
    // UDP addresses take the keys below 2^48, WebSocket connections those above.
    if (Peer.qwConn) return (uint64_t(1) << 48) + Peer.qwConn;
    return uint64_t(Peer.Addr.dwIp) << 16 | Peer.Addr.wPort;
}

const char* LobbyPeerText(const LOBBYPEER& Peer, char szOut[LOBBY_PEER_TEXT]) {
    LobbyAddrText(Peer.Addr, szOut, LOBBY_PEER_TEXT);
    if (Peer.qwConn) std::strcat(szOut, " (ws)");
    return szOut;
}

bool LobbyBucketTake(LOBBYBUCKET* lpBucket, uint64_t qwNowMs, int64_t nPerMinute, int64_t nBurst,
                     int64_t nCost) {
    const int64_t nFull = nBurst * 60000;
    LOBBYBUCKET& b = *lpBucket;
    if (b.nLevel < 0) {
        b.nLevel = nFull;
    } else if (qwNowMs > b.qwLastMs && nPerMinute > 0) {
        // Long enough to fill it whatever it held; below that the product cannot overflow.
        const uint64_t qwMs = qwNowMs - b.qwLastMs;
        if (qwMs > uint64_t(nFull / nPerMinute))
            b.nLevel = nFull;
        else
            b.nLevel = std::min(nFull, b.nLevel + int64_t(qwMs) * nPerMinute);
    }
    b.qwLastMs = qwNowMs;
    if (b.nLevel < nCost * 60000) return false;
    b.nLevel -= nCost * 60000;
    return true;
}

void LobbyLogf(const char* szFormat, ...) {
    LOBBY& l = *g_lpLobby;
    if (!l.lpfnLog) return;
    // A flood of refusals (from spoofed addresses, say) must not flood the log too.
    const int64_t nPerSecond = l.Config.nLogLinesPerSecond;
    if (!LobbyBucketTake(&l.LogLines, l.qwNowMs, nPerSecond * 60, nPerSecond * 4, 1)) {
        l.Stats.qwLogSuppressed++;
        return;
    }
    char sz[512];
    va_list ap;
    va_start(ap, szFormat);
    std::vsnprintf(sz, sizeof(sz), szFormat, ap);
    va_end(ap);
    l.lpfnLog(sz);
}

void LobbySend(const LOBBYPEER& To, const LOBBYMSG& Msg, size_t nRequestSize) {
    LOBBY& l = *g_lpLobby;
    uint8_t buf[LOBBY_MAX_MESSAGE];
    const int n = LobbyEncode(&Msg, buf, sizeof(buf));
    // A request is at least LOBBY_REQUEST_MIN bytes and no message of the server is longer, so
    // this holds for every datagram that decoded; it guards the rule against later changes.
    if (n <= 0 || size_t(n) > nRequestSize) return Drop(LOBBY_DROP_BAD);
    if (!l.lpfnSend || !l.lpfnSend(To, buf, size_t(n))) return Drop(LOBBY_DROP_SEND);
    l.Stats.qwPacketsOut++;
    l.Stats.qwBytesOut += uint64_t(n);
}

void LobbySendError(const LOBBYPEER& To, uint8_t byReason, uint8_t byRequest, size_t nRequestSize,
                    const char* szVersion) {
    LOBBYMSG m;
    m.byType = LOBBY_MSG_ERROR;
    m.byReason = byReason;
    m.byRequest = byRequest;
    std::snprintf(m.szVersion, sizeof(m.szVersion), "%s", szVersion);
    g_lpLobby->Stats.qwRefused[byReason]++;
    LobbySend(To, m, nRequestSize);
}

void LobbyReceive(const LOBBYPEER& From, const uint8_t* lpData, size_t nSize, uint64_t qwNowMs) {
    LOBBY& l = *g_lpLobby;
    l.qwNowMs = qwNowMs;
    l.Stats.qwPacketsIn++;
    l.Stats.qwBytesIn += nSize;
    if (nSize > LOBBY_MAX_DATAGRAM) return Drop(LOBBY_DROP_SIZE);
    if (LobbyIsLobby(lpData, nSize)) return HandleLobby(From, lpData, nSize, qwNowMs);
    LobbyRelayForward(From, lpData, nSize, qwNowMs);
}

void LobbyPeerGone(const LOBBYPEER& Peer, uint64_t qwNowMs) {
    LOBBY& l = *g_lpLobby;
    l.qwNowMs = qwNowMs;
    const uint64_t qwKey = LobbyEndKey(Peer);
    auto itRoom = l.RoomOfHost.find(qwKey);
    if (itRoom != l.RoomOfHost.end()) LobbyRemoveRoom(itRoom->second, "closed (its host's WebSocket closed)");
    auto itRelay = l.RelayOfEnd.find(qwKey);
    if (itRelay != l.RelayOfEnd.end()) LobbyRemoveRelay(itRelay->second, "ended (a WebSocket closed)");
}

void LobbyExpire(uint64_t qwNowMs) {
    LOBBY& l = *g_lpLobby;
    l.qwNowMs = qwNowMs;
    std::vector<uint32_t> codes;
    std::vector<const char*> whys;
    for (const auto& [dwCode, r] : l.Rooms) {
        const uint64_t qwAge = qwNowMs - r.qwMadeMs;
        const char* szWhy = nullptr;
        if (!r.bConfirmed && qwAge > l.Config.dwConfirmMs)
            szWhy = "expired (its host never confirmed it)";
        else if (!r.bTaken && qwAge > uint64_t(l.Config.wRoomLifetime) * 1000)
            szWhy = "expired unused";
        else if (qwNowMs - r.qwSeenMs > l.Config.dwRoomIdleMs)
            szWhy = "expired (host silent)";
        if (szWhy) codes.push_back(dwCode), whys.push_back(szWhy);
    }
    for (size_t i = 0; i < codes.size(); ++i) LobbyRemoveRoom(codes[i], whys[i]);
    std::vector<uint64_t> tokens;
    for (const auto& [qwToken, r] : l.Relays)
        if (qwNowMs - r.qwLastMs > l.Config.dwRelayIdleMs) tokens.push_back(qwToken);
    for (uint64_t qwToken : tokens) LobbyRemoveRelay(qwToken, "expired");
    for (auto it = l.Sources.begin(); it != l.Sources.end();) {
        const LOBBYSOURCE& s = it->second;
        if (!s.nRooms && !s.nRelays && qwNowMs - s.qwLastMs > l.Config.dwSourceIdleMs)
            it = l.Sources.erase(it);
        else
            ++it;
    }
}

void LobbyStatsLine(char* szOut, size_t nOutSize) {
    const LOBBY& l = *g_lpLobby;
    const LOBBYSTATS& s = l.Stats;
    std::snprintf(
        szOut, nOutSize,
        "stats rooms %zu relays %zu sources %zu | made %llu rooms %llu meetings %llu relays | in %llu "
        "packets %llu bytes | out %llu packets %llu bytes | relayed %llu packets %llu bytes | dropped "
        "unbound %llu bad %llu rate %llu guess %llu relay-rate %llu size %llu busy %llu send %llu | "
        "refused unknown %llu taken %llu version %llu full %llu too-many %llu bad %llu protocol %llu | log "
        "lines not shown %llu",
        l.Rooms.size(), l.Relays.size(), l.Sources.size(), (unsigned long long)s.qwRoomsMade,
        (unsigned long long)s.qwMeetings, (unsigned long long)s.qwRelaysMade,
        (unsigned long long)s.qwPacketsIn, (unsigned long long)s.qwBytesIn,
        (unsigned long long)s.qwPacketsOut, (unsigned long long)s.qwBytesOut,
        (unsigned long long)s.qwRelayedPackets, (unsigned long long)s.qwRelayedBytes,
        (unsigned long long)s.qwDropped[LOBBY_DROP_UNBOUND], (unsigned long long)s.qwDropped[LOBBY_DROP_BAD],
        (unsigned long long)s.qwDropped[LOBBY_DROP_RATE], (unsigned long long)s.qwDropped[LOBBY_DROP_GUESS],
        (unsigned long long)s.qwDropped[LOBBY_DROP_RELAY_RATE],
        (unsigned long long)s.qwDropped[LOBBY_DROP_SIZE], (unsigned long long)s.qwDropped[LOBBY_DROP_BUSY],
        (unsigned long long)s.qwDropped[LOBBY_DROP_SEND], (unsigned long long)s.qwRefused[1],
        (unsigned long long)s.qwRefused[2], (unsigned long long)s.qwRefused[3],
        (unsigned long long)s.qwRefused[4], (unsigned long long)s.qwRefused[5],
        (unsigned long long)s.qwRefused[6], (unsigned long long)s.qwRefused[7],
        (unsigned long long)s.qwLogSuppressed);
}
