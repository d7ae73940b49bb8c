// pomrin-lobby as players and strangers meet it: a real server process on loopback, driven with
// plain UDP sockets from 127.0.0.1 (host), .2 (guest), .3 (a stranger guessing codes) and .4 (a
// guest of another version), through a whole meeting to the relay and a SIGTERM.
#include <gtest/gtest.h>

#include <tuple>

#include "lobby/lobby_server_run.h"

namespace {

void ExpectError(PEER* p, uint8_t byReason, uint8_t byRequest) {
    const LOBBYMSG m = Answer(p, LOBBY_MSG_ERROR);
    EXPECT_EQ(std::tuple(m.byReason, m.byRequest), std::tuple(byReason, byRequest));
}

// Asks for a room that cannot exist; its ERROR shows that nothing else was sent to p before.
void ExpectSilenceBefore(PEER* p) {
    Send(p, Msg(LOBBY_MSG_KEEPALIVE, 1));
    ExpectError(p, LOBBY_ERROR_UNKNOWN, LOBBY_MSG_KEEPALIVE);
}

TEST(LobbyServer, MeetingRelayLimitsAndShutdown) {
    LOBBYSERVER server;
    ASSERT_NE(StartLobbyServer(&server), 0) << server.sFirstLine;

    PEER host(0x7F000001), guest(0x7F000002), stranger(0x7F000003), other(0x7F000004);
    const LOBBYMSG room = Register(&host);
    EXPECT_EQ(std::tuple(room.Public, room.wLifetime, room.byKeepalive), std::tuple(host.Addr, 600, 2));
    // Not open to guests before the host's first keep-alive.
    Send(&guest, Msg(LOBBY_MSG_JOIN, room.dwCode));
    ExpectError(&guest, LOBBY_ERROR_UNKNOWN, LOBBY_MSG_JOIN);
    Send(&host, Keyed(LOBBY_MSG_KEEPALIVE, room));
    EXPECT_GE(Answer(&host, LOBBY_MSG_ALIVE).wLeft, 590);

    Send(&guest, Msg(LOBBY_MSG_JOIN, room.dwCode ^ 1));
    ExpectError(&guest, LOBBY_ERROR_UNKNOWN, LOBBY_MSG_JOIN);
    Send(&other, Msg(LOBBY_MSG_JOIN, room.dwCode, "9.8"));
    ExpectError(&other, LOBBY_ERROR_VERSION, LOBBY_MSG_JOIN);
    LOBBYMSG m = Msg(LOBBY_MSG_JOIN, room.dwCode);
    m.nLocal = 1;
    m.Local[0] = {0x0A000005, 27810};
    Send(&guest, m);
    const LOBBYMSG toGuest = Answer(&guest, LOBBY_MSG_INTRO);
    const LOBBYMSG toHost = Answer(&host, LOBBY_MSG_INTRO);
    EXPECT_EQ(std::tuple(toGuest.bySide, toGuest.Public, toGuest.nLocal, toGuest.Local[0].dwIp),
              std::tuple(LOBBY_SIDE_GUEST, host.Addr, 1, 0xC0A80114u));
    EXPECT_EQ(std::tuple(toHost.bySide, toHost.Public, toHost.nLocal, toHost.Local[0].dwIp),
              std::tuple(LOBBY_SIDE_HOST, guest.Addr, 1, 0x0A000005u));
    EXPECT_EQ(toHost.qwToken, toGuest.qwToken);

    // A room takes one guest. A stranger guessing codes gets five answers, one "too many", then
    // silence, even for the right code.
    Send(&stranger, Msg(LOBBY_MSG_JOIN, room.dwCode));
    ExpectError(&stranger, LOBBY_ERROR_TAKEN, LOBBY_MSG_JOIN);
    for (int i = 0; i < 5; ++i) {
        Send(&stranger, Msg(LOBBY_MSG_JOIN, room.dwCode ^ (2 + i)));
        ExpectError(&stranger, LOBBY_ERROR_UNKNOWN, LOBBY_MSG_JOIN);
    }
    Send(&stranger, Msg(LOBBY_MSG_JOIN, room.dwCode ^ 8));
    ExpectError(&stranger, LOBBY_ERROR_TOO_MANY, LOBBY_MSG_JOIN);
    Send(&stranger, Msg(LOBBY_MSG_JOIN, room.dwCode ^ 9));
    Send(&stranger, Msg(LOBBY_MSG_JOIN, room.dwCode));
    // Garbage gets nothing: bytes, a damaged request, a server's message, another version's ERROR.
    // A request of another protocol version is told so.
    SendRaw(&stranger, {0x80, 0, 1, 2, 3, 4, 5, 6, 7, 8});
    SendRaw(&stranger, {'P', 'M', 'L', 'B', 1, 3, 1, 2});
    SendRaw(&stranger, Bytes(64, 0));
    m = Msg(LOBBY_MSG_ROOM);
    m.byKeepalive = 2;
    Send(&stranger, m);
    SendRaw(&stranger, {'P', 'M', 'L', 'B', 2, LOBBY_MSG_ERROR, 7, 1, 0});
    SendRaw(&stranger, {'P', 'M', 'L', 'B', 2, LOBBY_MSG_REGISTER, 0, 0, 0, 0, 0, 0});
    ExpectError(&stranger, LOBBY_ERROR_PROTOCOL, LOBBY_MSG_REGISTER);
    ExpectSilenceBefore(&stranger);

    // The relay: nothing goes through before both have bound, and only from the two addresses the
    // INTRO named.
    SendRaw(&guest, {'e', 'a', 'r', 'l', 'y'});
    Send(&host, RelayBind(toHost, LOBBY_SIDE_HOST));
    EXPECT_EQ(Answer(&host, LOBBY_MSG_RELAY_OK).byPeer, 0);
    SendRaw(&host, {'e', 'a', 'r', 'l', 'y'});
    Send(&stranger, RelayBind(toHost, LOBBY_SIDE_GUEST));
    ExpectError(&stranger, LOBBY_ERROR_BAD, LOBBY_MSG_RELAY_BIND);
    Send(&guest, RelayBind(toHost, LOBBY_SIDE_GUEST));
    EXPECT_EQ(Answer(&guest, LOBBY_MSG_RELAY_OK).byPeer, 1);  // not "early"
    const Bytes ping(1200, 0x80), pong = {1, 2, 3};
    SendRaw(&host, ping);
    EXPECT_EQ(Recv(&guest), ping);
    SendRaw(&guest, pong);
    EXPECT_EQ(Recv(&host), pong);  // not "early"
    SendRaw(&stranger, {'i', 'n', 't', 'r', 'u', 'd', 'e', 'r'});
    SendRaw(&host, pong);
    EXPECT_EQ(Recv(&guest), pong);
    ExpectSilenceBefore(&stranger);

    // The host closes its room: a guest asking now hears the room is gone; the relay goes on.
    Send(&host, Keyed(LOBBY_MSG_LEAVE, room));
    Send(&guest, Msg(LOBBY_MSG_JOIN, room.dwCode));
    ExpectError(&guest, LOBBY_ERROR_UNKNOWN, LOBBY_MSG_JOIN);
    SendRaw(&guest, ping);
    EXPECT_EQ(Recv(&host), ping);

    ExpectCleanStopLogging(
        &server, {"made by 127.0.0.1:", "joined by 127.0.0.2:", "too many wrong codes", "(both bound)",
                  "closed by its host", "stopping (SIGTERM)", "relayed 4 packets 2406 bytes"});
}

}  // namespace
