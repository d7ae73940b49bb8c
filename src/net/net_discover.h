// Games on the local network: a guest's query broadcast to UDP ports 27810..27819 on each
// interface's broadcast address (and the machine itself), answered by a host while it waits for
// a guest with its name, game version and port, to queries from the local network only. The
// query is 64 bytes and every answer smaller, so a forged query gets no more back than it sent.
#pragma once
#include <cstddef>
#include <cstdint>

struct _ENetHost;
struct NETSESSION;

constexpr uint16_t NET_DISCOVER_FIRST_PORT = 27810;
constexpr int NET_DISCOVER_PORTS = 10;
constexpr size_t NET_DISCOVER_QUERY_SIZE = 64;
constexpr int NET_DISCOVER_MAX_GAMES = 4;  // what the online screen has room for

struct NETGAME {
    char szAddress[24] = {};  // "a.b.c.d:port", what --join takes
    char szName[33] = {};     // the host machine's name, printable ASCII
    char szVersion[17] = {};  // its game version
};

// The codec. The writers return the size written (0 if it does not fit); the readers are strict:
// exact sizes, known magic and version, printable text, a port other than 0.
size_t NetDiscoverWriteQuery(uint8_t* lpOut, size_t nSize);
bool NetDiscoverIsQuery(const uint8_t* lpData, size_t nSize);
size_t NetDiscoverWriteAnswer(uint8_t* lpOut, size_t nSize, const char* szName, const char* szVersion,
                              uint16_t wPort);
bool NetDiscoverReadAnswer(const uint8_t* lpData, size_t nSize, NETGAME* lpGame, uint16_t* lpwPort);
// For the session's intercept hook: true when the datagram just received is a discovery one
// (a waiting host answers a query; the rest is dropped). ENet never sees those.
bool NetDiscoverTake(NETSESSION* lpNet, _ENetHost* lpHost);

// The list on the online screen: once a frame, queries every 1.5 s and answers read; a game
// not heard for 4 s leaves the list. Returns how many games are listed (at most nMax).
int NetDiscoverService(uint32_t dwNowMs, NETGAME* lpGames, int nMax);
// Closes the listing socket.
void NetDiscoverStop();
