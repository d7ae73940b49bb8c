// The lobby server's state: rooms, relays and what each source address may still do, driven by
// the datagrams it receives and by the clock. No sockets here: the program (main.cpp) hands in
// each datagram with its sender and the time, and sends what the state asks it to through
// lpfnSend. The functions work on the program's one lobby, *g_lpLobby. A peer is a UDP address
// or a WebSocket connection (lobby_ws.cpp); both meet in the same rooms and relays.
//
// Everything that comes in is untrusted. The server only ever sends to an address that has sent to
// it: answers go back to the sender, no answer is longer than its request, an INTRO goes to the
// host of a room that proved it receives at its address, and relayed datagrams go between the two
// endpoints of one meeting once both have bound to it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "net/lobby_proto.h"

constexpr size_t LOBBY_MAX_DATAGRAM = 1500;  // longest datagram relayed (ENet's stay below 1400)
constexpr size_t LOBBY_PEER_TEXT = 32;       // LobbyPeerText's longest text and its NUL

// A peer of the lobby: a UDP address, or one WebSocket connection (qwConn, never 0 and never used
// again), whose Addr is then the TCP address it came from (for the limits of that address and the
// log). A WebSocket peer cannot be reached directly: its meetings go through the relay.
struct LOBBYPEER {
    LOBBYADDR Addr;
    uint64_t qwConn = 0;
    LOBBYPEER() = default;
    LOBBYPEER(const LOBBYADDR& a, uint64_t q = 0) : Addr(a), qwConn(q) {}
};
inline bool operator==(const LOBBYPEER& a, const LOBBYPEER& b) {
    return a.Addr == b.Addr && a.qwConn == b.qwConn;
}

struct LOBBYCONFIG {
    int nMaxRooms = 20000;
    int nMaxRelays = 2000;
    int nMaxSources = 100000;          // source addresses remembered for their limits
    uint32_t dwRoomIdleMs = 30000;     // a room without its host's KEEPALIVE (or any use) this long ends
    uint32_t dwConfirmMs = 10000;      // a room whose host never sent its first KEEPALIVE ends sooner
    uint16_t wRoomLifetime = 600;      // seconds a room lasts without a guest
    uint8_t byKeepalive = 2;           // seconds between a host's KEEPALIVEs
    uint32_t dwRelayIdleMs = 30000;    // a relay that forwards nothing this long ends
    uint32_t dwSourceIdleMs = 120000;  // an address with no room or relay is forgotten after this
    int nRoomsPerSource = 8;
    int nRelaysPerSource = 8;
    int nRequestsPerMinute = 1200;  // lobby datagrams from one address (burst nRequestBurst)
    int nRequestBurst = 40;
    int nWrongCodesPerMinute = 5;      // JOINs with unknown codes (burst the same); then ERROR, silence
    int nRelayPacketsPerSecond = 300;  // each way of a relay (burst twice as many)
    int nRelayBytesPerSecond = 65536;
    int nLogLinesPerSecond = 50;  // event lines (burst 4 times as many); the rest are only counted
};

// A token bucket; nLevel counts tokens times 60000 so that per-minute and per-second rates both
// refill by a whole number each millisecond.
struct LOBBYBUCKET {
    int64_t nLevel = -1;  // -1: new, full at first use
    uint64_t qwLastMs = 0;
};

struct LOBBYSOURCE {
    LOBBYBUCKET Requests;
    LOBBYBUCKET WrongCodes;
    bool bGuessWarned = false;  // ERROR too-many sent; silence until a wrong code is allowed again
    int nRooms = 0;
    int nRelays = 0;  // relay sides bound from this address
    uint64_t qwLastMs = 0;
};

struct LOBBYROOM {
    LOBBYPEER Host;
    uint64_t qwKey = 0;
    char szVersion[LOBBY_VERSION_MAX + 1] = {};
    int nHostLocal = 0;
    LOBBYADDR HostLocal[LOBBY_MAX_LOCAL];
    bool bConfirmed = false;  // the host's first KEEPALIVE came
    bool bTaken = false;
    LOBBYPEER Guest;
    int nGuestLocal = 0;
    LOBBYADDR GuestLocal[LOBBY_MAX_LOCAL];
    uint64_t qwToken = 0;
    uint64_t qwMadeMs = 0;
    uint64_t qwSeenMs = 0;
};

struct LOBBYRELAY {
    uint32_t dwCode = 0;
    LOBBYPEER Side[2];  // the host and the guest, as the INTRO named them
    bool bBound[2] = {};
    LOBBYBUCKET Packets[2];  // what each side may still send
    LOBBYBUCKET Bytes[2];
    uint64_t qwPackets = 0;
    uint64_t qwLastMs = 0;
};

