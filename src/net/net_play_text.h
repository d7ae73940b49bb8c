// The messages of a net session: the player's text on screen (in the language in force) and a
// short English name for logs.
#pragma once

enum {
    NETPLAY_MSG_NONE = 0,
    NETPLAY_MSG_WAITING,         // host: no guest yet
    NETPLAY_MSG_CONNECTING,      // guest: reaching the host
    NETPLAY_MSG_ESCAPE,          // how to give up waiting
    NETPLAY_MSG_CONNECTED,
    NETPLAY_MSG_REFUSED,         // the host turned us away
    NETPLAY_MSG_GUEST_REFUSED,   // host: another guest was turned away
    NETPLAY_MSG_LEFT,            // the peer ended the session
    NETPLAY_MSG_LOST,            // nothing heard from the peer
    NETPLAY_MSG_DESYNC,          // the two games differ
    NETPLAY_MSG_TITLE,           // the other player went back to the title
    NETPLAY_MSG_BAD_SETTINGS,    // the host's settings hold values the game does not take
    NETPLAY_MSG_NO_GUEST,        // host: no guest within the time allowed
    NETPLAY_MSG_NO_HOST,         // guest: no host within the time allowed
    NETPLAY_MSG_NO_NET,          // the network or the name could not be opened
    NETPLAY_MSG_COUNT
};

const char* NetPlayMessageText(int nMessage);
const char* NetPlayMessageName(int nMessage);
