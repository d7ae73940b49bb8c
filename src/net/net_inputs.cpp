// The input window: two rings of NET_RING frames indexed by frame number.
#include "net/net_inputs.h"

#include <algorithm>

namespace {

// Our own view: how far our inputs run ahead of the peer's that we hold.
int LocalAdvantage(const NETINPUTS* lpWin) {
    int64_t n = int64_t(lpWin->dwLocalNext) - int64_t(lpWin->dwRemoteNext);
    return int(std::clamp<int64_t>(n, -127, 127));
}

}  // namespace

void NetInputsReset(NETINPUTS* lpWin, uint32_t dwStart) {
    *lpWin = NETINPUTS{};
    lpWin->dwStart = dwStart;
    lpWin->dwLocalNext = dwStart;
    lpWin->dwPeerAck = dwStart;
    lpWin->dwRemoteNext = dwStart;
}

bool NetInputsAddLocal(NETINPUTS* lpWin, uint32_t dwFrame, uint32_t dwInput) {
    if (dwFrame != lpWin->dwLocalNext || dwFrame == 0xFFFFFFFFu) return false;
    if (dwFrame - lpWin->dwPeerAck >= NET_RING) return false;
    lpWin->dwLocal[dwFrame % NET_RING] = dwInput;
    ++lpWin->dwLocalNext;
    return true;
}

bool NetInputsRemote(const NETINPUTS* lpWin, uint32_t dwFrame, uint32_t* lpdwInput) {
    if (dwFrame < lpWin->dwStart || dwFrame >= lpWin->dwRemoteNext) return false;
    if (lpWin->dwRemoteNext - dwFrame > NET_RING) return false;
    *lpdwInput = lpWin->dwRemote[dwFrame % NET_RING];
    return true;
}

void NetInputsMessage(const NETINPUTS* lpWin, NETMSG* lpMsg) {
    *lpMsg = NETMSG{};
    lpMsg->byType = NET_MSG_INPUT;
    lpMsg->dwFirst = lpWin->dwPeerAck;
    lpMsg->dwAck = lpWin->dwRemoteNext;
    lpMsg->chAdvantage = int8_t(LocalAdvantage(lpWin));
    lpMsg->nCount = int(std::min<uint32_t>(lpWin->dwLocalNext - lpWin->dwPeerAck, NET_MAX_INPUTS));
    for (int i = 0; i < lpMsg->nCount; ++i)
        lpMsg->dwInput[i] = lpWin->dwLocal[(lpMsg->dwFirst + uint32_t(i)) % NET_RING];
}

int NetInputsApply(NETINPUTS* lpWin, const NETMSG* lpMsg) {
    if (lpMsg->byType != NET_MSG_INPUT || lpMsg->nCount < 0 || lpMsg->nCount > NET_MAX_INPUTS) return -1;
    // The peer cannot acknowledge what we never sent, nor send frames before the session or past a gap.
    if (lpMsg->dwAck > lpWin->dwLocalNext) return -1;
    if (lpMsg->dwFirst < lpWin->dwStart || lpMsg->dwFirst > lpWin->dwRemoteNext) return -1;
    // Messages travel unordered: an older one carries an older acknowledgement and advantage.
    const uint32_t dwEnd = lpMsg->dwFirst + uint32_t(lpMsg->nCount);
    if (lpMsg->dwAck >= lpWin->dwPeerAck && dwEnd >= lpWin->dwRemoteNext) {
        lpWin->dwPeerAck = lpMsg->dwAck;
        lpWin->nPeerAdvantage = lpMsg->chAdvantage;
    }
    int nNew = 0;
    for (uint32_t f = lpWin->dwRemoteNext; f < dwEnd; ++f, ++nNew)
        lpWin->dwRemote[f % NET_RING] = lpMsg->dwInput[f - lpMsg->dwFirst];
    if (dwEnd > lpWin->dwRemoteNext) lpWin->dwRemoteNext = dwEnd;
    return nNew;
}

int NetInputsAdvantage(const NETINPUTS* lpWin) {
    return (LocalAdvantage(lpWin) - lpWin->nPeerAdvantage) / 2;
}
