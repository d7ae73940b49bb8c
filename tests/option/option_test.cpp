// The settings file: its 40-byte image, defaults, short and damaged files, safe saving.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/option.h"

namespace {

namespace fs = std::filesystem;

struct TempDir {
    fs::path path;
    explicit TempDir(const char* szName) : path(fs::path(POMRIN_BINARY_DIR) / szName) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
    std::string File(const char* szName) const { return (path / szName).string(); }
};

std::vector<uint8_t> ReadAll(const std::string& szPath) {
    std::ifstream in(szPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& szPath, const std::vector<uint8_t>& bytes) {
    std::ofstream(szPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

const std::vector<uint8_t> kDefaultBytes = {0x03, 0, 0,    0,    0x03, 0, 0, 0, 0x03, 0, 0, 0, 0x03, 0,
                                            0,    0, 0x02, 0,    0,    0, 0, 0, 0,    0, 0, 0, 0,    0,
                                            0,    0, 0xF0, 0x3F, 0,    0, 0, 0, 0,    0, 0, 0};

}  // namespace

TEST(OptionFile, DefaultsAndGameSpeedSeven) {
    TempDir dir("option_test_defaults");
    std::string szFile = dir.File("Option.dat");
    OPTIONDATA opt;
    SetDefaultOption(&opt);
    ASSERT_EQ(SaveOptionFile(szFile.c_str(), &opt), 1u);
    EXPECT_EQ(ReadAll(szFile), kDefaultBytes);

    opt.dGameSpeed = 7.0;  // 7.0 = 0x401C000000000000
    ASSERT_EQ(SaveOptionFile(szFile.c_str(), &opt), 1u);
    std::vector<uint8_t> bytes = ReadAll(szFile);
    ASSERT_EQ(bytes.size(), 40u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 24, bytes.begin() + 32),
              (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0x1C, 0x40}));
    OPTIONDATA back{};
    ASSERT_EQ(LoadOptionFile(szFile.c_str(), &back), 1u);
    EXPECT_EQ(back.dGameSpeed, 7.0);
    EXPECT_EQ(back.nComLevel, 2);
    EXPECT_FALSE(fs::exists(szFile + ".tmp"));
}

TEST(OptionFile, MissingEmptyShortAndDamagedFiles) {
    TempDir dir("option_test_load");
    std::string szFile = dir.File("Option.dat");
    OPTIONDATA opt{};
    EXPECT_EQ(LoadOptionFile(szFile.c_str(), &opt), 0u);
    // A folder in the file's place is no file: the defaults, not an empty record.
    fs::create_directory(szFile);
    EXPECT_EQ(LoadOptionFile(szFile.c_str(), &opt), 0u);
    fs::remove(szFile);

    WriteAll(szFile, {});
    ASSERT_EQ(LoadOptionFile(szFile.c_str(), &opt), 1u);
    EXPECT_EQ(opt.nWinCount, 0);
    EXPECT_EQ(opt.dGameSpeed, 0.0);

    WriteAll(szFile, {5, 0, 0, 0, 1, 0});  // wins 5, then half a defence
    ASSERT_EQ(LoadOptionFile(szFile.c_str(), &opt), 1u);
    EXPECT_EQ(opt.nWinCount, 5);
    EXPECT_EQ(opt.nDefense[0], 1);
    EXPECT_EQ(opt.nComLevel, 0);

    // Out-of-range values and padding are kept exactly as read, and written back the same.
    std::vector<uint8_t> damaged = {0, 0, 0,    0,    0xFE, 0xFF, 0xFF, 0xFF, 3,    0,    0,    0,   3, 0,
                                    0, 0, 9,    0,    0,    0,    0xAB, 0xCD, 0xEF, 0x01, 0,    0,   0, 0,
                                    0, 0, 0xF8, 0x7F, 7,    0,    0,    0,    0x11, 0x22, 0x33, 0x44};
    WriteAll(szFile, damaged);
    ASSERT_EQ(LoadOptionFile(szFile.c_str(), &opt), 1u);
    EXPECT_EQ(opt.nWinCount, 0);
    EXPECT_EQ(opt.nDefense[0], -2);
    EXPECT_EQ(opt.nComLevel, 9);
    EXPECT_TRUE(std::isnan(opt.dGameSpeed));
    EXPECT_EQ(opt.nBattleMode, 7);
    ASSERT_EQ(SaveOptionFile(szFile.c_str(), &opt), 1u);
    EXPECT_EQ(ReadAll(szFile), damaged);
}

TEST(OptionFile, AFailedSaveLeavesTheOldFile) {
    TempDir dir("option_test_save");
    OPTIONDATA opt;
    SetDefaultOption(&opt);
    EXPECT_EQ(SaveOptionFile(dir.File("no_folder/Option.dat").c_str(), &opt), 0u);

    std::string szFile = dir.File("Option.dat");
    ASSERT_EQ(SaveOptionFile(szFile.c_str(), &opt), 1u);
    fs::create_directory(szFile + ".tmp");  // the new file cannot be written
    opt.nWinCount = 5;
    EXPECT_EQ(SaveOptionFile(szFile.c_str(), &opt), 0u);
    EXPECT_EQ(ReadAll(szFile), kDefaultBytes);
}
