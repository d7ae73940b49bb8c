// The local network's discovery datagrams: bytes written by hand decode, damage is refused, and an
// answer never outgrows the query.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "net/net_discover.h"

TEST(Discover, QueryAndAnswerBytesAreStrictAndTheAnswerIsSmaller) {
    uint8_t q[64];
    ASSERT_EQ(NetDiscoverWriteQuery(q, sizeof(q)), 64u);
    std::vector<uint8_t> query(64, 0);
    std::memcpy(query.data(), "PMDQ\x01", 5);
    EXPECT_EQ(std::memcmp(q, query.data(), 64), 0);
    EXPECT_TRUE(NetDiscoverIsQuery(query.data(), 64));
    EXPECT_FALSE(NetDiscoverIsQuery(query.data(), 63));  // short
    query[63] = 1;                                       // padding not zero
    EXPECT_FALSE(NetDiscoverIsQuery(query.data(), 64));

    // "PMDA", version 1, port 27810 (0x6CA2, little-endian), name "box", version "1.0.0".
    const std::vector<uint8_t> answer = {'P', 'M', 'D', 'A', 1,   0xA2, 0x6C, 3,  'b',
                                         'o', 'x', 5,   '1', '.', '0',  '.',  '0'};
    uint8_t a[64];
    ASSERT_EQ(NetDiscoverWriteAnswer(a, sizeof(a), "box", "1.0.0", 27810), answer.size());
    EXPECT_EQ(std::memcmp(a, answer.data(), answer.size()), 0);
    NETGAME g;
    uint16_t wPort = 0;
    ASSERT_TRUE(NetDiscoverReadAnswer(answer.data(), answer.size(), &g, &wPort));
    EXPECT_EQ(std::tuple(wPort, std::string(g.szName), std::string(g.szVersion)),
              std::tuple(27810, "box", "1.0.0"));

    // Damage: one byte short or over, another magic, a name length past the end, a control
    // character, port 0.
    auto Edit = [](std::vector<uint8_t> b, size_t i, uint8_t v) {
        b[i] = v;
        return b;
    };
    std::vector<uint8_t> longer = answer;
    longer.push_back(0);
    for (const auto& b :
         {std::vector<uint8_t>(answer.begin(), answer.end() - 1), longer, Edit(answer, 3, 'Q'),
          Edit(answer, 7, 40), Edit(answer, 9, '\n'), Edit(Edit(answer, 5, 0), 6, 0)})
        EXPECT_FALSE(NetDiscoverReadAnswer(b.data(), b.size(), &g, &wPort)) << testing::PrintToString(b);

    // The longest name and version still fit in fewer bytes than the query; a name with control
    // characters goes out with '?' in their place.
    const std::string szLong(60, 'n');
    const size_t n = NetDiscoverWriteAnswer(a, sizeof(a), szLong.c_str(), szLong.c_str(), 1);
    EXPECT_EQ(n, 4 + 1 + 2 + 1 + 32u + 1 + 16u);
    EXPECT_LT(n, 64u);
    ASSERT_GT(NetDiscoverWriteAnswer(a, sizeof(a), "a\tb", "1", 1), 0u);
    ASSERT_TRUE(NetDiscoverReadAnswer(a, 4 + 1 + 2 + 1 + 3 + 1 + 1, &g, &wPort));
    EXPECT_STREQ(g.szName, "a?b");
}
