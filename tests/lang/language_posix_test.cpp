// The language the game starts in. (POSIX: the system's language is the locale's variables.)
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app/data_folder.h"
#include "lang/lang.h"
#include "support/files.h"

namespace {

// The flag, else the saved setting, else the system's locale (LC_ALL, LC_MESSAGES, LANG).
TEST(Language, FromTheFlagTheSettingOrTheSystem) {
    for (const char* sz : {"ja", "ja_JP.UTF-8", "ja-JP", "JA", "ja@x"})
        EXPECT_EQ(LanguageOfLocale(sz), LANG_JA) << sz;
    for (const char* sz : {"", "C", "C.UTF-8", "en_US.UTF-8", "jav", "fr-JA"})
        EXPECT_EQ(LanguageOfLocale(sz), LANG_EN) << sz;

    TempDir dir;
    g_szUserDataDir = dir.path.string();
    const std::string szFile = dir.File("Settings.txt");
    auto Chosen = [](const char* szFlag, bool bSystem) {
        EXPECT_TRUE(ChooseLanguage(szFlag, bSystem)) << (szFlag ? szFlag : "no flag");
        return g_nLanguage;
    };
    SetEnv("LC_ALL", "");
    SetEnv("LC_MESSAGES", "");
    SetEnv("LANG", "ja_JP.UTF-8");
    EXPECT_EQ(Chosen(nullptr, true), LANG_JA);
    SetEnv("LC_ALL", "C.UTF-8");  // LC_ALL comes first
    EXPECT_EQ(Chosen(nullptr, true), LANG_EN);
    EXPECT_EQ(Chosen(nullptr, false), LANG_JA);  // the simulator: Japanese

    // A saved setting wins over the system, whose language then does not matter.
    std::ofstream(szFile, std::ios::binary) << "# mine\nlanguage ja\nlobby example.org\n";
    EXPECT_EQ(Chosen(nullptr, true), LANG_JA);
    g_nLanguage = LANG_EN;
    ASSERT_TRUE(SaveLanguage());
    EXPECT_EQ(ReadFileText(szFile), "# mine\nlanguage en\nlobby example.org\n");
    SetEnv("LC_ALL", "ja_JP.UTF-8");
    EXPECT_EQ(Chosen(nullptr, true), LANG_EN);
    // A setting the game does not know is no setting.
    std::ofstream(szFile, std::ios::binary) << "language fr\n";
    EXPECT_EQ(Chosen(nullptr, true), LANG_JA);

    // The flag wins over both; another value is refused and changes nothing.
    EXPECT_EQ(Chosen("en", true), LANG_EN);
    EXPECT_FALSE(ChooseLanguage("fr", true));
    EXPECT_FALSE(ChooseLanguage("", true));
    EXPECT_EQ(g_nLanguage, LANG_EN);
    g_nLanguage = LANG_JA;
    SetEnv("LC_ALL", "");
}

}  // namespace
