// The lobby server under test: started on 127.0.0.1 at a free port, its log read from its
// standard output, killed if a failed assertion leaves the test early; and its UDP players.
#pragma once
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
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "net/lobby_proto.h"

struct LOBBYSERVER {
    pid_t pid = -1;
    FILE* lpLog = nullptr;
    std::string sFirstLine;
    ~LOBBYSERVER() {
        if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
        if (lpLog) fclose(lpLog);
    }
};

inline LOBBYADDR g_Server;  // where the players below send

// How a failed comparison shows an address: 127.0.0.1:27810.
inline void PrintTo(const LOBBYADDR& a, std::ostream* lpOut) {
    *lpOut << (a.dwIp >> 24) << '.' << (a.dwIp >> 16 & 255) << '.' << (a.dwIp >> 8 & 255) << '.'
           << (a.dwIp & 255) << ':' << a.wPort;
}

// Its port (UDP, and TCP for the WebSocket side; also set in g_Server), or 0 when it did not start.
inline uint16_t StartLobbyServer(LOBBYSERVER* lpServer) {
    int fdOut[2];
    if (pipe(fdOut) != 0) return 0;
    lpServer->pid = fork();
    if (lpServer->pid == 0) {
        dup2(fdOut[1], 1);
        // POMRIN_LOBBY_SERVER names another build of the server (the packages leg: the unpacked one).
        const char* szServer = std::getenv("POMRIN_LOBBY_SERVER");
        execl(szServer && *szServer ? szServer : POMRIN_LOBBY_BIN, "pomrin-lobby", "--port", "0", "--bind",
              "127.0.0.1", "--stats-interval", "0", nullptr);
        _exit(127);
    }
    close(fdOut[1]);
    lpServer->lpLog = fdopen(fdOut[0], "r");
    char szLine[1024] = {};
    if (!lpServer->lpLog || !fgets(szLine, sizeof(szLine), lpServer->lpLog)) return 0;
    lpServer->sFirstLine = szLine;
    const char* lpAt = std::strstr(szLine, "listening on 127.0.0.1:");
    unsigned nPort = 0;
    if (!lpAt || std::sscanf(lpAt + std::strlen("listening on 127.0.0.1:"), "%u", &nPort) != 1) return 0;
    g_Server = {0x7F000001, uint16_t(nPort)};
    return uint16_t(nPort);
}

// Ends it with SIGTERM: its exit status, and the rest of its log in *lpsLog.
inline int StopLobbyServer(LOBBYSERVER* lpServer, std::string* lpsLog) {
    kill(lpServer->pid, SIGTERM);
    char szLine[1024];
    while (fgets(szLine, sizeof(szLine), lpServer->lpLog)) *lpsLog += szLine;
    int nStatus = -1;
    if (waitpid(lpServer->pid, &nStatus, 0) != lpServer->pid) nStatus = -1;
    lpServer->pid = -1;
    return nStatus;
}

using Bytes = std::vector<uint8_t>;

inline Bytes Encode(const LOBBYMSG& m) {
    uint8_t buf[LOBBY_MAX_MESSAGE];
    const int n = LobbyEncode(&m, buf, sizeof(buf));
    EXPECT_GT(n, 0);
    return Bytes(buf, buf + (n > 0 ? n : 0));
}

// A lobby message of this type.
inline LOBBYMSG Decoded(const Bytes& b, uint8_t byType) {
    LOBBYMSG m;
    EXPECT_EQ(LobbyDecode(b.data(), b.size(), &m), LOBBY_DECODE_OK);
    EXPECT_EQ(m.byType, byType);
    return m;
}

inline LOBBYMSG Msg(uint8_t byType, uint32_t dwCode = 0, const char* szVersion = "9.9") {
    LOBBYMSG m;
    m.byType = byType;
    m.dwCode = dwCode;
    std::strcpy(m.szVersion, szVersion);
    return m;
}

// A UDP player bound to one loopback address.
struct PEER {
    int fd = -1;
    LOBBYADDR Addr;
    size_t nLastSent = 0;
    explicit PEER(uint32_t dwIp) : fd(socket(AF_INET, SOCK_DGRAM, 0)) {
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(dwIp);
        EXPECT_EQ(bind(fd, (sockaddr*)&sa, sizeof(sa)), 0);
        socklen_t n = sizeof(sa);
        getsockname(fd, (sockaddr*)&sa, &n);
        Addr = {dwIp, ntohs(sa.sin_port)};
    }
    PEER(const PEER&) = delete;
    ~PEER() { close(fd); }
};

inline void SendRaw(PEER* p, const Bytes& b) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(g_Server.dwIp);
    sa.sin_port = htons(g_Server.wPort);
    p->nLastSent = b.size();
    ASSERT_EQ(sendto(p->fd, b.data(), b.size(), 0, (sockaddr*)&sa, sizeof(sa)), ssize_t(b.size()));
}

inline void Send(PEER* p, const LOBBYMSG& m) {
    SendRaw(p, Encode(m));
}

// The next datagram, which must come from the server (empty after 5 s of nothing).
inline Bytes Recv(PEER* p) {
    pollfd pfd{p->fd, POLLIN, 0};
    if (poll(&pfd, 1, 5000) != 1) return {};
    uint8_t buf[2048];
    sockaddr_in sa{};
    socklen_t n = sizeof(sa);
    const ssize_t nGot = recvfrom(p->fd, buf, sizeof(buf), 0, (sockaddr*)&sa, &n);
    EXPECT_EQ(std::tuple(ntohl(sa.sin_addr.s_addr), ntohs(sa.sin_port)),
              std::tuple(g_Server.dwIp, g_Server.wPort));
    return Bytes(buf, buf + (nGot > 0 ? nGot : 0));
}

// The answer to what p sent last: a lobby message of this type, never longer than the request.
inline LOBBYMSG Answer(PEER* p, uint8_t byType) {
    const Bytes b = Recv(p);
    EXPECT_LE(b.size(), p->nLastSent);
    return Decoded(b, byType);
}

// A message about the room p made, with its key.
inline LOBBYMSG Keyed(uint8_t byType, const LOBBYMSG& room) {
    LOBBYMSG m = Msg(byType, room.dwCode);
    m.qwKey = room.qwKey;
    return m;
}

// A RELAY_BIND for one side of the meeting this INTRO announced.
inline LOBBYMSG RelayBind(const LOBBYMSG& intro, uint8_t bySide) {
    LOBBYMSG m = Msg(LOBBY_MSG_RELAY_BIND);
    m.qwToken = intro.qwToken;
    m.bySide = bySide;
    return m;
}

// p registers a room with one local address, 192.168.1.20:27810: the ROOM answered.
inline LOBBYMSG Register(PEER* p) {
    LOBBYMSG m = Msg(LOBBY_MSG_REGISTER);
    m.nLocal = 1;
    m.Local[0] = {0xC0A80114, 27810};
    Send(p, m);
    return Answer(p, LOBBY_MSG_ROOM);
}

// Stops the server and looks for each of the texts in the rest of its log.
inline void ExpectCleanStopLogging(LOBBYSERVER* lpServer, std::initializer_list<const char*> texts) {
    std::string sLog;
    const int nStatus = StopLobbyServer(lpServer, &sLog);
    EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0);
    for (const char* sz : texts) EXPECT_NE(sLog.find(sz), std::string::npos) << sz << " in\n" << sLog;
}
