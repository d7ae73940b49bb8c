// What the online screen asks of online play: make a room, join one, give up, what is happening,
// and the games waiting on the local network. A build with online play fills g_lpNetOnline at
// start-up (NetOnlineInstall); without it the pointer stays null and the title has no online row.
// The screen itself holds no network code.
#pragma once
#include <cstdint>

#include "net/net_discover.h"

enum {
    NETONLINE_IDLE = 0,    // no session; nMessage says why the last one ended (0: none)
    NETONLINE_WAITING,     // host: waiting for a guest
    NETONLINE_CONNECTING,  // guest: reaching the host
};
// What a connecting session is doing, for the screen's status line.
enum {
    NETONLINE_STEP_NONE = 0,
    NETONLINE_STEP_LOBBY,   // asking the lobby server
    NETONLINE_STEP_DIRECT,  // trying a direct route
    NETONLINE_STEP_RELAY,   // going through the relay
};

struct NETONLINESTATUS {
    int nState = NETONLINE_IDLE;
    int nStep = NETONLINE_STEP_NONE;
    int nMessage = 0;        // NETPLAY_MSG_*: a host's lobby note, or why the last session ended
    char szCode[8] = {};     // host: the room code ("" without one)
    uint16_t wPort = 0;      // host: the UDP port guests reach directly
    char szLocal[16] = {};   // host: this machine's address on the local network ("" if none)
    int nRoute = 0;          // the last session's route (NETLOBBY_ROUTE_*), 0 before one connected
    bool bNoAnswer = false;  // guest: no answer from the host yet, long enough to say so
};

struct NETONLINE {
    // Games on the local network and hosts by address: false in a browser page, which reaches
    // others only through its lobby server (rooms by code).
    bool bDirect;
    // Starts waiting for a guest (with a room when a lobby server is set). False if it cannot.
    bool (*lpfnHost)();
    // Joins a room code or HOST[:PORT]. False for text that is neither.
    bool (*lpfnJoin)(const char* szTarget);
    // Gives up waiting or connecting.
    void (*lpfnCancel)();
    void (*lpfnStatus)(NETONLINESTATUS* lpStatus);
    // True when szText names a lobby server (HOST[:PORT]).
    bool (*lpfnLobbyValid)(const char* szText);
    // The games waiting on the local network (looked for while called, once a frame); Stop
    // ends the looking.
    int (*lpfnGames)(NETGAME* lpGames, int nMax);
    void (*lpfnGamesStop)();
};
extern const NETONLINE* g_lpNetOnline;

struct NETPLAYOPTIONS;
// (net_play_online.cpp) Fills g_lpNetOnline and turns on the title's online row. The screen's
// sessions take lpBase's delay, faults, limits and lobby (null: the game's own, with the lobby
// line of Settings.txt).
void NetOnlineInstall(const NETPLAYOPTIONS* lpBase = nullptr);