// Why a datagram got no answer and went nowhere.
enum {
    LOBBY_DROP_UNBOUND = 0,  // not a lobby datagram, and its sender is in no bound relay
    LOBBY_DROP_BAD,          // a lobby datagram that does not decode, or is no request
    LOBBY_DROP_RATE,         // too many lobby datagrams from its address
    LOBBY_DROP_GUESS,        // a JOIN from an address that is silenced for wrong codes
    LOBBY_DROP_RELAY_RATE,   // over the relay's packet or byte rate
    LOBBY_DROP_SIZE,         // longer than LOBBY_MAX_DATAGRAM
    LOBBY_DROP_BUSY,         // too many source addresses to remember another
    LOBBY_DROP_SEND,         // the socket did not take an outgoing datagram
    LOBBY_DROP_COUNT,
};

struct LOBBYSTATS {
    uint64_t qwPacketsIn = 0, qwBytesIn = 0;
    uint64_t qwPacketsOut = 0, qwBytesOut = 0;  // answers and INTROs (relayed ones not counted)
    uint64_t qwRelayedPackets = 0, qwRelayedBytes = 0;
    uint64_t qwRoomsMade = 0, qwMeetings = 0, qwRelaysMade = 0;
    uint64_t qwDropped[LOBBY_DROP_COUNT] = {};
    uint64_t qwRefused[LOBBY_ERROR_LAST + 1] = {};  // ERRORs sent, by reason
    uint64_t qwLogSuppressed = 0;                   // event lines over the log's rate
};

struct LOBBY {
    LOBBYCONFIG Config;
    std::unordered_map<uint32_t, LOBBYROOM> Rooms;       // by code
    std::unordered_map<uint64_t, uint32_t> RoomOfHost;   // host's LobbyEndKey -> code
    std::unordered_map<uint64_t, uint32_t> RoomOfToken;  // token -> code, once taken
    std::unordered_map<uint64_t, LOBBYRELAY> Relays;     // by token
    std::unordered_map<uint64_t, uint64_t> RelayOfEnd;   // bound peer's LobbyEndKey -> token
    std::unordered_map<uint32_t, LOBBYSOURCE> Sources;   // by IPv4 address
    LOBBYSTATS Stats;
    LOBBYBUCKET LogLines;
    uint64_t qwNowMs = 0;  // the time of the datagram or expiry being handled
    // Sends one datagram (a WebSocket peer: one message); false if the socket did not take it.
    bool (*lpfnSend)(const LOBBYPEER& To, const uint8_t* lpData, size_t nSize) = nullptr;
    // One line of the log, without its newline (null: no log).
    void (*lpfnLog)(const char* szLine) = nullptr;
    // 64 random bits for codes, keys and tokens.
    uint64_t (*lpfnRandom)() = nullptr;
};

extern LOBBY* g_lpLobby;

// Empties the lobby and takes a new configuration (the callbacks stay).
void LobbyReset(const LOBBYCONFIG& Config);

// One datagram from From at qwNowMs (a steady clock).
void LobbyReceive(const LOBBYPEER& From, const uint8_t* lpData, size_t nSize, uint64_t qwNowMs);

// A WebSocket peer closed: its room ends and its relay with it (it cannot come back).
void LobbyPeerGone(const LOBBYPEER& Peer, uint64_t qwNowMs);

// Ends idle and unused rooms, idle relays and forgotten sources; call about once a second.
void LobbyExpire(uint64_t qwNowMs);

// The counters as one log line.
void LobbyStatsLine(char* szOut, size_t nOutSize);

// Used by the parts of the lobby (lobby_state.cpp, lobby_rooms.cpp, lobby_relay.cpp).
uint64_t LobbyEndKey(const LOBBYPEER& Peer);
const char* LobbyPeerText(const LOBBYPEER& Peer, char szOut[LOBBY_PEER_TEXT]);
bool LobbyBucketTake(LOBBYBUCKET* lpBucket, uint64_t qwNowMs, int64_t nPerMinute, int64_t nBurst,
                     int64_t nCost);
void LobbyLogf(const char* szFormat, ...) __attribute__((format(printf, 1, 2)));
// Sends lpMsg to To; bAnswer: in answer to a request of nRequestSize bytes (never longer).
void LobbySend(const LOBBYPEER& To, const LOBBYMSG& Msg, size_t nRequestSize);
void LobbySendError(const LOBBYPEER& To, uint8_t byReason, uint8_t byRequest, size_t nRequestSize,
                    const char* szVersion = "");
void LobbyRemoveRoom(uint32_t dwCode, const char* szWhy);
void LobbyRemoveRelay(uint64_t qwToken, const char* szWhy);
void LobbyRegister(const LOBBYPEER& From, const LOBBYMSG& Msg, size_t nSize, uint64_t qwNowMs);
void LobbyKeepalive(const LOBBYPEER& From, const LOBBYMSG& Msg, size_t nSize, uint64_t qwNowMs);
void LobbyLeave(const LOBBYPEER& From, const LOBBYMSG& Msg);
void LobbyJoin(const LOBBYPEER& From, const LOBBYMSG& Msg, size_t nSize, uint64_t qwNowMs);
void LobbyRelayBind(const LOBBYPEER& From, const LOBBYMSG& Msg, size_t nSize, uint64_t qwNowMs);
void LobbyRelayForward(const LOBBYPEER& From, const uint8_t* lpData, size_t nSize, uint64_t qwNowMs);
