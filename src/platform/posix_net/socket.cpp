// The ENet socket's time-to-live and the machine's addresses on POSIX systems.
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/plat_net.h"

int Plat_SocketGetTtl(intptr_t hSocket) {
    int nTtl = 0;
    socklen_t nSize = sizeof(nTtl);
    return getsockopt(int(hSocket), IPPROTO_IP, IP_TTL, &nTtl, &nSize) == 0 ? nTtl : 0;
}

bool Plat_SocketSetTtl(intptr_t hSocket, int nTtl) {
    return setsockopt(int(hSocket), IPPROTO_IP, IP_TTL, &nTtl, sizeof(nTtl)) == 0;
}

// An unconnected UDP socket is not told of such reports unless it asks (IP_RECVERR).
void Plat_SocketIgnoreErrors(intptr_t) {}

namespace {

// Adds dwIp to the list once, while there is room.
void AddOnce(uint32_t* lpdwIp, int nMax, int* lpn, uint32_t dwIp) {
    for (int i = 0; i < *lpn; ++i)
        if (lpdwIp[i] == dwIp) return;
    if (*lpn < nMax) lpdwIp[(*lpn)++] = dwIp;
}

// The IPv4 addresses (bBroadcast: the broadcast addresses) of the interfaces that are up, less
// the loopback.
int InterfaceAddresses(uint32_t* lpdwIp, int nMax, bool bBroadcast) {
    ifaddrs* lpList = nullptr;
    if (getifaddrs(&lpList) != 0) return 0;
    int n = 0;
    for (const ifaddrs* p = lpList; p; p = p->ifa_next) {
        if (!p->ifa_addr || p->ifa_addr->sa_family != AF_INET) continue;
        if (!(p->ifa_flags & IFF_UP) || (p->ifa_flags & IFF_LOOPBACK)) continue;
        if (bBroadcast && (!(p->ifa_flags & IFF_BROADCAST) || !p->ifa_broadaddr)) continue;
        const sockaddr* lpAddr = bBroadcast ? p->ifa_broadaddr : p->ifa_addr;
        const uint32_t dwIp = ntohl(reinterpret_cast<const sockaddr_in*>(lpAddr)->sin_addr.s_addr);
        if ((dwIp >> 24) != 127 && dwIp != 0) AddOnce(lpdwIp, nMax, &n, dwIp);
    }
    freeifaddrs(lpList);
    return n;
}

}  // namespace

int Plat_LocalAddresses(uint32_t* lpdwIp, int nMax) {
    return InterfaceAddresses(lpdwIp, nMax, false);
}

int Plat_BroadcastAddresses(uint32_t* lpdwIp, int nMax) {
    return InterfaceAddresses(lpdwIp, nMax, true);
}

bool Plat_HostName(char* szName, size_t nSize) {
    if (nSize == 0 || gethostname(szName, nSize) != 0) return false;
    szName[nSize - 1] = 0;
    return szName[0] != 0;
}
