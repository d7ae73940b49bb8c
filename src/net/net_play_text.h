// The messages of a net session: the player's text on screen (in the language in force) and a
// short English name for logs.
#pragma once

enum {
    NETPLAY_MSG_NONE = 0,
    NETPLAY_MSG_WAITING,     // host: no guest yet
    NETPLAY_MSG_CONNECTING,  // guest: reaching the host
    NETPLAY_MSG_ESCAPE,      // how to give up waiting
    NETPLAY_MSG_CONNECTED,
    NETPLAY_MSG_REFUSED,            // the host turned us away
    NETPLAY_MSG_GUEST_REFUSED,      // host: another guest was turned away
    NETPLAY_MSG_LEFT,               // the peer ended the session
    NETPLAY_MSG_LOST,               // nothing heard from the peer
    NETPLAY_MSG_DESYNC,             // the two games differ
    NETPLAY_MSG_TITLE,              // the other player went back to the title
    NETPLAY_MSG_BAD_SETTINGS,       // the host's settings hold values the game does not take
    NETPLAY_MSG_NO_GUEST,           // host: no guest within the time allowed
    NETPLAY_MSG_NO_HOST,            // guest: no host within the time allowed
    NETPLAY_MSG_NO_NET,             // the network or the name could not be opened
    NETPLAY_MSG_ROOM,               // host: the room's code (NetLobbyCode) is known
    NETPLAY_MSG_NO_LOBBY,           // a room code without a lobby server set
    NETPLAY_MSG_LOBBY_UNREACHABLE,  // the lobby server does not answer (a host waits on)
    NETPLAY_MSG_ROOM_UNKNOWN,       // no room with that code (wrong, expired, its host left)
    NETPLAY_MSG_ROOM_TAKEN,         // the room has its guest
    NETPLAY_MSG_LOBBY_VERSION,      // the room's host plays another game version
    NETPLAY_MSG_LOBBY_BUSY,         // the lobby server is full or has had too many requests from here
    NETPLAY_MSG_LOBBY_REFUSED,      // the lobby server refused (another lobby protocol, bad request)
    NETPLAY_MSG_NO_ROUTE,           // no route to the other player, not even through the relay
    NETPLAY_MSG_COUNT
};

const char* NetPlayMessageText(int nMessage);
const char* NetPlayMessageName(int nMessage);
