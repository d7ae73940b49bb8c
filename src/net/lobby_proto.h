// The lobby protocol: room codes, and the datagrams between the game, the lobby server
// (pomrin-lobby) and the other player while two players find a route to each other.
//
// Every datagram is one UDP payload: a 6-byte header, then the fields of its type. Numbers are
// little-endian; an address is its four bytes in dotted order (a.b.c.d) then the port (u16). A
// client without UDP (a browser) talks to the server over a WebSocket at the same port number
// (TCP): each binary message is one datagram, both ways, and the server relays between the two.
//   header       magic "PMLB" (4 bytes, in this order) | protocol:u8 | type:u8
//   REGISTER   host -> server   vlen:u8 version[vlen] n:u8 local[n]                     (request)
//   ROOM       server -> host   code:u32 key:u64 public:addr lifetime:u16 keepalive:u8
//   KEEPALIVE  host -> server   code:u32 key:u64                                        (request)
//   ALIVE      server -> host   code:u32 left:u16
//   JOIN       guest -> server  code:u32 vlen:u8 version[vlen] n:u8 local[n]            (request)
//   INTRO      server -> both   code:u32 token:u64 side:u8 public:addr n:u8 local[n]
//   PUNCH      player -> player token:u64 side:u8
//   PUNCH_ACK  player -> player token:u64 side:u8
//   RELAY_BIND player -> server token:u64 side:u8                                      (request)
//   RELAY_OK   server -> player token:u64 side:u8 peer:u8
//   LEAVE      host -> server   code:u32 key:u64                                        (request)
//   ERROR      server -> client reason:u8 request:u8 vlen:u8 version[vlen]
//
// How a meeting goes:
// - The host sends REGISTER (its game version and up to 4 local IPv4 addresses with its port) and
//   gets ROOM: the room code, a secret key, its public address as the server sees it, how many
//   seconds the room lasts without a guest, and the keep-alive interval. It sends KEEPALIVE at once
//   and then every `keepalive` seconds (answered by ALIVE); the room takes guests only after the
//   first KEEPALIVE (proof that the host receives at that address; without one it ends after
//   ~10 s) and ends after ~30 s without one, when it has had no guest for `lifetime` seconds, or
//   on LEAVE.
// - The guest sends JOIN with the code. The server answers with INTRO to both sides: the other
//   side's public and local addresses, a random session token and the receiver's own side
//   (0 host, 1 guest). A room takes one guest; the same guest asking again gets INTRO again (and
//   so does the host), and a host's KEEPALIVE on a taken room is answered with INTRO (in case the
//   first was lost). A JOIN answered LOBBY_ERROR_UNKNOWN tells a waiting guest its host is gone.
// - Both sides send PUNCH to all of the other's addresses at once and answer every PUNCH with
//   PUNCH_ACK at the address it came from; only the guest then opens the ENet connection.
// - Without a direct route, both send RELAY_BIND (token, own side) to the server from the address
//   it saw them at (the address in the other side's INTRO), within ~30 s of the room's last
//   KEEPALIVE, JOIN or RELAY_BIND, and again until RELAY_OK says peer = 1 (the other side is
//   bound too; before that nothing is forwarded). From then on the server forwards every datagram
//   of a bound endpoint that does NOT start with the magic, unchanged, to the other endpoint;
//   ENet sees the server's address as its peer.
// - An INTRO without addresses (public 0.0.0.0:0, n = 0) means the other side cannot be reached
//   directly (it talks to the server over a WebSocket): both sides bind to the relay at once.
// - ERROR answers a request the server refuses (`request` is that request's type). With
//   LOBBY_ERROR_VERSION, `version` is the host's game version. A relay lasts ~30 s past its last
//   datagram; its traffic is capped well above a match's (about 90 packets a second each way).
//
// No amplification: the server never answers with more bytes than the datagram it answers, so
// every request is padded with zero bytes to at least LOBBY_REQUEST_MIN bytes (the encoder does
// this). PUNCH and PUNCH_ACK have the same size.
//
// The magic's first two bytes, read as ENet's big-endian peer-id word (0x504D), carry ENet's
// "compressed" flag, which the game never sets: a lobby datagram can never be taken for the
// game's ENet traffic and the reverse, so both share one socket and the relay tells them apart.
//
// The header and ERROR (its type number and layout) stay the same in every protocol version, so
// that a server can tell a client of another version so.
// Decoding is strict: a wrong length, a field out of range or padding that is not zero rejects the
// whole datagram, so a decoded message re-encodes to exactly the bytes it came from.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr uint8_t LOBBY_MAGIC[4] = {'P', 'M', 'L', 'B'};
constexpr uint8_t LOBBY_PROTOCOL = 1;
constexpr uint16_t LOBBY_DEFAULT_PORT = 27820;
constexpr int LOBBY_HEADER_SIZE = 6;
constexpr int LOBBY_VERSION_MAX = 32;            // game version text, printable ASCII
constexpr int LOBBY_MAX_LOCAL = 4;               // local addresses a side reports
constexpr int LOBBY_REQUEST_MIN = 64;            // requests are padded to this; no answer is longer
constexpr int LOBBY_MAX_MESSAGE = 128;           // no valid lobby datagram is longer
constexpr uint32_t LOBBY_CODE_LIMIT = 1u << 30;  // codes are 30 bits
constexpr int LOBBY_CODE_LENGTH = 6;

