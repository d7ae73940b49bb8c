// pomrin-lobby as players and strangers meet it: a real server process on loopback, driven with
// plain UDP sockets from 127.0.0.1 (host), .2 (guest), .3 (a stranger guessing codes) and .4 (a
// guest of another version), through a whole meeting to the relay and a SIGTERM.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "lobby/lobby_server_run.h"
#include "net/lobby_proto.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct PEER {
    int fd = -1;
    LOBBYADDR Addr;
    size_t nLastSent = 0;
};

LOBBYADDR g_Server;

PEER Open(uint32_t dwIp) {
    PEER p;
    p.fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(dwIp);
    EXPECT_EQ(bind(p.fd, (sockaddr*)&sa, sizeof(sa)), 0);
    socklen_t n = sizeof(sa);
    getsockname(p.fd, (sockaddr*)&sa, &n);
    p.Addr = {dwIp, ntohs(sa.sin_port)};
    return p;
}

void SendRaw(PEER* p, const Bytes& b) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(g_Server.dwIp);
    sa.sin_port = htons(g_Server.wPort);
    p->nLastSent = b.size();
    ASSERT_EQ(sendto(p->fd, b.data(), b.size(), 0, (sockaddr*)&sa, sizeof(sa)), ssize_t(b.size()));
}

void Send(PEER* p, const LOBBYMSG& m) {
    uint8_t buf[LOBBY_MAX_MESSAGE];
    const int n = LobbyEncode(&m, buf, sizeof(buf));
    ASSERT_GT(n, 0);
    SendRaw(p, Bytes(buf, buf + n));
}

// The next datagram, which must come from the server (empty after 5 s of nothing).
Bytes Recv(PEER* p) {
    pollfd pfd{p->fd, POLLIN, 0};
    if (poll(&pfd, 1, 5000) != 1) return {};
    uint8_t buf[2048];
    sockaddr_in sa{};
    socklen_t n = sizeof(sa);
    const ssize_t nGot = recvfrom(p->fd, buf, sizeof(buf), 0, (sockaddr*)&sa, &n);
    EXPECT_EQ(ntohl(sa.sin_addr.s_addr), g_Server.dwIp);
    EXPECT_EQ(ntohs(sa.sin_port), g_Server.wPort);
    return Bytes(buf, buf + (nGot > 0 ? nGot : 0));
}

// The answer to what p sent last: a lobby message of this type, never longer than the request.
LOBBYMSG Answer(PEER* p, uint8_t byType) {
    const Bytes b = Recv(p);
    LOBBYMSG m;
    EXPECT_EQ(LobbyDecode(b.data(), b.size(), &m), LOBBY_DECODE_OK);
    EXPECT_EQ(m.byType, byType);
    EXPECT_LE(b.size(), p->nLastSent);
    return m;
}

void ExpectError(PEER* p, uint8_t byReason, uint8_t byRequest) {
    const LOBBYMSG m = Answer(p, LOBBY_MSG_ERROR);
    EXPECT_EQ(m.byReason, byReason);
    EXPECT_EQ(m.byRequest, byRequest);
}

LOBBYMSG Msg(uint8_t byType, uint32_t dwCode = 0, const char* szVersion = "9.9") {
    LOBBYMSG m;
    m.byType = byType;
    m.dwCode = dwCode;
    std::strcpy(m.szVersion, szVersion);
    return m;
}

// Asks for a room that cannot exist; its ERROR shows that nothing else was sent to p before.
void ExpectSilenceBefore(PEER* p) {
    Send(p, Msg(LOBBY_MSG_KEEPALIVE, 1));
    ExpectError(p, LOBBY_ERROR_UNKNOWN, LOBBY_MSG_KEEPALIVE);
}

