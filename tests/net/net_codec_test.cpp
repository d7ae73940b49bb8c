// Session messages on the wire, the input window and host addresses: what decodes, what is refused.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "net/hex_fixture.h"
#include "net/net_codec.h"
#include "net/net_inputs.h"
#include "net/net_session.h"

namespace {

const auto kWire = ReadHexFixture("net_codec.txt");

Bytes Encode(const NETMSG& m) {
    uint8_t buf[NET_MAX_MESSAGE];
    const int n = NetEncode(&m, buf, sizeof(buf));
    return Bytes(buf, buf + (n > 0 ? n : 0));
}

bool Decodes(const Bytes& b, NETMSG* lpMsg = nullptr) {
    NETMSG m;
    return NetDecode(b.data(), b.size(), lpMsg ? lpMsg : &m);
}

// One valid message of each type.
std::vector<NETMSG> Samples() {
    NETMSG welcome{.byType = NET_MSG_WELCOME, .byInputDelay = 8, .dwStartFrame = 0xDEADBEEF};
    for (int i = 0; i < NET_SETTINGS_SIZE; ++i) welcome.bySettings[i] = uint8_t(200 + i);
    NETMSG input{.byType = NET_MSG_INPUT,
                 .dwFirst = 1000,
                 .dwAck = 998,
                 .chAdvantage = -127,
                 .nCount = NET_MAX_INPUTS};
    for (int i = 0; i < input.nCount; ++i) input.dwInput[i] = uint32_t(i) * 0x04000001u;
    return {{.byType = NET_MSG_HELLO,
             .wProtocol = NET_PROTOCOL,
             .qwRulesHash = 0x0123456789ABCDEFull,
             .szVersion = "1.0.3 linux"},
            welcome,
            {.byType = NET_MSG_REFUSE, .wProtocol = 7, .byReason = NET_REFUSE_RULES},  // with no version text
            input,
            {.byType = NET_MSG_CHECKSUM, .dwFrame = 12345, .qwChecksum = 0xFEDCBA9876543210ull},
            {.byType = NET_MSG_BYE, .byReason = NET_BYE_DESYNC, .dwFrame = 77},
            {.byType = NET_MSG_CHALLENGE, .qwEcho = 0x8000000000000001ull}};
}

}  // namespace

TEST(NetCodec, ExactBytesAndRoundTrips) {
    const NETMSG m{.byType = NET_MSG_INPUT,
                   .dwFirst = 0x01020304,
                   .dwAck = 5,
                   .chAdvantage = -2,
                   .nCount = 4,
                   .dwInput = {0, 127, 128, 0xFFFFFFFF}};
    EXPECT_EQ(Encode(m), kWire.at("input").at(0));
    const NETMSG h{.byType = NET_MSG_HELLO,
                   .wProtocol = 2,
                   .qwEcho = 0xA1A2A3A4A5A6A7A8ull,
                   .qwRulesHash = 0x1122334455667788ull,
                   .szVersion = "ab"};
    EXPECT_EQ(Encode(h), kWire.at("hello").at(0));

    for (const NETMSG& s : Samples()) {
        SCOPED_TRACE(int(s.byType));
        const Bytes b = Encode(s);
        ASSERT_FALSE(b.empty());
        NETMSG d;
        ASSERT_TRUE(Decodes(b, &d));
        EXPECT_EQ(Encode(d), b);
        EXPECT_EQ(
            std::tuple(d.nCount, std::memcmp(d.dwInput, s.dwInput, sizeof(d.dwInput)),
                       std::string(d.szVersion), std::memcmp(d.bySettings, s.bySettings, NET_SETTINGS_SIZE)),
            std::tuple(s.nCount, 0, std::string(s.szVersion), 0));
    }

    // A HELLO of another protocol version still decodes far enough to be refused clearly.
    NETMSG o;
    ASSERT_TRUE(Decodes(kWire.at("hello3").at(0), &o));
    EXPECT_EQ(std::tuple(o.wProtocol, o.qwEcho), std::tuple(3, 0x0102030405060708ull));
}

