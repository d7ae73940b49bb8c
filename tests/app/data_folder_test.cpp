// Where the game finds its data and keeps the player's files: an installed game (data in
// ../share/games/pomrin from its executable) uses the XDG data folder, a build folder keeps
// user_data/ beside its data.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/data_folder.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

struct DataFolder : ::testing::Test {
    TempDir dir;
    fs::path old = fs::current_path();
    void TearDown() override { fs::current_path(old); }
};

#ifndef _WIN32  // the installed layout and XDG_DATA_HOME belong to the Linux package
TEST_F(DataFolder, InstalledGameKeepsPlayerFilesInXdgDataHome) {
    std::string szHome = getenv("HOME") ? getenv("HOME") : "";
    fs::create_directories(dir.path / "usr/games");
    fs::create_directories(dir.path / "usr/share/games/pomrin/bmp");
    fs::create_directories(dir.path / "home/bmp");  // a folder that merely looks like data
    fs::current_path(dir.path / "home");
    setenv("HOME", (dir.path / "home").c_str(), 1);
    setenv("XDG_DATA_HOME", (dir.path / "xdg").c_str(), 1);

    FindDataFolder((dir.path / "usr/games").string());
    EXPECT_EQ(fs::current_path(), fs::canonical(dir.path / "usr/share/games/pomrin"));
    EXPECT_EQ(UserDataFile("Option.dat"), (dir.path / "xdg/pomrin/user_data/Option.dat").string());
    ASSERT_TRUE(PrepareUserDataDir());
    EXPECT_TRUE(fs::is_directory(dir.path / "xdg/pomrin/user_data"));

    // An empty or relative XDG_DATA_HOME means ~/.local/share; without a home there is no place.
    for (const char* sz : {"", "relative/xdg"}) {
        setenv("XDG_DATA_HOME", sz, 1);
        EXPECT_EQ(XdgUserDataDir(), (dir.path / "home/.local/share/pomrin/user_data").string()) << sz;
    }
    unsetenv("XDG_DATA_HOME");
    unsetenv("HOME");
    FindDataFolder((dir.path / "usr/games").string());
    EXPECT_EQ(UserDataFile("Option.dat"), "");
    EXPECT_FALSE(PrepareUserDataDir());
    setenv("HOME", szHome.c_str(), 1);
}
#endif

TEST_F(DataFolder, BuildFolderKeepsUserDataBesideTheData) {
    fs::create_directories(dir.path / "build/data/bmp");
    fs::current_path(dir.path);

    FindDataFolder((dir.path / "build").string());
    EXPECT_EQ(fs::current_path(), fs::canonical(dir.path / "build/data"));
    EXPECT_EQ(UserDataFile("CustomKey.dat"), "user_data/CustomKey.dat");
    EXPECT_TRUE(PrepareUserDataDir());
    EXPECT_FALSE(fs::exists(dir.path / "build/data/user_data"));  // the build makes it, not the game
}

}  // namespace
