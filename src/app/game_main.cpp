#include "app/game_main.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

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
#include "menus/option_scene.h"
#include "platform/plat_file.h"
#include "platform/plat_system.h"
#include "sound/sound.h"

bool (*g_lpfnBeforeFrame)(uint32_t dwFrame);
void (*g_lpfnAfterFrame)(uint32_t dwFrame);
bool g_bNoInstanceLock;

namespace {

constexpr const char* kTitle = "ころころポムリン";

int MessageLoop() {
    g_bReady = 1;
    g_bActive = 1;
    for (;;) {
        MSG msg;
        if (PeekMessage(&msg)) {
            if (msg.message == WM_QUIT) return int32_t(msg.wParam);
            WndProc(msg.message, msg.wParam);
            continue;
        }
        if (!g_bActive) {
            Plat_WaitEvent();
            continue;
        }
        if (g_lpfnBeforeFrame && !g_lpfnBeforeFrame(g_dwFrameCount)) continue;
        if (!GameFrame()) return 0;
        if (g_lpfnAfterFrame) g_lpfnAfterFrame(g_dwFrameCount - 1);
    }
}

}  // namespace

bool GameInit() {
    // The millisecond timer needs no resolution request on this platform.
    if (!DDInitDisplay(nullptr, g_DisplayModes, 0, 1)) return false;
    if (!DDLoadListedBitmap(g_Bitmap[BMP_MOJI], BMP_MOJI)) return false;
    // The platform reports no refresh rate the presentation could rely on: always pace.
    g_bFrameLimit = 1;
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
        Plat_MessageBox("既に起動しています", "二重起動");
        return 0;
    }
    if (szRecord && !RecordOpen(szRecord)) {
        std::fprintf(stderr, "cannot write the record file %s\n", szRecord);
        Plat_UnlockInstance();
        return 2;
    }
    int nExit = 0;
    if (!Plat_Init()) {
        Plat_MessageBox("ウインドウクラスの登録に失敗！", "エラー");
    } else if (!Plat_CreateWindow(kTitle, 640, 480)) {
        Plat_MessageBox("ウインドウクラスの生成に失敗！", "エラー");
        Plat_Quit();
    } else {
        ClearMessages();
        bool bInit = GameInit();
        if (bInit) nExit = MessageLoop();
        GameRelease();
        Plat_DestroyWindow();
        if (!bInit) {
            // The lock goes first: a copy started while the box is open runs normally.
            Plat_UnlockInstance();
            Plat_MessageBox("ゲーム全体の初期設定に失敗！", "エラー");
        }
        Plat_Quit();
    }
    RecordClose();
    Plat_UnlockInstance();
    return nExit;
}

int GameMain(int argc, char** argv) {
    std::string szRecord;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--record") == 0 && i + 1 < argc) {
            std::error_code ec;
            szRecord = std::filesystem::absolute(argv[++i], ec).string();
            if (ec) szRecord = argv[i];
        } else {
            std::fprintf(stderr, "usage: %s [--record FILE]\n", argv[0]);
            return 2;
        }
    }
    FindDataFolder(Plat_ExecutableDir());
    return GameRun(szRecord.empty() ? nullptr : szRecord.c_str());
}
