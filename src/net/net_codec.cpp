// Byte form of the session messages: a bounded writer and a bounded reader over one packet.
#include "net/net_codec.h"
#include "net/wire_io.h"

#include <cstring>

namespace {

using WRITER = WIREWRITER;
using READER = WIREREADER;

void PutVarint(WRITER* w, uint32_t v) {
    do {
        uint8_t b = uint8_t(v & 0x7F);
        v >>= 7;
        if (v) b |= 0x80;
        PutBytes(w, &b, 1);
    } while (v);
}

// At most five bytes; no padding bytes (a final 0x00 after the first) and nothing above 32 bits.
uint32_t GetVarint(READER* r) {
    uint32_t v = 0;
    for (int i = 0; i < 5; ++i) {
        uint8_t b = uint8_t(GetUint(r, 1));
        if (!r->bOk) return 0;
        if (i == 4 && b > 0x0F) break;
        if (i > 0 && b == 0) break;
        v |= uint32_t(b & 0x7F) << (7 * i);
        if (!(b & 0x80)) return v;
    }
    r->bOk = false;
    return 0;
}

bool VersionValid(const char* sz) {
    size_t n = strnlen(sz, NET_VERSION_MAX + 1);
    if (n > NET_VERSION_MAX) return false;
    for (size_t i = 0; i < n; ++i)
        if (uint8_t(sz[i]) < 0x20 || uint8_t(sz[i]) > 0x7E) return false;
    return true;
}

void PutVersion(WRITER* w, const char* sz) {
    size_t n = strnlen(sz, NET_VERSION_MAX + 1);
    PutUint(w, n, 1);
    PutBytes(w, sz, n);
}

void GetVersion(READER* r, char* sz) {
    size_t n = size_t(GetUint(r, 1));
    if (n > NET_VERSION_MAX) r->bOk = false;
    if (!r->bOk) return;
    GetBytes(r, sz, n);
    sz[n] = 0;
    // Checked over all n bytes: a NUL inside would make the text shorter than its length.
    for (size_t i = 0; i < n; ++i)
        if (uint8_t(sz[i]) < 0x20 || uint8_t(sz[i]) > 0x7E) r->bOk = false;
}

}  // namespace

int NetEncode(const NETMSG* lpMsg, uint8_t* lpOut, size_t nOutSize) {
    WRITER w{lpOut, nOutSize, 0, true};
    const NETMSG& m = *lpMsg;
    PutUint(&w, m.byType, 1);
    switch (m.byType) {
        case NET_MSG_HELLO:
            if (!VersionValid(m.szVersion)) return 0;
            PutUint(&w, NET_MAGIC, 4);
            PutUint(&w, m.wProtocol, 2);
            PutUint(&w, m.qwEcho, 8);
            if (m.wProtocol != NET_PROTOCOL) return 0;
            PutUint(&w, m.qwRulesHash, 8);
            PutVersion(&w, m.szVersion);
            while (w.bOk && w.nPos < NET_HELLO_MIN) PutUint(&w, 0, 1);
            break;
        case NET_MSG_WELCOME:
            if (m.byInputDelay > NET_MAX_INPUT_DELAY) return 0;
            PutBytes(&w, m.bySettings, NET_SETTINGS_SIZE);
            PutUint(&w, m.byInputDelay, 1);
            PutUint(&w, m.dwStartFrame, 4);
            break;
        case NET_MSG_REFUSE:
            if (m.byReason < 1 || m.byReason > NET_REFUSE_LAST || !VersionValid(m.szVersion)) return 0;
            PutUint(&w, m.byReason, 1);
            PutUint(&w, m.wProtocol, 2);
            PutVersion(&w, m.szVersion);
            break;
        case NET_MSG_INPUT:
            if (m.nCount < 0 || m.nCount > NET_MAX_INPUTS) return 0;
            if (uint64_t(m.dwFirst) + uint64_t(m.nCount) > 0xFFFFFFFFull) return 0;
            PutUint(&w, m.dwFirst, 4);
            PutUint(&w, m.dwAck, 4);
            PutUint(&w, uint8_t(m.chAdvantage), 1);
            PutUint(&w, uint64_t(m.nCount), 1);
            for (int i = 0; i < m.nCount; ++i) PutVarint(&w, m.dwInput[i]);
            break;
        case NET_MSG_CHECKSUM:
            PutUint(&w, m.dwFrame, 4);
            PutUint(&w, m.qwChecksum, 8);
            break;
        case NET_MSG_BYE:
            if (m.byReason < 1 || m.byReason > NET_BYE_LAST) return 0;
            PutUint(&w, m.byReason, 1);
            PutUint(&w, m.dwFrame, 4);
            break;
        case NET_MSG_CHALLENGE:
            PutUint(&w, m.qwEcho, 8);
            break;
        default:
            return 0;
    }
    return w.bOk ? int(w.nPos) : 0;
}

