#include "app/data_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string g_szUserDataDir = "user_data";

namespace {

// The installed folder of the data, relative to the folder of the executable (/usr/games).
constexpr const char* kInstalledData = "../share/games/pomrin";
bool g_bUserDataHome = false;

bool HasPictures(const fs::path& dir) {
    std::error_code ec;
    return fs::is_directory(dir / "bmp", ec);
}

std::string AbsoluteEnv(const char* szName) {
    const char* sz = std::getenv(szName);
    return sz && sz[0] == '/' ? std::string(sz) : std::string();
}

}  // namespace

std::string XdgUserDataDir() {
    std::string szBase = AbsoluteEnv("XDG_DATA_HOME");
    if (szBase.empty()) {
        std::string szHome = AbsoluteEnv("HOME");
        if (szHome.empty()) return {};
        szBase = szHome + "/.local/share";
    }
    return szBase + "/pomrin/user_data";
}

void FindDataFolder(const std::string& szExeDir) {
    std::error_code ec;
    g_szUserDataDir = "user_data";
    g_bUserDataHome = false;
    if (!szExeDir.empty()) {
        fs::path installed = fs::u8path(szExeDir) / kInstalledData;
        if (HasPictures(installed)) {
            fs::current_path(installed, ec);
            g_szUserDataDir = XdgUserDataDir();
            g_bUserDataHome = true;
            return;
        }
    }
    if (HasPictures(".") || szExeDir.empty()) return;
    fs::path data = fs::u8path(szExeDir) / "data";
    if (HasPictures(data)) fs::current_path(data, ec);
}

std::string UserDataFile(const char* szName) {
    if (g_szUserDataDir.empty()) return {};
    return g_szUserDataDir + "/" + szName;
}

bool PrepareUserDataDir() {
    if (g_szUserDataDir.empty()) return false;
    if (!g_bUserDataHome) return true;
    std::error_code ec;
    fs::create_directories(fs::u8path(g_szUserDataDir), ec);
    return !ec;
}
