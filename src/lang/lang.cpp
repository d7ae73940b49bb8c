#include "lang/lang.h"

#include <cctype>
#include <cstring>

#include "app/data_folder.h"
#include "app/settings_text.h"
#include "lang/text_box.h"
#include "lang/text_tables.h"
#include "platform/plat_os.h"

int32_t g_nLanguage = LANG_JA;

namespace {

constexpr const char* kSettingsFile = "Settings.txt";
constexpr const char* kKey = "language";
constexpr const char* kCode[LANG_COUNT] = {"ja", "en"};

const GAMETEXT kLanguageLabel = {"言語 / Language", textbox::kLabel, textbox::kNone};
const GAMETEXT kLanguageName[LANG_COUNT] = {
    {"日本語", textbox::kValue, textbox::kNone},
    {"English", textbox::kValue, textbox::kNone},
};

}  // namespace

const GAMETEXT* TextTable(int nLanguage) {
    return nLanguage == LANG_EN ? g_TextEn : g_TextJa;
}

const char* GameText(int nId) {
    return nId >= 0 && nId < TXT_COUNT ? TextTable(g_nLanguage)[nId].szText : "";
}

const GAMETEXT& LanguageLabel() {
    return kLanguageLabel;
}

const GAMETEXT& LanguageName(int nLanguage) {
    return kLanguageName[nLanguage == LANG_EN ? LANG_EN : LANG_JA];
}

const char* LanguageCode(int nLanguage) {
    return kCode[nLanguage == LANG_EN ? LANG_EN : LANG_JA];
}

int LanguageFromCode(const char* szCode) {
    for (int n = 0; n < LANG_COUNT; ++n)
        if (szCode && std::strcmp(szCode, kCode[n]) == 0) return n;
    return -1;
}

int LanguageOfLocale(const char* szLocale) {
    // "ja", "ja_JP.UTF-8", "ja-JP", "JA": the language part is "ja" whatever follows it.
    if (!szLocale || std::tolower(static_cast<unsigned char>(szLocale[0])) != 'j' ||
        std::tolower(static_cast<unsigned char>(szLocale[1])) != 'a')
        return LANG_EN;
    const char c = szLocale[2];
    return c == '\0' || c == '_' || c == '-' || c == '.' || c == '@' ? LANG_JA : LANG_EN;
}

bool ChooseLanguage(const char* szFlag, bool bSystem) {
    if (szFlag) {
        const int n = LanguageFromCode(szFlag);
        if (n < 0) return false;
        g_nLanguage = n;
        return true;
    }
    char szValue[SETTINGS_VALUE_MAX + 1];
    const std::string szFile = UserDataFile(kSettingsFile);
    if (ReadSettingsValue(szFile.c_str(), kKey, szValue, sizeof szValue) && LanguageFromCode(szValue) >= 0)
        g_nLanguage = LanguageFromCode(szValue);
    else
        g_nLanguage = bSystem ? LanguageOfLocale(Plat_OsLanguage().c_str()) : LANG_JA;
    return true;
}

bool SaveLanguage() {
    return PrepareUserDataDir() &&
           WriteSettingsValue(UserDataFile(kSettingsFile).c_str(), kKey, LanguageCode(g_nLanguage));
}
