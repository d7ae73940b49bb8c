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

// Drops received datagrams for the fault injection and notes when the peer was last heard.
int ENET_CALLBACK NetIntercept(ENetHost* lpHost, ENetEvent* lpEvent);

// Queues an ENet event to reach the session after the injected delay (at once without faults).
// Takes the packet of a receive event; a full queue drops it.
void NetHold(NETSESSION* lpNet, const ENetEvent* lpEvent);
// The next held event that is due, oldest first; false if none is.
bool NetTakeHeld(NETSESSION* lpNet, NETHELD* lpHeld);
// Destroys every held packet (closing, or the peer is gone).
void NetDropHeld(NETSESSION* lpNet, ENetPeer* lpPeer);

// Encodes and sends lpMsg to lpPeer: inputs unreliable on channel 0, everything else reliable on 1.
bool NetSendMessage(NETSESSION* lpNet, ENetPeer* lpPeer, const NETMSG* lpMsg);

void NetPushEvent(NETSESSION* lpNet, const NETEVENT& ev);

// ENet settings every connection gets: the loss timeout and no throttling of unreliable packets.
void NetConfigurePeer(ENetPeer* lpPeer);
