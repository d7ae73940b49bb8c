// The lobby server's WebSocket side, for players without UDP (the browser build): a TCP listener
// at the UDP port's number where each binary message is one datagram of the lobby, handed to the
// same lobby state (lobby_state.h) as a UDP datagram. A connection is one peer (LOBBYPEER with its
// qwConn); what the state sends to it goes out as one binary message.
//
// Everything from a connection is untrusted. Limits: connections in all and per address, the
// HTTP upgrade request's size and time, the message size (LOBBY_MAX_DATAGRAM), messages a second,
// idle time, and how far a slow reader may fall behind. Each refusal has its defined outcome:
//   over a connection limit        the connection is closed at once, before any byte is read
//   a bad or slow upgrade request  the connection is closed (no answer); so is one from the
//                                  trusted proxy without a valid X-Real-IP
//   a plain HTTP request           "426 Upgrade Required", then closed
//   a text message                 closed with status 1003 (unsupported data)
//   a message over the size        closed with status 1009 (message too big)
//   no message for nIdleMs         closed with status 1001 (going away)
//   over the message rate          the message is dropped, as a UDP datagram would be
//   too far behind in reading      the connection is closed at once
#pragma once
// Boost 1.74's Asio uses std::exchange under C++20 without including <utility>: it comes first.
#include <utility>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/address_v4.hpp>
#include <cstddef>
#include <cstdint>
#include <string>

struct LOBBYWSCONFIG {
    int nMaxConnections = 1000;
    int nPerAddress = 8;
    uint32_t dwRequestMax = 4096;     // bytes of the HTTP upgrade request
    uint32_t dwHandshakeMs = 5000;    // to send the whole upgrade request (and to close)
    uint32_t dwIdleMs = 60000;        // without a message (the game sends one every 2 s at least)
    int nMessagesPerSecond = 400;     // each connection's (burst twice as many)
    uint32_t dwQueueMax = 32 * 1024;  // bytes waiting to be written to one connection (1.5 s of a match)
    uint32_t dwProxyIp = 0;           // a reverse proxy's address (host order): its connections are counted
                                      // by the player's address in their X-Real-IP header (0: none)
};

// Listens on Address:wPort (TCP); lpfnFlush is called after each message handed to the lobby
// (it sends what the lobby queued for UDP). False, with the reason in *lpsError, if it cannot.
bool LobbyWsStart(boost::asio::io_context& Io, const boost::asio::ip::address_v4& Address, uint16_t wPort,
                  const LOBBYWSCONFIG& Config, void (*lpfnFlush)(), std::string* lpsError);

// One message to connection qwConn; false if it is gone or was too far behind (then it is closed).
bool LobbyWsSend(uint64_t qwConn, const uint8_t* lpData, size_t nSize);

// Closes the connections idle too long; call about once a second.
void LobbyWsExpire(uint64_t qwNowMs);

// Stops listening and lets go of every connection (before the io_context goes).
void LobbyWsStop();

// The WebSocket side's counters as one log line.
void LobbyWsStatsLine(char* szOut, size_t nOutSize);
