// pomrin-lobby: the lobby server. One UDP socket carries the lobby messages and the relay, and a
// WebSocket listener at the same port number (lobby_ws.cpp) carries them for browsers; one thread
// runs the Asio event loop (the sockets, timers, signals) that feeds the lobby's state
// (lobby_state.h).
// Boost 1.74's Asio uses std::exchange under C++20 without including <utility>: it comes first.
#include <utility>

#include <arpa/inet.h>
#include <sys/socket.h>

#include <boost/asio.hpp>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>

#include "lobby/lobby_state.h"
#include "lobby/lobby_ws.h"

namespace {

namespace asio = boost::asio;
using asio::ip::udp;

const char USAGE[] =
    "Usage: pomrin-lobby [options]\n"
    "The lobby server of pomrin: room codes, introductions and a relay, on one UDP port and a\n"
    "WebSocket (for browsers) on the TCP port of the same number.\n"
    "  --port N            UDP and TCP port (default 27820; 0: any free one, printed at start)\n"
    "  --bind ADDR         IPv4 address to listen on (default all)\n"
    "  --max-rooms N       rooms held at once (default 20000)\n"
    "  --max-relays N      relays held at once (default 2000)\n"
    "  --max-ws N          WebSocket connections at once (default 1000; 0: no WebSocket)\n"
    "  --ws-per-address N  WebSocket connections from one IP address (default 8)\n"
    "  --ws-proxy ADDR     a reverse proxy's IPv4 address: its WebSockets count by X-Real-IP\n"
    "  --stats-interval S  seconds between counter lines (default 300; 0: only on SIGUSR1)\n"
    "  --help              this text\n"
    "One line per event on standard output; SIGUSR1 prints the counters; SIGTERM or SIGINT stop.\n";

struct FLAGS {
    uint16_t wPort = LOBBY_DEFAULT_PORT;
    std::string sBind = "0.0.0.0";
    int nMaxRooms = 20000;
    int nMaxRelays = 2000;
    int nMaxWs = 1000;
    int nWsPerAddress = 8;
    uint32_t dwWsProxy = 0;
    int nStatsInterval = 300;
};

std::random_device g_Random;

bool ParseInt(const char* sz, long nMin, long nMax, long* lpOut) {
    char* lpEnd = nullptr;
    errno = 0;
    const long n = std::strtol(sz, &lpEnd, 10);
    if (!*sz || *lpEnd || errno || n < nMin || n > nMax) return false;
    *lpOut = n;
    return true;
}

// Returns 0 to run, 1 after --help, 2 for a bad command line.
int ParseFlags(int argc, char** argv, FLAGS* lpFlags) {
    for (int i = 1; i < argc; ++i) {
        const std::string s = argv[i];
        if (s == "--help" || s == "-h") {
            std::fputs(USAGE, stdout);
            return 1;
        }
        const bool bKnown = s == "--port" || s == "--bind" || s == "--max-rooms" || s == "--max-relays" ||
                            s == "--max-ws" || s == "--ws-per-address" || s == "--ws-proxy" ||
                            s == "--stats-interval";
        if (!bKnown || i + 1 >= argc) {
            std::fprintf(stderr, "pomrin-lobby: %s: %s\n%s", s.c_str(),
                         bKnown ? "missing value" : "unknown option", USAGE);
            return 2;
        }
        const char* szValue = argv[++i];
        long n = 0;
        bool bOk = true;
        if (s == "--port") {
            bOk = ParseInt(szValue, 0, 65535, &n);
            lpFlags->wPort = uint16_t(n);
        } else if (s == "--bind") {
            boost::system::error_code ec;
            asio::ip::make_address_v4(szValue, ec);
            bOk = !ec;
            lpFlags->sBind = szValue;
        } else if (s == "--ws-proxy") {
            boost::system::error_code ec;
            lpFlags->dwWsProxy = asio::ip::make_address_v4(szValue, ec).to_uint();
            bOk = !ec && lpFlags->dwWsProxy;
        } else if (s == "--max-rooms") {
            bOk = ParseInt(szValue, 1, 10000000, &n);
            lpFlags->nMaxRooms = int(n);
        } else if (s == "--max-relays") {
            bOk = ParseInt(szValue, 0, 1000000, &n);
            lpFlags->nMaxRelays = int(n);
        } else if (s == "--max-ws") {
            bOk = ParseInt(szValue, 0, 1000000, &n);
            lpFlags->nMaxWs = int(n);
        } else if (s == "--ws-per-address") {
            bOk = ParseInt(szValue, 1, 1000000, &n);
            lpFlags->nWsPerAddress = int(n);
        } else {  // --stats-interval
            bOk = ParseInt(szValue, 0, 86400, &n);
            lpFlags->nStatsInterval = int(n);
        }
        if (!bOk) {
            std::fprintf(stderr, "pomrin-lobby: %s %s: bad value\n%s", s.c_str(), szValue, USAGE);
            return 2;
        }
    }
    return 0;
}

void Log(const char* szLine) {
    char szTime[32];
    const std::time_t t = std::time(nullptr);
    std::tm tmUtc;
    gmtime_r(&t, &tmUtc);
    std::strftime(szTime, sizeof(szTime), "%Y-%m-%d %H:%M:%S", &tmUtc);
    std::printf("%s %s\n", szTime, szLine);
    std::fflush(stdout);
}

uint64_t NowMs() {
    return uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count());
}

