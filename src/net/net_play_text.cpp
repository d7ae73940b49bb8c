#include "net/net_play_text.h"

#include "lang/lang.h"

namespace {
// The short English names for logs; what the player reads is in the language tables.
constexpr const char* kName[NETPLAY_MSG_COUNT] = {
    "",
    "waiting for a guest",
    "connecting to the host",
    "Escape gives up",
    "connected",
    "refused by the host",
    "another guest was refused",
    "the other player left",
    "connection lost",
    "desync: the two games differ",
    "the other player went back to the title",
    "the host's settings are not valid",
    "no guest came",
    "no host answered (or it runs another game version)",
    "the network could not be opened",
    "room",
    "no lobby server is set (--lobby, or the lobby line of Settings.txt)",
    "the lobby server does not answer",
    "no room with that code (wrong, expired, or its host left)",
    "the room already has its guest",
    "the host plays another game version",
    "the lobby server is busy; try again later",
    "refused by the lobby server",
    "no route to the other player, not even through the relay",
};
static_assert(int(TXT_NET_MESSAGE) + int(NETPLAY_MSG_COUNT) - 1 == int(TXT_ONLINE_HOST),
              "one text per net message");
}  // namespace

const char* NetPlayMessageText(int nMessage) {
    return nMessage > 0 && nMessage < NETPLAY_MSG_COUNT ? GameText(TXT_NET_MESSAGE + nMessage - 1) : "";
}

const char* NetPlayMessageName(int nMessage) {
    return nMessage > 0 && nMessage < NETPLAY_MSG_COUNT ? kName[nMessage] : "";
}
