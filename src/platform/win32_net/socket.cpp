// The ENet socket's time-to-live and the machine's addresses on Windows.
// Winsock first: the others build on it.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <iphlpapi.h>
#include <mstcpip.h>

#include <vector>

#include "platform/plat_net.h"

#ifndef SIO_UDP_CONNRESET
#define SIO_UDP_CONNRESET _WSAIOW(IOC_VENDOR, 12)
#endif
#ifndef SIO_UDP_NETRESET
#define SIO_UDP_NETRESET _WSAIOW(IOC_VENDOR, 15)
#endif

int Plat_SocketGetTtl(intptr_t hSocket) {
    DWORD dwTtl = 0;
    int nSize = sizeof(dwTtl);
    return getsockopt(SOCKET(hSocket), IPPROTO_IP, IP_TTL, reinterpret_cast<char*>(&dwTtl), &nSize) == 0
               ? int(dwTtl)
               : 0;
}

bool Plat_SocketSetTtl(intptr_t hSocket, int nTtl) {
    DWORD dwTtl = DWORD(nTtl);
    return setsockopt(SOCKET(hSocket), IPPROTO_IP, IP_TTL, reinterpret_cast<const char*>(&dwTtl),
                      sizeof(dwTtl)) == 0;
}

// Windows ends the next receive with WSAENETRESET after a "time-to-live exceeded" report and with
// WSAECONNRESET after "port unreachable"; ENet would take either as a broken socket.
void Plat_SocketIgnoreErrors(intptr_t hSocket) {
    BOOL bReport = FALSE;
    DWORD dwBytes = 0;
    WSAIoctl(SOCKET(hSocket), SIO_UDP_CONNRESET, &bReport, sizeof(bReport), nullptr, 0, &dwBytes, nullptr,
             nullptr);
    WSAIoctl(SOCKET(hSocket), SIO_UDP_NETRESET, &bReport, sizeof(bReport), nullptr, 0, &dwBytes, nullptr,
             nullptr);
}

namespace {

// Calls fn(address, on-link prefix length) for each IPv4 address of each adapter that is up and
// not the loopback one.
template <typename FN>
void ForEachAddress(FN fn) {
    ULONG nSize = 16 * 1024;
    std::vector<unsigned char> buf;
    ULONG nResult = ERROR_BUFFER_OVERFLOW;
    for (int nTry = 0; nTry < 3 && nResult == ERROR_BUFFER_OVERFLOW; ++nTry) {
        buf.resize(nSize);
        nResult = GetAdaptersAddresses(
            AF_INET, GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER, nullptr,
            reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buf.data()), &nSize);
    }
    if (nResult != NO_ERROR) return;
    for (auto* p = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buf.data()); p; p = p->Next) {
        if (p->OperStatus != IfOperStatusUp || p->IfType == IF_TYPE_SOFTWARE_LOOPBACK) continue;
        for (auto* a = p->FirstUnicastAddress; a; a = a->Next) {
            if (a->Address.lpSockaddr->sa_family != AF_INET) continue;
            fn(ntohl(reinterpret_cast<const sockaddr_in*>(a->Address.lpSockaddr)->sin_addr.s_addr),
               unsigned(a->OnLinkPrefixLength));
        }
    }
}

// Adds dwIp to the list once, while there is room.
void AddOnce(uint32_t* lpdwIp, int nMax, int* lpn, uint32_t dwIp) {
    for (int i = 0; i < *lpn; ++i)
        if (lpdwIp[i] == dwIp) return;
    if (*lpn < nMax) lpdwIp[(*lpn)++] = dwIp;
}

}  // namespace

int Plat_LocalAddresses(uint32_t* lpdwIp, int nMax) {
    int n = 0;
    ForEachAddress([&](uint32_t dwIp, unsigned) {
        if ((dwIp >> 24) != 127 && dwIp != 0) AddOnce(lpdwIp, nMax, &n, dwIp);
    });
    return n;
}

int Plat_BroadcastAddresses(uint32_t* lpdwIp, int nMax) {
    int n = 0;
    ForEachAddress([&](uint32_t dwIp, unsigned nPrefix) {
        if (nPrefix > 0 && nPrefix < 31) AddOnce(lpdwIp, nMax, &n, dwIp | (0xFFFFFFFFu >> nPrefix));
    });
    return n;
}

bool Plat_HostName(char* szName, size_t nSize) {
    if (nSize == 0 || gethostname(szName, int(nSize)) != 0) return false;
    szName[nSize - 1] = 0;
    return szName[0] != 0;
}
