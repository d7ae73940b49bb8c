// Platform layer: what the online play needs of the machine beyond ENet: the time-to-live of the
// ENet host's own UDP socket (ENet has no option for it) and the machine's own IPv4 addresses.
// The socket is passed as its number (a descriptor, or a Windows SOCKET). Built with online play
// only: posix_net/ or win32_net/.
#pragma once
#include <cstddef>
#include <cstdint>

// The socket's time-to-live for the datagrams it sends next; 0 if it cannot be read.
int Plat_SocketGetTtl(intptr_t hSocket);
bool Plat_SocketSetTtl(intptr_t hSocket, int nTtl);
// Error reports that come back for datagrams sent (time-to-live exceeded, port unreachable) must
// not break the socket's receiving: on Windows they would end the next receive with an error.
void Plat_SocketIgnoreErrors(intptr_t hSocket);
// This machine's IPv4 addresses of interfaces that are up, loopback left out, host order
// (192.168.1.20 is 0xC0A80114); at most nMax, returns how many.
int Plat_LocalAddresses(uint32_t* lpdwIp, int nMax);
// The broadcast addresses of this machine's IPv4 interfaces that are up and can broadcast,
// host order; at most nMax, returns how many.
int Plat_BroadcastAddresses(uint32_t* lpdwIp, int nMax);
// This machine's name (for the games listed on the local network); false if there is none.
bool Plat_HostName(char* szName, size_t nSize);
