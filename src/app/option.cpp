#include "app/option.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/byte_order.h"
#include "app/state_buf.h"
#include "platform/plat_file.h"

OPTIONDATA g_Option;
int32_t g_nBattleMode;

void SetDefaultOption(OPTIONDATA* lpOption) {
    *lpOption = OPTIONDATA{3, {3, 3, 3}, 2, 0, 1.0, 0, 0};
}

void OptionEncode(const OPTIONDATA* lpOption, uint8_t lpBytes[OPTION_FILE_SIZE]) {
    PutLe32(lpBytes + 0, uint32_t(lpOption->nWinCount));
    for (int i = 0; i < 3; ++i) PutLe32(lpBytes + 4 + 4 * i, uint32_t(lpOption->nDefense[i]));
    PutLe32(lpBytes + 16, uint32_t(lpOption->nComLevel));
    PutLe32(lpBytes + 20, uint32_t(lpOption->nPad0));
    uint64_t qwSpeed;
    std::memcpy(&qwSpeed, &lpOption->dGameSpeed, 8);
    PutLe32(lpBytes + 24, uint32_t(qwSpeed));
    PutLe32(lpBytes + 28, uint32_t(qwSpeed >> 32));
    PutLe32(lpBytes + 32, uint32_t(lpOption->nBattleMode));
    PutLe32(lpBytes + 36, uint32_t(lpOption->nPad1));
}

void OptionDecode(const uint8_t* lpBytes, uint32_t nBytes, OPTIONDATA* lpOption) {
    std::array<uint8_t, OPTION_FILE_SIZE> image;
    OptionEncode(lpOption, image.data());
    std::memcpy(image.data(), lpBytes, nBytes < OPTION_FILE_SIZE ? nBytes : OPTION_FILE_SIZE);
    const uint8_t* p = image.data();
    lpOption->nWinCount = int32_t(Le32(p));
    for (int i = 0; i < 3; ++i) lpOption->nDefense[i] = int32_t(Le32(p + 4 + 4 * i));
    lpOption->nComLevel = int32_t(Le32(p + 16));
    lpOption->nPad0 = int32_t(Le32(p + 20));
    uint64_t qwSpeed = Le32(p + 24) | uint64_t(Le32(p + 28)) << 32;
    std::memcpy(&lpOption->dGameSpeed, &qwSpeed, 8);
    lpOption->nBattleMode = int32_t(Le32(p + 32));
    lpOption->nPad1 = int32_t(Le32(p + 36));
}

uint32_t LoadOptionFile(const char* szFile, OPTIONDATA* lpOption) {
    std::FILE* lpFile = Plat_FileOpen(szFile, "rb");
    if (!lpFile) return 0;
    uint8_t bytes[OPTION_FILE_SIZE];
    size_t nRead = std::fread(bytes, 1, sizeof bytes, lpFile);
    // A folder of that name opens here but cannot be read: it is no settings file at all.
    bool bUnreadable = nRead == 0 && std::ferror(lpFile);
    std::fclose(lpFile);
    if (bUnreadable) return 0;
    OptionDecode(bytes, uint32_t(nRead), lpOption);
    return 1;
}

bool g_bSettingsReadOnly;

uint32_t SaveOptionFile(const char* szFile, const OPTIONDATA* lpOption) {
    uint8_t bytes[OPTION_FILE_SIZE];
    OptionEncode(lpOption, bytes);
    // Written beside the old file and renamed over it only when complete, so a failed save
    // leaves the old settings file as it was.
    std::string szTemp = std::string(szFile) + ".tmp";
    std::FILE* lpFile = Plat_FileOpen(szTemp.c_str(), "wb");
    if (!lpFile) return 0;
    bool bOk = std::fwrite(bytes, 1, sizeof bytes, lpFile) == sizeof bytes;
    bOk = Plat_FileSync(lpFile) && bOk;
    bOk = std::fclose(lpFile) == 0 && bOk;
    if (!bOk || !Plat_FileReplace(szTemp.c_str(), szFile)) {
        Plat_FileRemove(szTemp.c_str());
        return 0;
    }
    return 1;
}

void OptionStateIo(STATEBUF* lpBuf) {
    // The record is 40 bytes of named fields (its padding is explicit), so every byte is defined.
    StateBytes(lpBuf, &g_Option, sizeof g_Option);
    StateField(lpBuf, g_nBattleMode);
}
