// pomrin-lobby's WebSocket side: a real server process on loopback, a UDP host and a WebSocket
// guest (a browser's way in) meet by room code and talk through the relay; a text message and an
// oversized one close their connections with the defined statuses.
#include <utility>  // Boost 1.74's Asio needs std::exchange before its own headers

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "lobby/lobby_server_run.h"
#include "net/lobby_proto.h"

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using Bytes = std::vector<uint8_t>;
using WS = websocket::stream<tcp::socket>;

uint16_t g_wPort = 0;

Bytes Encode(const LOBBYMSG& m) {
    uint8_t buf[LOBBY_MAX_MESSAGE];
    const int n = LobbyEncode(&m, buf, sizeof(buf));
    EXPECT_GT(n, 0);
    return Bytes(buf, buf + (n > 0 ? n : 0));
}

LOBBYMSG Decode(const Bytes& b, uint8_t byType) {
    LOBBYMSG m;
    EXPECT_EQ(LobbyDecode(b.data(), b.size(), &m), LOBBY_DECODE_OK);
    EXPECT_EQ(m.byType, byType);
    return m;
}

// The UDP player, on 127.0.0.1.
struct UDPPEER {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    ~UDPPEER() { close(fd); }
    void Send(const Bytes& b) {
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(0x7F000001);
        sa.sin_port = htons(g_wPort);
        ASSERT_EQ(sendto(fd, b.data(), b.size(), 0, (sockaddr*)&sa, sizeof(sa)), ssize_t(b.size()));
    }
    Bytes Recv() {  // empty after 5 s of nothing
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, 5000) != 1) return {};
        uint8_t buf[2048];
        const ssize_t n = recv(fd, buf, sizeof(buf), 0);
        return Bytes(buf, buf + (n > 0 ? n : 0));
    }
};

// A browser's connection: one binary message a datagram.
struct WSPEER {
    asio::io_context io;
    WS ws{io};
    beast::error_code ecRead;
    WSPEER() {
        ws.next_layer().connect(tcp::endpoint(asio::ip::make_address_v4("127.0.0.1"), g_wPort));
        ws.handshake("127.0.0.1", "/");
        ws.binary(true);
    }
    void Send(const Bytes& b) { ws.write(asio::buffer(b)); }
    Bytes Recv() {  // empty after 5 s of nothing, or when closed (then ecRead says why)
        beast::flat_buffer buf;
        bool bDone = false;
        ws.async_read(buf, [&](beast::error_code ec, size_t) { ecRead = ec, bDone = true; });
        io.restart();
        io.run_for(std::chrono::seconds(5));
        if (!bDone) {
            ws.next_layer().cancel();
            io.restart();
            io.run();
            return {};
        }
        const auto* lp = static_cast<const uint8_t*>(buf.data().data());
        return ecRead ? Bytes() : Bytes(lp, lp + buf.size());
    }
};

TEST(LobbyServer, WebSocketGuestMeetsUdpHostThroughTheRelay) {
    LOBBYSERVER server;
    g_wPort = StartLobbyServer(&server);
    ASSERT_NE(g_wPort, 0) << server.sFirstLine;
    EXPECT_NE(server.sFirstLine.find("(UDP and WebSocket)"), std::string::npos) << server.sFirstLine;

    UDPPEER host;
    LOBBYMSG m;
    m.byType = LOBBY_MSG_REGISTER;
    std::strcpy(m.szVersion, "9.9");
    m.nLocal = 1;
    m.Local[0] = {0xC0A80114, 27810};
    host.Send(Encode(m));
    const LOBBYMSG room = Decode(host.Recv(), LOBBY_MSG_ROOM);
    m = LOBBYMSG{};
    m.byType = LOBBY_MSG_KEEPALIVE;
    m.dwCode = room.dwCode;
    m.qwKey = room.qwKey;
    host.Send(Encode(m));
    Decode(host.Recv(), LOBBY_MSG_ALIVE);

    // The guest joins over its WebSocket; neither side is told an address to punch: the relay.
    WSPEER guest;
    m = LOBBYMSG{};
    m.byType = LOBBY_MSG_JOIN;
    m.dwCode = room.dwCode;
    std::strcpy(m.szVersion, "9.9");
    guest.Send(Encode(m));
    const LOBBYMSG toGuest = Decode(guest.Recv(), LOBBY_MSG_INTRO);
    const LOBBYMSG toHost = Decode(host.Recv(), LOBBY_MSG_INTRO);
    EXPECT_EQ(toGuest.bySide, LOBBY_SIDE_GUEST);
    EXPECT_EQ(toHost.bySide, LOBBY_SIDE_HOST);
    EXPECT_EQ(toGuest.qwToken, toHost.qwToken);
    for (const LOBBYMSG* lp : {&toGuest, &toHost})
        EXPECT_TRUE(lp->nLocal == 0 && lp->Public.dwIp == 0 && lp->Public.wPort == 0);

    m = LOBBYMSG{};
    m.byType = LOBBY_MSG_RELAY_BIND;
    m.qwToken = toHost.qwToken;
    m.bySide = LOBBY_SIDE_HOST;
    host.Send(Encode(m));
    EXPECT_EQ(Decode(host.Recv(), LOBBY_MSG_RELAY_OK).byPeer, 0);
    m.bySide = LOBBY_SIDE_GUEST;
    guest.Send(Encode(m));
    EXPECT_EQ(Decode(guest.Recv(), LOBBY_MSG_RELAY_OK).byPeer, 1);
    const Bytes ping(1200, 0x80), pong = {1, 2, 3};
    host.Send(ping);
    EXPECT_EQ(guest.Recv(), ping);
    guest.Send(pong);
    EXPECT_EQ(host.Recv(), pong);
    guest.Send(ping);
    EXPECT_EQ(host.Recv(), ping);

    // Abuse: a text message, and a binary one longer than any datagram, each close their own
    // connection with its status; the meeting goes on.
    {
        WSPEER text, big;
        text.ws.text(true);
        text.Send({'h', 'i'});
        EXPECT_TRUE(text.Recv().empty());
        EXPECT_EQ(text.ecRead, websocket::error::closed);
        EXPECT_EQ(text.ws.reason().code, websocket::close_code::unknown_data);
        big.Send(Bytes(1501, 0x80));
        EXPECT_TRUE(big.Recv().empty());
        EXPECT_EQ(big.ecRead, websocket::error::closed);
        EXPECT_EQ(big.ws.reason().code, websocket::close_code::too_big);
    }
    host.Send(pong);
    EXPECT_EQ(guest.Recv(), pong);

    // The guest's page closes: its relay ends with it.
    guest.ws.close(websocket::close_code::normal);
    usleep(200 * 1000);

    std::string sLog;
    const int nStatus = StopLobbyServer(&server, &sLog);
    EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0);
    for (const char* sz :
         {"(ws) (host 127.0.0.1:", "(both bound)", "ended (a WebSocket closed) after 4 packets",
          "relayed 4 packets 2406 bytes", "opened 3", "text 1 too-big 1"})
        EXPECT_NE(sLog.find(sz), std::string::npos) << sz << " in\n" << sLog;
}

}  // namespace
