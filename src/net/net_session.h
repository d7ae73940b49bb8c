// A net session: one host and one guest over ENet (UDP), the host's settings handed to the guest,
// both players' inputs a frame, checksums of confirmed frames, and the end of the session.
//
// Channel 0 carries INPUT messages unreliably and unsequenced, each repeating all unacknowledged
// inputs; channel 1 carries every other message reliably and in order (see net_codec.h).
// The functions work on the program's one session, *g_lpNet (tests point it at other records to
// run two peers in one process). The game calls NetService once a frame with its clock in ms.
//
// A game frame in a session, in outline:
//   on NET_EV_CONNECTED: send released inputs for the first nInputDelay frames (nothing was sampled
//     for them), then each frame F sample the local player and NetSendInput(F + delay, input);
//   the peer's input of a frame: NetRemoteInput, else predict it; frames with both known are confirmed;
//   now and then NetSendChecksum(confirmed frame, state checksum); NET_EV_DESYNC ends the session;
//   NetFrameAdvantage() >= 2: hold a frame now and then so the peer catches up;
//   leaving: NetClose(NET_BYE_*, a few hundred ms); on NET_EV_LEFT/LOST/REFUSED: NetClose(0, 0).
#pragma once
#include <cstddef>
#include <cstdint>

#include "net/net_codec.h"
#include "net/net_inputs.h"

struct _ENetHost;
struct _ENetPeer;
struct _ENetPacket;

constexpr uint16_t NET_DEFAULT_PORT = 27810;
constexpr uint32_t NET_LOST_MS = 3000;  // no message or no new input from the peer: the session ends

enum NETSTATE {
    NET_IDLE = 0,        // no session
    NET_WAITING = 1,     // host: waiting for a guest
    NET_CONNECTING = 2,  // guest: reaching the host (retried until NetClose)
    NET_HANDSHAKE = 3,   // guest: HELLO sent, waiting for WELCOME or REFUSE
    NET_PLAYING = 4,     // both peers admitted: inputs and checksums flow
    NET_ENDED = 5,       // refused, left or lost; only NetClose remains
};

enum NETEVENTTYPE {
    NET_EV_CONNECTED = 1,      // session set up (guest: WELCOME arrived; host: guest admitted)
    NET_EV_REFUSED = 2,        // guest: the host refused us (nReason NET_REFUSE_*, szVersion the host's)
    NET_EV_GUEST_REFUSED = 3,  // host: a guest was turned away (nReason, szVersion the guest's);
                               // the session goes on
    NET_EV_LEFT = 4,           // the peer ended the session (nReason NET_BYE_*, 0 unknown)
    NET_EV_LOST = 5,           // no message, or no new input, from the peer for NET_LOST_MS
    NET_EV_DESYNC = 6,         // checksums of dwFrame differ (qwLocal ours, qwRemote the peer's)
};

struct NETEVENT {
    int nType = 0;
    int nReason = 0;
    uint32_t dwFrame = 0;
    uint64_t qwLocal = 0;
    uint64_t qwRemote = 0;
    char szVersion[NET_VERSION_MAX + 1] = {};
};

// Fault injection on what this peer receives: each datagram is dropped with nLossPercent percent
// chance (below ENet, so ENet retransmits its reliable messages as on a real lossy line), and each
// message that gets through is held for nLagMs +- nJitterMs before the session sees it (above ENet,
// in the order ENet gave them for reliable messages and connection events; inputs may overtake).
// Give both peers the same values for a round trip of twice the lag.
struct NETFAULT {
    int nLagMs = 0;        // 0..1000
    int nJitterMs = 0;     // 0..nLagMs
    int nLossPercent = 0;  // 0..90
    uint32_t dwSeed = 1;
};

