// Lobby datagrams and room codes: bytes written by hand decode to the right fields and back, every
// kind of damage is refused, and no answer of the server can outgrow a padded request.
#include <gtest/gtest.h>

#include <cstring>
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
    EXPECT_EQ(m.byType, LOBBY_MSG_REGISTER);
    EXPECT_STREQ(m.szVersion, "1.0");
    ASSERT_EQ(m.nLocal, 2);
    EXPECT_EQ(m.Local[0].dwIp, 0xC0A80114u);
    EXPECT_EQ(m.Local[0].wPort, 27810);
    EXPECT_EQ(m.Local[1].dwIp, 0x0A000005u);
    EXPECT_EQ(Encode(m), kRegister);

    ASSERT_EQ(Decode(kIntro, &m), LOBBY_DECODE_OK);
    EXPECT_EQ(m.dwCode, 645657684u);
    EXPECT_EQ(m.qwToken, 0x1122334455667788ull);
    EXPECT_EQ(m.bySide, LOBBY_SIDE_GUEST);
    EXPECT_EQ(m.Public.dwIp, 0xCB007107u);
    EXPECT_EQ(m.Public.wPort, 40000);
    ASSERT_EQ(m.nLocal, 4);
    EXPECT_EQ(m.Local[3].dwIp, 0x0D0E0F10u);
    EXPECT_EQ(m.Local[3].wPort, 4);
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
    auto Cut = [](Bytes b, size_t n) {
        b.resize(n);
        return b;
    };
    const Bytes relayOk = kWire.at("relay_ok").at(0);
    const std::vector<Bytes>&room = kWire.at("room"), &error = kWire.at("error");
    ASSERT_EQ(Decode(relayOk), LOBBY_DECODE_OK);
    Bytes longIntro = kIntro;
    longIntro.push_back(0);
    Bytes unpadded = Cut(kRegister, 23);
    Bytes overPadded = kRegister;
    overPadded.push_back(0);
    const struct {
        const char* szWhat;
        Bytes b;
        LOBBYDECODE eWant;
    } cases[] = {
        {"empty", {}, LOBBY_DECODE_FOREIGN},
        {"ENet traffic", {0x80, 0x00, 0x12, 0x34, 0x82, 0x01}, LOBBY_DECODE_FOREIGN},
        {"magic with a wrong letter", Edit(kIntro, 3, 'b'), LOBBY_DECODE_FOREIGN},
        {"magic alone", Cut(kIntro, 4), LOBBY_DECODE_BAD},
        {"header without its type", Cut(kIntro, 5), LOBBY_DECODE_BAD},
        {"another protocol version", Edit(kIntro, 4, 2), LOBBY_DECODE_PROTOCOL},
        {"type 0", Edit(kIntro, 5, 0), LOBBY_DECODE_BAD},
        {"type 13", Edit(kIntro, 5, 13), LOBBY_DECODE_BAD},
        {"cut short", Cut(kIntro, 49), LOBBY_DECODE_BAD},
        {"a byte too many", longIntro, LOBBY_DECODE_BAD},
        {"code of 31 bits", Edit(kIntro, 9, 0x40), LOBBY_DECODE_BAD},
        {"side 2", Edit(kIntro, 18, 2), LOBBY_DECODE_BAD},
        {"five local addresses", Edit(kIntro, 25, 5), LOBBY_DECODE_BAD},
        {"request not padded", unpadded, LOBBY_DECODE_BAD},
        {"request padded too far", overPadded, LOBBY_DECODE_BAD},
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
    };
    for (const auto& c : cases) EXPECT_EQ(Decode(c.b), c.eWant) << c.szWhat;
    Bytes huge = kRegister;
    huge.resize(LOBBY_MAX_MESSAGE + 1, 0);
    EXPECT_EQ(Decode(huge), LOBBY_DECODE_BAD);

    // A newer server's ERROR still tells an older client why.
    LOBBYMSG m;
    ASSERT_EQ(Decode({'P', 'M', 'L', 'B', 9, 12, LOBBY_ERROR_PROTOCOL, 1, 0}, &m), LOBBY_DECODE_PROTOCOL);
    EXPECT_EQ(m.byType, LOBBY_MSG_ERROR);
    EXPECT_EQ(m.byReason, LOBBY_ERROR_PROTOCOL);
    EXPECT_EQ(m.byRequest, LOBBY_MSG_REGISTER);
}

TEST(LobbyProto, RoomCodes) {
    char sz[7];
    const struct {
        uint32_t dw;
        const char* sz;
    } codes[] = {{0, "000000"}, {LOBBY_CODE_LIMIT - 1, "ZZZZZZ"}, {645657684, "K7QX2M"}, {31 * 32, "0000Z0"}};
    for (const auto& c : codes) {
        ASSERT_TRUE(LobbyCodeText(c.dw, sz));
        EXPECT_STREQ(sz, c.sz);
        uint32_t dw = 1;
        ASSERT_TRUE(LobbyCodeParse(c.sz, &dw));
        EXPECT_EQ(dw, c.dw);
    }
    EXPECT_FALSE(LobbyCodeText(LOBBY_CODE_LIMIT, sz));
    uint32_t dw = 0;
    EXPECT_TRUE(LobbyCodeParse("k7qx2m", &dw));
    EXPECT_EQ(dw, 645657684u);
    // I and L read as 1, O as 0: "ILOo01" is 1 1 0 0 0 1.
    EXPECT_TRUE(LobbyCodeParse("ILOo01", &dw));
    EXPECT_EQ(dw, 32u * 32 * 32 * 32 * 32 + 32 * 32 * 32 * 32 + 1);
    dw = 7;
    for (const char* szNot : {"", "K7QX2", "K7QX2MM", "K7QU2M", "K7-X2M", "1.2.3.4", "a.b:12", "host:1",
                              "example.org", "K7QX2\n"})
        EXPECT_FALSE(LobbyCodeParse(szNot, &dw)) << szNot;
    EXPECT_EQ(dw, 7u);
}

}  // namespace
