#include "net/net_record.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/frame.h"
#include "app/option.h"
#include "app/scene_state.h"
#include "app/window.h"
#include "gfx/bitmap.h"
#include "input/input.h"
#include "net/net_play.h"
#include "platform/plat_file.h"

namespace {

constexpr const char* kMagic = "pomrin-net-record 1";

struct REPLAY {
    OPTIONDATA Settings{};
    OPTIONDATA Saved{};
    std::vector<uint32_t> Words;  // two a frame
    uint32_t dwNext = 0;
    bool bPace = false;
};
REPLAY g_Replay;

bool ParseHex32(const std::string& sz, uint32_t* lpdw) {
    if (sz.empty() || sz.size() > 8) return false;
    uint32_t dw = 0;
    for (char c : sz) {
        int n = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (n < 0) return false;
        dw = dw << 4 | uint32_t(n);
    }
    *lpdw = dw;
    return true;
}

bool ReplayFrame() {
    if (g_Replay.bPace) FrameWait(90);
    if (!DDRestoreSurfaces()) return false;
    const uint32_t f = g_Replay.dwNext++;
    ++g_dwFrameCount;
    if (f == 0) {
        g_Replay.Saved = g_Option;
        NetPlayEnterSelect(&g_Replay.Settings);
    }
    g_dwFrameInput[0] = g_Replay.Words[2 * f];
    g_dwFrameInput[1] = g_Replay.Words[2 * f + 1];
    if (!GameStep(g_dwFrameInput)) return false;
    PresentBackBuffer();
    // A session ends when its scenes reach the title: so does its replay, whatever follows.
    if (g_Replay.dwNext * 2 >= g_Replay.Words.size() || g_nScene == SCENE_TITLE) {
        g_Option = g_Replay.Saved;
        g_lpfnSessionFrame = nullptr;
        PostQuitMessage(0);
    }
    return true;
}

}  // namespace

bool NetPlaySettingsValid(const OPTIONDATA* o) {
    if (o->nWinCount < 1 || o->nWinCount > 5 || o->nComLevel < 0 || o->nComLevel > 4) return false;
    for (int i = 0; i < 3; ++i)
        if (o->nDefense[i] < 1 || o->nDefense[i] > 5) return false;
    if (!(o->dGameSpeed >= 1.0 && o->dGameSpeed <= 20.0) || o->dGameSpeed != std::floor(o->dGameSpeed))
        return false;
    return o->nBattleMode >= 0 && o->nBattleMode < BATTLE_MODES;
}

void NetPlayEnterSelect(const OPTIONDATA* lpSettings) {
    g_Option = *lpSettings;
    g_nTitleSelect = TITLE_ROW_TWO_PLAYERS;
    g_nBattleMode = g_Option.nBattleMode;
    CursorReset(&g_Cursor[0]);
    CursorReset(&g_Cursor[1]);
    g_nScene = g_nNextScene = SCENE_SELECT;
}

FILE* NetRecordOpen(const char* szFile, const OPTIONDATA* lpSettings) {
    FILE* fp = Plat_FileOpen(szFile, "wb");
    if (!fp) return nullptr;
    uint8_t by[OPTION_FILE_SIZE];
    OptionEncode(lpSettings, by);
    std::fprintf(fp, "%s\nversion %s\nsettings ", kMagic, POMRIN_VERSION);
    for (uint8_t b : by) std::fprintf(fp, "%02x", b);
    std::fprintf(fp, "\n");
    return fp;
}

void NetRecordFrame(FILE* fp, uint32_t dwFrame, const uint32_t dwRaw[2]) {
    std::fprintf(fp, "%u %x %x\n", dwFrame, dwRaw[0], dwRaw[1]);
}

void NetRecordClose(FILE* fp) {
    std::fclose(fp);
}

bool NetRecordRead(const std::string& szFile, std::string* lpText, std::string* lpError) {
    std::ifstream in(std::filesystem::u8path(szFile), std::ios::binary);
    if (!in) {
        *lpError = "cannot read";
        return false;
    }
    lpText->assign(NET_RECORD_MAX_BYTES + 1, '\0');
    in.read(lpText->data(), std::streamsize(lpText->size()));
    const size_t nRead = size_t(in.gcount());
    if (nRead > NET_RECORD_MAX_BYTES) {
        *lpError =
            "larger than " + std::to_string(NET_RECORD_MAX_BYTES >> 20) + " MB: not a record of this game";
        lpText->clear();
        return false;
    }
    if (in.bad()) {
        *lpError = "cannot read";
        return false;
    }
    lpText->resize(nRead);
    return true;
}

bool NetRecordLooksLike(const std::string& szText) {
    return szText.compare(0, std::strlen(kMagic), kMagic) == 0;
}

bool NetReplayStart(const std::string& szText, bool bPace, std::string* lpError) {
    REPLAY r;
    std::istringstream in(szText);
    std::string szLine;
    int nLine = 0;
    auto Fail = [&](const char* szWhy) {
        *lpError = "line " + std::to_string(nLine) + ": " + szWhy;
        return false;
    };
    bool bSettings = false;
    while (std::getline(in, szLine)) {
        ++nLine;
        if (!szLine.empty() && szLine.back() == '\r') szLine.pop_back();
        if (nLine == 1) {
            if (szLine != kMagic) return Fail("not a net record");
            continue;
        }
        std::istringstream words(szLine);
        std::string a, b, c, d;
        words >> a >> b >> c >> d;
        if (a.empty()) continue;
        if (a == "version") continue;  // informative: the rules are checked by the states themselves
        if (a == "settings") {
            if (b.size() != 2 * OPTION_FILE_SIZE || !c.empty()) return Fail("bad settings");
            uint8_t by[OPTION_FILE_SIZE];
            for (uint32_t i = 0; i < OPTION_FILE_SIZE; ++i) {
                uint32_t dw;
                if (!ParseHex32(b.substr(2 * i, 2), &dw)) return Fail("bad settings");
                by[i] = uint8_t(dw);
            }
            SetDefaultOption(&r.Settings);
            OptionDecode(by, OPTION_FILE_SIZE, &r.Settings);
            if (!NetPlaySettingsValid(&r.Settings)) return Fail("settings out of range");
            bSettings = true;
            continue;
        }
        uint32_t dwFrame, dw1, dw2;
        if (a.size() > 9 || a.find_first_not_of("0123456789") != std::string::npos || !d.empty())
            return Fail("bad frame line");
        dwFrame = uint32_t(std::stoul(a));
        if (dwFrame != r.Words.size() / 2) return Fail("frames out of order");
        const uint32_t dwMask = INPUT_RAW_DIR_MASK | INPUT_RAW_BUTTON_MASK;
        if (!ParseHex32(b, &dw1) || !ParseHex32(c, &dw2) || (dw1 & ~dwMask) || (dw2 & ~dwMask))
            return Fail("bad input word");
        r.Words.push_back(dw1);
        r.Words.push_back(dw2);
    }
    if (nLine == 0) return Fail("empty");
    if (!bSettings) return Fail("no settings");
    if (r.Words.empty()) return Fail("no frames");
    r.bPace = bPace;
    g_Replay = std::move(r);
    g_bSettingsReadOnly = true;
    g_lpfnSessionFrame = ReplayFrame;
    return true;
}
