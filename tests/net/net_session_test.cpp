// Net sessions on 127.0.0.1 (and other loopback addresses) inside one process: peers serviced in turn.
// Time limits are generous; nothing here depends on how fast the machine is. (A peer that
// falls silent is followed end to end by the netplay cutoff case.)
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <thread>
#include <tuple>
#include <vector>

#include "net/net_session.h"

namespace {

uint32_t NowMs() {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

struct PEER {
    NETSESSION Session;
    std::vector<NETEVENT> Events;

    template <class F>
    auto Run(F f) {  // f() on this peer's session
        g_lpNet = &Session;
        struct BACK {
            ~BACK() { g_lpNet = &g_Net; }
        } back;
        return f();
    }
    void Service() {
        Run([&] {
            NETEVENT ev[4];
            for (int n; (n = NetService(NowMs(), ev, 4)) > 0;) Events.insert(Events.end(), ev, ev + n);
        });
    }
    void Close(int nReason) {
        Run([&] { NetClose(nReason, 0); });
    }
    const NETEVENT& Get(int nType) const {  // the first of that type (of type 0 when none came)
        for (const NETEVENT& e : Events)
            if (e.nType == nType) return e;
        static NETEVENT none;
        return none;
    }
    bool Has(int nType) const { return Get(nType).nType == nType; }
    ~PEER() { Close(0); }
};

// Services the peers in turn until bDone() or nMs pass; returns bDone().
bool PumpUntil(std::initializer_list<PEER*> peers, const std::function<bool()>& bDone, uint32_t nMs = 15000) {
    const uint32_t dwStart = NowMs();
    while (!bDone()) {
        if (NowMs() - dwStart > nMs) return false;
        for (PEER* p : peers) p->Service();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

NETSETUP MakeSetup(const char* szVersion = "1.0", uint64_t qwRules = 0xC0FFEE) {
    NETSETUP s;
    std::strcpy(s.szVersion, szVersion);
    s.qwRulesHash = qwRules;
    for (int i = 0; i < NET_SETTINGS_SIZE; ++i) s.bySettings[i] = uint8_t(i * 5 + 1);
    s.nInputDelay = 3;
    s.szBindAddress = "127.0.0.1";
    return s;
}

uint16_t StartHost(PEER* lpHost, const NETSETUP& s) {
    const uint16_t wPort = lpHost->Run([&] { return NetHost(0, &s) ? NetLocalPort() : uint16_t(0); });
    EXPECT_NE(wPort, 0) << "the host did not start";
    return wPort;
}

bool Join(PEER* lpGuest, uint16_t wPort, const NETSETUP& s) {
    return lpGuest->Run([&] { return NetJoin("127.0.0.1", wPort, &s); });
}

// A host and a guest in play.
void Connect(PEER* lpHost, PEER* lpGuest, NETSETUP sHost = MakeSetup(), NETSETUP sGuest = MakeSetup()) {
    ASSERT_TRUE(Join(lpGuest, StartHost(lpHost, sHost), sGuest));
    ASSERT_TRUE(PumpUntil({lpHost, lpGuest},
                          [&] { return lpHost->Has(NET_EV_CONNECTED) && lpGuest->Has(NET_EV_CONNECTED); }));
}

}  // namespace

TEST(NetSession, HandshakeSettingsAndASecondGuestRefused) {
    PEER host, guest, third;
    Connect(&host, &guest);
    EXPECT_EQ(std::memcmp(guest.Session.bySettings, MakeSetup().bySettings, NET_SETTINGS_SIZE), 0);
    EXPECT_EQ(guest.Session.nInputDelay, 3);

    ASSERT_TRUE(Join(&third, host.Session.wPort, MakeSetup()));
    ASSERT_TRUE(PumpUntil({&host, &guest, &third}, [&] { return third.Has(NET_EV_REFUSED); }));
    EXPECT_EQ(third.Get(NET_EV_REFUSED).nReason, NET_REFUSE_FULL);
    EXPECT_STREQ(third.Get(NET_EV_REFUSED).szVersion, "1.0");
    EXPECT_EQ(host.Get(NET_EV_GUEST_REFUSED).nReason, NET_REFUSE_FULL);

    // The session goes on.
    ASSERT_TRUE(host.Run([] { return NetSendInput(0, 0x55); }));
    uint32_t dw = 0;
    ASSERT_TRUE(
        PumpUntil({&host, &guest}, [&] { return guest.Run([&] { return NetRemoteInput(0, &dw); }); }));
    EXPECT_EQ(dw, 0x55u);
    EXPECT_EQ(std::tuple(host.Session.nState, guest.Session.nState), std::tuple(NET_PLAYING, NET_PLAYING));
}

TEST(NetSession, OtherVersionOrRulesRefusedOnBothSidesBeforePlay) {
    PEER host;
    const uint16_t wPort = StartHost(&host, MakeSetup());
    struct {
        NETSETUP Setup;
        int nReason;
    } cases[] = {{MakeSetup("1.1"), NET_REFUSE_VERSION}, {MakeSetup("1.0", 0xBAD), NET_REFUSE_RULES}};
    for (auto& c : cases) {
        PEER guest;
        host.Events.clear();
        ASSERT_TRUE(Join(&guest, wPort, c.Setup));
        ASSERT_TRUE(PumpUntil({&host, &guest},
                              [&] { return guest.Has(NET_EV_REFUSED) && host.Has(NET_EV_GUEST_REFUSED); }));
        EXPECT_EQ(guest.Get(NET_EV_REFUSED).nReason, c.nReason);
        EXPECT_EQ(host.Get(NET_EV_GUEST_REFUSED).nReason, c.nReason);
        EXPECT_STREQ(host.Get(NET_EV_GUEST_REFUSED).szVersion, c.Setup.szVersion);
        EXPECT_FALSE(guest.Has(NET_EV_CONNECTED));
        EXPECT_EQ(guest.Session.nState, NET_ENDED);
    }
    // The host still waits, and a matching guest gets in.
    PEER guest;
    ASSERT_TRUE(Join(&guest, wPort, MakeSetup()));
    ASSERT_TRUE(PumpUntil({&host, &guest}, [&] { return guest.Has(NET_EV_CONNECTED); }));
}

TEST(NetSession, GuestKeepsTryingUntilTheHostIsUp) {
    PEER host, guest;
    const uint16_t wPort = StartHost(&host, MakeSetup());
    host.Close(0);
    ASSERT_TRUE(Join(&guest, wPort, MakeSetup()));
    const uint32_t dwStart = NowMs();
    ASSERT_TRUE(PumpUntil({&guest}, [&] { return NowMs() - dwStart > 3500; }));  // past one attempt
    EXPECT_EQ(guest.Session.nState, NET_CONNECTING);
    const NETSETUP s = MakeSetup();
    ASSERT_TRUE(host.Run([&] { return NetHost(wPort, &s); }));
    ASSERT_TRUE(PumpUntil(
        {&host, &guest}, [&] { return guest.Has(NET_EV_CONNECTED); }, 20000));
}

TEST(NetSession, ChecksumMismatchMalformedPacketsAndBye) {
    PEER host, guest;
    Connect(&host, &guest);
    // Garbage from the admitted guest is counted and changes nothing.
    const uint8_t byJunk[] = {0x04, 0xFF, 0x13};
    const uint8_t byEarly[] = {0x06, 0x09, 0, 0, 0, 0};
    ASSERT_TRUE(guest.Run([&] { return NetSendRaw(0, byJunk, sizeof(byJunk)); }));
    ASSERT_TRUE(guest.Run([&] { return NetSendRaw(1, byEarly, sizeof(byEarly)); }));
    ASSERT_TRUE(PumpUntil({&host, &guest}, [&] { return host.Run(NetStats).dwPacketsMalformed == 2; }));

    ASSERT_TRUE(host.Run([] { return NetSendChecksum(10, 0xAAAA) && NetSendChecksum(20, 0xBBBB); }));
    ASSERT_TRUE(guest.Run([] { return NetSendChecksum(10, 0xAAAA) && NetSendChecksum(20, 0xCCCC); }));
    ASSERT_TRUE(
        PumpUntil({&host, &guest}, [&] { return host.Has(NET_EV_DESYNC) && guest.Has(NET_EV_DESYNC); }));
    const NETEVENT &h = host.Get(NET_EV_DESYNC), &g = guest.Get(NET_EV_DESYNC);
    EXPECT_EQ(std::tuple(h.dwFrame, h.qwLocal, h.qwRemote, g.dwFrame, g.qwLocal, g.qwRemote),
              std::tuple(20u, 0xBBBBu, 0xCCCCu, 20u, 0xCCCCu, 0xBBBBu));

    host.Close(NET_BYE_DESYNC);
    ASSERT_TRUE(PumpUntil({&guest}, [&] { return guest.Has(NET_EV_LEFT); }));
    EXPECT_EQ(guest.Get(NET_EV_LEFT).nReason, NET_BYE_DESYNC);
    EXPECT_FALSE(guest.Has(NET_EV_LOST));
}

TEST(NetSession, AGuestThatAnswersButNeverPlaysIsLost) {
    PEER host, guest;
    Connect(&host, &guest);
    // The guest services the network (ENet's acknowledgements, its own acknowledgements of our
    // inputs) but never sends an input: the host, stuck waiting for them, must not wait for ever.
    const uint32_t dwStart = NowMs();
    for (uint32_t f = 0; f < 8; ++f) ASSERT_TRUE(host.Run([&] { return NetSendInput(f, 0x10); }));
    ASSERT_TRUE(PumpUntil(
        {&host, &guest}, [&] { return host.Has(NET_EV_LOST); }, 6000));
    EXPECT_GE(NowMs() - dwStart, NET_LOST_MS - 100);
    EXPECT_LE(NowMs() - dwStart, 4500u);
    EXPECT_EQ(guest.Session.Inputs.dwRemoteNext, 8u);  // the guest did hear the host all along
}

TEST(NetSession, FourConnectsNeverAnsweredLeaveRoomForAGuest) {
    PEER host, fake[4], guest;
    const uint16_t wPort = StartHost(&host, MakeSetup());
    // Four CONNECTs from four addresses (as if forged) that never answer the host's reply.
    const char* szFrom[4] = {"127.0.0.2", "127.0.0.3", "127.0.0.4", "127.0.0.5"};
    for (int i = 0; i < 4; ++i) {
        NETSETUP s = MakeSetup();
        s.szBindAddress = szFrom[i];
        ASSERT_TRUE(Join(&fake[i], wPort, s));
        fake[i].Service();
    }
    const uint32_t dwStart = NowMs();
    ASSERT_TRUE(PumpUntil({&host}, [&] { return NowMs() - dwStart >= 100; }));  // they arrive
    ASSERT_TRUE(Join(&guest, wPort, MakeSetup()));
    ASSERT_TRUE(PumpUntil(
        {&host, &guest}, [&] { return guest.Has(NET_EV_CONNECTED); }, 5000));
    // The half-open connections are dropped unanswered after a second, whatever room there is:
    // all four, or two where the system sends them all from one address (Wine), two an address.
    EXPECT_TRUE(PumpUntil(
        {&host, &guest}, [&] { return host.Run(NetStats).dwPeersDropped >= 2; }, 3000));
}
