// assetgen OUT [--sheet FILE] [--icons DIR]: writes the game's pictures (OUT/bmp, those with
// words also in English in OUT/bmp/en) and sounds (OUT/wav), and on request a contact sheet of
// all pictures as PNG and the application icons.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "assets.h"
#include "files.h"
#include "icon.h"
#include "lang/lang.h"
#include "layout.h"
#include "sheet.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: assetgen OUT [--sheet FILE] [--icons DIR]\n");
        return 2;
    }
    std::filesystem::path out = argv[1];
    const char* szSheet = nullptr;
    const char* szIcons = nullptr;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--sheet") == 0) szSheet = argv[i + 1];
        if (std::strcmp(argv[i], "--icons") == 0) szIcons = argv[i + 1];
    }

    std::error_code ec;
    std::filesystem::create_directories(out / "bmp", ec);
    std::filesystem::create_directories(out / "wav", ec);
    const auto& pal = GamePalette();
    std::vector<Canvas> pictures;
    for (int n = 0; n < ABMP_COUNT; ++n) {
        const AssetBitmapInfo& info = g_AssetBitmaps[size_t(n)];
        Canvas cv = PaintBitmap(n);
        auto bytes = EncodeBmp(ToIndices(cv, IsDitheredBitmap(n)), info.nWidth, info.nHeight, pal.data());
        if (!WriteFileBytes(out / std::filesystem::u8path(info.szFile), bytes)) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", info.szFile);
            return 1;
        }
        pictures.push_back(std::move(cv));
    }
    // The pictures with words once more in English, under bmp/en/ with the same names and
    // palette (the game always takes the palette from the Japanese bmp/メッセージ.bmp).
    std::filesystem::create_directories(out / "bmp" / "en", ec);
    g_nLanguage = LANG_EN;
    for (int n : g_AssetEnglishBitmaps) {
        const AssetBitmapInfo& info = g_AssetBitmaps[size_t(n)];
        auto bytes =
            EncodeBmp(ToIndices(PaintBitmap(n), IsDitheredBitmap(n)), info.nWidth, info.nHeight, pal.data());
        const std::string szFile = std::string("bmp/en/") + (info.szFile + 4);
        if (!WriteFileBytes(out / std::filesystem::u8path(szFile), bytes)) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", szFile.c_str());
            return 1;
        }
    }
    g_nLanguage = LANG_JA;
    for (size_t n = 0; n < g_AssetSounds.size(); ++n) {
        auto bytes = EncodeWav(SynthSound(int(n)), kSampleRate);
        if (!WriteFileBytes(out / std::filesystem::u8path(g_AssetSounds[n].szFile), bytes)) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", g_AssetSounds[n].szFile);
            return 1;
        }
    }
    if (szSheet && !WriteContactSheet(szSheet, pictures)) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", szSheet);
        return 1;
    }
    if (szIcons && !WriteIcons(szIcons)) {
        std::fprintf(stderr, "assetgen: cannot write the icons in %s\n", szIcons);
        return 1;
    }
    return 0;
}
