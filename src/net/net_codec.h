// The messages two peers of a net session exchange, and their bytes on the wire.
//
// Every message is one ENet packet; byte 0 is its type, all numbers are little-endian.
//   HELLO    01 magic:u32 "PMRN" protocol:u16 echo:u64 | rules:u64 vlen:u8 version[vlen]
//            zero bytes up to NET_HELLO_MIN in all
//   WELCOME  02 settings[40] delay:u8 start:u32 (always 0)
//   REFUSE   03 reason:u8 protocol:u16 vlen:u8 version[vlen]
//   INPUT    04 first:u32 ack:u32 advantage:i8 count:u8 input[count] (each a LEB128 varint)
//   CHECKSUM 05 frame:u32 checksum:u64
//   BYE      06 reason:u8 frame:u32
//   CHALLENGE 07 value:u64
// A host admits a guest only once the guest's HELLO echoes the random value of the host's
// CHALLENGE (0 before it has one): only a guest that receives at its address gets in.
// HELLO up to the echo, the whole of REFUSE and of CHALLENGE never change, so that peers of any
// two protocol versions can still refuse each other clearly; what follows the echo in HELLO, and
// every other message, belongs to that protocol version.
// Decoding is strict: a wrong length, a field out of range or a non-canonical varint rejects the
// whole packet, so a decoded message re-encodes to exactly the bytes it came from.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr uint32_t NET_MAGIC = 0x4E524D50;  // "PMRN"
constexpr uint16_t NET_PROTOCOL = 2;        // 2: ENet's CRC32 on every datagram, the admission echo
constexpr int NET_SETTINGS_SIZE = 40;       // the host's settings record, as in Option.dat
constexpr int NET_VERSION_MAX = 32;         // game version text, printable ASCII
constexpr int NET_MAX_INPUTS = 64;          // inputs one INPUT message carries
constexpr int NET_MAX_INPUT_DELAY = 8;
constexpr int NET_MAX_MESSAGE = 512;        // no valid message is longer
// A HELLO is never shorter: its datagram is then at least as long as the host's VERIFY_CONNECT,
// which a HELLO may draw again (see net_admit.cpp).
constexpr size_t NET_HELLO_MIN = 48;

enum : uint8_t {
    NET_MSG_HELLO = 1,
    NET_MSG_WELCOME = 2,
    NET_MSG_REFUSE = 3,
    NET_MSG_INPUT = 4,
    NET_MSG_CHECKSUM = 5,
    NET_MSG_BYE = 6,
    NET_MSG_CHALLENGE = 7,
};

// Why a host turns a guest away.
enum : uint8_t {
    NET_REFUSE_FULL = 1,      // the session already has its guest
    NET_REFUSE_PROTOCOL = 2,  // another network protocol version
    NET_REFUSE_VERSION = 3,   // another game version
    NET_REFUSE_RULES = 4,     // same version text, different rules
    NET_REFUSE_HELLO = 5,     // the first message was not a valid HELLO
    NET_REFUSE_LAST = 5,
};

// Why a peer ends a session.
enum : uint8_t {
    NET_BYE_TITLE = 1,   // went back to the title
    NET_BYE_CLOSED = 2,  // closed the window or pressed Escape
    NET_BYE_DESYNC = 3,  // the checksums of a confirmed frame differ
    NET_BYE_LAST = 3,
};

// One message; only the fields of its type are meaningful.
struct NETMSG {
    uint8_t byType = 0;
    uint16_t wProtocol = 0;                      // HELLO, REFUSE
    uint64_t qwEcho = 0;                         // HELLO: the host's challenge; CHALLENGE: the value
    uint64_t qwRulesHash = 0;                    // HELLO
    char szVersion[NET_VERSION_MAX + 1] = {};    // HELLO, REFUSE
    uint8_t bySettings[NET_SETTINGS_SIZE] = {};  // WELCOME
    uint8_t byInputDelay = 0;                  // WELCOME, 0..NET_MAX_INPUT_DELAY
    uint32_t dwStartFrame = 0;                 // WELCOME
    uint8_t byReason = 0;                      // REFUSE, BYE
    uint32_t dwFirst = 0;                      // INPUT: frame of dwInput[0]
    uint32_t dwAck = 0;                        // INPUT: the sender has all our frames below this
    int8_t chAdvantage = 0;                    // INPUT: the sender's own frame advantage
    int nCount = 0;                            // INPUT: 0..NET_MAX_INPUTS
    uint32_t dwInput[NET_MAX_INPUTS] = {};
    uint32_t dwFrame = 0;                      // CHECKSUM, BYE
    uint64_t qwChecksum = 0;                   // CHECKSUM
};

// Writes lpMsg into lpOut; returns the length, or 0 if a field is out of range or nOutSize is short.
int NetEncode(const NETMSG* lpMsg, uint8_t* lpOut, size_t nOutSize);

// Reads one packet. Returns false, and leaves lpMsg unspecified, unless the packet is a valid
// message. A HELLO of another protocol version decodes with only byType, wProtocol and qwEcho set.
bool NetDecode(const uint8_t* lpData, size_t nSize, NETMSG* lpMsg);
