// Online play: the rollback session that runs the game's frames while two machines play.
//
// Each frame this machine reads its local player, schedules that input for the frame nInputDelay
// later and sends it; the other player's input of a frame is used when it has arrived and
// predicted (its last known input) when not. A late input that differs from its prediction
// restores the state of that frame and simulates forward again to the present, drawing nothing
// and playing no sound twice. At most ROLLBACK_FRAMES frames are predicted; beyond that the
// session waits. Frames with both inputs known are confirmed: they go to the record and the
// trace, and now and then their checksums are compared with the peer's.
//
// The host is player 1, the guest player 2. Both start at the two-player character select with
// the host's settings; the session ends when a player goes back to the title, leaves, is lost or
// the states differ, and the game goes on locally from its title.
//
// The program's entry installs the session (NetPlayStart) before the first frame; GameFrame then
// hands every frame to it until it ends.
#pragma once
#include <cstdint>

#include "net/net_session.h"

struct OPTIONDATA;

struct NETPLAYOPTIONS {
    bool bHost = false;
    char szHost[256] = {};  // guest: where the host is
    uint16_t wPort = NET_DEFAULT_PORT;
    int nInputDelay = 2;  // 0..NET_MAX_INPUT_DELAY
    NETFAULT Fault;
    uint32_t dwTimeoutMs = 0;        // no peer within this: the program ends with exit code 3 (0: wait)
    uint32_t dwFrames = 0;           // >0: the program ends once frame dwFrames - 1 is confirmed on both
    const char* szRecord = nullptr;  // the net record written of the confirmed frames
    bool bPace = true;               // 90 frames a second on the real clock
    uint32_t dwJunkBits = 0;         // tests: ORed into every input word sent, as a broken peer would
    // Meeting through a lobby server: a host registers a room, a guest joins szCode.
    char szCode[8] = {};          // guest: the room code (szHost unused)
    char szLobby[256] = {};       // the server's HOST[:PORT]; "" for none
    bool bLobbySettings = false;  // "": the lobby line of Settings.txt, else the build's default
    // Started from the online screen: it stays on screen while connecting (the session runs its
    // frames without drawing its own waiting screen) and the session ends back on it.
    bool bScreen = false;
};

// What the program around the session does at some points; any may be null.
struct NETPLAYHOOKS {
    // Before the local player is read for session frame dwFrame (the simulator's script).
    void (*lpfnSample)(uint32_t dwFrame) = nullptr;
    // Frame dwFrame was simulated (for the first time or again).
    void (*lpfnStepped)(uint32_t dwFrame) = nullptr;
    // Frame dwFrame is confirmed: its last simulation is final. Called in order from 0.
    void (*lpfnConfirmed)(uint32_t dwFrame) = nullptr;
    // A message for the player (NETPLAY_MSG_*: connection, end of the session).
    void (*lpfnMessage)(int nMessage) = nullptr;
};
extern NETPLAYHOOKS g_NetPlayHooks;

struct NETPLAYSTATS {
    uint32_t dwRollbacks = 0;
    uint32_t dwLongestRollback = 0;
    uint32_t dwFramesWaited = 0;  // ticks that ran no new frame (prediction limit or time sync)
    uint32_t dwFramesHeld = 0;    // of those, held for time sync
};

// Opens the session (host or join) and takes over the game's frames. False if the network could
// not be opened.
bool NetPlayStart(const NETPLAYOPTIONS* lpOptions);
// True while a session (waiting, connecting or playing) runs the frames.
bool NetPlayActive();
// Ends a running session at once (the program closes): the peer hears why.
void NetPlayShutdown();
NETPLAYSTATS NetPlayStats();
// The last network counters of the session, kept after it closed.
NETSTATS NetPlayNetStats();
// How the last session reached its peer: NETLOBBY_ROUTE_DIRECT or _RELAY (0: never connected).
int NetPlayRoute();
// True while a session waits for its peer (not yet playing).
bool NetPlayConnecting();
// The options of the session running or last run.
const NETPLAYOPTIONS* NetPlayOptions();
// The host's lobby note (NETPLAY_MSG_ROOM or why there is no room), and why the last session
// ended (0: it did not end with a message).
int NetPlayLobbyNote();
// True while a guest joining an address has heard nothing from its host for 10 s: the waiting
// screens say so (NETPLAY_MSG_NO_HOST) and it keeps trying.
bool NetPlayNoAnswer();
int NetPlayEndMessage();
// Ends a session that is still waiting for its peer, silently (the player gave up).
void NetPlayCancel();

// (net_record.cpp, which needs no network.) Both machines' start: the given settings in force, the title's
// two-player row confirmed, the character select next. The state must be the program's own start (no scene
// loaded yet).
void NetPlayEnterSelect(const OPTIONDATA* lpSettings);
// False if a settings record from outside holds a value the game does not take.
bool NetPlaySettingsValid(const OPTIONDATA* lpSettings);