bool NetDecode(const uint8_t* lpData, size_t nSize, NETMSG* lpMsg) {
    if (nSize > NET_MAX_MESSAGE) return false;
    READER r{lpData, nSize, 0, true};
    NETMSG& m = *lpMsg;
    m = NETMSG{};
    m.byType = uint8_t(GetUint(&r, 1));
    switch (m.byType) {
        case NET_MSG_HELLO:
            if (GetUint(&r, 4) != NET_MAGIC) return false;
            m.wProtocol = uint16_t(GetUint(&r, 2));
            m.qwEcho = GetUint(&r, 8);
            if (r.bOk && m.wProtocol != NET_PROTOCOL) return true;  // the rest is another version's
            m.qwRulesHash = GetUint(&r, 8);
            GetVersion(&r, m.szVersion);
            while (r.bOk && r.nPos < NET_HELLO_MIN)
                if (GetUint(&r, 1) != 0) return false;
            break;
        case NET_MSG_WELCOME:
            GetBytes(&r, m.bySettings, NET_SETTINGS_SIZE);
            m.byInputDelay = uint8_t(GetUint(&r, 1));
            m.dwStartFrame = uint32_t(GetUint(&r, 4));
            if (m.byInputDelay > NET_MAX_INPUT_DELAY) return false;
            break;
        case NET_MSG_REFUSE:
            m.byReason = uint8_t(GetUint(&r, 1));
            m.wProtocol = uint16_t(GetUint(&r, 2));
            GetVersion(&r, m.szVersion);
            if (m.byReason < 1 || m.byReason > NET_REFUSE_LAST) return false;
            break;
        case NET_MSG_INPUT:
            m.dwFirst = uint32_t(GetUint(&r, 4));
            m.dwAck = uint32_t(GetUint(&r, 4));
            m.chAdvantage = int8_t(uint8_t(GetUint(&r, 1)));
            m.nCount = int(GetUint(&r, 1));
            if (m.nCount > NET_MAX_INPUTS) return false;
            if (uint64_t(m.dwFirst) + uint64_t(m.nCount) > 0xFFFFFFFFull) return false;
            for (int i = 0; i < m.nCount && r.bOk; ++i) m.dwInput[i] = GetVarint(&r);
            break;
        case NET_MSG_CHECKSUM:
            m.dwFrame = uint32_t(GetUint(&r, 4));
            m.qwChecksum = GetUint(&r, 8);
            break;
        case NET_MSG_BYE:
            m.byReason = uint8_t(GetUint(&r, 1));
            m.dwFrame = uint32_t(GetUint(&r, 4));
            if (m.byReason < 1 || m.byReason > NET_BYE_LAST) return false;
            break;
        case NET_MSG_CHALLENGE:
            m.qwEcho = GetUint(&r, 8);
            break;
        default:
            return false;
    }
    return r.bOk && r.nPos == nSize;
}
