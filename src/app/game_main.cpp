#include "app/game_main.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/data_folder.h"
#include "app/debug_trace.h"
#include "app/frame.h"
#include "app/input_record.h"
#include "app/option.h"
#include "app/window.h"
#include "gfx/bitmap.h"
#include "gfx/palette.h"
#include "gfx/surface.h"
#include "input/input.h"
#include "lang/lang.h"
#include "menus/option_scene.h"
#include "platform/plat_file.h"
#include "platform/plat_loop.h"
#include "platform/plat_os.h"
#include "platform/plat_system.h"
#include "sound/sound.h"

bool (*g_lpfnBeforeFrame)(uint32_t dwFrame);
void (*g_lpfnAfterFrame)(uint32_t dwFrame);
bool g_bNoInstanceLock;

namespace {

int g_nLoopExit;

// One pass of the message loop: every waiting message, then one frame while the window is
// active. A frame runs only when the message queue is empty.
PlatLoopPass LoopPass() {
    for (;;) {
        MSG msg;
        if (PeekMessage(&msg)) {
            if (msg.message == WM_QUIT) {
                g_nLoopExit = int32_t(msg.wParam);
                return PLAT_LOOP_END;
            }
            WndProc(msg.message, msg.wParam);
            continue;
        }
        if (!g_bActive) return PLAT_LOOP_IDLE;
        if (g_lpfnBeforeFrame && !g_lpfnBeforeFrame(g_dwFrameCount)) continue;
        // A scene that cannot load its pictures ends the program: a failure, not a quit.
        if (!GameFrame()) {
            g_nLoopExit = 1;
            return PLAT_LOOP_END;
        }
        if (g_lpfnAfterFrame) g_lpfnAfterFrame(g_dwFrameCount - 1);
        return PLAT_LOOP_FRAME;
    }
}

// After the loop: the shut-down that follows a successful start-up. Returns the exit code.
int LoopEnd() {
    GameRelease();
    Plat_DestroyWindow();
    Plat_Quit();
    RecordClose();
    Plat_UnlockInstance();
    return g_nLoopExit;
}

}  // namespace

bool GameInit() {
    // The millisecond timer needs no resolution request on this platform.
    if (!DDInitDisplay(nullptr, g_DisplayModes, 0, 1)) return false;
    if (!DDLoadListedBitmap(g_Bitmap[BMP_MOJI], BMP_MOJI)) return false;
    // The limiter paces the game unless the platform itself runs frames at the game's pace.
    g_bFrameLimit = Plat_PacesFrames() ? 0 : 1;
    if (!DDLoadPaletteFromFile(g_BasePalette, "bmp/メッセージ.bmp", 0)) {
        DebugTrace("DDLoadPaletteFromFile失敗");
        return false;
    }
    DebugTrace("DDLoadPaletteFromFile成功");
    g_Palette = g_BasePalette;
    if (!DS_Init(nullptr, 22050, 8, 1)) {
        DebugTrace("DS_Init失敗！");
        return false;
    }
    if (!DSCreateBufferGroup(g_Sound, g_SoundTable.data())) {
        DebugTrace("DSCreateBufferGroup失敗！");
        return false;
    }
    if (!LoadOptionFile(UserDataFile("Option.dat").c_str(), &g_Option)) SetDefaultOption(&g_Option);
    SetJoyButtonMask(g_Input[0].wJoyButton);
    SetJoyButtonMask(g_Input[1].wJoyButton);
    if (!LoadKeyFile(UserDataFile("CustomKey.dat").c_str(), &g_KeyMap)) SetDefaultKeyMap(&g_KeyMap);
    return true;
}

bool GameRelease() {
    DS_Release();
    if (g_lpOption) {
        OptionDestroy(g_lpOption);
        delete g_lpOption;
        g_lpOption = nullptr;
    }
    DDReleaseFullScreen();
    return true;
}

int GameRun(const char* szRecord) {
    if (!g_bNoInstanceLock && !Plat_LockInstance("ゲーム")) {
        // Not a failure: the game the player wanted is already on screen.
        Plat_MessageBox(GameText(TXT_BOX_RUNNING), GameText(TXT_BOX_RUNNING_CAPTION));
        return 0;
    }
    if (szRecord && !RecordOpen(szRecord)) {
        std::fprintf(stderr, "cannot write the record file %s\n", szRecord);
        Plat_UnlockInstance();
        return 2;
    }
    if (!Plat_Init()) {
        Plat_MessageBox(GameText(TXT_BOX_NO_WINDOW_CLASS), GameText(TXT_BOX_ERROR_CAPTION));
    } else if (!Plat_CreateWindow(GameText(TXT_GAME_NAME), 640, 480)) {
        Plat_MessageBox(GameText(TXT_BOX_NO_WINDOW), GameText(TXT_BOX_ERROR_CAPTION));
        Plat_Quit();
    } else {
        ClearMessages();
        if (GameInit()) {
            g_bReady = 1;
            g_bActive = 1;
            // Natively the loop runs inside this call; in a browser the page drives it.
            return Plat_RunLoop(LoopPass, LoopEnd);
        }
        GameRelease();
        Plat_DestroyWindow();
        // The lock goes first: a copy started while the box is open runs normally.
        Plat_UnlockInstance();
        Plat_MessageBox(GameText(TXT_BOX_NO_START), GameText(TXT_BOX_ERROR_CAPTION));
        Plat_Quit();
    }
    RecordClose();
    Plat_UnlockInstance();
    return 1;
}

int GameMain(const std::vector<std::string>& args) {
    const std::string szUsage = "usage: pomrin [--record FILE] [--lang ja|en] [--version]\n";
    const char* szTitle = GameText(TXT_GAME_NAME);
    std::string szRecord, szLang;
    bool bLang = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--lang" && i + 1 < args.size() && LanguageFromCode(args[i + 1].c_str()) >= 0) {
            szLang = args[++i];
            bLang = true;
        } else if (args[i] == "--record" && i + 1 < args.size()) {
            const std::filesystem::path file = std::filesystem::u8path(args[++i]);
            std::error_code ec;
            const std::filesystem::path abs = std::filesystem::absolute(file, ec);
            const std::u8string sz = (ec ? file : abs).u8string();
            szRecord.assign(sz.begin(), sz.end());
        } else if (args[i] == "--version") {
            Plat_ShowText(szTitle, "pomrin " POMRIN_VERSION "\n", false);
            return 0;
        } else if (args[i] == "--help" || args[i] == "-h") {
            Plat_ShowText(szTitle, szUsage.c_str(), false);
            return 0;
        } else {
            Plat_ShowText(szTitle, szUsage.c_str(), true);
            return 2;
        }
    }
    FindDataFolder(Plat_ExecutableDir());
    // The flag for this run, else the saved setting, else the system's language.
    ChooseLanguage(bLang ? szLang.c_str() : nullptr, true);
    return GameRun(szRecord.empty() ? nullptr : szRecord.c_str());
}
