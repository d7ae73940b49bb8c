// ENet's socket functions for builds without UDP sockets (the browser): each ENet socket sends
// its datagrams over one message channel of the platform (plat_net.h), opened to the first
// address it sends to, the lobby server; every message received is a datagram from there. Such a
// build links this file instead of ENet's own socket layer (unix.c), so the session, the lobby
// and the relay run the same code as on the desktop.
//
// A page can reach nobody but its server: datagrams for any other address are dropped as a
// network would drop them. Names resolve to placeholder addresses the channel maps back to the
// name, since the page cannot look names up itself.
#include <enet/enet.h>

#include <arpa/inet.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "platform/plat_net.h"

namespace {

constexpr int kSockets = 4;
constexpr int kNames = 8;
constexpr uint32_t kNameBase = 0xC6120000u;  // 198.18.0.0/15: never a peer's address
constexpr size_t kMaxDatagram = 4096;

struct CHANNELSOCKET {
    bool bUsed = false;
    uint16_t wPort = 0;  // the port it is bound to (what a lobby is told)
    int nChannel = -1;   // the platform's channel, once something was sent
    ENetAddress To{};    // the channel's far end
};
CHANNELSOCKET g_Socket[kSockets];
std::string g_szName[kNames];  // the names behind the placeholder addresses kNameBase + 1 + i
uint32_t g_dwTimeBase;

CHANNELSOCKET* Socket(ENetSocket s) {
    return s >= 0 && s < kSockets && g_Socket[s].bUsed ? &g_Socket[s] : nullptr;
}

uint32_t NowMs() {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// The text the platform opens a channel to: the name, or the dotted address.
std::string HostText(const ENetAddress& a) {
    const uint32_t dwIp = ntohl(a.host);
    if (dwIp > kNameBase && dwIp <= kNameBase + kNames && !g_szName[dwIp - kNameBase - 1].empty())
        return g_szName[dwIp - kNameBase - 1];
    char sz[16];
    std::snprintf(sz, sizeof(sz), "%u.%u.%u.%u", dwIp >> 24, (dwIp >> 16) & 255, (dwIp >> 8) & 255,
                  dwIp & 255);
    return sz;
}

}  // namespace

extern "C" {

int enet_initialize() {
    return 0;
}

void enet_deinitialize() {}

enet_uint32 enet_host_random_seed() {
    return std::random_device{}();
}

enet_uint32 enet_time_get() {
    return NowMs() - g_dwTimeBase;
}

void enet_time_set(enet_uint32 dwTime) {
    g_dwTimeBase = NowMs() - dwTime;
}

int enet_address_set_host_ip(ENetAddress* lpAddress, const char* szName) {
    in_addr a{};
    if (inet_pton(AF_INET, szName, &a) != 1) return -1;
    lpAddress->host = a.s_addr;
    return 0;
}

int enet_address_set_host(ENetAddress* lpAddress, const char* szName) {
    if (enet_address_set_host_ip(lpAddress, szName) == 0) return 0;
    if (!szName[0] || std::strlen(szName) > 253) return -1;
    int i = 0;
    while (i < kNames && !g_szName[i].empty() && g_szName[i] != szName) ++i;
    if (i == kNames) return -1;
    g_szName[i] = szName;
    lpAddress->host = htonl(kNameBase + 1 + uint32_t(i));
    return 0;
}

int enet_address_get_host_ip(const ENetAddress* lpAddress, char* szName, size_t nLength) {
    return inet_ntop(AF_INET, &lpAddress->host, szName, socklen_t(nLength)) ? 0 : -1;
}

int enet_address_get_host(const ENetAddress* lpAddress, char* szName, size_t nLength) {
    const std::string sz = HostText(*lpAddress);
    if (sz.size() >= nLength) return -1;
    std::memcpy(szName, sz.c_str(), sz.size() + 1);
    return 0;
}

ENetSocket enet_socket_create(ENetSocketType nType) {
    if (nType != ENET_SOCKET_TYPE_DATAGRAM) return ENET_SOCKET_NULL;
    for (int i = 0; i < kSockets; ++i) {
        if (g_Socket[i].bUsed) continue;
        g_Socket[i] = CHANNELSOCKET{};
        g_Socket[i].bUsed = true;
        return i;
    }
    return ENET_SOCKET_NULL;
}

int enet_socket_bind(ENetSocket s, const ENetAddress* lpAddress) {
    CHANNELSOCKET* p = Socket(s);
    if (!p) return -1;
    // An unnamed port is the kind a system would pick; it only tells the lobby who we are.
    p->wPort =
        lpAddress && lpAddress->port ? lpAddress->port : uint16_t(49152 + enet_host_random_seed() % 16384);
    return 0;
}

int enet_socket_get_address(ENetSocket s, ENetAddress* lpAddress) {
    const CHANNELSOCKET* p = Socket(s);
    if (!p) return -1;
    lpAddress->host = ENET_HOST_ANY;
    lpAddress->port = p->wPort;
    return 0;
}

int enet_socket_listen(ENetSocket, int) {
    return -1;
}

ENetSocket enet_socket_accept(ENetSocket, ENetAddress*) {
    return ENET_SOCKET_NULL;
}

int enet_socket_connect(ENetSocket, const ENetAddress*) {
    return -1;
}

int enet_socket_send(ENetSocket s, const ENetAddress* lpTo, const ENetBuffer* lpBuffers, size_t nBuffers) {
    CHANNELSOCKET* p = Socket(s);
    if (!p || !lpTo) return -1;
    uint8_t buf[kMaxDatagram];
    size_t n = 0;
    for (size_t i = 0; i < nBuffers; ++i) {
        if (lpBuffers[i].dataLength > sizeof(buf) - n) return -1;
        std::memcpy(buf + n, lpBuffers[i].data, lpBuffers[i].dataLength);
        n += lpBuffers[i].dataLength;
    }
    if (p->nChannel < 0) {
        p->nChannel = Plat_ChannelOpen(HostText(*lpTo).c_str(), lpTo->port);
        if (p->nChannel < 0) return -1;
        p->To = *lpTo;
    }
    // Anyone else is out of reach: the datagram is lost on the way, as a network loses it.
    if (lpTo->host != p->To.host || lpTo->port != p->To.port) return int(n);
    Plat_ChannelSend(p->nChannel, buf, n);
    return int(n);
}

int enet_socket_receive(ENetSocket s, ENetAddress* lpFrom, ENetBuffer* lpBuffers, size_t nBuffers) {
    CHANNELSOCKET* p = Socket(s);
    if (!p || nBuffers != 1) return -1;
    if (p->nChannel < 0) return 0;
    const int n =
        Plat_ChannelReceive(p->nChannel, static_cast<uint8_t*>(lpBuffers[0].data), lpBuffers[0].dataLength);
    if (n > 0 && lpFrom) *lpFrom = p->To;
    return n > 0 ? n : 0;
}

// Nothing may block in a page: a wait reports what is there now.
int enet_socket_wait(ENetSocket s, enet_uint32* lpCondition, enet_uint32) {
    CHANNELSOCKET* p = Socket(s);
    if (!p) return -1;
    const bool bReady =
        (*lpCondition & ENET_SOCKET_WAIT_RECEIVE) && p->nChannel >= 0 && Plat_ChannelPending(p->nChannel);
    *lpCondition = bReady ? ENET_SOCKET_WAIT_RECEIVE : ENET_SOCKET_WAIT_NONE;
    return 0;
}

int enet_socketset_select(ENetSocket, ENetSocketSet*, ENetSocketSet*, enet_uint32) {
    return -1;
}

int enet_socket_set_option(ENetSocket s, ENetSocketOption, int) {
    return Socket(s) ? 0 : -1;
}

int enet_socket_get_option(ENetSocket s, ENetSocketOption, int* lpValue) {
    if (!Socket(s)) return -1;
    *lpValue = 0;
    return 0;
}

int enet_socket_shutdown(ENetSocket, ENetSocketShutdown) {
    return 0;
}

void enet_socket_destroy(ENetSocket s) {
    CHANNELSOCKET* p = Socket(s);
    if (!p) return;
    if (p->nChannel >= 0) Plat_ChannelClose(p->nChannel);
    *p = CHANNELSOCKET{};
}

}  // extern "C"
