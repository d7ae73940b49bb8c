// The lobby server under test: started on 127.0.0.1 at a free port, its log read from its
// standard output, killed if a failed assertion leaves the test early.
#pragma once
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

struct LOBBYSERVER {
    pid_t pid = -1;
    FILE* lpLog = nullptr;
    std::string sFirstLine;
    ~LOBBYSERVER() {
        if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
        if (lpLog) fclose(lpLog);
    }
};

// Its port (UDP, and TCP for the WebSocket side), or 0 when it did not start.
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
