// Platform layer: what the online play needs of the machine beyond ENet: the time-to-live of the
// ENet host's own UDP socket (ENet has no option for it) and the machine's own IPv4 addresses.
// The socket is passed as its number (a descriptor, or a Windows SOCKET). Built with online play
// only: posix_net/, win32_net/ or web/net/ (a browser, where ENet's sockets are message
// channels to the lobby server: net/enet_channel.cpp).
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

// False when the machine cannot send datagrams to any address it likes (a browser page): then it
// reaches others only through the lobby server, and offers no games on the local network.
bool Plat_NetDirect();
// The session's pace: waits dwMs. Where nothing may block (a browser, Node) the wait is left to
// the platform's loop, which waits that long once the pass is over.
void Plat_NetSleep(uint32_t dwMs);
// A room this game hosts is open under szCode ("": none any more); a page shows its link.
void Plat_NetShareRoom(const char* szCode);

// Builds without UDP sockets: a message channel to a server (szHost, wPort) stands in for a
// socket, one message a datagram, in order. Open returns its number (-1: none); Send drops what
// cannot go (a closed channel is opened again at a later send); Receive returns the next
// message's size, 0 when there is none (a message over nMax is dropped).
int Plat_ChannelOpen(const char* szHost, uint16_t wPort);
void Plat_ChannelSend(int nChannel, const uint8_t* lpData, size_t nSize);
int Plat_ChannelReceive(int nChannel, uint8_t* lpData, size_t nMax);
bool Plat_ChannelPending(int nChannel);
void Plat_ChannelClose(int nChannel);
