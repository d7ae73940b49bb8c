// pomrin-lobby: the lobby server. One UDP socket carries the lobby messages and the relay; one
// thread runs the Asio event loop that feeds the lobby's state (lobby_state.h).
// Boost 1.74's Asio uses std::exchange under C++20 without including <utility>: it comes first.
#include <utility>

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

namespace {

namespace asio = boost::asio;
using asio::ip::udp;

const char USAGE[] =
    "Usage: pomrin-lobby [options]\n"
    "The lobby server of pomrin: room codes, introductions and a relay, on one UDP port.\n"
    "  --port N            UDP port (default 27820; 0: any free port, printed at start)\n"
    "  --bind ADDR         IPv4 address to listen on (default all)\n"
    "  --max-rooms N       rooms held at once (default 20000)\n"
    "  --max-relays N      relays held at once (default 2000)\n"
    "  --stats-interval S  seconds between counter lines (default 300; 0: only on SIGUSR1)\n"
    "  --help              this text\n"
    "One line per event on standard output; SIGUSR1 prints the counters; SIGTERM or SIGINT stop.\n";

struct FLAGS {
    uint16_t wPort = LOBBY_DEFAULT_PORT;
    std::string sBind = "0.0.0.0";
    int nMaxRooms = 20000;
    int nMaxRelays = 2000;
    int nStatsInterval = 300;
};

udp::socket* g_lpSocket = nullptr;
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
        } else if (s == "--max-rooms") {
            bOk = ParseInt(szValue, 1, 10000000, &n);
            lpFlags->nMaxRooms = int(n);
        } else if (s == "--max-relays") {
            bOk = ParseInt(szValue, 0, 1000000, &n);
            lpFlags->nMaxRelays = int(n);
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

bool Send(const LOBBYADDR& To, const uint8_t* lpData, size_t nSize) {
    boost::system::error_code ec;
    const udp::endpoint ep(asio::ip::address_v4(To.dwIp), To.wPort);
    g_lpSocket->send_to(asio::buffer(lpData, nSize), ep, 0, ec);
    return !ec;
}

uint64_t Random() {
    return uint64_t(g_Random()) << 32 | g_Random();
}

uint64_t NowMs() {
    return uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count());
}

void LogStats() {
    char sz[1024];
    LobbyStatsLine(sz, sizeof(sz));
    Log(sz);
}

// The receive loop: one waiting receive, then whatever else is queued without waiting.
struct RECEIVER {
    udp::socket* lpSocket;
    udp::endpoint From;
    uint8_t byBuf[65536];

    void Handle(size_t nSize) {
        if (!From.address().is_v4()) return;
        LOBBYADDR a;
        a.dwIp = From.address().to_v4().to_uint();
        a.wPort = From.port();
        LobbyReceive(a, byBuf, nSize, NowMs());
    }

    void Start() {
        lpSocket->async_receive_from(
            asio::buffer(byBuf), From, [this](boost::system::error_code ec, size_t n) {
                if (ec == asio::error::operation_aborted) return;
                if (!ec) Handle(n);
                for (int i = 0; i < 256; ++i) {
                    boost::system::error_code ec2;
                    const size_t n2 = lpSocket->receive_from(asio::buffer(byBuf), From, 0, ec2);
                    if (ec2) break;  // would block: nothing more queued
                    Handle(n2);
                }
                Start();
            });
    }
};

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
    const udp::endpoint bindTo(asio::ip::make_address_v4(f.sBind), f.wPort);
    sock.open(udp::v4(), ec);
    if (!ec) sock.bind(bindTo, ec);
    if (ec) {
        std::fprintf(stderr, "pomrin-lobby: cannot listen on %s:%u (UDP): %s\n", f.sBind.c_str(),
                     unsigned(f.wPort), ec.message().c_str());
        return 1;
    }
    // Sends never wait: a full send buffer drops the datagram, as the network would.
    sock.non_blocking(true);
    sock.set_option(udp::socket::receive_buffer_size(1 << 20), ec);
    sock.set_option(udp::socket::send_buffer_size(1 << 20), ec);
    g_lpSocket = &sock;

    static RECEIVER Receiver;
    Receiver.lpSocket = &sock;
    Receiver.Start();
    asio::steady_timer Expiry(io), Stats(io);
    Every(&Expiry, 1, [] { LobbyExpire(NowMs()); });
    if (f.nStatsInterval > 0) Every(&Stats, f.nStatsInterval, LogStats);
    asio::signal_set Signals(io, SIGINT, SIGTERM, SIGUSR1);
    WaitSignal(&Signals, &io);

    char szLine[128];
    std::snprintf(szLine, sizeof(szLine), "listening on %s:%u (UDP), at most %d rooms and %d relays",
                  sock.local_endpoint().address().to_string().c_str(), unsigned(sock.local_endpoint().port()),
                  f.nMaxRooms, f.nMaxRelays);
    Log(szLine);
    io.run();
    return 0;
}
