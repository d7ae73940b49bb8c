// Files for the tests: whole-file reads and writes, and a private temporary folder per test so
// that test programs running side by side never share an output path.
#pragma once
#include <stdlib.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The whole file as a string; empty when it cannot be read.
inline std::string ReadFileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A new folder under the system's temporary folder, removed with everything in it.
struct TempDir {
    std::filesystem::path path;
    TempDir() {
        std::random_device rd;
        const auto qwNow = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
        for (uint64_t n = 0;; ++n) {
            path = std::filesystem::temp_directory_path() /
                   ("pomrin_test_" + std::to_string(rd()) + "_" + std::to_string(qwNow + n));
            if (std::filesystem::create_directory(path)) break;  // false: someone else's
        }
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string File(const char* szName) const { return (path / szName).string(); }
};

inline void SetEnv(const char* szName, const char* szValue) {
#ifdef _WIN32
    _putenv_s(szName, szValue);
#else
    setenv(szName, szValue, 1);
#endif
}

// A path as one quoted word of a shell command line, in the system's own spelling, UTF-8.
inline std::string ShellWord(const std::filesystem::path& path) {
    const std::u8string sz = std::filesystem::path(path).make_preferred().u8string();
    return "\"" + std::string(sz.begin(), sz.end()) + "\"";
}

// Runs a shell command line given in UTF-8; its exit code, or -1 when it did not end normally.
inline int RunCommand(const std::string& szCmd) {
#ifdef _WIN32
    // cmd /c drops the first and the last quote of the line: give it a pair to drop. The wide
    // call keeps names the ANSI code page cannot hold.
    return _wsystem(std::filesystem::u8path("\"" + szCmd + "\"").wstring().c_str());
#else
    const int nStatus = std::system(szCmd.c_str());
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
#endif
}

// Links szTo to the folder szFrom, or copies it where the system makes no links.
inline void LinkOrCopyFolder(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code ec;
    std::filesystem::create_directory_symlink(from, to, ec);
    if (ec) std::filesystem::copy(from, to, std::filesystem::copy_options::recursive);
}
