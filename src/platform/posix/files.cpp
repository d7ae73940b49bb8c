// POSIX files: paths are bytes, so UTF-8 names pass through as they are.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/plat_file.h"

std::FILE* Plat_FileOpen(const char* szPath, const char* szMode) {
    return std::fopen(szPath, szMode);
}

bool Plat_FileSync(std::FILE* fp) {
    return std::fflush(fp) == 0 && fsync(fileno(fp)) == 0;
}

bool Plat_FileReplace(const char* szFrom, const char* szTo) {
    return std::rename(szFrom, szTo) == 0;
}

bool Plat_FileRemove(const char* szPath) {
    return std::remove(szPath) == 0;
}

std::string Plat_ExecutableDir() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}