// Datagrams move in batches: one recvmmsg takes up to BATCH queued datagrams, and what the lobby
// sends while handling them leaves in one sendmmsg (Asio offers no batched calls; Linux does).
constexpr int BATCH = 64;
constexpr size_t BATCH_BUF = 2048;  // longer datagrams are dropped anyway (LOBBY_MAX_DATAGRAM)

struct BATCHIO {
    int fd = -1;
    uint8_t byIn[BATCH][BATCH_BUF];
    sockaddr_in InAddr[BATCH];
    iovec InVec[BATCH];
    mmsghdr InMsg[BATCH];
    uint8_t byOut[BATCH][BATCH_BUF];
    sockaddr_in OutAddr[BATCH];
    iovec OutVec[BATCH];
    mmsghdr OutMsg[BATCH];
    int nOut = 0;
};
BATCHIO g_Io;

// Sends what is queued; what the socket does not take is dropped, as a full line would.
void Flush() {
    BATCHIO& io = g_Io;
    int nDone = 0;
    while (nDone < io.nOut) {
        const int n = sendmmsg(io.fd, io.OutMsg + nDone, unsigned(io.nOut - nDone), MSG_DONTWAIT);
        if (n > 0) {
            nDone += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            g_lpLobby->Stats.qwDropped[LOBBY_DROP_SEND]++;  // this one; the rest are tried again
            nDone++;
        }
    }
    io.nOut = 0;
}

bool Send(const LOBBYPEER& Peer, const uint8_t* lpData, size_t nSize) {
    if (Peer.qwConn) return LobbyWsSend(Peer.qwConn, lpData, nSize);
    BATCHIO& io = g_Io;
    const LOBBYADDR& To = Peer.Addr;
    if (nSize > BATCH_BUF) return false;
    if (io.nOut == BATCH) Flush();
    const int i = io.nOut++;
    std::memcpy(io.byOut[i], lpData, nSize);
    io.OutAddr[i] = sockaddr_in{};
    io.OutAddr[i].sin_family = AF_INET;
    io.OutAddr[i].sin_addr.s_addr = htonl(To.dwIp);
    io.OutAddr[i].sin_port = htons(To.wPort);
    io.OutVec[i] = {io.byOut[i], nSize};
    io.OutMsg[i] = mmsghdr{};
    io.OutMsg[i].msg_hdr.msg_name = &io.OutAddr[i];
    io.OutMsg[i].msg_hdr.msg_namelen = sizeof(sockaddr_in);
    io.OutMsg[i].msg_hdr.msg_iov = &io.OutVec[i];
    io.OutMsg[i].msg_hdr.msg_iovlen = 1;
    return true;
}

// Everything queued on the socket, a batch at a time (at most 16 batches before the timers and
// signals get their turn).
void ReceiveAll() {
    BATCHIO& io = g_Io;
    for (int nRound = 0; nRound < 16; ++nRound) {
        for (int i = 0; i < BATCH; ++i) {
            io.InVec[i] = {io.byIn[i], BATCH_BUF};
            io.InMsg[i] = mmsghdr{};
            io.InMsg[i].msg_hdr.msg_name = &io.InAddr[i];
            io.InMsg[i].msg_hdr.msg_namelen = sizeof(sockaddr_in);
            io.InMsg[i].msg_hdr.msg_iov = &io.InVec[i];
            io.InMsg[i].msg_hdr.msg_iovlen = 1;
        }
        const int n = recvmmsg(io.fd, io.InMsg, BATCH, MSG_DONTWAIT, nullptr);
        if (n <= 0) break;
        const uint64_t qwNowMs = NowMs();
        for (int i = 0; i < n; ++i) {
            const msghdr& h = io.InMsg[i].msg_hdr;
            if (h.msg_namelen != sizeof(sockaddr_in) || io.InAddr[i].sin_family != AF_INET) continue;
            LOBBYADDR From;
            From.dwIp = ntohl(io.InAddr[i].sin_addr.s_addr);
            From.wPort = ntohs(io.InAddr[i].sin_port);
            if (h.msg_flags & MSG_TRUNC) {
                g_lpLobby->Stats.qwPacketsIn++;
                g_lpLobby->Stats.qwDropped[LOBBY_DROP_SIZE]++;
                continue;
            }
            LobbyReceive(From, io.byIn[i], io.InMsg[i].msg_len, qwNowMs);
        }
        Flush();
        if (n < BATCH) break;
    }
}

