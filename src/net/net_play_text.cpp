#include "net/net_play_text.h"

namespace {
struct TEXT {
    const char* szText;
    const char* szName;
};
constexpr TEXT kText[NETPLAY_MSG_COUNT] = {
    {"", ""},
    {"あいてを まっています", "waiting for a guest"},
    {"ホストに せつぞくしています", "connecting to the host"},
    {"Escキーで やめます", "Escape gives up"},
    {"せつぞくしました", "connected"},
    {"ホストに ことわられました", "refused by the host"},
    {"ほかの ゲストを ことわりました", "another guest was refused"},
    {"あいてが たいせんを やめました", "the other player left"},
    {"あいてとの せつぞくが きれました", "connection lost"},
    {"ゲームの じょうたいが ずれました", "desync: the two games differ"},
    {"あいてが タイトルに もどりました", "the other player went back to the title"},
    {"ホストの せっていが よめません", "the host's settings are not valid"},
    {"ゲストが きませんでした", "no guest came"},
    {"ホストに つながりません（バージョンちがい？）", "no host answered (or it runs another game version)"},
    {"ネットワークを ひらけません", "the network could not be opened"},
    {"ルームコード", "room"},
    {"ロビーサーバーが せっていされていません",
     "no lobby server is set (--lobby, or the lobby line of Settings.txt)"},
    {"ロビーサーバーに つながりません", "the lobby server does not answer"},
    {"その ルームコードの へやは ありません", "no room with that code (wrong, expired, or its host left)"},
    {"その へやには もう あいてが います", "the room already has its guest"},
    {"ホストと ゲームの バージョンが ちがいます", "the host plays another game version"},
    {"ロビーサーバーが こんでいます", "the lobby server is busy; try again later"},
    {"ロビーサーバーに ことわられました", "refused by the lobby server"},
    {"リレーでも あいてに とどきません", "no route to the other player, not even through the relay"},
};
}  // namespace

const char* NetPlayMessageText(int nMessage) {
    return nMessage > 0 && nMessage < NETPLAY_MSG_COUNT ? kText[nMessage].szText : "";
}

const char* NetPlayMessageName(int nMessage) {
    return nMessage > 0 && nMessage < NETPLAY_MSG_COUNT ? kText[nMessage].szName : "";
}
