// Lobby datagrams and room codes: bytes written by hand decode to the right fields and back, every
// kind of damage is refused, and no answer of the server can outgrow a padded request.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "net/hex_fixture.h"
#include "net/lobby_proto.h"

namespace {

const auto kWire = ReadHexFixture("lobby_proto.txt");

Bytes Encode(const LOBBYMSG& m) {
    uint8_t buf[LOBBY_MAX_MESSAGE];
    const int n = LobbyEncode(&m, buf, sizeof(buf));
    return Bytes(buf, buf + (n > 0 ? n : 0));
}

LOBBYDECODE Decode(const Bytes& b, LOBBYMSG* lpMsg = nullptr) {
    LOBBYMSG m;
    return LobbyDecode(b.data(), b.size(), lpMsg ? lpMsg : &m);
}

// REGISTER "1.0" with two local addresses, padded; INTRO to a guest with four.
const Bytes kRegister = kWire.at("register").at(0);
const Bytes kIntro = kWire.at("intro").at(0);

TEST(LobbyProto, HandWrittenDatagramsDecodeAndReencode) {
    LOBBYMSG m;
    ASSERT_EQ(Decode(kRegister, &m), LOBBY_DECODE_OK);
    EXPECT_EQ(std::tuple(m.byType, std::string(m.szVersion), m.nLocal, m.Local[0].dwIp, m.Local[0].wPort,
                         m.Local[1].dwIp),
              std::tuple(LOBBY_MSG_REGISTER, std::string("1.0"), 2, 0xC0A80114u, 27810, 0x0A000005u));
    EXPECT_EQ(Encode(m), kRegister);

    ASSERT_EQ(Decode(kIntro, &m), LOBBY_DECODE_OK);
    EXPECT_EQ(std::tuple(m.dwCode, m.qwToken, m.bySide, m.Public.dwIp, m.Public.wPort, m.nLocal,
                         m.Local[3].dwIp, m.Local[3].wPort),
              std::tuple(645657684u, 0x1122334455667788ull, LOBBY_SIDE_GUEST, 0xCB007107u, 40000, 4,
                         0x0D0E0F10u, 4));
    EXPECT_EQ(Encode(m), kIntro);
    char sz[22];
    LobbyAddrText(m.Public, sz, sizeof(sz));
    EXPECT_STREQ(sz, "203.0.113.7:40000");

    // ERROR "other version" carrying the host's version text: the longest ERROR is 6 + 3 + 32.
    LOBBYMSG e;
    e.byType = LOBBY_MSG_ERROR;
    e.byReason = LOBBY_ERROR_VERSION;
    e.byRequest = LOBBY_MSG_JOIN;
    std::memset(e.szVersion, 'v', LOBBY_VERSION_MAX);
    EXPECT_EQ(Encode(e).size(), 41u);
    // The longest INTRO (50 bytes) and every ERROR fit in a padded request: no amplification.
    EXPECT_EQ(kIntro.size(), 50u);
    EXPECT_LE(kIntro.size(), size_t(LOBBY_REQUEST_MIN));

    // Small requests are padded; those longer than the pad are not.
    LOBBYMSG k;
    k.byType = LOBBY_MSG_KEEPALIVE;
    k.dwCode = LOBBY_CODE_LIMIT - 1;
    k.qwKey = ~0ull;
    EXPECT_EQ(Encode(k).size(), 64u);
    LOBBYMSG j;
    j.byType = LOBBY_MSG_JOIN;
    std::memset(j.szVersion, '1', LOBBY_VERSION_MAX);
    j.nLocal = LOBBY_MAX_LOCAL;
    EXPECT_EQ(Encode(j).size(), 68u);  // 6 + 4 + 33 + 1 + 24
    ASSERT_EQ(Decode(Encode(j), &m), LOBBY_DECODE_OK);
    // The peer-to-peer messages are not padded, and answer each other at the same size.
    LOBBYMSG p;
    p.byType = LOBBY_MSG_PUNCH;
    p.qwToken = 5;
    EXPECT_EQ(Encode(p).size(), 15u);
    p.byType = LOBBY_MSG_PUNCH_ACK;
    EXPECT_EQ(Encode(p).size(), 15u);
    // Out-of-range fields are not written.
    k.dwCode = LOBBY_CODE_LIMIT;
    EXPECT_TRUE(Encode(k).empty());
    p.bySide = 2;
    EXPECT_TRUE(Encode(p).empty());
    j.nLocal = LOBBY_MAX_LOCAL + 1;
    EXPECT_TRUE(Encode(j).empty());
}

TEST(LobbyProto, DamagedDatagramsAreRefused) {
    auto Edit = [](Bytes b, size_t i, uint8_t v) {
        b[i] = v;
        return b;
    };
    auto Resize = [](Bytes b, size_t n) {  // cut short, or zeros added
        b.resize(n, 0);
        return b;
    };
    const Bytes relayOk = kWire.at("relay_ok").at(0);
    const std::vector<Bytes>&room = kWire.at("room"), &error = kWire.at("error");
    ASSERT_EQ(Decode(relayOk), LOBBY_DECODE_OK);
    const struct {
        const char* szWhat;
        Bytes b;
        LOBBYDECODE eWant;
    } cases[] = {
        {"empty", {}, LOBBY_DECODE_FOREIGN},
        {"ENet traffic", {0x80, 0x00, 0x12, 0x34, 0x82, 0x01}, LOBBY_DECODE_FOREIGN},
        {"magic with a wrong letter", Edit(kIntro, 3, 'b'), LOBBY_DECODE_FOREIGN},
        {"magic alone", Resize(kIntro, 4), LOBBY_DECODE_BAD},
        {"header without its type", Resize(kIntro, 5), LOBBY_DECODE_BAD},
        {"another protocol version", Edit(kIntro, 4, 2), LOBBY_DECODE_PROTOCOL},
        {"type 0", Edit(kIntro, 5, 0), LOBBY_DECODE_BAD},
        {"type 13", Edit(kIntro, 5, 13), LOBBY_DECODE_BAD},
        {"cut short", Resize(kIntro, 49), LOBBY_DECODE_BAD},
        {"a byte too many", Resize(kIntro, 51), LOBBY_DECODE_BAD},
        {"code of 31 bits", Edit(kIntro, 9, 0x40), LOBBY_DECODE_BAD},
        {"side 2", Edit(kIntro, 18, 2), LOBBY_DECODE_BAD},
        {"five local addresses", Edit(kIntro, 25, 5), LOBBY_DECODE_BAD},
        {"request not padded", Resize(kRegister, 23), LOBBY_DECODE_BAD},
        {"request padded too far", Resize(kRegister, 65), LOBBY_DECODE_BAD},
        {"padding not zero", Edit(kRegister, 63, 1), LOBBY_DECODE_BAD},
        {"version text with a control byte", Edit(kRegister, 8, 0x7F), LOBBY_DECODE_BAD},
        {"version text with a NUL", Edit(kRegister, 8, 0), LOBBY_DECODE_BAD},
        {"version text of 33 bytes", Edit(kRegister, 6, 33), LOBBY_DECODE_BAD},
        {"relay peer flag 2", Edit(relayOk, 15, 2), LOBBY_DECODE_BAD},
        {"ROOM with keep-alive 0", room.at(0), LOBBY_DECODE_BAD},
        {"ERROR reason 0", error.at(0), LOBBY_DECODE_BAD},
        {"ERROR reason 8", error.at(1), LOBBY_DECODE_BAD},
        {"ERROR", error.at(2), LOBBY_DECODE_OK},
        {"ROOM", room.at(1), LOBBY_DECODE_OK},
        {"longer than any message", Resize(kRegister, LOBBY_MAX_MESSAGE + 1), LOBBY_DECODE_BAD},
    };
    for (const auto& c : cases) EXPECT_EQ(Decode(c.b), c.eWant) << c.szWhat;

    // A newer server's ERROR still tells an older client why.
    LOBBYMSG m;
    ASSERT_EQ(Decode({'P', 'M', 'L', 'B', 9, 12, LOBBY_ERROR_PROTOCOL, 1, 0}, &m), LOBBY_DECODE_PROTOCOL);
    EXPECT_EQ(std::tuple(m.byType, m.byReason, m.byRequest),
              std::tuple(LOBBY_MSG_ERROR, LOBBY_ERROR_PROTOCOL, LOBBY_MSG_REGISTER));
}

TEST(LobbyProto, RoomCodes) {
    auto Parse = [](const char* sz) {  // whether it parsed, and the code (7 if it did not)
        uint32_t dw = 7;
        const bool bOk = LobbyCodeParse(sz, &dw);
        return std::pair(bOk, dw);
    };
    char sz[7];
    const struct {
        uint32_t dw;
        const char* sz;
    } codes[] = {{0, "000000"}, {LOBBY_CODE_LIMIT - 1, "ZZZZZZ"}, {645657684, "K7QX2M"}, {31 * 32, "0000Z0"}};
    for (const auto& c : codes) {
        ASSERT_TRUE(LobbyCodeText(c.dw, sz));
        EXPECT_STREQ(sz, c.sz);
        EXPECT_EQ(Parse(c.sz), std::pair(true, c.dw));
    }
    EXPECT_FALSE(LobbyCodeText(LOBBY_CODE_LIMIT, sz));
    EXPECT_EQ(Parse("k7qx2m"), std::pair(true, 645657684u));
    // I and L read as 1, O as 0: "ILOo01" is 1 1 0 0 0 1.
    EXPECT_EQ(Parse("ILOo01"), std::pair(true, 32u * 32 * 32 * 32 * 32 + 32 * 32 * 32 * 32 + 1));
    for (const char* szNot : {"", "K7QX2", "K7QX2MM", "K7QU2M", "K7-X2M", "1.2.3.4", "a.b:12", "host:1",
                              "example.org", "K7QX2\n"})
        EXPECT_EQ(Parse(szNot), std::pair(false, 7u)) << szNot;
}

}  // namespace