void WaitReadable(udp::socket* lpSocket) {
    lpSocket->async_wait(udp::socket::wait_read, [lpSocket](boost::system::error_code ec) {
        if (ec == asio::error::operation_aborted) return;
        ReceiveAll();
        WaitReadable(lpSocket);
    });
}

uint64_t Random() {
    return uint64_t(g_Random()) << 32 | g_Random();
}

void LogStats() {
    char sz[1024];
    LobbyStatsLine(sz, sizeof(sz));
    Log(sz);
    LobbyWsStatsLine(sz, sizeof(sz));
    Log(sz);
}

// UDP and TCP at one port number; with --port 0 the UDP socket's free port is tried for TCP, and
// another one if that is taken.
bool Listen(asio::io_context& io, udp::socket* lpSock, const FLAGS& f) {
    const asio::ip::address_v4 Address = asio::ip::make_address_v4(f.sBind);
    for (int nTry = 0;; ++nTry) {
        boost::system::error_code ec;
        lpSock->open(udp::v4(), ec);
        if (!ec) lpSock->bind(udp::endpoint(Address, f.wPort), ec);
        if (ec) {
            std::fprintf(stderr, "pomrin-lobby: cannot listen on %s:%u (UDP): %s\n", f.sBind.c_str(),
                         unsigned(f.wPort), ec.message().c_str());
            return false;
        }
        if (!f.nMaxWs) return true;
        LOBBYWSCONFIG Ws;
        Ws.nMaxConnections = f.nMaxWs;
        Ws.nPerAddress = f.nWsPerAddress;
        Ws.dwProxyIp = f.dwWsProxy;
        const uint16_t wPort = lpSock->local_endpoint().port();
        std::string sError;
        if (LobbyWsStart(io, Address, wPort, Ws, Flush, &sError)) return true;
        if (f.wPort || nTry == 20) {
            std::fprintf(stderr, "pomrin-lobby: cannot listen on %s:%u (TCP, WebSocket): %s\n",
                         f.sBind.c_str(), unsigned(wPort), sError.c_str());
            return false;
        }
        lpSock->close();
    }
}

void Every(asio::steady_timer* lpTimer, int nSeconds, void (*lpfn)()) {
    lpTimer->expires_after(std::chrono::seconds(nSeconds));
    lpTimer->async_wait([=](boost::system::error_code ec) {
        if (ec) return;
        lpfn();
        Every(lpTimer, nSeconds, lpfn);
    });
}

void WaitSignal(asio::signal_set* lpSignals, asio::io_context* lpIo) {
    lpSignals->async_wait([=](boost::system::error_code ec, int nSignal) {
        if (ec) return;
        if (nSignal == SIGUSR1) {
            LogStats();
            return WaitSignal(lpSignals, lpIo);
        }
        Log(nSignal == SIGTERM ? "stopping (SIGTERM)" : "stopping (SIGINT)");
        LogStats();
        lpIo->stop();
    });
}

}  // namespace

int main(int argc, char** argv) {
    FLAGS f;
    const int nParsed = ParseFlags(argc, argv, &f);
    if (nParsed) return nParsed == 1 ? 0 : 2;

    // A closed standard output (a log reader gone) must not end the server.
    std::signal(SIGPIPE, SIG_IGN);
    LOBBYCONFIG Config;
    Config.nMaxRooms = f.nMaxRooms;
    Config.nMaxRelays = f.nMaxRelays;
    LobbyReset(Config);
    g_lpLobby->lpfnSend = Send;
    g_lpLobby->lpfnLog = Log;
    g_lpLobby->lpfnRandom = Random;

    asio::io_context io;
    udp::socket sock(io);
    boost::system::error_code ec;
    if (!Listen(io, &sock, f)) return 1;
    // Sends never wait: a full send buffer drops the datagram, as the network would.
    sock.non_blocking(true);
    sock.set_option(udp::socket::receive_buffer_size(1 << 20), ec);
    sock.set_option(udp::socket::send_buffer_size(1 << 20), ec);
    g_Io.fd = sock.native_handle();
    WaitReadable(&sock);
    asio::steady_timer Expiry(io), Stats(io);
    Every(&Expiry, 1, [] {
        LobbyExpire(NowMs());
        LobbyWsExpire(NowMs());
    });
    if (f.nStatsInterval > 0) Every(&Stats, f.nStatsInterval, LogStats);
    asio::signal_set Signals(io, SIGINT, SIGTERM, SIGUSR1);
    WaitSignal(&Signals, &io);

    char szLine[160];
    std::snprintf(szLine, sizeof(szLine), "listening on %s:%u (%s), at most %d rooms and %d relays",
                  sock.local_endpoint().address().to_string().c_str(), unsigned(sock.local_endpoint().port()),
                  f.nMaxWs ? "UDP and WebSocket" : "UDP", f.nMaxRooms, f.nMaxRelays);
    Log(szLine);
    io.run();
    LobbyWsStop();
    return 0;
}
