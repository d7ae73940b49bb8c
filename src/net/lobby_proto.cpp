// Byte form of the lobby messages and the room codes: a bounded writer and a bounded reader over
// one datagram.
#include "net/lobby_proto.h"
#include "net/wire_io.h"

#include <cstdio>
#include <cstring>

namespace {

using WRITER = WIREWRITER;
using READER = WIREREADER;

constexpr char CODE_ALPHABET[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";

void PutAddr(WRITER* w, const LOBBYADDR& a) {
    const uint8_t b[4] = {uint8_t(a.dwIp >> 24), uint8_t(a.dwIp >> 16), uint8_t(a.dwIp >> 8),
                          uint8_t(a.dwIp)};
    PutBytes(w, b, 4);
    PutUint(w, a.wPort, 2);
}

LOBBYADDR GetAddr(READER* r) {
    uint8_t b[4];
    GetBytes(r, b, 4);
    LOBBYADDR a;
    a.dwIp = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    a.wPort = uint16_t(GetUint(r, 2));
    return a;
}

bool VersionValid(const char* sz) {
    size_t n = strnlen(sz, LOBBY_VERSION_MAX + 1);
    if (n > LOBBY_VERSION_MAX) return false;
    for (size_t i = 0; i < n; ++i)
        if (uint8_t(sz[i]) < 0x20 || uint8_t(sz[i]) > 0x7E) return false;
    return true;
}

void PutVersion(WRITER* w, const char* sz) {
    size_t n = strnlen(sz, LOBBY_VERSION_MAX + 1);
    PutUint(w, n, 1);
    PutBytes(w, sz, n);
}

void GetVersion(READER* r, char* sz) {
    size_t n = size_t(GetUint(r, 1));
    if (n > LOBBY_VERSION_MAX) r->bOk = false;
    if (!r->bOk) return;
    GetBytes(r, sz, n);
    sz[n] = 0;
    // Checked over all n bytes: a NUL inside would make the text shorter than its length.
    for (size_t i = 0; i < n; ++i)
        if (uint8_t(sz[i]) < 0x20 || uint8_t(sz[i]) > 0x7E) r->bOk = false;
}

void PutLocals(WRITER* w, const LOBBYMSG& m) {
    PutUint(w, uint64_t(m.nLocal), 1);
    for (int i = 0; i < m.nLocal; ++i) PutAddr(w, m.Local[i]);
}

void GetLocals(READER* r, LOBBYMSG* m) {
    m->nLocal = int(GetUint(r, 1));
    if (m->nLocal > LOBBY_MAX_LOCAL) r->bOk = false;
    for (int i = 0; i < m->nLocal && r->bOk; ++i) m->Local[i] = GetAddr(r);
}

// The fields after the header; the same for every protocol version for ERROR.
void GetError(READER* r, LOBBYMSG* m) {
    m->byReason = uint8_t(GetUint(r, 1));
    m->byRequest = uint8_t(GetUint(r, 1));
    GetVersion(r, m->szVersion);
    if (m->byReason < 1 || m->byReason > LOBBY_ERROR_LAST) r->bOk = false;
}

}  // namespace

bool LobbyIsLobby(const uint8_t* lpData, size_t nSize) {
    return nSize >= 4 && std::memcmp(lpData, LOBBY_MAGIC, 4) == 0;
}

bool LobbyIsRequest(uint8_t byType) {
    return byType == LOBBY_MSG_REGISTER || byType == LOBBY_MSG_KEEPALIVE || byType == LOBBY_MSG_JOIN ||
           byType == LOBBY_MSG_RELAY_BIND || byType == LOBBY_MSG_LEAVE;
}

int LobbyEncode(const LOBBYMSG* lpMsg, uint8_t* lpOut, size_t nOutSize) {
    WRITER w{lpOut, nOutSize, 0, true};
    const LOBBYMSG& m = *lpMsg;
    PutBytes(&w, LOBBY_MAGIC, 4);
    PutUint(&w, LOBBY_PROTOCOL, 1);
    PutUint(&w, m.byType, 1);
    if (m.dwCode >= LOBBY_CODE_LIMIT || m.nLocal < 0 || m.nLocal > LOBBY_MAX_LOCAL) return 0;
    switch (m.byType) {
        case LOBBY_MSG_REGISTER:
            if (!VersionValid(m.szVersion)) return 0;
            PutVersion(&w, m.szVersion);
            PutLocals(&w, m);
            break;
        case LOBBY_MSG_ROOM:
            if (m.byKeepalive == 0) return 0;
            PutUint(&w, m.dwCode, 4);
            PutUint(&w, m.qwKey, 8);
            PutAddr(&w, m.Public);
            PutUint(&w, m.wLifetime, 2);
            PutUint(&w, m.byKeepalive, 1);
            break;
        case LOBBY_MSG_KEEPALIVE:
        case LOBBY_MSG_LEAVE:
            PutUint(&w, m.dwCode, 4);
            PutUint(&w, m.qwKey, 8);
            break;
        case LOBBY_MSG_ALIVE:
            PutUint(&w, m.dwCode, 4);
            PutUint(&w, m.wLeft, 2);
            break;
        case LOBBY_MSG_JOIN:
            if (!VersionValid(m.szVersion)) return 0;
            PutUint(&w, m.dwCode, 4);
            PutVersion(&w, m.szVersion);
            PutLocals(&w, m);
            break;
        case LOBBY_MSG_INTRO:
            if (m.bySide > LOBBY_SIDE_GUEST) return 0;
            PutUint(&w, m.dwCode, 4);
            PutUint(&w, m.qwToken, 8);
            PutUint(&w, m.bySide, 1);
            PutAddr(&w, m.Public);
            PutLocals(&w, m);
            break;
        case LOBBY_MSG_PUNCH:
        case LOBBY_MSG_PUNCH_ACK:
        case LOBBY_MSG_RELAY_BIND:
            if (m.bySide > LOBBY_SIDE_GUEST) return 0;
            PutUint(&w, m.qwToken, 8);
            PutUint(&w, m.bySide, 1);
            break;
        case LOBBY_MSG_RELAY_OK:
            if (m.bySide > LOBBY_SIDE_GUEST || m.byPeer > 1) return 0;
            PutUint(&w, m.qwToken, 8);
            PutUint(&w, m.bySide, 1);
            PutUint(&w, m.byPeer, 1);
            break;
        case LOBBY_MSG_ERROR:
            if (m.byReason < 1 || m.byReason > LOBBY_ERROR_LAST || !VersionValid(m.szVersion)) return 0;
            PutUint(&w, m.byReason, 1);
            PutUint(&w, m.byRequest, 1);
            PutVersion(&w, m.szVersion);
            break;
        default:
            return 0;
    }
    if (LobbyIsRequest(m.byType) && w.nPos < size_t(LOBBY_REQUEST_MIN)) {
        const uint8_t zeros[LOBBY_REQUEST_MIN] = {};
        PutBytes(&w, zeros, LOBBY_REQUEST_MIN - w.nPos);
    }
    return w.bOk ? int(w.nPos) : 0;
}

LOBBYDECODE LobbyDecode(const uint8_t* lpData, size_t nSize, LOBBYMSG* lpMsg) {
    LOBBYMSG& m = *lpMsg;
    m = LOBBYMSG{};
    if (!LobbyIsLobby(lpData, nSize)) return LOBBY_DECODE_FOREIGN;
    if (nSize < size_t(LOBBY_HEADER_SIZE) || nSize > size_t(LOBBY_MAX_MESSAGE)) return LOBBY_DECODE_BAD;
    READER r{lpData, nSize, 4, true};
    const uint8_t byProtocol = uint8_t(GetUint(&r, 1));
    m.byType = uint8_t(GetUint(&r, 1));
    if (byProtocol != LOBBY_PROTOCOL) {
        // Only ERROR is known across versions; what it says is kept when it reads as one.
        if (m.byType == LOBBY_MSG_ERROR) {
            GetError(&r, &m);
            if (!r.bOk) m.byReason = m.byRequest = 0, m.szVersion[0] = 0;
        }
        return LOBBY_DECODE_PROTOCOL;
    }
    switch (m.byType) {
        case LOBBY_MSG_REGISTER:
            GetVersion(&r, m.szVersion);
            GetLocals(&r, &m);
            break;
        case LOBBY_MSG_ROOM:
            m.dwCode = uint32_t(GetUint(&r, 4));
            m.qwKey = GetUint(&r, 8);
            m.Public = GetAddr(&r);
            m.wLifetime = uint16_t(GetUint(&r, 2));
            m.byKeepalive = uint8_t(GetUint(&r, 1));
            if (m.byKeepalive == 0) return LOBBY_DECODE_BAD;
            break;
        case LOBBY_MSG_KEEPALIVE:
        case LOBBY_MSG_LEAVE:
            m.dwCode = uint32_t(GetUint(&r, 4));
            m.qwKey = GetUint(&r, 8);
            break;
        case LOBBY_MSG_ALIVE:
            m.dwCode = uint32_t(GetUint(&r, 4));
            m.wLeft = uint16_t(GetUint(&r, 2));
            break;
        case LOBBY_MSG_JOIN:
            m.dwCode = uint32_t(GetUint(&r, 4));
            GetVersion(&r, m.szVersion);
            GetLocals(&r, &m);
            break;
        case LOBBY_MSG_INTRO:
            m.dwCode = uint32_t(GetUint(&r, 4));
            m.qwToken = GetUint(&r, 8);
            m.bySide = uint8_t(GetUint(&r, 1));
            m.Public = GetAddr(&r);
            GetLocals(&r, &m);
            break;
        case LOBBY_MSG_PUNCH:
        case LOBBY_MSG_PUNCH_ACK:
        case LOBBY_MSG_RELAY_BIND:
            m.qwToken = GetUint(&r, 8);
            m.bySide = uint8_t(GetUint(&r, 1));
            break;
        case LOBBY_MSG_RELAY_OK:
            m.qwToken = GetUint(&r, 8);
            m.bySide = uint8_t(GetUint(&r, 1));
            m.byPeer = uint8_t(GetUint(&r, 1));
            if (m.byPeer > 1) return LOBBY_DECODE_BAD;
            break;
        case LOBBY_MSG_ERROR:
            GetError(&r, &m);
            break;
        default:
            return LOBBY_DECODE_BAD;
    }
    if (!r.bOk || m.dwCode >= LOBBY_CODE_LIMIT || m.bySide > LOBBY_SIDE_GUEST) return LOBBY_DECODE_BAD;
    // A request is padded with zeros to LOBBY_REQUEST_MIN bytes, never beyond; nothing else is.
    size_t nEnd = r.nPos;
    if (LobbyIsRequest(m.byType) && nEnd < size_t(LOBBY_REQUEST_MIN)) nEnd = LOBBY_REQUEST_MIN;
    if (nSize != nEnd) return LOBBY_DECODE_BAD;
    for (size_t i = r.nPos; i < nEnd; ++i)
        if (lpData[i] != 0) return LOBBY_DECODE_BAD;
    return LOBBY_DECODE_OK;
}

bool LobbyCodeText(uint32_t dwCode, char szOut[LOBBY_CODE_LENGTH + 1]) {
    if (dwCode >= LOBBY_CODE_LIMIT) return false;
    for (int i = LOBBY_CODE_LENGTH - 1; i >= 0; --i, dwCode >>= 5) szOut[i] = CODE_ALPHABET[dwCode & 31];
    szOut[LOBBY_CODE_LENGTH] = 0;
    return true;
}

bool LobbyCodeParse(const char* szText, uint32_t* lpCode) {
    uint32_t dw = 0;
    for (int i = 0; i < LOBBY_CODE_LENGTH; ++i) {
        char ch = szText[i];
        if (ch >= 'a' && ch <= 'z') ch = char(ch - 'a' + 'A');
        if (ch == 'I' || ch == 'L') ch = '1';
        if (ch == 'O') ch = '0';
        const char* lp = ch ? std::strchr(CODE_ALPHABET, ch) : nullptr;
        if (!lp) return false;  // also the end of a shorter text
        dw = dw << 5 | uint32_t(lp - CODE_ALPHABET);
    }
    if (szText[LOBBY_CODE_LENGTH] != 0) return false;
    *lpCode = dw;
    return true;
}

void LobbyAddrText(const LOBBYADDR& Addr, char* szOut, size_t nOutSize) {
    std::snprintf(szOut, nOutSize, "%u.%u.%u.%u:%u", unsigned(Addr.dwIp >> 24),
                  unsigned(Addr.dwIp >> 16 & 255), unsigned(Addr.dwIp >> 8 & 255), unsigned(Addr.dwIp & 255),
                  unsigned(Addr.wPort));
}
