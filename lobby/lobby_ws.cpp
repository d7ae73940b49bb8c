// The WebSocket side of pomrin-lobby: Boost.Beast reads the HTTP upgrade and the frames, and each
// binary message goes to the lobby's state like a UDP datagram from this connection's peer.
#include "lobby/lobby_ws.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>
#include <chrono>
#include <cstdio>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "lobby/lobby_state.h"

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using boost::system::error_code;

// Why a connection ended or was refused (the counters of the stats line).
enum {
    WS_REFUSED_FULL = 0,  // nMaxConnections open already
    WS_REFUSED_ADDRESS,   // nPerAddress open from its address already
    WS_BAD_REQUEST,       // the upgrade request was malformed, too long or too slow
    WS_PLAIN_HTTP,        // an HTTP request that asked for no WebSocket (answered 426)
    WS_CLOSED_TEXT,       // sent a text message (1003)
    WS_CLOSED_BIG,        // sent a message over the size (1009)
    WS_CLOSED_IDLE,       // sent nothing for too long (1001)
    WS_CLOSED_SLOW,       // read too slowly: too much waited to be written to it
    WS_CLOSED_PEER,       // closed by the client, or the line broke
    WS_END_COUNT,
};

struct WSSTATS {
    uint64_t qwAccepted = 0, qwOpened = 0;
    uint64_t qwEnded[WS_END_COUNT] = {};
    uint64_t qwMessagesIn = 0, qwBytesIn = 0, qwMessagesOut = 0, qwBytesOut = 0;
    uint64_t qwRateDropped = 0;
};

struct WSCONN;

struct WSSIDE {
    LOBBYWSCONFIG Config;
    asio::io_context* lpIo = nullptr;
    std::optional<tcp::acceptor> Acceptor;
    std::optional<asio::steady_timer> Retry;  // accepting again after a failure (no free fds)
    void (*lpfnFlush)() = nullptr;
    uint64_t qwNextConn = 1;
    std::unordered_map<uint64_t, std::shared_ptr<WSCONN>> Conns;  // by qwConn, from acceptance
    std::unordered_map<uint32_t, int> PerAddress;
    WSSTATS Stats;
};
WSSIDE g_Ws;

uint64_t NowMs() {
    return uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count());
}

bool CountAddress(uint32_t dwIp);

struct WSCONN : std::enable_shared_from_this<WSCONN> {
    websocket::stream<beast::tcp_stream> Ws;
    beast::flat_buffer Buffer;
    std::optional<http::request_parser<http::empty_body>> Parser;
    http::response<http::string_body> Refusal;
    LOBBYPEER Peer;
    bool bOpen = false;     // the WebSocket handshake is done and reading goes on
    bool bClosing = false;  // a close frame is on its way, or the socket was shut
    bool bEnded = false;
    bool bCounted = false;                   // in PerAddress (a proxy's connection: once its client is known)
    int nWhy = -1;                           // why it is closing, when the server closes it
    std::deque<std::vector<uint8_t>> Queue;  // messages to write, the first one being written
    size_t nQueued = 0;
    LOBBYBUCKET Messages;
    uint64_t qwLastMs = 0;

    explicit WSCONN(tcp::socket Socket) : Ws(std::move(Socket)) {}

    // The one place a connection leaves the tables: its room and relay end with it.
    void End(int nDefault) {
        if (bEnded) return;
        bEnded = true;
        g_Ws.Stats.qwEnded[nWhy >= 0 ? nWhy : nDefault]++;
        if (bCounted && --g_Ws.PerAddress[Peer.Addr.dwIp] <= 0) g_Ws.PerAddress.erase(Peer.Addr.dwIp);
        error_code ec;
        beast::get_lowest_layer(Ws).socket().close(ec);
        if (bOpen) {
            LobbyPeerGone(Peer, NowMs());
            if (g_Ws.lpfnFlush) g_Ws.lpfnFlush();
        }
        g_Ws.Conns.erase(Peer.qwConn);  // may free this: nothing follows
    }

