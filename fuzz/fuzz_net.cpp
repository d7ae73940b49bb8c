// Network packets: any bytes are refused or decode to a message that re-encodes to exactly those
// bytes; decoded INPUT messages go through the input window, whose bounds must hold whatever comes.
// An input is a run of packets, each a length byte and that many bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "net/net_codec.h"
#include "net/net_inputs.h"

namespace {

void Check(bool b) {
    if (!b) std::abort();
}

NETINPUTS g_Win;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* lpData, size_t nSize) {
    // Our side has sent 40 frames from frame 1000; the peer none yet.
    NetInputsReset(&g_Win, 1000);
    for (uint32_t f = 1000; f < 1040; ++f) Check(NetInputsAddLocal(&g_Win, f, f ^ 0x5A5A));
    size_t nPos = 0;
    while (nPos < nSize) {
        const size_t nLen = lpData[nPos++];
        const size_t nTake = nLen < nSize - nPos ? nLen : nSize - nPos;
        const uint8_t* lpPacket = lpData + nPos;
        nPos += nTake;

        NETMSG m;
        if (!NetDecode(lpPacket, nTake, &m)) continue;
        if (m.byType != NET_MSG_HELLO || m.wProtocol == NET_PROTOCOL) {
            uint8_t buf[NET_MAX_MESSAGE];
            const int n = NetEncode(&m, buf, sizeof(buf));
            Check(n > 0 && size_t(n) == nTake && std::memcmp(buf, lpPacket, nTake) == 0);
        }
        if (m.byType != NET_MSG_INPUT) continue;

        const NETINPUTS before = g_Win;
        const int nNew = NetInputsApply(&g_Win, &m);
        if (nNew < 0) {
            Check(std::memcmp(&before, &g_Win, sizeof(g_Win)) == 0);
            continue;
        }
        Check(g_Win.dwPeerAck >= before.dwPeerAck && g_Win.dwPeerAck <= g_Win.dwLocalNext);
        Check(g_Win.dwRemoteNext == before.dwRemoteNext + uint32_t(nNew));
        uint32_t dw = 0;
        for (int i = 0; i < m.nCount; ++i) {
            const uint32_t f = m.dwFirst + uint32_t(i);
            if (g_Win.dwRemoteNext - f > NET_RING) continue;  // forgotten, as it should be
            Check(NetInputsRemote(&g_Win, f, &dw));
            if (f >= before.dwRemoteNext) Check(dw == m.dwInput[i]);
        }
        Check(!NetInputsRemote(&g_Win, g_Win.dwRemoteNext, &dw));
        NETMSG out;
        NetInputsMessage(&g_Win, &out);
        Check(out.nCount >= 0 && out.nCount <= NET_MAX_INPUTS && out.dwFirst == g_Win.dwPeerAck);
        (void)NetInputsAdvantage(&g_Win);
        // Our side plays on a frame, as the game would.
        NetInputsAddLocal(&g_Win, g_Win.dwLocalNext, dw);
    }
    return 0;
}
