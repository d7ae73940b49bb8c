// The key file: the first 144 bytes of the input are the file, the rest the keyboard and
// joysticks of a few frames. The mapped reader must give sane records for any file, and
// the keymap tool's text for a file must read back to the same record.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz_file.h"
#include "input/input.h"
#include "input/keymap_text.h"
#include "platform/headless/headless.h"

namespace {

void Check(bool b) {
    if (!b) std::abort();
}

void CheckRecord(const INPUTSTATE& r) {
    Check(r.nDir >= 1 && r.nDir <= 9 && r.wDir <= 0xF);
    Check(!((r.wDir & DIR_LEFT) && (r.wDir & DIR_RIGHT)) && !((r.wDir & DIR_UP) && (r.wDir & DIR_DOWN)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* lpData, size_t nSize) {
    const size_t nFile = nSize < KEYMAP_FILE_SIZE ? nSize : KEYMAP_FILE_SIZE;
    KEYMAP map{};
    if (!LoadKeyFile(FuzzWriteFile(lpData, nFile), &map)) std::abort();

    // The tool's text for a record it can describe must read back to that record (the
    // padding words are not part of the text; the reader never looks at them).
    std::string szError;
    KEYMAP again{};
    if (KeyMapFromText(KeyMapToText(map), &again, &szError)) {
        KEYMAP unpadded = map;
        for (KEYPLAYER& player : unpadded.Player)
            for (KEYBIND& bind : player.Bind) bind.wPad = 0;
        uint8_t a[KEYMAP_FILE_SIZE], b[KEYMAP_FILE_SIZE];
        KeyMapEncode(&unpadded, a);
        KeyMapEncode(&again, b);
        Check(std::memcmp(a, b, KEYMAP_FILE_SIZE) == 0);
    }

    g_KeyMap = map;
    Headless_Reset();
    // Each further 10 bytes: a key code and its state, then joystick 0's x, y and buttons.
    for (size_t i = nFile; i + 10 <= nSize; i += 10) {
        const uint8_t* p = lpData + i;
        Headless_SetKey(p[0], p[1] & 1);
        Headless_SetJoy(p[1] >> 1 & 1, p[1] & 4, uint32_t(p[2] | p[3] << 8), uint32_t(p[4] | p[5] << 8),
                        uint32_t(p[6] | p[7] << 8 | p[8] << 16 | p[9] << 24));
        INPUTSTATE in[2] = {};
        InputReadMapped(in, 2);
        if (g_KeyMap.bCustom) {
            CheckRecord(in[0]);
            CheckRecord(in[1]);
        }
    }
    return 0;
}