    void Start() {
        // A datagram each: the game's traffic must not wait for Nagle's algorithm.
        error_code ec;
        beast::get_lowest_layer(Ws).socket().set_option(tcp::no_delay(true), ec);
        Parser.emplace();
        Parser->header_limit(g_Ws.Config.dwRequestMax);
        Parser->body_limit(0);
        beast::get_lowest_layer(Ws).expires_after(std::chrono::milliseconds(g_Ws.Config.dwHandshakeMs));
        http::async_read(beast::get_lowest_layer(Ws), Buffer, *Parser,
                         [self = shared_from_this()](error_code ec, size_t) { self->OnRequest(ec); });
    }

    void OnRequest(error_code ec) {
        if (ec) return End(WS_BAD_REQUEST);
        if (!bCounted) {
            // Through the trusted reverse proxy: the player's address is the one it names.
            const auto it = Parser->get().find("X-Real-IP");
            if (it == Parser->get().end()) return End(WS_BAD_REQUEST);
            error_code ecIp;
            const auto Ip = asio::ip::make_address_v4(std::string(it->value()), ecIp);
            if (ecIp) return End(WS_BAD_REQUEST);
            if (!CountAddress(Ip.to_uint())) return End(WS_REFUSED_ADDRESS);
            Peer.Addr.dwIp = Ip.to_uint();
            bCounted = true;
        }
        if (!websocket::is_upgrade(Parser->get())) {
            Refusal = http::response<http::string_body>(http::status::upgrade_required, 11);
            Refusal.set(http::field::server, "pomrin-lobby");
            Refusal.set(http::field::upgrade, "websocket");
            Refusal.set(http::field::content_type, "text/plain");
            Refusal.body() = "pomrin-lobby: a WebSocket of the game's lobby; the desktop game uses UDP.\n";
            Refusal.keep_alive(false);
            Refusal.prepare_payload();
            http::async_write(beast::get_lowest_layer(Ws), Refusal,
                              [self = shared_from_this()](error_code, size_t) { self->End(WS_PLAIN_HTTP); });
            return;
        }
        // From here Beast's own timeouts: the upgrade's answer and a closing handshake.
        beast::get_lowest_layer(Ws).expires_never();
        websocket::stream_base::timeout Timeout{};
        Timeout.handshake_timeout = std::chrono::milliseconds(g_Ws.Config.dwHandshakeMs);
        Timeout.idle_timeout = websocket::stream_base::none();
        Timeout.keep_alive_pings = false;
        Ws.set_option(Timeout);
        Ws.set_option(websocket::stream_base::decorator(
            [](websocket::response_type& r) { r.set(http::field::server, "pomrin-lobby"); }));
        Ws.read_message_max(LOBBY_MAX_DATAGRAM);
        Ws.auto_fragment(false);
        Ws.binary(true);
        Ws.async_accept(Parser->release(),
                        [self = shared_from_this()](error_code ec) { self->OnAccept(ec); });
    }

    void OnAccept(error_code ec) {
        if (ec) return End(WS_BAD_REQUEST);
        bOpen = true;
        qwLastMs = NowMs();
        g_Ws.Stats.qwOpened++;
        Buffer.clear();
        Read();
    }

    void Read() {
        Ws.async_read(Buffer, [self = shared_from_this()](error_code ec, size_t) { self->OnMessage(ec); });
    }