struct NETSETUP {
    char szVersion[NET_VERSION_MAX + 1] = {};  // the game version; must equal the peer's
    uint64_t qwRulesHash = 0;                  // the game's rules; must equal the peer's
    uint8_t bySettings[NET_SETTINGS_SIZE] = {};  // host: the settings record both play with
    int nInputDelay = 2;                         // host: 0..NET_MAX_INPUT_DELAY frames
    uint32_t dwStartFrame = 0;                   // host: the session's first frame
    const char* szBindAddress = nullptr;         // local address (host: to listen on), null for any
    NETFAULT Fault;
};

struct NETSTATS {
    uint32_t dwPacketsSent = 0;       // messages handed to ENet
    uint32_t dwPacketsReceived = 0;   // messages taken from ENet
    uint32_t dwPacketsDropped = 0;    // lost by fault injection, stale, or from a peer not admitted
    uint32_t dwPeersDropped = 0;      // host: connections closed unanswered (half-open, no echo)
    uint32_t dwPacketsMalformed = 0;  // failed to decode or broke the protocol
    uint32_t dwBytesSent = 0;         // UDP payload bytes, ENet's own traffic included
    uint32_t dwBytesReceived = 0;
    uint32_t dwBytesSentPerSec = 0;   // averaged since the session was set up
    uint32_t dwBytesReceivedPerSec = 0;
    uint32_t dwRoundTripMs = 0;       // ENet's smoothed round trip to the peer (0: none yet)
};

constexpr int NET_HOLD_MAX = 512;
// Host: the guest, guests being refused, and room for half-open connections, each dropped
// unanswered after NET_HALF_OPEN_MS, so that a few forged CONNECTs cannot fill the table.
constexpr int NET_PEERS = 8;
constexpr int NET_PEERS_PER_ADDRESS = 2;
constexpr uint32_t NET_HALF_OPEN_MS = 1000;     // ENet's handshake not finished by then: dropped
constexpr uint32_t NET_ADMIT_MS = 3000;         // connected without echoing our challenge by then: dropped
constexpr uint32_t NET_REFUSE_GRACE_MS = 1000;  // a refused guest's connection is kept this long at most
constexpr int NET_EVENT_MAX = 16;
constexpr int NET_CHECKSUM_SLOTS = 64;

// A message or connection event held back by the fault injection.
struct NETHELD {
    int nKind = 0;  // ENet event type
    _ENetPeer* lpPeer = nullptr;
    uint32_t dwConnectID = 0;  // the connection it came on; the peer record may be reused
    _ENetPacket* lpPacket = nullptr;
    uint8_t byChannel = 0;
    uint32_t dwData = 0;
    uint32_t dwDueMs = 0;
};

struct NETCHECKSUM {
    bool bUsed = false;
    uint32_t dwFrame = 0;
    uint64_t qwSum = 0;
};

enum : uint8_t { NET_ROLE_NONE = 0, NET_ROLE_PENDING = 1, NET_ROLE_GUEST = 2, NET_ROLE_REFUSED = 3 };

