// Inside the net session: ENet glue shared by net_session.cpp and net_link.cpp.
#pragma once
#include <enet/enet.h>

#include "net/net_session.h"

constexpr uint8_t NET_CHANNEL_INPUT = 0;
constexpr uint8_t NET_CHANNEL_CONTROL = 1;
constexpr int NET_CHANNELS = 2;
// Disconnect data: a tag and a NET_BYE_* or NET_REFUSE_* reason; a timeout gives 0.
constexpr uint32_t NET_DISCONNECT_BYE = 0x504D4200;
constexpr uint32_t NET_DISCONNECT_REFUSE = 0x504D5200;

// Every datagram the socket receives, before ENet reads it: drops some for the fault injection.
int ENET_CALLBACK NetIntercept(ENetHost* lpHost, ENetEvent* lpEvent);
// The settings of both sides' ENet host: CRC32 on every datagram, the intercept, size limits.
void NetConfigureHost(ENetHost* lpHost);

// Host: admitting guests (net_admit.cpp). The ENet peer slot of a connection, or -1.
int NetPeerSlot(const NETSESSION* lpNet, const ENetPeer* lpPeer);
// A connection finished ENet's handshake: it may now earn admission.
void NetAdmitConnected(NETSESSION* lpNet, ENetPeer* lpPeer);
// A message from a connection that is not the admitted guest (bValid: it decoded).
void NetAdmitMessage(NETSESSION* lpNet, ENetPeer* lpPeer, const NETMSG* lpMsg, bool bValid);
// The datagram about to be read may be a half-open connection's again: answer it (intercept).
void NetAdmitHeard(NETSESSION* lpNet);
// Drops half-open connections, guests that never echoed, and refused ones after their grace.
void NetAdmitWatch(NETSESSION* lpNet);
// The session is set up (host: the guest admitted; guest: WELCOME arrived).
void NetSetUp(NETSESSION* lpNet);

// Queues an ENet event to reach the session after the injected delay (at once without faults).
// Takes the packet of a receive event; a full queue drops it.
void NetHold(NETSESSION* lpNet, const ENetEvent* lpEvent);
// The next held event that is due, oldest first; false if none is.
bool NetTakeHeld(NETSESSION* lpNet, NETHELD* lpHeld);
// Destroys every held packet (closing, or the peer is gone).
void NetDropHeld(NETSESSION* lpNet, ENetPeer* lpPeer);

// Encodes and sends lpMsg to lpPeer: inputs and challenges unreliable on channel 0, everything
// else reliable on 1.
bool NetSendMessage(NETSESSION* lpNet, ENetPeer* lpPeer, const NETMSG* lpMsg);

void NetPushEvent(NETSESSION* lpNet, const NETEVENT& ev);

// ENet settings every connection gets: the loss timeout and no throttling of unreliable packets.
void NetConfigurePeer(ENetPeer* lpPeer);
