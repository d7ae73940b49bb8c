// The rollback session: the frames of a net game, from waiting for the peer to the end.
#include "net/net_play.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "app/data_folder.h"
#include "app/frame.h"
#include "app/game_state.h"
#include "app/option.h"
#include "app/settings_text.h"
#include "app/window.h"
#include "gfx/bitmap.h"
#include "gfx/blit.h"
#include "gfx/surface.h"
#include "gfx/text.h"
#include "input/input.h"
#include "lang/lang.h"
#include "menus/online_scene.h"
#include "menus/title.h"
#include "net/net_lobby.h"
#include "net/net_play_text.h"
#include "net/net_record.h"
#include "platform/plat_file.h"
#include "platform/plat_net.h"
#include "sound/sound.h"

NETPLAYHOOKS g_NetPlayHooks;

namespace {

constexpr uint32_t kHistory = 64;        // frames of inputs and scenes kept (> ROLLBACK_FRAMES)
constexpr uint32_t kChecksumEvery = 30;  // confirmed frames between two checksums
constexpr uint32_t kFrameMs = 1000 / 90;
constexpr uint32_t kByeLingerMs = 300;
constexpr uint32_t kDoneLingerMs = 600;  // --frames: acknowledgements keep flowing this long
constexpr uint32_t kNoAnswerMs = 10000;  // a guest's hint that its host has not answered
constexpr int kMessageFrames = 270;      // a message stays three seconds over the title

enum PHASE { PHASE_OFF, PHASE_BOOT, PHASE_CONNECTING, PHASE_PLAYING, PHASE_DONE };

struct PLAY {
    PHASE nPhase = PHASE_OFF;
    NETPLAYOPTIONS Opt;
    uint32_t dwStartMs = 0;
    uint32_t dwNextTickMs = 0;
    OPTIONDATA SavedOption{};  // this machine's settings, back after the session
    OPTIONDATA Settings{};     // the session's
    int nLocal = 0;            // our seat: 0 host, 1 guest
    int nDelay = 0;
    uint32_t dwPresent = 0;    // the next frame to simulate for the first time
    uint32_t dwVerified = 0;   // frames below were last simulated with the peer's true inputs
    uint32_t dwConfirmed = 0;  // frames below were handed out as confirmed
    uint32_t dwLocal[kHistory] = {};
    uint32_t dwUsedRemote[kHistory] = {};  // the peer's input each frame was last simulated with
    int32_t nSceneAfter[kHistory] = {};
    uint32_t dwLastRemote = 0;  // the prediction: the peer's last known input
    uint32_t dwTicks = 0;
    uint32_t dwDoneMs = 0;
    uint32_t dwLocalBack = 0;  // 1 + the last frame our player pressed button 2 (back to the title)
    NETPLAYSTATS Stats;
    NETSTATS NetStats;
    FILE* fpRecord = nullptr;
    bool bLobby = false;  // meeting through a lobby server
    int nLobbyNote = 0;   // host: what the waiting screen says of the lobby (NETPLAY_MSG_*)
    int nRoute = 0;       // NETLOBBY_ROUTE_* once connected
    int nEndMessage = 0;  // why the session ended
};

PLAY g_Play;
int g_nMessageFrames;
int g_nMessage;

uint32_t NowMs() {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void Pace() {
    if (!g_Play.Opt.bPace) return;
    uint32_t dwNow = NowMs();
    int32_t nLeft = int32_t(g_Play.dwNextTickMs - dwNow);
    if (nLeft > 0 && nLeft <= int32_t(kFrameMs)) {
        Plat_NetSleep(uint32_t(nLeft));
        dwNow = g_Play.dwNextTickMs;
    } else if (nLeft > 0) {
        dwNow = g_Play.dwNextTickMs - kFrameMs;
    }
    // A late frame starts the next one a frame from now: no catching up in bursts.
    g_Play.dwNextTickMs = (nLeft < -int32_t(kFrameMs) ? NowMs() : dwNow) + kFrameMs;
}

void Message(int nMessage) {
    g_nMessage = nMessage;
    g_nMessageFrames = kMessageFrames;
    if (g_NetPlayHooks.lpfnMessage) g_NetPlayHooks.lpfnMessage(nMessage);
}

uint64_t RulesHash() {
    // The version text and the layout of the saved state: peers that simulate alike agree on both.
    GAMESTATE& s = *GameStateSlot(0);
    GameStateSave(&s);
    uint64_t h = 0xcbf29ce484222325ull;
    auto Mix = [&h](uint32_t dw) {
        for (int i = 0; i < 4; ++i) h = (h ^ ((dw >> (8 * i)) & 0xFF)) * 0x100000001b3ull;
    };
    for (const char* p = POMRIN_VERSION; *p; ++p) Mix(uint8_t(*p));
    for (int i = 0; i < STATE_PART_COUNT; ++i) Mix(s.nPartEnd[i]);
    return h;
}

// The game back to a local one at its title: the scene on screen released, the title next.
void BackToTitle() {
    ReleaseScene();
    g_nScene = g_nNextScene = g_Play.Opt.bScreen ? SCENE_ONLINE : SCENE_TITLE;
    g_nTitleState = 0;
    g_nOnlineState = 0;
    CursorReset(&g_Cursor[0]);
    CursorReset(&g_Cursor[1]);
    g_Cursor[0].nRow = TitleRowOf(TITLE_ROW_TWO_PLAYERS);
}

void WriteDesyncReport(const NETEVENT& ev) {
    char szName[64];
    std::snprintf(szName, sizeof(szName), "netdesync-%u-p%d.txt", unsigned(std::time(nullptr)),
                  g_Play.nLocal + 1);
    PrepareUserDataDir();
    std::string szFile = UserDataFile(szName);
    FILE* fp = Plat_FileOpen(szFile.c_str(), "wb");
    if (!fp) return;
    std::fprintf(fp, "pomrin net desync\nversion %s\nseat %d\nframe %u\nlocal %016llx\nremote %016llx\n",
                 POMRIN_VERSION, g_Play.nLocal + 1, ev.dwFrame, (unsigned long long)ev.qwLocal,
                 (unsigned long long)ev.qwRemote);
    // The state after that frame if still kept, else the present one.
    const bool bKept = g_Play.dwPresent - (ev.dwFrame + 1) <= ROLLBACK_FRAMES;
    GAMESTATE& s = *GameStateSlot(bKept ? ev.dwFrame + 1 : g_Play.dwPresent);
    std::fprintf(fp, "state of frame %u\n", bKept ? ev.dwFrame + 1 : g_Play.dwPresent);
    for (int i = 0; i < STATE_PART_COUNT; ++i)
        std::fprintf(fp, "part %s %016llx\n", g_szStatePart[i],
                     (unsigned long long)GameStatePartChecksum(&s, i));
    for (uint32_t i = 0; i < s.nSize; ++i) std::fprintf(fp, "%02x%s", s.bData[i], i % 32 == 31 ? "\n" : "");
    std::fprintf(fp, "\n");
    std::fclose(fp);
}

// Ends the session: the peer told why, this machine's settings back, the game local again.
void EndSession(int nByeReason, int nMessage, bool bToTitle) {
    Plat_NetShareRoom("");
    g_Play.NetStats = NetStats();
    NetLobbyStop();
    NetClose(nByeReason, nByeReason ? kByeLingerMs : 0);
    if (g_Play.fpRecord) NetRecordClose(g_Play.fpRecord);
    g_Play.fpRecord = nullptr;
    g_Option = g_Play.SavedOption;
    g_bDrawOff = 0;
    DSFrameReset();
    if (bToTitle && g_Play.nPhase == PHASE_PLAYING && g_nScene != SCENE_TITLE) BackToTitle();
    g_Play.nPhase = PHASE_OFF;
    // (A session from the online screen that never played leaves the screen's frames counting.)
    if (!g_Play.Opt.bScreen || g_Play.dwPresent) g_dwFrameCount = g_Play.dwPresent;
    FrameLimitReset();
    g_nMessageFrames = 0;
    g_Play.nEndMessage = nMessage;
    if (g_Play.Opt.bScreen) {
        // The online screen shows why; a player who went back to the title lands there too.
        if (g_nScene == SCENE_TITLE && g_nTitleState == 0) g_nScene = g_nNextScene = SCENE_ONLINE;
        if (nMessage && g_NetPlayHooks.lpfnMessage) g_NetPlayHooks.lpfnMessage(nMessage);
    } else if (nMessage) {
        Message(nMessage);
    }
}

// Our own player went back to the title lately (else it was the other one).
bool WentBack() {
    return g_Play.dwLocalBack != 0 && g_Play.dwPresent + 1 - g_Play.dwLocalBack < 2 * kHistory;
}

// The peer's word of a frame: only the eight input bits count (the rest would reach the record).
bool RemoteWord(uint32_t dwFrame, uint32_t* lpdw) {
    if (!NetRemoteInput(dwFrame, lpdw)) return false;
    *lpdw &= INPUT_RAW_DIR_MASK | INPUT_RAW_BUTTON_MASK;
    return true;
}

uint32_t Remote(uint32_t dwFrame, bool* lpbKnown) {
    uint32_t dw;
    *lpbKnown = dwFrame < NetRemoteNext() && RemoteWord(dwFrame, &dw);
    return *lpbKnown ? dw : g_Play.dwLastRemote;
}

// One simulation of frame dwFrame with its inputs; the state after it goes to the ring.
bool Step(uint32_t dwFrame, uint32_t dwRemote) {
    const uint32_t i = dwFrame % kHistory;
    g_Play.dwUsedRemote[i] = dwRemote;
    uint32_t dwRaw[2];
    dwRaw[g_Play.nLocal] = g_Play.dwLocal[i];
    dwRaw[1 - g_Play.nLocal] = dwRemote;
    DSFrameBegin(dwFrame, false);
    g_dwFrameInput[0] = dwRaw[0];
    g_dwFrameInput[1] = dwRaw[1];
    if (!GameStep(dwRaw)) return false;
    g_Play.nSceneAfter[i] = g_nScene;
    GameStateSave(GameStateSlot(dwFrame + 1));
    if (g_NetPlayHooks.lpfnStepped) g_NetPlayHooks.lpfnStepped(dwFrame);
    return true;
}

// The peer's inputs that arrived since the last frame: frames predicted wrong are simulated again.
bool Reconcile() {
    const uint32_t dwKnown = std::min(NetRemoteNext(), g_Play.dwPresent);
    uint32_t dwFirstWrong = dwKnown;
    for (uint32_t f = g_Play.dwVerified; f < dwKnown; ++f) {
        bool bKnown;
        if (Remote(f, &bKnown) != g_Play.dwUsedRemote[f % kHistory]) {
            dwFirstWrong = f;
            break;
        }
    }
    uint32_t dwLast;
    if (NetRemoteNext() > 0 && RemoteWord(NetRemoteNext() - 1, &dwLast)) g_Play.dwLastRemote = dwLast;
    if (dwFirstWrong < dwKnown) {
        const uint32_t n = g_Play.dwPresent - dwFirstWrong;
        ++g_Play.Stats.dwRollbacks;
        if (n > g_Play.Stats.dwLongestRollback) g_Play.Stats.dwLongestRollback = n;
        GameStateRestore(GameStateSlot(dwFirstWrong));
        g_bDrawOff = 1;
        bool bOk = true;
        for (uint32_t f = dwFirstWrong; f < g_Play.dwPresent && bOk; ++f) {
            bool bKnown;
            bOk = Step(f, Remote(f, &bKnown));
        }
        g_bDrawOff = 0;
        if (!bOk) return false;
    }
    g_Play.dwVerified = dwKnown;
    return true;
}

// Hands out the frames confirmed since the last call; false once the session ended.
bool Confirm() {
    for (; g_Play.dwConfirmed < g_Play.dwVerified; ++g_Play.dwConfirmed) {
        const uint32_t f = g_Play.dwConfirmed;
        const uint32_t i = f % kHistory;
        if (g_Play.Opt.dwFrames && f >= g_Play.Opt.dwFrames) break;
        if (g_NetPlayHooks.lpfnConfirmed) g_NetPlayHooks.lpfnConfirmed(f);
        if (g_Play.fpRecord) {
            uint32_t dwRaw[2];
            dwRaw[g_Play.nLocal] = g_Play.dwLocal[i];
            dwRaw[1 - g_Play.nLocal] = g_Play.dwUsedRemote[i];
            NetRecordFrame(g_Play.fpRecord, f, dwRaw);
        }
        if (f % kChecksumEvery == kChecksumEvery - 1)
            NetSendChecksum(f, GameStateChecksum(GameStateSlot(f + 1)));
        if (g_Play.nSceneAfter[i] == SCENE_TITLE) {
            // A player went back to the title: the session is over on both machines alike.
            ++g_Play.dwConfirmed;
            EndSession(NET_BYE_TITLE, WentBack() ? 0 : NETPLAY_MSG_TITLE, false);
            return false;
        }
    }
    return true;
}

// Lobby news: a guest cannot go on without its room; a host says so and waits for direct guests.
bool HandleLobby() {
    static constexpr int kMessage[] = {0,
                                       NETPLAY_MSG_ROOM,
                                       NETPLAY_MSG_LOBBY_UNREACHABLE,
                                       NETPLAY_MSG_ROOM_UNKNOWN,
                                       NETPLAY_MSG_ROOM_TAKEN,
                                       NETPLAY_MSG_LOBBY_VERSION,
                                       NETPLAY_MSG_LOBBY_BUSY,
                                       NETPLAY_MSG_LOBBY_REFUSED,
                                       NETPLAY_MSG_NO_ROUTE};
    for (int nEvent; (nEvent = NetLobbyService(NowMs())) != NETLOBBY_EV_NONE;) {
        const int nMessage = kMessage[nEvent];
        if (!g_Play.Opt.bHost) {
            EndSession(0, nMessage, false);
            return false;
        }
        g_Play.nLobbyNote = nMessage;
        if (nMessage == NETPLAY_MSG_ROOM) Plat_NetShareRoom(NetLobbyCode());
        if (g_NetPlayHooks.lpfnMessage) g_NetPlayHooks.lpfnMessage(nMessage);
    }
    return true;
}

bool HandleEvents() {
    if (g_Play.bLobby && !HandleLobby()) return false;
    NETEVENT ev[NET_EVENT_MAX];
    const int n = NetService(NowMs(), ev, NET_EVENT_MAX);
    for (int k = 0; k < n; ++k) {
        switch (ev[k].nType) {
            case NET_EV_CONNECTED:
                if (g_Play.nPhase != PHASE_CONNECTING) break;
                std::memcpy(&g_Play.Settings, &g_Option, sizeof(OPTIONDATA));
                OptionDecode(g_lpNet->bySettings, NET_SETTINGS_SIZE, &g_Play.Settings);
                if (!NetPlaySettingsValid(&g_Play.Settings)) {
                    EndSession(NET_BYE_CLOSED, NETPLAY_MSG_BAD_SETTINGS, false);
                    return false;
                }
                if (g_Play.Opt.bScreen) {
                    // Both machines start as a game does at start-up: the screen and whatever
                    // was played before leave nothing behind in the state.
                    ReleaseScene();
                    GameStateRestore(GameStateStart());
                }
                g_Play.nDelay = g_lpNet->nInputDelay;
                // Nothing was read for the first frames of the delay: released.
                for (int f = 0; f < g_Play.nDelay; ++f) {
                    g_Play.dwLocal[f] = 0;
                    NetSendInput(uint32_t(f), 0);
                }
                NetPlayEnterSelect(&g_Play.Settings);
                GameStateSave(GameStateSlot(0));
                g_Play.nPhase = PHASE_PLAYING;
                g_Play.nRoute = NetLobbyRoute();
                Plat_NetShareRoom("");
                if (g_Play.Opt.szRecord)
                    g_Play.fpRecord = NetRecordOpen(g_Play.Opt.szRecord, &g_Play.Settings);
                Message(NETPLAY_MSG_CONNECTED);
                break;
            case NET_EV_REFUSED:
                EndSession(0, NETPLAY_MSG_REFUSED, false);
                return false;
            case NET_EV_GUEST_REFUSED:
                if (g_NetPlayHooks.lpfnMessage) g_NetPlayHooks.lpfnMessage(NETPLAY_MSG_GUEST_REFUSED);
                break;
            case NET_EV_LEFT: {
                if (g_Play.nPhase == PHASE_DONE) break;
                // --frames: a peer that finished and left sent its inputs up to the last frame first;
                // a machine running behind simulates the frames it still has to confirm.
                if (g_Play.Opt.dwFrames && NetRemoteNext() >= g_Play.Opt.dwFrames) break;
                // Back to the title: the peer confirmed that frame before us; so do we, just after.
                NETEVENT d;
                if (ev[k].nReason == NET_BYE_DESYNC && NetCheckChecksum(&d)) {
                    // The peer found the difference first, and ours differs too: a report.
                    // (A peer's word alone writes nothing: the checksums must really differ.)
                    WriteDesyncReport(d);
                    EndSession(0, NETPLAY_MSG_DESYNC, true);
                } else if (ev[k].nReason == NET_BYE_TITLE)
                    EndSession(0, WentBack() ? 0 : NETPLAY_MSG_TITLE, true);
                else
                    EndSession(0, NETPLAY_MSG_LEFT, true);
                return false;
            }
            case NET_EV_LOST:
                if (g_Play.nPhase == PHASE_DONE) break;
                EndSession(0, NETPLAY_MSG_LOST, true);
                return false;
            case NET_EV_DESYNC:
                WriteDesyncReport(ev[k]);
                EndSession(NET_BYE_DESYNC, NETPLAY_MSG_DESYNC, true);
                return false;
            default:
                break;
        }
    }
    return true;
}

void DrawWaiting() {
    DDFillRect(g_BackBuffer, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0);
    if (!g_hFont) DDCreateFont(0, 20);
    const char* sz = NetPlayMessageText(g_Play.Opt.bHost ? NETPLAY_MSG_WAITING : NETPLAY_MSG_CONNECTING);
    DDTextOut(g_BackBuffer, 120, 200, DDRGB(255, 255, 255), sz);
    const uint32_t dwWhite = DDRGB(255, 255, 255);
    if (g_Play.Opt.bHost)
        DDTextOutF(g_BackBuffer, 120, 240, dwWhite, "UDP %u", unsigned(g_Play.Opt.wPort));
    else if (g_Play.Opt.szCode[0])
        DDTextOutF(g_BackBuffer, 120, 240, dwWhite, "%s %s", NetPlayMessageText(NETPLAY_MSG_ROOM),
                   g_Play.Opt.szCode);
    else
        DDTextOutF(g_BackBuffer, 120, 240, dwWhite, "%.200s:%u", g_Play.Opt.szHost,
                   unsigned(g_Play.Opt.wPort));
    // The host's room code to read out, or why there is none.
    if (g_Play.nLobbyNote == NETPLAY_MSG_ROOM)
        DDTextOutF(g_BackBuffer, 120, 270, dwWhite, "%s %s", NetPlayMessageText(NETPLAY_MSG_ROOM),
                   NetLobbyCode());
    else if (g_Play.nLobbyNote)
        DDTextOut(g_BackBuffer, 120, 270, dwWhite, NetPlayMessageText(g_Play.nLobbyNote));
    DDTextOut(g_BackBuffer, 120, 300, DDRGB(255, 255, 255), NetPlayMessageText(NETPLAY_MSG_ESCAPE));
    if (NetPlayNoAnswer())
        DDTextOut(g_BackBuffer, 120, 340, DDRGB(255, 255, 255), NetPlayMessageText(NETPLAY_MSG_NO_HOST));
}

// One tick of the session in place of a local frame. False ends the program.
bool SessionFrame() {
    Pace();
    ++g_dwFrameCount;
    ++g_Play.dwTicks;
    if (!DDRestoreSurfaces()) return false;
    if (!HandleEvents()) return true;
    if (g_Play.nPhase == PHASE_CONNECTING) {
        if (g_Play.Opt.dwTimeoutMs && NowMs() - g_Play.dwStartMs >= g_Play.Opt.dwTimeoutMs) {
            EndSession(0, g_Play.Opt.bHost ? NETPLAY_MSG_NO_GUEST : NETPLAY_MSG_NO_HOST, false);
            PostQuitMessage(3);
            return true;
        }
        if (g_Play.Opt.bScreen) {
            // The online screen stays on, a local frame; it may give up (NetPlayCancel).
            uint32_t dwRaw[2];
            ReadInputWords(false, dwRaw);
            if (!g_bHasFocus) dwRaw[0] = 0;
            dwRaw[1] = INPUT_RAW_NONE;
            if (!GameStep(dwRaw)) return false;
            PresentBackBuffer();
        } else if (g_Play.Opt.bPace) {
            DrawWaiting();
            PresentBackBuffer();
        }
        return true;
    }
    if (!Reconcile()) return false;
    if (!Confirm()) return true;
    if (g_Play.nPhase == PHASE_DONE) {
        // Both machines confirmed the last frame, or the peer closed: the program ends.
        if (NetPeerAck() >= g_Play.Opt.dwFrames && g_Play.dwDoneMs == 0) g_Play.dwDoneMs = NowMs() | 1;
        if (g_Play.dwDoneMs == 0 && NetState() != NET_PLAYING) g_Play.dwDoneMs = 1;
        if (g_Play.dwDoneMs && (NetState() != NET_PLAYING || NowMs() - g_Play.dwDoneMs >= kDoneLingerMs)) {
            EndSession(0, 0, false);
            PostQuitMessage(0);
        }
        return true;
    }
    if (g_Play.Opt.dwFrames && g_Play.dwConfirmed >= g_Play.Opt.dwFrames) {
        g_Play.nPhase = PHASE_DONE;
        return true;
    }
    const uint32_t dwEnd = g_Play.Opt.dwFrames ? g_Play.Opt.dwFrames : 0xFFFFFFFFu;
    // Too far ahead of the peer's inputs, or running ahead of the peer: this tick runs no frame.
    const bool bLimit =
        int32_t(g_Play.dwPresent - NetRemoteNext()) >= ROLLBACK_FRAMES || g_Play.dwPresent >= dwEnd;
    const bool bHold = !bLimit && NetFrameAdvantage() >= 2 && g_Play.dwTicks % 4 == 0;
    if (bLimit || bHold) {
        ++g_Play.Stats.dwFramesWaited;
        if (bHold) ++g_Play.Stats.dwFramesHeld;
        PresentBackBuffer();
        return true;
    }
    const uint32_t f = g_Play.dwPresent;
    if (g_NetPlayHooks.lpfnSample) g_NetPlayHooks.lpfnSample(f);
    uint32_t dwRead[2];
    ReadInputWords(false, dwRead);
    uint32_t dwInput = dwRead[0] & (INPUT_RAW_DIR_MASK | INPUT_RAW_BUTTON_MASK);
    if (!g_bHasFocus) dwInput = 0;
    if (dwInput & (BUTTON_2 << INPUT_RAW_BUTTON_SHIFT)) g_Play.dwLocalBack = f + 1;
    g_Play.dwLocal[(f + uint32_t(g_Play.nDelay)) % kHistory] = dwInput;
    NetSendInput(f + uint32_t(g_Play.nDelay), dwInput | g_Play.Opt.dwJunkBits);
    bool bKnown;
    const uint32_t dwRemote = Remote(f, &bKnown);
    if (!Step(f, dwRemote)) return false;
    ++g_Play.dwPresent;
    if (bKnown && g_Play.dwVerified == f) g_Play.dwVerified = f + 1;
    if (!Confirm()) return true;
    // Started from the online screen: the route and the round trip, for the first two seconds.
    if (g_Play.Opt.bScreen && g_Play.dwPresent < 180 && g_hFont) {
        DDFillRect(g_BackBuffer, 0, 448, SCREEN_WIDTH, 32, 0);
        DDTextOutF(g_BackBuffer, 16, 452, DDRGB(255, 255, 255), "%s  %u ms",
                   GameText(g_Play.nRoute == NETLOBBY_ROUTE_RELAY ? TXT_ONLINE_ROUTE_RELAY
                                                                  : TXT_ONLINE_ROUTE_DIRECT),
                   unsigned(NetRoundTripMs()));
    }
    PresentBackBuffer();
    return true;
}

// After the session, a message over the local game's frames for a few seconds.
bool MessageFrame() {
    if (g_nMessageFrames <= 0) {
        g_lpfnSessionFrame = nullptr;
        g_bActive = g_bHasFocus;
        // The title draws no text: the message's font goes with the message.
        if (g_nScene == SCENE_TITLE && g_hFont) DDDeleteFont();
        return GameFrame();
    }
    --g_nMessageFrames;
    ++g_dwFrameCount;
    if (g_bFrameLimit == 1) FrameWait(90);
    if (!DDRestoreSurfaces()) return false;
    ReadInputWords(IsTwoHumans(), g_dwFrameInput);
    for (uint32_t& dw : g_dwFrameInput)
        if (!g_bHasFocus && dw != INPUT_RAW_NONE) dw = 0;
    if (!GameStep(g_dwFrameInput)) return false;
    if (!g_hFont) DDCreateFont(0, 20);
    DDFillRect(g_BackBuffer, 0, 440, SCREEN_WIDTH, 40, 0);
    DDTextOut(g_BackBuffer, 16, 450, DDRGB(255, 255, 255), NetPlayMessageText(g_nMessage));
    PresentBackBuffer();
    return true;
}

// The first frame, after the game's start-up read this machine's settings: the network opens.
bool Open() {
    g_Play.SavedOption = g_Option;
    NETSETUP setup;
    std::snprintf(setup.szVersion, sizeof(setup.szVersion), "%s", POMRIN_VERSION);
    setup.qwRulesHash = RulesHash();
    OptionEncode(&g_Option, setup.bySettings);
    setup.nInputDelay = g_Play.Opt.nInputDelay;
    setup.Fault = g_Play.Opt.Fault;
    NETPLAYOPTIONS& o = g_Play.Opt;
    // The lobby: given for this run, else the saved one, else the build's.
    if (!o.szLobby[0] && o.bLobbySettings &&
        !ReadSettingsValue(UserDataFile("Settings.txt").c_str(), "lobby", o.szLobby, sizeof(o.szLobby)))
        std::snprintf(o.szLobby, sizeof(o.szLobby), "%s", POMRIN_DEFAULT_LOBBY);
    char szLobby[256];
    uint16_t wLobbyPort = 0;
    const bool bCode = !o.bHost && o.szCode[0];
    // A guest joining an address needs no lobby (nor a note that it does not answer).
    g_Play.bLobby = (o.bHost || bCode) && o.szLobby[0] &&
                    NetLobbyParseAddress(o.szLobby, szLobby, sizeof(szLobby), &wLobbyPort);
    bool bOk = o.bHost ? NetHost(o.wPort, &setup) : NetJoin(o.szHost, bCode ? 0 : o.wPort, &setup);
    g_Play.dwStartMs = NowMs();
    g_Play.dwNextTickMs = g_Play.dwStartMs;
    g_Play.nPhase = PHASE_CONNECTING;
    if (!bOk) {
        EndSession(0, NETPLAY_MSG_NO_NET, false);
        return false;
    }
    if (bCode && !g_Play.bLobby) {
        EndSession(0, NETPLAY_MSG_NO_LOBBY, false);
        return false;
    }
    if (g_Play.bLobby && !NetLobbyStart(szLobby, wLobbyPort, bCode ? o.szCode : nullptr, NowMs())) {
        // A name that does not resolve: a guest has nowhere to go, a host waits for direct guests.
        g_Play.bLobby = false;
        if (bCode) {
            EndSession(0, NETPLAY_MSG_LOBBY_UNREACHABLE, false);
            return false;
        }
        g_Play.nLobbyNote = NETPLAY_MSG_LOBBY_UNREACHABLE;
        if (g_NetPlayHooks.lpfnMessage) g_NetPlayHooks.lpfnMessage(NETPLAY_MSG_LOBBY_UNREACHABLE);
    }
    return true;
}

bool Tick() {
    if (g_Play.nPhase == PHASE_BOOT && !Open()) return MessageFrame();
    if (g_Play.nPhase != PHASE_OFF) return SessionFrame();
    return MessageFrame();
}

}  // namespace

bool NetPlayStart(const NETPLAYOPTIONS* lpOptions) {
    if (lpOptions->nInputDelay < 0 || lpOptions->nInputDelay > NET_MAX_INPUT_DELAY) return false;
    g_Play = PLAY{};
    g_Play.Opt = *lpOptions;
    g_Play.nLocal = lpOptions->bHost ? 0 : 1;
    g_Play.nPhase = PHASE_BOOT;
    g_lpfnSessionFrame = Tick;
    return true;
}

bool NetPlayActive() {
    return g_Play.nPhase != PHASE_OFF;
}

void NetPlayShutdown() {
    if (g_Play.nPhase != PHASE_OFF) EndSession(NET_BYE_CLOSED, 0, false);
    g_lpfnSessionFrame = nullptr;
    NetClose(0, 0);
}

NETPLAYSTATS NetPlayStats() {
    return g_Play.Stats;
}

int NetPlayRoute() {
    return g_Play.nRoute;
}

bool NetPlayConnecting() {
    return g_Play.nPhase == PHASE_BOOT || g_Play.nPhase == PHASE_CONNECTING;
}

const NETPLAYOPTIONS* NetPlayOptions() {
    return &g_Play.Opt;
}

bool NetPlayNoAnswer() {
    // The host may be down or closed off, or run another version (no answer at all). A room's
    // lobby server says itself what went wrong.
    return g_Play.nPhase == PHASE_CONNECTING && !g_Play.Opt.bHost && !g_Play.bLobby &&
           NowMs() - g_Play.dwStartMs >= kNoAnswerMs;
}

int NetPlayLobbyNote() {
    return g_Play.nLobbyNote;
}

int NetPlayEndMessage() {
    return g_Play.nEndMessage;
}

void NetPlayCancel() {
    if (g_Play.nPhase == PHASE_BOOT) {
        g_Play.nPhase = PHASE_OFF;
        g_lpfnSessionFrame = nullptr;
    } else if (g_Play.nPhase == PHASE_CONNECTING) {
        EndSession(NET_BYE_CLOSED, 0, false);
    }
}

NETSTATS NetPlayNetStats() {
    return g_Play.nPhase != PHASE_OFF ? NetStats() : g_Play.NetStats;
}
