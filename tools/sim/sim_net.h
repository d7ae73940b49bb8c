// The simulator's net session and replay (sim_net.cpp); a build without online play links
// tools/sim/nonet/sim_net.cpp, which refuses them.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

struct SIMNET {
    bool bNet = false;     // --host or --join given
    bool bOnline = false;  // --online: the title's online row and the online screen
    bool bHost = false;
    std::string szJoin;   // HOST:PORT, or a room code with szLobby
    std::string szLobby;  // the lobby server's HOST[:PORT]
    uint32_t dwPort = 0;
    uint32_t dwDelay = 2, dwTimeout = 10, dwLag = 0, dwJitter = 0, dwLoss = 0, dwSeed = 1;
    std::string szRecord, szReplay;  // absolute paths
    bool bStats = false;
    bool bDesync = false;  // test: this peer's random generator is disturbed on frame dwDesyncAt
    uint32_t dwDesyncAt = 0;
    bool bJunkBits = false;  // test: the input words this peer sends carry bits outside the eight
};

// Sets up the session or the replay the options ask for, before the game starts. The session
// drives the local player through lpfnApplyInput(session frame) and writes its confirmed frames
// to fpTrace. Returns 0, or the exit code (2) after a message.
int SimNetStart(const SIMNET& net, uint32_t dwFrames, FILE* fpTrace, bool (*lpfnApplyInput)(uint32_t));
// True while a session runs the frames.
bool SimNetActive();
// True while that session still waits for its peer.
bool SimNetWaiting();
// After the game: the session closed, the statistics printed if asked for.
void SimNetEnd(const SIMNET& net);
