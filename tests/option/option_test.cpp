// The settings file: its 40-byte image, defaults, short and damaged files, safe saving. (Game
// speed 7 written as the double 7.0, and an empty file read as all zeros, are checked through
// the options screen in the sim tests.)
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/option.h"
#include "app/settings_text.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

const std::vector<uint8_t> kDefaultBytes = {0x03, 0, 0,    0,    0x03, 0, 0, 0, 0x03, 0, 0, 0, 0x03, 0,
                                            0,    0, 0x02, 0,    0,    0, 0, 0, 0,    0, 0, 0, 0,    0,
                                            0,    0, 0xF0, 0x3F, 0,    0, 0, 0, 0,    0, 0, 0};

}  // namespace

TEST(OptionFile, MissingEmptyShortAndDamagedFiles) {
    TempDir dir;
    std::string szFile = dir.File("Option.dat");
    OPTIONDATA opt{};
    EXPECT_EQ(LoadOptionFile(szFile.c_str(), &opt), 0u);
    // A folder in the file's place is no file: the defaults, not an empty record.
    fs::create_directory(szFile);
    EXPECT_EQ(LoadOptionFile(szFile.c_str(), &opt), 0u);
    fs::remove(szFile);

    WriteBytes(szFile, {5, 0, 0, 0, 1, 0});  // wins 5, then half a defence
    ASSERT_EQ(LoadOptionFile(szFile.c_str(), &opt), 1u);
    EXPECT_EQ(std::tuple(opt.nWinCount, opt.nDefense[0], opt.nComLevel), std::tuple(5, 1, 0));

    // Out-of-range values and padding are kept exactly as read, and written back the same.
    std::vector<uint8_t> damaged = {0, 0, 0,    0,    0xFE, 0xFF, 0xFF, 0xFF, 3,    0,    0,    0,   3, 0,
                                    0, 0, 9,    0,    0,    0,    0xAB, 0xCD, 0xEF, 0x01, 0,    0,   0, 0,
                                    0, 0, 0xF8, 0x7F, 7,    0,    0,    0,    0x11, 0x22, 0x33, 0x44};
    WriteBytes(szFile, damaged);
    ASSERT_EQ(LoadOptionFile(szFile.c_str(), &opt), 1u);
    EXPECT_EQ(std::tuple(opt.nWinCount, opt.nDefense[0], opt.nComLevel, opt.nBattleMode),
              std::tuple(0, -2, 9, 7));
    EXPECT_TRUE(std::isnan(opt.dGameSpeed));
    ASSERT_EQ(SaveOptionFile(szFile.c_str(), &opt), 1u);
    EXPECT_EQ(ReadBytes(szFile), damaged);
}

TEST(OptionFile, DefaultsImageAndAFailedSaveLeavesTheOldFile) {
    TempDir dir;
    OPTIONDATA opt;
    SetDefaultOption(&opt);
    EXPECT_EQ(SaveOptionFile(dir.File("no_folder/Option.dat").c_str(), &opt), 0u);

    std::string szFile = dir.File("Option.dat");
    ASSERT_EQ(SaveOptionFile(szFile.c_str(), &opt), 1u);
    EXPECT_EQ(ReadBytes(szFile), kDefaultBytes);
    EXPECT_FALSE(fs::exists(szFile + ".tmp"));
    fs::create_directory(szFile + ".tmp");  // the new file cannot be written
    opt.nWinCount = 5;
    EXPECT_EQ(SaveOptionFile(szFile.c_str(), &opt), 0u);
    EXPECT_EQ(ReadBytes(szFile), kDefaultBytes);
}

// Settings.txt: a value set, read back and replaced, other lines kept; what is no settings file
// is neither read nor overwritten.
TEST(SettingsText, SetReadReplaceAndRefuse) {
    TempDir dir;
    std::string szFile = dir.File("Settings.txt");
    char szValue[SETTINGS_VALUE_MAX + 1];
    EXPECT_FALSE(ReadSettingsValue(szFile.c_str(), "lobby", szValue, sizeof szValue));

    ASSERT_TRUE(WriteSettingsValue(szFile.c_str(), "lobby", "example.org:27820"));
    EXPECT_EQ(ReadFileText(szFile), "lobby example.org:27820\n");
    std::ofstream(szFile, std::ios::binary) << "# mine\r\nlanguage  en \r\nfuture x\nlanguage ja";
    ASSERT_TRUE(ReadSettingsValue(szFile.c_str(), "language", szValue, sizeof szValue));
    EXPECT_STREQ(szValue, "ja");                                              // the last line that sets it
    EXPECT_FALSE(ReadSettingsValue(szFile.c_str(), "language", szValue, 2));  // does not fit
    EXPECT_STREQ(szValue, "");

    ASSERT_TRUE(WriteSettingsValue(szFile.c_str(), "language", "en"));
    EXPECT_EQ(ReadFileText(szFile), "# mine\nlanguage en\nfuture x\n");
    EXPECT_FALSE(WriteSettingsValue(szFile.c_str(), "Language", "en"));
    EXPECT_FALSE(WriteSettingsValue(szFile.c_str(), "lobby", " padded"));
    EXPECT_FALSE(WriteSettingsValue(szFile.c_str(), "lobby", "tab\there"));
    EXPECT_FALSE(WriteSettingsValue(szFile.c_str(), "lobby", std::string(256, 'a').c_str()));

    WriteBytes(szFile, {'l', 'o', 'b', 'b', 'y', ' ', 'a', 0, 'b', '\n'});  // not text
    EXPECT_FALSE(ReadSettingsValue(szFile.c_str(), "lobby", szValue, sizeof szValue));
    EXPECT_FALSE(WriteSettingsValue(szFile.c_str(), "lobby", "b"));
    EXPECT_EQ(ReadBytes(szFile).size(), 10u);
    WriteBytes(szFile, std::vector<uint8_t>(SETTINGS_FILE_MAX + 1, 'x'));  // too large
    EXPECT_FALSE(WriteSettingsValue(szFile.c_str(), "lobby", "b"));
    EXPECT_EQ(ReadBytes(szFile).size(), SETTINGS_FILE_MAX + 1);
}
