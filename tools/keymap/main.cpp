// keymap show FILE        prints a key file as text
// keymap write TEXT FILE  writes a key file from that text ("-" reads standard input)
// keymap devices          lists the connected joysticks and their buttons as the game numbers them
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "input/keymap_text.h"
#include "platform/pad_fold.h"
#include "platform/plat_file.h"
#include "platform/plat_input.h"
#include "platform/plat_os.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: keymap show FILE\n"
                 "       keymap write TEXT FILE   (TEXT \"-\" reads standard input)\n"
                 "       keymap devices           (the joysticks connected now)\n"
                 "\n"
                 "A joystick entry's \"button N\" is the button as the game numbers it, which\n"
                 "\"keymap devices\" lists. Pads of a known layout use the standard numbering\n"
                 "(1 south/A, 2 east/B, 3 west/X, 4 north/Y, 5 and 6 shoulders, 7 back, 8 start,\n"
                 "9 and 10 stick clicks, 11 guide); other joysticks keep their own numbers.\n"
                 "A key file written for a pad's raw button numbers may change meaning.\n");
    return 2;
}

int Show(const char* szFile) {
    std::ifstream in(std::filesystem::u8path(szFile), std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "keymap: cannot open %s\n", szFile);
        return 1;
    }
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (bytes.size() != KEYMAP_FILE_SIZE)
        std::fprintf(stderr, "keymap: %s is %zu bytes, not %u; the game reads what is there over zeros\n",
                     szFile, bytes.size(), KEYMAP_FILE_SIZE);
    KEYMAP map{};
    KeyMapDecode(reinterpret_cast<const uint8_t*>(bytes.data()), uint32_t(bytes.size()), &map);
    std::fputs(KeyMapToText(map).c_str(), stdout);
    return 0;
}

int Write(const char* szText, const char* szFile) {
    std::stringstream text;
    if (std::string(szText) == "-") {
        text << std::cin.rdbuf();
    } else {
        std::ifstream in(std::filesystem::u8path(szText));
        if (!in) {
            std::fprintf(stderr, "keymap: cannot open %s\n", szText);
            return 1;
        }
        text << in.rdbuf();
    }
    KEYMAP map;
    std::string szError;
    if (!KeyMapFromText(text.str(), &map, &szError)) {
        std::fprintf(stderr, "keymap: %s: %s; nothing written\n", szText, szError.c_str());
        return 1;
    }
    uint8_t bytes[KEYMAP_FILE_SIZE];
    KeyMapEncode(&map, bytes);
    std::string szTemp = std::string(szFile) + ".tmp";
    std::ofstream out(std::filesystem::u8path(szTemp), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    out.close();
    if (!out || !Plat_FileReplace(szTemp.c_str(), szFile)) {
        Plat_FileRemove(szTemp.c_str());
        std::fprintf(stderr, "keymap: cannot write %s\n", szFile);
        return 1;
    }
    return 0;
}

// Joysticks in the game's numbering: the game reads joysticks 0 and 1.
int Devices() {
    PlatJoyInfo info;
    int nId = 0;
    for (; Plat_JoyInfo(nId, &info); ++nId) {
        std::printf("joystick %d: %s%s\n", nId, info.szName.c_str(),
                    nId > 1 ? " (not read by the game)" : "");
        std::printf("  layout: %s\n", info.bStandard ? "standard" : "the device's own button numbers");
        std::printf("  steers: %s\n", info.bStandard
                                          ? (info.bDpad ? "left stick and D-pad" : "left stick")
                                          : (info.bDpad ? "first two axes and first hat" : "first two axes"));
        std::printf("  buttons:");
        for (int i = 0; i < 32; ++i) {
            if (!(info.dwButtons & (1u << i))) continue;
            if (info.bStandard)
                std::printf("\n    %2d %s", i + 1, PadButtonName(i + 1));
            else
                std::printf(" %d", i + 1);
        }
        std::printf("%s\n", info.dwButtons ? "" : " none");
    }
    if (nId == 0) std::printf("no joysticks connected\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // File names arrive as UTF-8 on every system.
    const std::vector<std::string> args = Plat_Arguments(argc, argv);
    if (args.size() == 3 && args[1] == "show") return Show(args[2].c_str());
    if (args.size() == 4 && args[1] == "write") return Write(args[2].c_str(), args[3].c_str());
    if (args.size() == 2 && args[1] == "devices") return Devices();
    return Usage();
}