TEST(LobbyServer, MeetingRelayLimitsAndShutdown) {
    LOBBYSERVER server;
    const uint16_t wPort = StartLobbyServer(&server);
    ASSERT_NE(wPort, 0) << server.sFirstLine;
    g_Server = {0x7F000001, wPort};

    PEER host = Open(0x7F000001), guest = Open(0x7F000002), stranger = Open(0x7F000003),
         other = Open(0x7F000004);
    LOBBYMSG m = Msg(LOBBY_MSG_REGISTER);
    m.nLocal = 1;
    m.Local[0] = {0xC0A80114, 27810};
    Send(&host, m);
    const LOBBYMSG room = Answer(&host, LOBBY_MSG_ROOM);
    EXPECT_TRUE(room.Public == host.Addr);
    EXPECT_EQ(room.wLifetime, 600);
    EXPECT_EQ(room.byKeepalive, 2);
    // Not open to guests before the host's first keep-alive.
    Send(&guest, Msg(LOBBY_MSG_JOIN, room.dwCode));
    ExpectError(&guest, LOBBY_ERROR_UNKNOWN, LOBBY_MSG_JOIN);
    m = Msg(LOBBY_MSG_KEEPALIVE, room.dwCode);
    m.qwKey = room.qwKey;
    Send(&host, m);
    EXPECT_GE(Answer(&host, LOBBY_MSG_ALIVE).wLeft, 590);

    Send(&guest, Msg(LOBBY_MSG_JOIN, room.dwCode ^ 1));
    ExpectError(&guest, LOBBY_ERROR_UNKNOWN, LOBBY_MSG_JOIN);
    Send(&other, Msg(LOBBY_MSG_JOIN, room.dwCode, "9.8"));
    ExpectError(&other, LOBBY_ERROR_VERSION, LOBBY_MSG_JOIN);
    m = Msg(LOBBY_MSG_JOIN, room.dwCode);
    m.nLocal = 1;
    m.Local[0] = {0x0A000005, 27810};
    Send(&guest, m);
    const LOBBYMSG toGuest = Answer(&guest, LOBBY_MSG_INTRO);
    const LOBBYMSG toHost = Answer(&host, LOBBY_MSG_INTRO);
    EXPECT_EQ(toGuest.bySide, LOBBY_SIDE_GUEST);
    EXPECT_TRUE(toGuest.Public == host.Addr);
    EXPECT_TRUE(toGuest.nLocal == 1 && toGuest.Local[0].dwIp == 0xC0A80114);
    EXPECT_EQ(toHost.bySide, LOBBY_SIDE_HOST);
    EXPECT_TRUE(toHost.Public == guest.Addr);
    EXPECT_TRUE(toHost.nLocal == 1 && toHost.Local[0].dwIp == 0x0A000005);
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
    m = Msg(LOBBY_MSG_RELAY_BIND);
    m.qwToken = toHost.qwToken;
    m.bySide = LOBBY_SIDE_HOST;
    Send(&host, m);
    EXPECT_EQ(Answer(&host, LOBBY_MSG_RELAY_OK).byPeer, 0);
    SendRaw(&host, {'e', 'a', 'r', 'l', 'y'});
    m.bySide = LOBBY_SIDE_GUEST;
    Send(&stranger, m);
    ExpectError(&stranger, LOBBY_ERROR_BAD, LOBBY_MSG_RELAY_BIND);
    Send(&guest, m);
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
    m = Msg(LOBBY_MSG_LEAVE, room.dwCode);
    m.qwKey = room.qwKey;
    Send(&host, m);
    Send(&guest, Msg(LOBBY_MSG_JOIN, room.dwCode));
    ExpectError(&guest, LOBBY_ERROR_UNKNOWN, LOBBY_MSG_JOIN);
    SendRaw(&guest, ping);
    EXPECT_EQ(Recv(&host), ping);

    std::string sLog;
    const int nStatus = StopLobbyServer(&server, &sLog);
    EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0);
    for (const char* sz :
         {"made by 127.0.0.1:", "joined by 127.0.0.2:", "too many wrong codes", "(both bound)",
          "closed by its host", "stopping (SIGTERM)", "relayed 4 packets 2406 bytes"})
        EXPECT_NE(sLog.find(sz), std::string::npos) << sz << " in\n" << sLog;
}

}  // namespace
