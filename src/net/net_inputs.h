// The input window of a session: this machine's inputs until the peer acknowledges them, and the
// peer's inputs as they arrive. One input is an opaque 32-bit unit a frame; the game defines its bits.
// Inputs travel unreliably: every INPUT message repeats all unacknowledged inputs (from the peer's
// acknowledgement on, at most NET_MAX_INPUTS), so any one message that arrives fills every gap.
#pragma once
#include <cstdint>

#include "net/net_codec.h"

constexpr int NET_RING = 1024;  // frames of each side kept (over 11 seconds at 90 frames a second)

struct NETINPUTS {
    uint32_t dwStart = 0;       // first frame of the session
    uint32_t dwLocalNext = 0;   // next frame of ours to be given
    uint32_t dwPeerAck = 0;     // the peer has all our frames below this
    uint32_t dwRemoteNext = 0;  // we have all the peer's frames below this
    int nPeerAdvantage = 0;     // the peer's frame advantage, from its last INPUT
    uint32_t dwLocal[NET_RING] = {};
    uint32_t dwRemote[NET_RING] = {};
};

void NetInputsReset(NETINPUTS* lpWin, uint32_t dwStart);

// Adds our input of frame dwFrame, which must be dwLocalNext; false if it is not, or if
// NET_RING frames already wait for the peer's acknowledgement.
bool NetInputsAddLocal(NETINPUTS* lpWin, uint32_t dwFrame, uint32_t dwInput);

// The peer's input of dwFrame: true if it has arrived (and is still kept).
bool NetInputsRemote(const NETINPUTS* lpWin, uint32_t dwFrame, uint32_t* lpdwInput);

// The INPUT message for now: our unacknowledged inputs, our acknowledgement, our advantage.
void NetInputsMessage(const NETINPUTS* lpWin, NETMSG* lpMsg);

// Takes an INPUT message from the peer. Returns the number of new peer frames (0 or more), or -1
// if the message cannot come from a sound peer (acknowledges frames we never sent, or starts
// past a gap); such a message changes nothing.
int NetInputsApply(NETINPUTS* lpWin, const NETMSG* lpMsg);

// How many frames this machine runs ahead of the peer (negative: behind), from both sides'
// view of the inputs in flight; the machine ahead holds a frame now and then.
int NetInputsAdvantage(const NETINPUTS* lpWin);