    void OnMessage(error_code ec) {
        if (ec == websocket::error::message_too_big) return End(WS_CLOSED_BIG);  // Beast sent 1009
        if (ec) return End(WS_CLOSED_PEER);
        if (!bClosing && !Ws.got_binary()) Close(websocket::close_code::unknown_data, WS_CLOSED_TEXT);
        if (bClosing) {  // read on until the client answers the close
            Buffer.consume(Buffer.size());
            return Read();
        }
        const uint64_t qwNowMs = NowMs();
        qwLastMs = qwNowMs;
        const size_t nSize = Buffer.size();
        g_Ws.Stats.qwMessagesIn++;
        g_Ws.Stats.qwBytesIn += nSize;
        const int64_t nRate = g_Ws.Config.nMessagesPerSecond;
        if (LobbyBucketTake(&Messages, qwNowMs, nRate * 60, nRate * 2, 1)) {
            // The lobby may close this very connection (a slow reader): the handler holds it.
            LobbyReceive(Peer, static_cast<const uint8_t*>(Buffer.data().data()), nSize, qwNowMs);
            if (g_Ws.lpfnFlush) g_Ws.lpfnFlush();
        } else {
            g_Ws.Stats.qwRateDropped++;
        }
        Buffer.consume(nSize);
        Read();
    }

    // A closing handshake with this status; the pending read ends when the client answers it
    // (or after Beast's handshake timeout), and that ends the connection.
    void Close(websocket::close_code Code, int nReason) {
        if (bClosing) return;
        bClosing = true;
        nWhy = nReason;
        Ws.async_close(Code, [self = shared_from_this()](error_code) {});
    }

    void Send(const uint8_t* lpData, size_t nSize) {
        Queue.emplace_back(lpData, lpData + nSize);
        nQueued += nSize;
        g_Ws.Stats.qwMessagesOut++;
        g_Ws.Stats.qwBytesOut += nSize;
        if (Queue.size() == 1) Write();
    }

    void Write() {
        Ws.async_write(asio::buffer(Queue.front()), [self = shared_from_this()](error_code ec, size_t) {
            if (ec || self->bEnded) return;  // the reading ends the connection
            self->nQueued -= self->Queue.front().size();
            self->Queue.pop_front();
            if (!self->Queue.empty()) self->Write();
        });
    }
};

// One more connection from dwIp, if it may have one.
bool CountAddress(uint32_t dwIp) {
    int& nFromAddress = g_Ws.PerAddress[dwIp];
    if (nFromAddress >= g_Ws.Config.nPerAddress) return false;
    nFromAddress++;
    return true;
}

void Accept() {
    g_Ws.Acceptor->async_accept([](error_code ec, tcp::socket Socket) {
        if (ec == asio::error::operation_aborted) return;
        if (ec) {
            // Out of file descriptors, say: try again shortly rather than at once for ever.
            g_Ws.Retry->expires_after(std::chrono::milliseconds(200));
            g_Ws.Retry->async_wait([](error_code ec2) {
                if (!ec2) Accept();
            });
            return;
        }
        g_Ws.Stats.qwAccepted++;
        error_code ec2;
        const tcp::endpoint From = Socket.remote_endpoint(ec2);
        const uint32_t dwIp = ec2 ? 0 : From.address().to_v4().to_uint();
        const bool bProxy = g_Ws.Config.dwProxyIp && dwIp == g_Ws.Config.dwProxyIp;
        if (ec2) {
            // Gone already: its socket closes here.
        } else if (g_Ws.Conns.size() >= size_t(g_Ws.Config.nMaxConnections)) {
            g_Ws.Stats.qwEnded[WS_REFUSED_FULL]++;
        } else if (!bProxy && !CountAddress(dwIp)) {
            g_Ws.Stats.qwEnded[WS_REFUSED_ADDRESS]++;
        } else {
            auto lpConn = std::make_shared<WSCONN>(std::move(Socket));
            lpConn->Peer = LOBBYPEER(LOBBYADDR{dwIp, From.port()}, g_Ws.qwNextConn++);
            lpConn->bCounted = !bProxy;
            g_Ws.Conns[lpConn->Peer.qwConn] = lpConn;
            lpConn->Start();
        }
        Accept();
    });
}

}  // namespace