enum : uint8_t {
    LOBBY_MSG_REGISTER = 1,
    LOBBY_MSG_ROOM = 2,
    LOBBY_MSG_KEEPALIVE = 3,
    LOBBY_MSG_ALIVE = 4,
    LOBBY_MSG_JOIN = 5,
    LOBBY_MSG_INTRO = 6,
    LOBBY_MSG_PUNCH = 7,
    LOBBY_MSG_PUNCH_ACK = 8,
    LOBBY_MSG_RELAY_BIND = 9,
    LOBBY_MSG_RELAY_OK = 10,
    LOBBY_MSG_LEAVE = 11,
    LOBBY_MSG_ERROR = 12,
    LOBBY_MSG_LAST = 12,
};

// Why the server refuses a request.
enum : uint8_t {
    LOBBY_ERROR_UNKNOWN = 1,   // no such room (wrong code, expired, host gone) or session token
    LOBBY_ERROR_TAKEN = 2,     // the room already has its guest
    LOBBY_ERROR_VERSION = 3,   // the host plays another game version (in `version`)
    LOBBY_ERROR_FULL = 4,      // the server holds as many rooms or relays as it may
    LOBBY_ERROR_TOO_MANY = 5,  // too many requests, rooms, relays or wrong codes from this address
    LOBBY_ERROR_BAD = 6,       // a request the server cannot take (e.g. RELAY_BIND from elsewhere)
    LOBBY_ERROR_PROTOCOL = 7,  // another lobby protocol version (the header carries the server's)
    LOBBY_ERROR_LAST = 7,
};

enum : uint8_t {
    LOBBY_SIDE_HOST = 0,
    LOBBY_SIDE_GUEST = 1,
};

// An IPv4 endpoint; dwIp in host order (127.0.0.1 is 0x7F000001).
struct LOBBYADDR {
    uint32_t dwIp = 0;
    uint16_t wPort = 0;
};
inline bool operator==(const LOBBYADDR& a, const LOBBYADDR& b) {
    return a.dwIp == b.dwIp && a.wPort == b.wPort;
}

// One message; only the fields of its type are meaningful.
struct LOBBYMSG {
    uint8_t byType = 0;
    uint32_t dwCode = 0;   // ROOM ALIVE KEEPALIVE JOIN INTRO LEAVE, < 2^30
    uint64_t qwKey = 0;    // ROOM KEEPALIVE LEAVE: the host's secret
    uint64_t qwToken = 0;  // INTRO PUNCH PUNCH_ACK RELAY_BIND RELAY_OK
    uint8_t bySide = 0;    // INTRO (receiver's), PUNCH* and RELAY_* (sender's)
    uint8_t byPeer = 0;    // RELAY_OK: 1 when the other side is bound too
    LOBBYADDR Public;      // ROOM (own), INTRO (the other side's)
    int nLocal = 0;        // REGISTER JOIN INTRO: 0..LOBBY_MAX_LOCAL
    LOBBYADDR Local[LOBBY_MAX_LOCAL];
    uint16_t wLifetime = 0;                      // ROOM: seconds the room lasts without a guest
    uint8_t byKeepalive = 0;                     // ROOM: seconds between KEEPALIVEs, 1..255
    uint16_t wLeft = 0;                          // ALIVE: seconds the room has left
    uint8_t byReason = 0;                        // ERROR
    uint8_t byRequest = 0;                       // ERROR: type of the refused request
    char szVersion[LOBBY_VERSION_MAX + 1] = {};  // REGISTER JOIN ERROR
};

// What LobbyDecode found.
enum LOBBYDECODE {
    LOBBY_DECODE_OK = 0,    // a valid message of this protocol version
    LOBBY_DECODE_FOREIGN,   // no magic: not a lobby datagram (ENet traffic, or garbage)
    LOBBY_DECODE_BAD,       // the magic, but not a valid message
    LOBBY_DECODE_PROTOCOL,  // the magic and another protocol version; lpMsg->byType is set,
                            // and for an ERROR its reason and request too
};

// True when the datagram starts with the lobby magic (is meant for the lobby, not for ENet).
bool LobbyIsLobby(const uint8_t* lpData, size_t nSize);

// True for the messages a client sends to the server (padded to LOBBY_REQUEST_MIN).
bool LobbyIsRequest(uint8_t byType);

// Writes lpMsg into lpOut; returns the length, or 0 if a field is out of range or nOutSize is
// short. Requests come out padded to LOBBY_REQUEST_MIN bytes.
int LobbyEncode(const LOBBYMSG* lpMsg, uint8_t* lpOut, size_t nOutSize);

// Reads one datagram. lpMsg is fully valid only with LOBBY_DECODE_OK.
LOBBYDECODE LobbyDecode(const uint8_t* lpData, size_t nSize, LOBBYMSG* lpMsg);

// Room codes: 6 characters of Crockford's Base32 (0-9 A-Z without I L O U), most significant
// first. Writes the code (< 2^30) as 6 upper-case characters and a NUL; false if out of range.
bool LobbyCodeText(uint32_t dwCode, char szOut[LOBBY_CODE_LENGTH + 1]);

// Reads a code of exactly 6 characters, case-insensitive; I and L read as 1, O as 0. False for
// anything else (then the text is a host name or address, e.g. "example.org" or "10.0.0.2:27810").
bool LobbyCodeParse(const char* szText, uint32_t* lpCode);

// "a.b.c.d:port"; szOut holds at least 22 bytes.
void LobbyAddrText(const LOBBYADDR& Addr, char* szOut, size_t nOutSize);
