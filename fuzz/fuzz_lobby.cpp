// Lobby datagrams: any bytes are foreign, refused, of another version, or decode to a message that
// re-encodes to exactly those bytes; any text reads as a room code only if it writes back as one.
// An input is a run of datagrams, each a source byte (which of four senders), a length byte and
// that many bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "net/lobby_proto.h"

namespace {

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* lpData, size_t nSize) {
    size_t nPos = 0;
    while (nPos + 2 <= nSize) {
        nPos++;  // the sender, for the server's state
        const size_t nLen = lpData[nPos++];
        const size_t nTake = nLen < nSize - nPos ? nLen : nSize - nPos;
        CheckDatagram(lpData + nPos, nTake);
        nPos += nTake;
    }
    return 0;
}