TEST(NetCodec, MalformedPacketsAreRejected) {
    for (const NETMSG& s : Samples()) {
        const Bytes b = Encode(s);
        for (size_t n = 0; n < b.size(); ++n)
            EXPECT_FALSE(Decodes(Bytes(b.begin(), b.begin() + n))) << int(s.byType) << " cut to " << n;
        Bytes longer = b;
        longer.push_back(0);
        EXPECT_FALSE(Decodes(longer)) << int(s.byType);
    }
    ASSERT_EQ(kWire.at("bad").size(), 14u);
    for (const Bytes& b : kWire.at("bad")) EXPECT_FALSE(Decodes(b)) << int(b[0]) << " of " << b.size();
    Bytes welcome = Encode(Samples()[1]);
    welcome[41] = NET_MAX_INPUT_DELAY + 1;
    EXPECT_FALSE(Decodes(welcome));
    Bytes hello = Encode(Samples()[0]);
    ASSERT_EQ(hello[0], NET_MSG_HELLO);
    hello.back() = 1;  // the padding is zeros
    EXPECT_FALSE(Decodes(hello));
    Bytes huge(NET_MAX_MESSAGE + 1, 0x05);
    EXPECT_FALSE(Decodes(huge));
}

TEST(NetInputs, RedundancyAcknowledgementAndHostileWindows) {
    NETINPUTS a, b;
    NetInputsReset(&a, 100);
    NetInputsReset(&b, 100);
    EXPECT_FALSE(NetInputsAddLocal(&a, 101, 0));  // frames in order from the first
    for (uint32_t f = 100; f < 100 + 70; ++f) ASSERT_TRUE(NetInputsAddLocal(&a, f, f * 3));
    NETMSG m;
    NetInputsMessage(&a, &m);
    // The oldest unacknowledged first.
    EXPECT_EQ(std::tuple(m.dwFirst, m.nCount), std::tuple(100u, NET_MAX_INPUTS));
    EXPECT_EQ(NetInputsApply(&b, &m), NET_MAX_INPUTS);
    uint32_t dw = 0;
    EXPECT_TRUE(NetInputsRemote(&b, 163, &dw));
    EXPECT_EQ(dw, 163u * 3);
    EXPECT_FALSE(NetInputsRemote(&b, 164, &dw));
    EXPECT_FALSE(NetInputsRemote(&b, 99, &dw));
    EXPECT_EQ(NetInputsApply(&b, &m), 0);  // a repeat adds nothing

    NETMSG back;
    NetInputsMessage(&b, &back);
    EXPECT_EQ(std::tuple(back.dwAck, back.nCount), std::tuple(164u, 0));
    EXPECT_EQ(NetInputsApply(&a, &back), 0);
    EXPECT_EQ(a.dwPeerAck, 164u);
    NetInputsMessage(&a, &m);
    EXPECT_EQ(std::tuple(m.dwFirst, m.nCount), std::tuple(164u, 6));
    // a is 70 frames ahead of what it holds of b, b is 64 behind on its own view: a leads by (70+64)/2.
    EXPECT_EQ(NetInputsAdvantage(&a), 67);

    // Acknowledging frames never sent, or starting past a gap, changes nothing.
    NETMSG bad = back;
    bad.dwAck = 171;
    EXPECT_EQ(NetInputsApply(&a, &bad), -1);
    bad = m;
    bad.dwFirst = 165;
    EXPECT_EQ(NetInputsApply(&b, &bad), -1);
    bad.dwFirst = 50;
    EXPECT_EQ(NetInputsApply(&b, &bad), -1);
    EXPECT_EQ(std::tuple(b.dwRemoteNext, a.dwPeerAck), std::tuple(164u, 164u));
}

TEST(NetAddress, HostAndPort) {
    char sz[64];
    uint16_t w = 0;
    ASSERT_TRUE(NetParseAddress("192.168.0.7", sz, sizeof(sz), &w));
    EXPECT_EQ(std::tuple(std::string(sz), w), std::tuple("192.168.0.7", 27810));
    ASSERT_TRUE(NetParseAddress("pomrin-host.example:65535", sz, sizeof(sz), &w));
    EXPECT_EQ(std::tuple(std::string(sz), w), std::tuple("pomrin-host.example", 65535));
    for (const char* szBad : {"", ":27810", "host:", "host:0", "host:65536", "host:12a", "host:1:2", "a b",
                              "[::1]:27810", "host:000027810"})
        EXPECT_FALSE(NetParseAddress(szBad, sz, sizeof(sz), &w)) << szBad;
}
