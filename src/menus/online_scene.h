// The online screen (scene 4, builds with online play): make a room, join one by code or
// address or from the games on the local network, the lobby server's address, back to the title
// (in a page: make a room, join one by code, back). It drives online play through
// g_lpNetOnline (net/net_online.h) and shows what the session is doing and why one ended.
#pragma once
#include <cstdint>

enum {
    ONLINE_FADE_IN = 0,
    ONLINE_MENU = 1,
    ONLINE_ENTRY = 2,  // typing a code or address (join), or the lobby server's address
    ONLINE_WAIT = 3,   // a session waits for its peer
    ONLINE_FADE_OUT = 4,
    ONLINE_LIST = 5,  // choosing one of the games on the local network
};
enum {
    ONLINE_ROW_HOST = 0,
    ONLINE_ROW_JOIN,
    ONLINE_ROW_LOCAL,
    ONLINE_ROW_LOBBY,
    ONLINE_ROW_BACK,
    ONLINE_ROWS
};

extern int32_t g_nOnlineState;  // 0 not loaded, 1 running, -1 leaving
extern int32_t g_nOnlinePhase;  // ONLINE_*
// A room code to join as soon as the screen is up (a room's link opened in a page); the screen
// takes it as if typed, so a code it cannot read is shown with why.
extern char g_szOnlineJoin[17];

bool OnlineMain();
void OnlineRelease();
