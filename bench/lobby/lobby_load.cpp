// Load on a pomrin-lobby running on loopback: ROOMS waiting rooms kept alive by their hosts, and
// MATCHES relayed matches sending at a match's rate (90 packets a second each way, 60 to 160
// bytes), for SECONDS. Reports what was sent and came back, and the server's CPU time and memory
// (from /proc/PID); lost includes what the load itself had no time to read. Every client has its own endpoint
// on an address of 127.0.0.0/8, at most four to an address so that the server's limits per address hold.
// Usage: lobby_load PORT SERVER_PID ROOMS MATCHES SECONDS
#include <arpa/inet.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "net/lobby_proto.h"

namespace {

sockaddr_in g_Server;
int g_nPid = 0;

double NowS() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

int OpenOn(uint32_t dwIp) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(dwIp);
    if (fd < 0 || bind(fd, (sockaddr*)&sa, sizeof(sa)) != 0) {
        std::perror("lobby_load: socket");
        std::exit(1);
    }
    return fd;
}

void SendMsg(int fd, const LOBBYMSG& m) {
    uint8_t buf[LOBBY_MAX_MESSAGE];
    const int n = LobbyEncode(&m, buf, sizeof(buf));
    sendto(fd, buf, size_t(n), 0, (sockaddr*)&g_Server, sizeof(g_Server));
}

// Sends m and waits for a lobby message of type byWant (three tries, a second each).
LOBBYMSG Exchange(int fd, const LOBBYMSG& m, uint8_t byWant) {
    for (int nTry = 0; nTry < 3; ++nTry) {
        SendMsg(fd, m);
        pollfd p{fd, POLLIN, 0};
        while (poll(&p, 1, 1000) == 1) {
            uint8_t buf[2048];
            const ssize_t n = recv(fd, buf, sizeof(buf), 0);
            LOBBYMSG r;
            if (n > 0 && LobbyDecode(buf, size_t(n), &r) == LOBBY_DECODE_OK && r.byType == byWant) return r;
        }
    }
    std::fprintf(stderr, "lobby_load: no answer of type %d to type %d\n", byWant, m.byType);
    std::exit(1);
}

struct CLIENT {
    int fd = -1;
    LOBBYMSG Keep;  // a waiting host's KEEPALIVE
};

struct PROC {
    double dCpuS = 0, dSysS = 0;  // user and system time; system time alone
    long nRssKb = 0, nPeakKb = 0;
};

PROC ReadProc() {
    PROC p;
    std::string s;
    if (FILE* f = std::fopen(("/proc/" + std::to_string(g_nPid) + "/stat").c_str(), "r")) {
        char buf[1024] = {};
        if (std::fgets(buf, sizeof(buf), f)) s = buf;
        std::fclose(f);
    }
    // Fields 14 and 15 (user and system time in ticks) after the command's closing parenthesis.
    const size_t nAt = s.rfind(')');
    if (nAt != std::string::npos) {
        unsigned long ulUser = 0, ulSys = 0;
        std::sscanf(s.c_str() + nAt + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &ulUser,
                    &ulSys);
        p.dCpuS = double(ulUser + ulSys) / double(sysconf(_SC_CLK_TCK));
        p.dSysS = double(ulSys) / double(sysconf(_SC_CLK_TCK));
    }
    if (FILE* f = std::fopen(("/proc/" + std::to_string(g_nPid) + "/status").c_str(), "r")) {
        char line[256];
        while (std::fgets(line, sizeof(line), f)) {
            std::sscanf(line, "VmRSS: %ld", &p.nRssKb);
            std::sscanf(line, "VmHWM: %ld", &p.nPeakKb);
        }
        std::fclose(f);
    }
    return p;
}

