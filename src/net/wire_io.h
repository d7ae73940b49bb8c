// A bounded writer and a bounded reader over one datagram, shared by the session and lobby codecs.
// Integers are little-endian. A write or read past the end fails the whole record (bOk false);
// a failed read yields zeros.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

struct WIREWRITER {
    uint8_t* lpOut;
    size_t nSize;
    size_t nPos;
    bool bOk;
};

struct WIREREADER {
    const uint8_t* lpData;
    size_t nSize;
    size_t nPos;
    bool bOk;
};

inline void PutBytes(WIREWRITER* w, const void* lpData, size_t n) {
    if (!w->bOk || w->nSize - w->nPos < n) {
        w->bOk = false;
        return;
    }
    if (n) std::memcpy(w->lpOut + w->nPos, lpData, n);
    w->nPos += n;
}

inline void PutUint(WIREWRITER* w, uint64_t v, int nBytes) {
    uint8_t b[8];
    for (int i = 0; i < nBytes; ++i) b[i] = uint8_t(v >> (8 * i));
    PutBytes(w, b, size_t(nBytes));
}

inline void GetBytes(WIREREADER* r, void* lpOut, size_t n) {
    if (!r->bOk || r->nSize - r->nPos < n) {
        r->bOk = false;
        std::memset(lpOut, 0, n);
        return;
    }
    if (n) std::memcpy(lpOut, r->lpData + r->nPos, n);
    r->nPos += n;
}

inline uint64_t GetUint(WIREREADER* r, int nBytes) {
    uint8_t b[8];
    GetBytes(r, b, size_t(nBytes));
    uint64_t v = 0;
    for (int i = nBytes - 1; i >= 0; --i) v = v << 8 | b[i];
    return v;
}