bool LobbyWsStart(asio::io_context& Io, const asio::ip::address_v4& Address, uint16_t wPort,
                  const LOBBYWSCONFIG& Config, void (*lpfnFlush)(), std::string* lpsError) {
    g_Ws.Config = Config;
    g_Ws.lpIo = &Io;
    g_Ws.lpfnFlush = lpfnFlush;
    g_Ws.Acceptor.emplace(Io);
    g_Ws.Retry.emplace(Io);
    error_code ec;
    const tcp::endpoint At(Address, wPort);
    g_Ws.Acceptor->open(At.protocol(), ec);
    if (!ec) g_Ws.Acceptor->set_option(tcp::acceptor::reuse_address(true), ec);
    if (!ec) g_Ws.Acceptor->bind(At, ec);
    if (!ec) g_Ws.Acceptor->listen(asio::socket_base::max_listen_connections, ec);
    if (ec) {
        *lpsError = ec.message();
        g_Ws.Acceptor.reset();
        return false;
    }
    Accept();
    return true;
}

bool LobbyWsSend(uint64_t qwConn, const uint8_t* lpData, size_t nSize) {
    const auto it = g_Ws.Conns.find(qwConn);
    if (it == g_Ws.Conns.end() || !it->second->bOpen || it->second->bClosing) return false;
    WSCONN& c = *it->second;
    if (c.nQueued + nSize > g_Ws.Config.dwQueueMax) {
        // It does not read what it is sent: shut it; its reading ends it (never from inside the
        // lobby's own handling of a datagram).
        if (!c.bClosing) {
            c.bClosing = true;
            c.nWhy = WS_CLOSED_SLOW;
            error_code ec;
            beast::get_lowest_layer(c.Ws).socket().shutdown(tcp::socket::shutdown_both, ec);
        }
        return false;
    }
    c.Send(lpData, nSize);
    return true;
}

void LobbyWsExpire(uint64_t qwNowMs) {
    std::vector<std::shared_ptr<WSCONN>> Idle;
    for (const auto& [qwConn, lpConn] : g_Ws.Conns)
        if (lpConn->bOpen && !lpConn->bClosing && qwNowMs - lpConn->qwLastMs > g_Ws.Config.dwIdleMs)
            Idle.push_back(lpConn);
    for (const auto& lpConn : Idle) lpConn->Close(websocket::close_code::going_away, WS_CLOSED_IDLE);
}

void LobbyWsStop() {
    g_Ws.Acceptor.reset();
    g_Ws.Retry.reset();
    for (auto& [qwConn, lpConn] : g_Ws.Conns) {
        error_code ec;
        beast::get_lowest_layer(lpConn->Ws).socket().close(ec);
    }
    g_Ws.Conns.clear();
    g_Ws.PerAddress.clear();
}

void LobbyWsStatsLine(char* szOut, size_t nOutSize) {
    const WSSTATS& s = g_Ws.Stats;
    const auto n = [](uint64_t q) { return (unsigned long long)q; };
    std::snprintf(szOut, nOutSize,
                  "stats ws connections %zu addresses %zu | accepted %llu opened %llu | in %llu messages "
                  "%llu bytes | out %llu messages %llu bytes | dropped rate %llu | refused full %llu "
                  "address %llu | ended bad-request %llu plain-http %llu text %llu too-big %llu idle %llu "
                  "slow %llu closed %llu",
                  g_Ws.Conns.size(), g_Ws.PerAddress.size(), n(s.qwAccepted), n(s.qwOpened),
                  n(s.qwMessagesIn), n(s.qwBytesIn), n(s.qwMessagesOut), n(s.qwBytesOut), n(s.qwRateDropped),
                  n(s.qwEnded[WS_REFUSED_FULL]), n(s.qwEnded[WS_REFUSED_ADDRESS]),
                  n(s.qwEnded[WS_BAD_REQUEST]), n(s.qwEnded[WS_PLAIN_HTTP]), n(s.qwEnded[WS_CLOSED_TEXT]),
                  n(s.qwEnded[WS_CLOSED_BIG]), n(s.qwEnded[WS_CLOSED_IDLE]), n(s.qwEnded[WS_CLOSED_SLOW]),
                  n(s.qwEnded[WS_CLOSED_PEER]));
}
