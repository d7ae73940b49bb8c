// pomrin-lobby's WebSocket side: a real server process on loopback, a UDP host and a WebSocket
// guest (a browser's way in) meet by room code and talk through the relay; a text message and an
// oversized one close their connections with the defined statuses.
#include <utility>  // Boost 1.74's Asio needs std::exchange before its own headers

#include <gtest/gtest.h>

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>
#include <chrono>
#include <tuple>
#include <utility>

#include "lobby/lobby_server_run.h"

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using WS = websocket::stream<tcp::socket>;

// A browser's connection: one binary message a datagram.
struct WSPEER {
    asio::io_context io;
    WS ws{io};
    beast::error_code ecRead;
    WSPEER() {
        ws.next_layer().connect(tcp::endpoint(asio::ip::make_address_v4("127.0.0.1"), g_Server.wPort));
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
    ASSERT_NE(StartLobbyServer(&server), 0) << server.sFirstLine;
    EXPECT_NE(server.sFirstLine.find("(UDP and WebSocket)"), std::string::npos) << server.sFirstLine;

    PEER host(0x7F000001);
    const LOBBYMSG room = Register(&host);
    Send(&host, Keyed(LOBBY_MSG_KEEPALIVE, room));
    Answer(&host, LOBBY_MSG_ALIVE);

    // The guest joins over its WebSocket; neither side is told an address to punch: the relay.
    WSPEER guest;
    guest.Send(Encode(Msg(LOBBY_MSG_JOIN, room.dwCode)));
    const LOBBYMSG toGuest = Decoded(guest.Recv(), LOBBY_MSG_INTRO);
    const LOBBYMSG toHost = Answer(&host, LOBBY_MSG_INTRO);
    for (auto [lp, bySide] : {std::pair(&toGuest, LOBBY_SIDE_GUEST), std::pair(&toHost, LOBBY_SIDE_HOST)})
        EXPECT_EQ(std::tuple(lp->bySide, lp->Public, lp->nLocal), std::tuple(bySide, LOBBYADDR{}, 0));
    EXPECT_EQ(toGuest.qwToken, toHost.qwToken);

    Send(&host, RelayBind(toHost, LOBBY_SIDE_HOST));
    EXPECT_EQ(Answer(&host, LOBBY_MSG_RELAY_OK).byPeer, 0);
    guest.Send(Encode(RelayBind(toHost, LOBBY_SIDE_GUEST)));
    EXPECT_EQ(Decoded(guest.Recv(), LOBBY_MSG_RELAY_OK).byPeer, 1);
    const Bytes ping(1200, 0x80), pong = {1, 2, 3};
    SendRaw(&host, ping);
    EXPECT_EQ(guest.Recv(), ping);
    guest.Send(pong);
    EXPECT_EQ(Recv(&host), pong);
    guest.Send(ping);
    EXPECT_EQ(Recv(&host), ping);

    // Abuse: a text message, and a binary one longer than any datagram, each close their own
    // connection with its status; the meeting goes on.
    {
        WSPEER text, big;
        text.ws.text(true);
        for (auto& [lp, b, code] : {std::tuple(&text, Bytes{'h', 'i'}, websocket::close_code::unknown_data),
                                    std::tuple(&big, Bytes(1501, 0x80), websocket::close_code::too_big)}) {
            lp->Send(b);
            EXPECT_TRUE(lp->Recv().empty());
            EXPECT_EQ(std::tuple(lp->ecRead, lp->ws.reason().code),
                      std::tuple(websocket::error::closed, code));
        }
    }
    SendRaw(&host, pong);
    EXPECT_EQ(guest.Recv(), pong);

    // The guest's page closes: its relay ends with it.
    guest.ws.close(websocket::close_code::normal);
    usleep(200 * 1000);

    ExpectCleanStopLogging(
        &server, {"(ws) (host 127.0.0.1:", "(both bound)", "ended (a WebSocket closed) after 4 packets",
                  "relayed 4 packets 2406 bytes", "opened 3", "text 1 too-big 1"});
}

}  // namespace
