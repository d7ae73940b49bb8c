// Lobby datagrams: any bytes are foreign, refused, of another version, or decode to a message that
// re-encodes to exactly those bytes; any text reads as a room code only if it writes back as one.
// Then the same datagrams go to the lobby server's state, from four senders over a clock that
// jumps, on a server small enough to fill: it only sends to addresses that have sent to it, never
// more than they sent, relays only unchanged datagrams between two others, and its tables agree.
// An input is a run of datagrams, each a byte (low 2 bits: the sender, the rest: seconds passed),
// a length byte and that many bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "lobby/lobby_state.h"
#include "net/lobby_proto.h"

namespace {

struct SENDER {
    LOBBYADDR Addr;
    size_t nMaxSent = 0;  // its longest datagram so far; 0: it has sent nothing
};
SENDER g_Sender[4];
int g_nFrom = 0;
const uint8_t* g_lpIn = nullptr;
size_t g_nIn = 0;
uint64_t g_qwRandom = 0;

void Check(bool b) {
    if (!b) std::abort();
}

void CheckDatagram(const uint8_t* lpPacket, size_t nSize) {
    LOBBYMSG m;
    const LOBBYDECODE e = LobbyDecode(lpPacket, nSize, &m);
    Check(LobbyIsLobby(lpPacket, nSize) == (e != LOBBY_DECODE_FOREIGN));
    if (e == LOBBY_DECODE_OK) {
        uint8_t buf[LOBBY_MAX_MESSAGE];
        const int n = LobbyEncode(&m, buf, sizeof(buf));
        Check(n > 0 && size_t(n) == nSize && std::memcmp(buf, lpPacket, nSize) == 0);
        // Nothing the server sends is longer than a padded request.
        if (!LobbyIsRequest(m.byType)) Check(n <= LOBBY_REQUEST_MIN);
    }
    char sz[LOBBY_CODE_LENGTH + 2] = {};
    std::memcpy(sz, lpPacket, nSize < sizeof(sz) - 1 ? nSize : sizeof(sz) - 1);
    uint32_t dwCode = 0;
    if (LobbyCodeParse(sz, &dwCode)) {
        char szBack[LOBBY_CODE_LENGTH + 1];
        uint32_t dwBack = 0;
        Check(dwCode < LOBBY_CODE_LIMIT && LobbyCodeText(dwCode, szBack));
        Check(LobbyCodeParse(szBack, &dwBack) && dwBack == dwCode);
    }
}

bool Send(const LOBBYPEER& To, const uint8_t* lpData, size_t nSize) {
    int nTo = 0;
    while (nTo < 4 && !(LOBBYPEER(g_Sender[nTo].Addr) == To)) ++nTo;
    Check(nTo < 4 && g_Sender[nTo].nMaxSent > 0);
    if (LobbyIsLobby(lpData, nSize)) {
        LOBBYMSG m;
        Check(LobbyDecode(lpData, nSize, &m) == LOBBY_DECODE_OK && !LobbyIsRequest(m.byType));
        Check(nSize <= (nTo == g_nFrom ? g_nIn : g_Sender[nTo].nMaxSent));
    } else {
        Check(nTo != g_nFrom && nSize == g_nIn && std::memcmp(lpData, g_lpIn, nSize) == 0);
    }
    return true;
}

// Small numbers the fuzzer can find in its comparisons: codes, keys and tokens 1, 2, 3...
uint64_t Random() {
    return ++g_qwRandom;
}

void CheckTables() {
    const LOBBY& l = *g_lpLobby;
    Check(l.Rooms.size() <= size_t(l.Config.nMaxRooms) && l.Relays.size() <= size_t(l.Config.nMaxRelays));
    Check(l.RoomOfHost.size() == l.Rooms.size() && l.RoomOfToken.size() <= l.Rooms.size());
    int nRooms = 0, nRelays = 0;
    for (const auto& [dwIp, s] : l.Sources) nRooms += s.nRooms, nRelays += s.nRelays;
    Check(nRooms == int(l.Rooms.size()) && nRelays == int(l.RelayOfEnd.size()));
    for (const auto& [qwEnd, qwToken] : l.RelayOfEnd) Check(l.Relays.count(qwToken) == 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* lpData, size_t nSize) {
    LOBBYCONFIG Config;
    Config.nMaxRooms = 3;
    Config.nMaxRelays = 2;
    Config.nMaxSources = 3;
    Config.nRoomsPerSource = 2;
    Config.nRelayPacketsPerSecond = 4;
    Config.nRelayBytesPerSecond = 300;
    LobbyReset(Config);
    g_lpLobby->lpfnSend = Send;
    g_lpLobby->lpfnRandom = Random;
    g_qwRandom = 0;
    // Two senders share an address, as players behind one router do.
    const LOBBYADDR Addrs[4] = {{0x0A000001, 1000}, {0x0A000001, 1001}, {0x0A000002, 1000}, {0x0A000003, 5}};
    for (int i = 0; i < 4; ++i) g_Sender[i] = SENDER{Addrs[i], 0};
    uint64_t qwNowMs = 1000;
    size_t nPos = 0;
    while (nPos + 2 <= nSize) {
        const uint8_t bySender = lpData[nPos++];
        const size_t nLen = lpData[nPos++];
        const size_t nTake = nLen < nSize - nPos ? nLen : nSize - nPos;
        CheckDatagram(lpData + nPos, nTake);
        g_nFrom = bySender & 3;
        g_lpIn = lpData + nPos;
        g_nIn = nTake;
        if (nTake > g_Sender[g_nFrom].nMaxSent) g_Sender[g_nFrom].nMaxSent = nTake;
        qwNowMs += uint64_t(bySender >> 2) * 1000 + 1;
        LobbyReceive(g_Sender[g_nFrom].Addr, g_lpIn, nTake, qwNowMs);
        LobbyExpire(qwNowMs);
        CheckTables();
        nPos += nTake;
    }
    return 0;
}
