// keymap show FILE        prints a key file as text
// keymap write TEXT FILE  writes a key file from that text ("-" reads standard input)
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "input/keymap_text.h"
#include "platform/plat_file.h"
#include "platform/plat_os.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: keymap show FILE\n"
                 "       keymap write TEXT FILE   (TEXT \"-\" reads standard input)\n");
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

}  // namespace

int main(int argc, char** argv) {
    // File names arrive as UTF-8 on every system.
    const std::vector<std::string> args = Plat_Arguments(argc, argv);
    if (args.size() == 3 && args[1] == "show") return Show(args[2].c_str());
    if (args.size() == 4 && args[1] == "write") return Write(args[2].c_str(), args[3].c_str());
    return Usage();
}