// Address n of a block: 127.B.x.y, never .0 or .255 in the last byte.
uint32_t Addr(uint32_t dwBlock, uint32_t n) {
    return 0x7F000000u | dwBlock << 16 | (n / 250) << 8 | (n % 250 + 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "Usage: lobby_load PORT SERVER_PID ROOMS MATCHES SECONDS\n");
        return 2;
    }
    g_Server.sin_family = AF_INET;
    g_Server.sin_addr.s_addr = htonl(0x7F000001);
    g_Server.sin_port = htons(uint16_t(std::atoi(argv[1])));
    g_nPid = std::atoi(argv[2]);
    const int nRooms = std::atoi(argv[3]), nMatches = std::atoi(argv[4]);
    const double dSeconds = std::atof(argv[5]);
    rlimit rl;
    getrlimit(RLIMIT_NOFILE, &rl);
    rl.rlim_cur = rl.rlim_max;
    setrlimit(RLIMIT_NOFILE, &rl);

    const PROC Start = ReadProc();
    double t0 = NowS();
    std::vector<CLIENT> rooms(static_cast<size_t>(nRooms));
    for (int i = 0; i < nRooms; ++i) {
        CLIENT& c = rooms[size_t(i)];
        c.fd = OpenOn(Addr(1, uint32_t(i / 4)));
        LOBBYMSG m;
        m.byType = LOBBY_MSG_REGISTER;
        std::strcpy(m.szVersion, "load");
        m.nLocal = 1;
        m.Local[0] = {0xC0A80001u + uint32_t(i), 27810};
        const LOBBYMSG room = Exchange(c.fd, m, LOBBY_MSG_ROOM);
        c.Keep.byType = LOBBY_MSG_KEEPALIVE;
        c.Keep.dwCode = room.dwCode;
        c.Keep.qwKey = room.qwKey;
        Exchange(c.fd, c.Keep, LOBBY_MSG_ALIVE);
    }
    const double dRoomsS = NowS() - t0;
    const PROC AfterRooms = ReadProc();

    // Each match: register, keep-alive, join, both bind to the relay.
    t0 = NowS();
    std::vector<int> ends(static_cast<size_t>(nMatches) * 2);
    for (int i = 0; i < nMatches; ++i) {
        const int fdHost = ends[size_t(i) * 2] = OpenOn(Addr(2, uint32_t(i / 4)));
        const int fdGuest = ends[size_t(i) * 2 + 1] = OpenOn(Addr(3, uint32_t(i / 4)));
        LOBBYMSG m;
        m.byType = LOBBY_MSG_REGISTER;
        std::strcpy(m.szVersion, "load");
        const LOBBYMSG room = Exchange(fdHost, m, LOBBY_MSG_ROOM);
        m = LOBBYMSG{};
        m.byType = LOBBY_MSG_KEEPALIVE;
        m.dwCode = room.dwCode;
        m.qwKey = room.qwKey;
        Exchange(fdHost, m, LOBBY_MSG_ALIVE);
        m = LOBBYMSG{};
        m.byType = LOBBY_MSG_JOIN;
        m.dwCode = room.dwCode;
        std::strcpy(m.szVersion, "load");
        const LOBBYMSG intro = Exchange(fdGuest, m, LOBBY_MSG_INTRO);
        m = LOBBYMSG{};
        m.byType = LOBBY_MSG_RELAY_BIND;
        m.qwToken = intro.qwToken;
        m.bySide = LOBBY_SIDE_HOST;
        Exchange(fdHost, m, LOBBY_MSG_RELAY_OK);  // (the host's INTRO waiting in its socket is skipped)
        m.bySide = LOBBY_SIDE_GUEST;
        Exchange(fdGuest, m, LOBBY_MSG_RELAY_OK);
    }
    const double dMatchesS = NowS() - t0;

    // Traffic: every relay end sends 90 packets a second, the sends spread evenly over time; the
    // waiting hosts send their keep-alives every 2 s. Everything that comes back is read.
    const int ep = epoll_create1(0);
    for (const CLIENT& c : rooms) {
        epoll_event e{EPOLLIN, {}};
        e.data.fd = c.fd;
        epoll_ctl(ep, EPOLL_CTL_ADD, c.fd, &e);
    }
    for (int fd : ends) {
        epoll_event e{EPOLLIN, {}};
        e.data.fd = fd;
        epoll_ctl(ep, EPOLL_CTL_ADD, fd, &e);
    }
    const PROC Before = ReadProc();
    const double dStart = NowS();
    const double dSendStep = ends.empty() ? 1e9 : 1.0 / (90.0 * double(ends.size()));
    const double dKeepStep = rooms.empty() ? 1e9 : 2.0 / double(rooms.size());
    uint64_t qwSent = 0, qwSentBytes = 0, qwGot = 0, qwLobbyIn = 0, qwKeeps = 0, nSend = 0, nKeep = 0;
    uint8_t byPacket[160];
    for (size_t i = 0; i < sizeof(byPacket); ++i) byPacket[i] = uint8_t(0x80 + i);
    // After SECONDS, a quarter of a second more to take in what is still on its way.
    for (;;) {
        const double dNow = NowS() - dStart;
        if (dNow >= dSeconds + 0.25) break;
        while (!ends.empty() && dNow < dSeconds && double(nSend) * dSendStep <= dNow) {
            const int fd = ends[nSend % ends.size()];
            const size_t nSize = 60 + (nSend * 37) % 101;
            sendto(fd, byPacket, nSize, 0, (sockaddr*)&g_Server, sizeof(g_Server));
            ++nSend, ++qwSent, qwSentBytes += nSize;
        }
        while (!rooms.empty() && dNow < dSeconds && double(nKeep) * dKeepStep <= dNow) {
            const CLIENT& c = rooms[nKeep % rooms.size()];
            SendMsg(c.fd, c.Keep);
            ++nKeep, ++qwKeeps;
        }
        epoll_event ev[256];
        const int n = epoll_wait(ep, ev, 256, 1);
        for (int i = 0; i < n; ++i) {
            uint8_t buf[2048];
            ssize_t nGot;
            while ((nGot = recv(ev[i].data.fd, buf, sizeof(buf), 0)) > 0) {
                if (LobbyIsLobby(buf, size_t(nGot)))
                    ++qwLobbyIn;
                else
                    ++qwGot;
            }
        }
    }
    const double dRun = dSeconds;
    const PROC After = ReadProc();
    const double dCpu = After.dCpuS - Before.dCpuS;
    std::printf("rooms: %d registered and kept alive in %.2f s (server CPU %.2f s)\n", nRooms, dRoomsS,
                AfterRooms.dCpuS - Start.dCpuS);
    std::printf("matches: %d relayed matches set up in %.2f s\n", nMatches, dMatchesS);
    std::printf(
        "run: %.1f s; relay sent %llu packets (%.0f/s, %.1f MB/s), received %llu, lost %llu (%.3f %%)\n",
        dRun, (unsigned long long)qwSent, double(qwSent) / dRun, double(qwSentBytes) / dRun / 1e6,
        (unsigned long long)qwGot, (unsigned long long)(qwSent - qwGot),
        qwSent ? 100.0 * double(qwSent - qwGot) / double(qwSent) : 0.0);
    std::printf("run: %llu keep-alives sent, %llu lobby answers received\n", (unsigned long long)qwKeeps,
                (unsigned long long)qwLobbyIn);
    std::printf("server: %.2f s CPU over the run (%.1f %% of a core, %.2f s of it in the kernel)\n", dCpu,
                100.0 * dCpu / dRun, After.dSysS - Before.dSysS);
    std::printf("server: resident %ld kB (peak %ld kB; %ld kB at start)\n", After.nRssKb, After.nPeakKb,
                Start.nRssKb);
    return 0;
}