struct NETSESSION {
    NETSTATE nState = NET_IDLE;
    bool bHost = false;
    NETSETUP Setup;
    char szHost[256] = {};  // guest: where to connect
    uint32_t dwHostIp = 0;  // guest: szHost resolved (network byte order)
    uint16_t wPort = 0;
    _ENetHost* lpHost = nullptr;
    _ENetPeer* lpPeer = nullptr;            // host: the admitted guest; guest: the host
    uint8_t byPeerRole[NET_PEERS] = {};     // host: by ENet peer slot, NET_ROLE_*
    uint32_t dwPeerDueMs[NET_PEERS] = {};   // host: a pending or refused connection is dropped by then
    uint64_t qwChallenge[NET_PEERS] = {};   // host: the value a pending guest must echo (0: none sent)
    uint32_t dwHalfOpenID[NET_PEERS] = {};  // host: the half-open connection seen in the slot
    uint32_t dwHalfOpenMs[NET_PEERS] = {};  // and when it was first seen
    NETINPUTS Inputs;
    uint8_t bySettings[NET_SETTINGS_SIZE] = {};  // the session's settings (guest: from WELCOME)
    int nInputDelay = 0;
    uint32_t dwNowMs = 0;
    uint32_t dwLastHeardMs = 0;    // the last message decoded from the admitted peer
    uint32_t dwRemoteMovedMs = 0;  // when the peer's inputs last advanced
    uint32_t dwRemoteSeen = 0;     // Inputs.dwRemoteNext then
    uint32_t dwHandshakeMs = 0;    // guest: when the first HELLO went
    uint32_t dwHelloSentMs = 0;    // guest: when the last HELLO went
    uint64_t qwEcho = 0;           // guest: the host's challenge, echoed in HELLO
    uint32_t dwLastInputSentMs = 0;
    bool bAckOwed = false;  // the peer repeats inputs we have: it has not seen our acknowledgement
    bool bDesyncReported = false;
    NETCHECKSUM LocalSums[NET_CHECKSUM_SLOTS];
    NETCHECKSUM RemoteSums[NET_CHECKSUM_SLOTS];
    NETHELD Held[NET_HOLD_MAX];
    int nHeld = 0;
    uint32_t dwLastOrderedDueMs = 0;
    uint64_t qwRandom = 0;
    NETEVENT Events[NET_EVENT_MAX];
    int nEvents = 0;
    NETSTATS Stats;
    bool bSetUp = false;
    uint32_t dwSetUpMs = 0;
    uint32_t dwBytesSentBase = 0;
    uint32_t dwBytesReceivedBase = 0;
};

extern NETSESSION g_Net;
extern NETSESSION* g_lpNet;  // the session the functions below work on; &g_Net unless a test moves it

// Parses "HOST[:PORT]" (a name or IPv4 address; PORT 1..65535, default NET_DEFAULT_PORT).
bool NetParseAddress(const char* szText, char* szHost, size_t nHostSize, uint16_t* lpwPort);

// Starts a session as host, listening on UDP wPort (0: any free port, see NetLocalPort), or as a
// guest connecting to szHost:wPort (wPort 0: not yet, the lobby finds the address). False (nothing
// left open) if ENet, the socket or the name fails.
bool NetHost(uint16_t wPort, const NETSETUP* lpSetup);
bool NetJoin(const char* szHost, uint16_t wPort, const NETSETUP* lpSetup);
uint16_t NetLocalPort();

// Runs the network: receives, admits or refuses guests, delivers held messages that are due,
// resends unacknowledged inputs, watches for loss. Copies up to nMax events into lpEvents and
// returns how many; events that do not fit wait for the next call.
int NetService(uint32_t dwNowMs, NETEVENT* lpEvents, int nMax);

// Our input of dwFrame (frames given in order from the session's first frame, once each);
// sent at once with all unacknowledged inputs. False if out of order or not playing.
bool NetSendInput(uint32_t dwFrame, uint32_t dwInput);
// The peer's input of dwFrame, if it has arrived.
bool NetRemoteInput(uint32_t dwFrame, uint32_t* lpdwInput);
// The peer has all our inputs before this frame; we have all of the peer's before this frame.
uint32_t NetPeerAck();
uint32_t NetRemoteNext();
// Frames this machine runs ahead of the peer (positive: hold a frame now and then).
int NetFrameAdvantage();

// Our checksum of a confirmed frame, sent reliably; compared when the peer's arrives.
bool NetSendChecksum(uint32_t dwFrame, uint64_t qwChecksum);
// True, with the frame and both checksums in lpEvent, if a frame known on both sides differs.
// NetService reports the first mismatch as NET_EV_DESYNC by itself.
bool NetCheckChecksum(NETEVENT* lpEvent);

// Ends the session: tells the peer why (nReason NET_BYE_*, 0 for nothing), waits up to
// dwLingerMs for it to confirm, then closes everything. Safe to call in any state.
void NetClose(int nReason, uint32_t dwLingerMs);

NETSTATE NetState();
// ENet's smoothed round trip to the peer in milliseconds (0 without a peer).
uint32_t NetRoundTripMs();
NETSTATS NetStats();

// For tests: sends bytes as they are on a channel of the current peer.
bool NetSendRaw(int nChannel, const void* lpData, size_t nSize);
