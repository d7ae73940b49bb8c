// Meeting through a lobby server (lobby_proto.h), on the session's own ENet socket so that every
// router on the way keeps one mapping for the lobby, the punches and the game:
//   host: REGISTER, the room code, KEEPALIVEs that keep the room and the router's mapping;
//   guest: JOIN by code;
//   both, once INTRO names the other side: a first PUNCH to each of its addresses with a small
//   time-to-live (it opens our own router without reaching the other's, whose router would
//   otherwise keep a record that takes the port it is about to use), then PUNCHes at the normal
//   time-to-live; every PUNCH is answered at the address it came from;
//   guest: the ENet connection goes to the first address a PUNCH or its answer came from;
//   no direct connection within a few seconds: both bind to the server's relay and the guest
//   connects to the server's address, which forwards the datagrams unchanged.
// The session (NetHost, or NetJoin with port 0 for a guest who knows only a code) must be open.
#pragma once
#include <cstddef>
#include <cstdint>

struct _ENetHost;

enum {
    NETLOBBY_EV_NONE = 0,
    NETLOBBY_EV_ROOM,         // host: the room's code is known (NetLobbyCode)
    NETLOBBY_EV_UNREACHABLE,  // the server does not answer (a host keeps trying)
    NETLOBBY_EV_UNKNOWN,      // no such room: a wrong or expired code, or its host left
    NETLOBBY_EV_TAKEN,        // the room already has its guest
    NETLOBBY_EV_VERSION,      // the host plays another game version
    NETLOBBY_EV_BUSY,         // the server is full, or has had too many requests from here
    NETLOBBY_EV_REFUSED,      // the server refused the request (another lobby protocol, bad request)
    NETLOBBY_EV_NO_ROUTE,     // no direct route, and none through the relay
};

enum { NETLOBBY_ROUTE_NONE = 0, NETLOBBY_ROUTE_DIRECT = 1, NETLOBBY_ROUTE_RELAY = 2 };

// "HOST[:PORT]", the port 27820 when left out.
bool NetLobbyParseAddress(const char* szText, char* szHost, size_t nHostSize, uint16_t* lpwPort);

// Starts meeting for the open session: a guest joins szCode (6 code characters), a host (null)
// registers a room; dwNowMs is the clock NetLobbyService gets. False if the server's name does
// not resolve.
bool NetLobbyStart(const char* szServer, uint16_t wServerPort, const char* szCode, uint32_t dwNowMs);
// Once a frame, before NetService: resends, keep-alives, punches, the relay. Returns the next
// event (NETLOBBY_EV_*), 0 when there is none.
int NetLobbyService(uint32_t dwNowMs);
// For the session's intercept hook: true when the datagram just received is a lobby datagram
// (read here if it is for us, dropped otherwise); ENet never sees those.
bool NetLobbyTake(_ENetHost* lpHost);
// The room's code ("" before there is one).
const char* NetLobbyCode();
// What the meeting is doing: 1 talking to the server, 2 punching or connecting directly,
// 3 through the relay; 0 before it starts or once it is over.
int NetLobbyStage();
// How the connected peer is reached (NETLOBBY_ROUTE_*); direct for a session without a lobby.
int NetLobbyRoute();
// Ends the meeting; a host gives its room up. Call before NetClose.
void NetLobbyStop();
