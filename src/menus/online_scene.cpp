#include "menus/online_scene.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "app/data_folder.h"
#include "app/option.h"
#include "app/scene_state.h"
#include "app/settings_text.h"
#include "gfx/bitmap.h"
#include "gfx/blit.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "input/input.h"
#include "lang/lang.h"
#include "net/net_online.h"
#include "net/net_play_text.h"
#include "platform/plat_input.h"
#include "sound/sound.h"

const NETONLINE* g_lpNetOnline;
int32_t g_nOnlineState;
int32_t g_nOnlinePhase;
char g_szOnlineJoin[17];

namespace {

constexpr int ONLINE_BITMAPS[2] = {BMP_OPTION, BMP_OTHER};
constexpr uint32_t kWhite = DDRGB(255, 255, 255);
constexpr uint32_t kYellow = DDRGB(255, 232, 144);
constexpr int kMenuX = 64, kMenuY = 64, kRowStep = 36;
// Under the menu: the status, the list or the field with its grid (the middle panel), the note
// (the footer).
constexpr int kLowerY = 284, kLineStep = 26, kNoteY = 418;
// The room code to read out: twice the font's size, its characters kCodeGap apart, centred in the
// middle panel, its label level with it on the left. Its 48-pixel line starts kCodeRise higher
// and takes kCodeStep (the glyphs' top and bottom rows are empty), so the panel keeps its lines.
constexpr int kCodeScale = 2, kCodeGap = 14, kCodeRise = 6, kCodeStep = 38, kPanelCentreX = 320;
constexpr int kGridX = 64, kGridY = 334, kCellW = 40, kCellH = 24;
// The on-screen grid: code characters and what addresses need; the cells after them are OK.
constexpr char kGrid[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.:-";
constexpr int kGridChars = int(sizeof(kGrid)) - 1;
constexpr int kGridCols = 14, kGridRows = 3, kFieldMax = int(SETTINGS_VALUE_MAX);
static_assert(kGridChars < kGridCols * kGridRows, "room for the OK cell");
// The keyboard's button keys: they type when typing, and act as buttons on the grid.
constexpr int kButtonKeys[4] = {'Z', 'X', 'C', 'V'};

struct ONLINESCREEN {
    bool bLobbyEntry = false;  // the field edits the lobby server (else what to join)
    char szField[kFieldMax + 1] = {};
    char szLobby[SETTINGS_VALUE_MAX + 1] = {};
    int nNote = 0;            // TXT_* or a NETPLAY_MSG_* + 1000 to show under the menu
    bool bKeyDown[256] = {};  // the keys down last frame, for typing on their press
    bool bGrid = false;       // the grid cursor moved last: the button keys act as buttons
    int nMenuRow = 0;
    NETGAME Games[NET_DISCOVER_MAX_GAMES];
    int nGames = 0;
};
ONLINESCREEN g_Screen;

// The menu's rows: a page (no direct routes) has neither the local network nor a lobby server of
// its own choosing.
constexpr int kRowsDirect[] = {ONLINE_ROW_HOST, ONLINE_ROW_JOIN, ONLINE_ROW_LOCAL, ONLINE_ROW_LOBBY,
                               ONLINE_ROW_BACK};
constexpr int kRowsPage[] = {ONLINE_ROW_HOST, ONLINE_ROW_JOIN, ONLINE_ROW_BACK};

int RowCount() {
    return g_lpNetOnline->bDirect ? ONLINE_ROWS : int(std::size(kRowsPage));
}

// What the menu's row at screen position i is (ONLINE_ROW_*).
int RowAt(int i) {
    return g_lpNetOnline->bDirect ? kRowsDirect[i] : kRowsPage[i];
}

// A net session's message (NETPLAY_MSG_*) in the language in force.
const char* NetText(int nMessage) {
    return nMessage > 0 && nMessage < NETPLAY_MSG_COUNT ? GameText(TXT_NET_MESSAGE + nMessage - 1) : "";
}

std::string SettingsFile() {
    return UserDataFile("Settings.txt");
}

void SetNote(int nNote) {
    g_Screen.nNote = nNote;
}

const char* NoteText(int nNote) {
    return nNote >= 1000 ? NetText(nNote - 1000) : nNote ? GameText(nNote) : "";
}

void DrawMenu() {
    DDBltFramed(g_BackBuffer, 0, 0, 640, 480, g_Bitmap[BMP_OPTION], 0, 0, 255);
    DDTextOut(g_BackBuffer, 32, 28, kYellow, GameText(TXT_MENU_ONLINE));
    for (int k = 0; k < RowCount(); ++k)
        DDTextOut(g_BackBuffer, kMenuX, kMenuY + kRowStep * k, kWhite, GameText(TXT_ONLINE_HOST + RowAt(k)));
    if (!g_lpNetOnline->bDirect) return;
    if (g_Screen.nGames)
        DDTextOutF(g_BackBuffer, 352, kMenuY + kRowStep * ONLINE_ROW_LOCAL, kWhite, "%d", g_Screen.nGames);
    else
        DDTextOut(g_BackBuffer, 352, kMenuY + kRowStep * ONLINE_ROW_LOCAL, kWhite, GameText(TXT_ONLINE_NONE));
    DDTextOutF(g_BackBuffer, 352, kMenuY + kRowStep * ONLINE_ROW_LOBBY, kWhite, "%.24s",
               g_Screen.szLobby[0] ? g_Screen.szLobby : GameText(TXT_ONLINE_NONE));
}

void DrawCursor() {
    DDBltClip(g_BackBuffer, g_Cursor[0].nX, g_Cursor[0].nY, 16, 16, g_Bitmap[BMP_OTHER], 16, 0, 1);
}

void DrawEntry() {
    DrawMenu();
    DDTextOut(g_BackBuffer, 32, kLowerY - 4, kWhite,
              GameText(g_Screen.bLobbyEntry     ? TXT_ONLINE_ENTER_LOBBY
                       : g_lpNetOnline->bDirect ? TXT_ONLINE_ENTER_TARGET
                                                : TXT_ONLINE_ENTER_CODE));
    DDFillRect(g_BackBuffer, 40, 306, 560, 26, 0);
    DDTextOutF(g_BackBuffer, 44, 307, kYellow, "%.36s_", g_Screen.szField);
    for (int i = 0; i < kGridChars; ++i)
        DDTextOutF(g_BackBuffer, kGridX + kCellW * (i % kGridCols), kGridY + kCellH * (i / kGridCols), kWhite,
                   "%c", kGrid[i]);
    DDTextOut(g_BackBuffer, kGridX + kCellW * (kGridChars % kGridCols),
              kGridY + kCellH * (kGridChars / kGridCols), kYellow, "OK");
    DDTextOut(g_BackBuffer, 32, kNoteY, kWhite, NoteText(g_Screen.nNote));
    DrawCursor();
}

void DrawRoomCode(const char* szCode, int y) {
    DDTextOut(g_BackBuffer, 32, y + kCodeStep / 2 - 12, kYellow, NetText(NETPLAY_MSG_ROOM));
    const int nChars = int(std::strlen(szCode));
    const int nWidth = kCodeScale * DDTextWidth(szCode) + kCodeGap * (nChars - 1);
    int x = kPanelCentreX - nWidth / 2;
    for (int i = 0; i < nChars; ++i) {
        const char szChar[2] = {szCode[i], 0};
        DDTextOutScaled(g_BackBuffer, x, y - kCodeRise, kYellow, szChar, kCodeScale);
        x += kCodeScale * DDTextWidth(szChar) + kCodeGap;
    }
}

// The status of a waiting or connecting session, and how to give up.
void DrawWait(const NETONLINESTATUS& s) {
    DrawMenu();
    int y = kLowerY;
    if (s.nState == NETONLINE_WAITING) {
        DDTextOut(g_BackBuffer, 32, y, kWhite, NetText(NETPLAY_MSG_WAITING));
        y += kLineStep;
        if (s.szCode[0]) {
            DrawRoomCode(s.szCode, y);
            y += kCodeStep;
        } else if (s.nMessage) {
            DDTextOut(g_BackBuffer, 32, y, kWhite, NetText(s.nMessage));
            y += kLineStep;
        }
        // Guests on the same network may come straight to the port (not to a page).
        if (g_lpNetOnline->bDirect) {
            if (s.szLocal[0])
                DDTextOutF(g_BackBuffer, 32, y, kWhite, "%s %s:%u", GameText(TXT_ONLINE_SAME_NETWORK),
                           s.szLocal, unsigned(s.wPort));
            else
                DDTextOutF(g_BackBuffer, 32, y, kWhite, "%s UDP %u", GameText(TXT_ONLINE_SAME_NETWORK),
                           unsigned(s.wPort));
            y += kLineStep;
        }
    } else {
        static constexpr int kStep[] = {TXT_ONLINE_STEP_DIRECT, TXT_ONLINE_STEP_LOBBY, TXT_ONLINE_STEP_DIRECT,
                                        TXT_ONLINE_STEP_RELAY};
        DDTextOut(g_BackBuffer, 32, y, kWhite, GameText(kStep[s.nStep & 3]));
        y += kLineStep;
        // As on the waiting screen of --join: the host may be off or run another version; the
        // guest keeps trying until it gives up.
        if (s.bNoAnswer) {
            DDTextOut(g_BackBuffer, 32, y, kWhite, NetText(NETPLAY_MSG_NO_HOST));
            y += kLineStep;
        }
    }
    DDTextOut(g_BackBuffer, 32, y, kWhite, GameText(TXT_ONLINE_GIVE_UP));
}

void StartEntry(bool bLobby) {
    g_Screen.bLobbyEntry = bLobby;
    std::snprintf(g_Screen.szField, sizeof(g_Screen.szField), "%s", bLobby ? g_Screen.szLobby : "");
    g_Screen.bGrid = false;
    g_Screen.nMenuRow = g_Cursor[0].nRow;
    CursorReset(&g_Cursor[0]);
    CursorMove(&g_Input[0], &g_Cursor[0], kCellW, kCellH, kGridX - 20, kGridY + 2, kGridCols - 1,
               kGridRows - 1);
    SetNote(0);
    g_nOnlinePhase = ONLINE_ENTRY;
}

void BackToMenu() {
    CursorReset(&g_Cursor[0]);
    g_Cursor[0].nRow = g_Screen.nMenuRow;
    g_Cursor[0].nY = kMenuY + 4 + kRowStep * g_Cursor[0].nRow;
    g_Cursor[0].nX = kMenuX - 24;
    g_nOnlinePhase = ONLINE_MENU;
}

void Type(char c) {
    const size_t n = std::strlen(g_Screen.szField);
    if (n < size_t(kFieldMax)) {
        g_Screen.szField[n] = c;
        g_Screen.szField[n + 1] = 0;
    }
}

// Backspace or button 2: deletes a character, or leaves an empty field.
void Erase() {
    const size_t n = std::strlen(g_Screen.szField);
    DSPlay(&g_Sound[SND_CANCEL], 0);
    if (n)
        g_Screen.szField[n - 1] = 0;
    else
        BackToMenu();
}

void Submit() {
    if (g_Screen.bLobbyEntry) {
        // An empty field clears the server; anything else must be HOST[:PORT].
        if (g_Screen.szField[0] && !g_lpNetOnline->lpfnLobbyValid(g_Screen.szField)) {
            DSPlay(&g_Sound[SND_CANCEL], 0);
            SetNote(TXT_ONLINE_BAD_LOBBY);
            return;
        }
        DSPlay(&g_Sound[SND_DECIDE], 0);
        std::snprintf(g_Screen.szLobby, sizeof(g_Screen.szLobby), "%s", g_Screen.szField);
        const bool bSaved =
            g_bSettingsReadOnly ||
            (PrepareUserDataDir() && WriteSettingsValue(SettingsFile().c_str(), "lobby", g_Screen.szLobby));
        BackToMenu();
        SetNote(bSaved ? 0 : TXT_ONLINE_NOT_SAVED);
        return;
    }
    if (!g_lpNetOnline->lpfnJoin(g_Screen.szField)) {
        DSPlay(&g_Sound[SND_CANCEL], 0);
        SetNote(g_lpNetOnline->bDirect ? TXT_ONLINE_BAD_TARGET : TXT_ONLINE_BAD_CODE);
        return;
    }
    DSPlay(&g_Sound[SND_DECIDE], 0);
    SetNote(0);
    g_nOnlinePhase = ONLINE_WAIT;
}

// Keys typed this frame (on their press): true when one was, so the button keys do not also act.
bool ReadKeyboard() {
    bool bTyped = false;
    bool bSubmit = false, bErase = false;
    for (int nVk = 0; nVk < 256; ++nVk) {
        const bool bDown = Plat_KeyDown(nVk);
        const bool bPress = bDown && !g_Screen.bKeyDown[nVk];
        g_Screen.bKeyDown[nVk] = bDown;
        if (!bPress) continue;
        char c = 0;
        if ((nVk >= 'A' && nVk <= 'Z') || (nVk >= '0' && nVk <= '9')) c = char(nVk);
        if (nVk >= VK_NUMPAD0 && nVk <= VK_NUMPAD0 + 9) c = char('0' + nVk - VK_NUMPAD0);
        if (nVk == VK_OEM_PERIOD || nVk == VK_DECIMAL) c = '.';
        if (nVk == VK_OEM_1) c = ':';
        if (nVk == VK_OEM_MINUS || nVk == VK_SUBTRACT) c = '-';
        const bool bButtonKey =
            nVk == kButtonKeys[0] || nVk == kButtonKeys[1] || nVk == kButtonKeys[2] || nVk == kButtonKeys[3];
        if (c && bButtonKey && g_Screen.bGrid) continue;
        if (c) {
            Type(c);
            DSPlay(&g_Sound[SND_CURSOR], 0);
            if (!bButtonKey) g_Screen.bGrid = false;
            bTyped = true;
        }
        if (nVk == VK_RETURN) bSubmit = true;
        if (nVk == VK_BACK) bErase = true;
    }
    if (bErase) Erase();
    if (bSubmit && g_nOnlinePhase == ONLINE_ENTRY) Submit();
    return bTyped || bErase || bSubmit;
}

void RunEntry() {
    INPUTSTATE& in = g_Input[0];
    const bool bKeys = ReadKeyboard();
    if (g_nOnlinePhase != ONLINE_ENTRY) return;
    if (in.wDir) g_Screen.bGrid = true;
    CursorMove(&in, &g_Cursor[0], kCellW, kCellH, kGridX - 20, kGridY + 2, kGridCols - 1, kGridRows - 1);
    PlayCursorSound(&in, 3, SND_CURSOR);
    if (!bKeys && (in.wButton & BUTTON_1)) {
        const int i = g_Cursor[0].nRow * kGridCols + g_Cursor[0].nCol;
        if (i < kGridChars) {
            DSPlay(&g_Sound[SND_CURSOR], 0);
            Type(kGrid[i]);
        } else {
            Submit();
        }
    } else if (!bKeys && (in.wButton & BUTTON_2)) {
        Erase();
    }
    if (g_nOnlinePhase == ONLINE_ENTRY) DrawEntry();
}

// The games on the local network under the menu: name, address, version.
void DrawList() {
    DrawMenu();
    for (int i = 0; i < g_Screen.nGames; ++i) {
        const NETGAME& g = g_Screen.Games[i];
        DDTextOutF(g_BackBuffer, 64, kLowerY + kLineStep * i, kWhite, "%.16s  %s  %.16s", g.szName,
                   g.szAddress, g.szVersion);
    }
    DrawCursor();
}

void RunList() {
    INPUTSTATE& in = g_Input[0];
    if (g_Screen.nGames == 0) {
        BackToMenu();
        return;
    }
    if (g_Cursor[0].nRow >= g_Screen.nGames) g_Cursor[0].nRow = g_Screen.nGames - 1;
    CursorMove(&in, &g_Cursor[0], 0, kLineStep, 40, kLowerY + 4, 0, g_Screen.nGames - 1);
    PlayCursorSound(&in, 2, SND_CURSOR);
    if (in.wButton & BUTTON_1) {
        if (g_lpNetOnline->lpfnJoin(g_Screen.Games[g_Cursor[0].nRow].szAddress)) {
            DSPlay(&g_Sound[SND_DECIDE], 0);
            SetNote(0);
            g_nOnlinePhase = ONLINE_WAIT;
            return;
        }
    } else if (in.wButton & BUTTON_2) {
        DSPlay(&g_Sound[SND_CANCEL], 0);
        BackToMenu();
        return;
    }
    DrawList();
}

void RunMenu() {
    INPUTSTATE& in = g_Input[0];
    // Keys held when the menu came back do not type on a later field.
    for (int nVk = 0; nVk < 256; ++nVk) g_Screen.bKeyDown[nVk] = Plat_KeyDown(nVk);
    CursorMove(&in, &g_Cursor[0], 0, kRowStep, kMenuX - 24, kMenuY + 4, 0, RowCount() - 1);
    PlayCursorSound(&in, 2, SND_CURSOR);
    if (in.wDir & (DIR_UP | DIR_DOWN)) SetNote(0);
    if (in.wButton & BUTTON_1) {
        switch (RowAt(g_Cursor[0].nRow)) {
            case ONLINE_ROW_HOST:
                SetNote(0);
                if (g_lpNetOnline->lpfnHost()) {
                    DSPlay(&g_Sound[SND_DECIDE], 0);
                    g_Screen.nMenuRow = g_Cursor[0].nRow;
                    g_nOnlinePhase = ONLINE_WAIT;
                }
                break;
            case ONLINE_ROW_JOIN:
            case ONLINE_ROW_LOBBY:
                DSPlay(&g_Sound[SND_DECIDE], 0);
                StartEntry(RowAt(g_Cursor[0].nRow) == ONLINE_ROW_LOBBY);
                return;
            case ONLINE_ROW_LOCAL:
                if (g_Screen.nGames == 0) {
                    DSPlay(&g_Sound[SND_CANCEL], 0);
                    break;
                }
                DSPlay(&g_Sound[SND_DECIDE], 0);
                g_Screen.nMenuRow = g_Cursor[0].nRow;
                CursorReset(&g_Cursor[0]);
                g_Cursor[0].nX = 40;
                g_Cursor[0].nY = kLowerY + 4;
                g_nOnlinePhase = ONLINE_LIST;
                DrawList();
                return;
            default:
                DSPlay(&g_Sound[SND_DECIDE], 0);
                g_nOnlinePhase = ONLINE_FADE_OUT;
                break;
        }
    } else if (in.wButton & BUTTON_2) {
        DSPlay(&g_Sound[SND_CANCEL], 0);
        g_nOnlinePhase = ONLINE_FADE_OUT;
    }
    DrawMenu();
    DDTextOut(g_BackBuffer, 32, kNoteY, kWhite, NoteText(g_Screen.nNote));
    DrawCursor();
}

void RunWait() {
    NETONLINESTATUS s;
    g_lpNetOnline->lpfnStatus(&s);
    if (s.nState == NETONLINE_IDLE) {
        // The session ended before it played (a failure, or given up): why, on the menu.
        SetNote(s.nMessage ? 1000 + s.nMessage : 0);
        BackToMenu();
        RunMenu();
        return;
    }
    if (g_Input[0].wButton & BUTTON_2) {
        DSPlay(&g_Sound[SND_CANCEL], 0);
        g_lpNetOnline->lpfnCancel();
        SetNote(0);
        BackToMenu();
        DrawMenu();
        DrawCursor();
        return;
    }
    DrawWait(s);
}

bool OnlineLoad() {
    if (!DDLoadBitmaps(ONLINE_BITMAPS)) return false;
    DDCreateFont(0, 24);
    g_bPaletteDirty = 1;
    g_nOnlineState = 1;
    g_nOnlinePhase = ONLINE_FADE_IN;
    if (!ReadSettingsValue(SettingsFile().c_str(), "lobby", g_Screen.szLobby, sizeof(g_Screen.szLobby)))
        g_Screen.szLobby[0] = 0;
    // Back from a session: why it ended.
    NETONLINESTATUS s;
    g_lpNetOnline->lpfnStatus(&s);
    SetNote(s.nMessage ? 1000 + s.nMessage : 0);
    BackToMenu();
    g_nOnlinePhase = ONLINE_FADE_IN;
    return true;
}

void OnlineRun() {
    InputTrigger(&g_Input[0]);
    InputRepeat(&g_Input[0]);
    // The local network is looked at while the menu or the list is on screen.
    if (g_lpNetOnline->bDirect &&
        (g_nOnlinePhase == ONLINE_MENU || g_nOnlinePhase == ONLINE_LIST || g_nOnlinePhase == ONLINE_ENTRY))
        g_Screen.nGames = g_lpNetOnline->lpfnGames(g_Screen.Games, NET_DISCOVER_MAX_GAMES);
    switch (g_nOnlinePhase) {
        case ONLINE_FADE_IN:
            if (DDFadeInStep(g_Palette, 0, 255, 0, 0, 0, 4.0, g_BasePalette, 0)) {
                g_nOnlinePhase = ONLINE_MENU;
                if (g_szOnlineJoin[0]) {
                    StartEntry(false);
                    std::snprintf(g_Screen.szField, sizeof(g_Screen.szField), "%s", g_szOnlineJoin);
                    g_szOnlineJoin[0] = 0;
                    Submit();
                }
                g_bPaletteDirty = 0;
            }
            DrawMenu();
            break;
        case ONLINE_MENU:
            RunMenu();
            break;
        case ONLINE_ENTRY:
            RunEntry();
            break;
        case ONLINE_WAIT:
            RunWait();
            break;
        case ONLINE_LIST:
            RunList();
            break;
        case ONLINE_FADE_OUT:
            if (DDFadeOutStep(g_Palette, 0, 255, 0, 0, 0, 4.0, g_BasePalette, 0)) {
                g_nOnlineState = -1;
                g_bPaletteDirty = 0;
            }
            break;
        default:
            break;
    }
}

void OnlineLeave() {
    OnlineRelease();
    // Back on the title's online row.
    CursorReset(&g_Cursor[0]);
    g_Cursor[0].nRow = TitleRowOf(TITLE_ROW_ONLINE);
    g_nScene = g_nNextScene = SCENE_TITLE;
}

}  // namespace

bool OnlineMain() {
    // A build without online play never comes here; a stray scene number goes back to the title.
    if (!g_lpNetOnline) {
        g_nScene = g_nNextScene = SCENE_TITLE;
        return true;
    }
    return SceneMain(&g_nOnlineState, OnlineLoad, OnlineRun, OnlineLeave);
}

void OnlineRelease() {
    if (g_nOnlineState == 0) return;
    g_lpNetOnline->lpfnGamesStop();
    g_Screen.nGames = 0;
    DDReleaseBitmaps(ONLINE_BITMAPS);
    DDDeleteFont();
    g_nOnlineState = 0;
}
