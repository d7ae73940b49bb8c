// A waiting host under datagrams from an address that never joined: whatever arrives (ENet's
// framing with a right CRC32, so that it gets past the checksum), the host never admits it,
// since it cannot read the challenge, and never sends back more than twice what it got (ENet
// acknowledges each reliable command, 8 bytes for as few as 4), nor more than what it got while
// only CONNECTs came. An input is a run of datagrams, each a length byte and that many bytes;
// the checksum field of each is filled in here. Sent over 127.0.0.1.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "net/net_session.h"

namespace {

void Check(bool b) {
    if (!b) std::abort();
}

int g_nSocket = -1;

size_t Drain() {
    uint8_t buf[4096];
    size_t n = 0;
    ssize_t r;
    while ((r = recv(g_nSocket, buf, sizeof(buf), MSG_DONTWAIT)) >= 0) n += size_t(r);
    return n;
}

uint32_t Load32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* lpData, size_t nSize) {
    if (g_nSocket < 0) {
        g_nSocket = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        Check(g_nSocket >= 0 && bind(g_nSocket, reinterpret_cast<sockaddr*>(&a), sizeof(a)) == 0);
    }
    NETSETUP s;
    std::strcpy(s.szVersion, "1.0");
    s.szBindAddress = "127.0.0.1";
    Check(NetHost(0, &s));
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(NetLocalPort());
    Drain();
    uint32_t dwNow = 1000, dwConnectID = 0;
    size_t nIn = 0, nOut = 0, nPos = 0;
    bool bOnlyConnects = true;
    while (nPos < nSize) {
        const size_t nLen = lpData[nPos++];
        uint8_t d[256];
        const size_t n = nLen < nSize - nPos ? nLen : nSize - nPos;
        std::memcpy(d, lpData + nPos, n);
        nPos += n;
        // The checksum field follows the peer id (and the sent time); it is summed holding the
        // connection's id as sent in its CONNECT (0 for datagrams to no peer).
        const size_t nHeader = n >= 2 && (d[0] & 0x80) ? 4 : 2;
        if (n >= nHeader + 4) {
            const bool bNoPeer = ((d[0] << 8 | d[1]) & 0x0FFF) == 0x0FFF;
            bOnlyConnects = bOnlyConnects && bNoPeer;
            const size_t nCommand = nHeader + 4;
            if (bNoPeer && n >= nCommand + 48 && (d[nCommand] & 0x0F) == 2)
                dwConnectID = Load32(d + nCommand + 40);
            const uint32_t dwSeed = bNoPeer ? 0 : dwConnectID;
            std::memcpy(d + nHeader, &dwSeed, 4);
            const uint32_t dwCrc = htonl(uint32_t(crc32(0, d, uInt(n))));
            std::memcpy(d + nHeader, &dwCrc, 4);
        }
        sendto(g_nSocket, d, n, 0, reinterpret_cast<const sockaddr*>(&to), sizeof(to));
        nIn += n;
        NETEVENT ev[4];
        NetService(dwNow, ev, 4);
        dwNow += 150;  // half-open connections and pending guests time out within the input
        Check(NetState() == NET_WAITING);
        nOut += Drain();
        Check(nOut <= (bOnlyConnects ? nIn : 2 * nIn));
    }
    NetClose(0, 0);
    nOut += Drain();
    Check(nOut <= 2 * nIn);
    return 0;
}
