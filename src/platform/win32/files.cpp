// Windows files: UTF-8 paths become UTF-16 for the wide calls, so Japanese names open whatever
// the system's code page.
#include <windows.h>
#include <io.h>
#include <shlobj.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/plat_file.h"
#include "platform/win32/utf16.h"

std::wstring Utf8ToWide(const char* sz) {
    if (!sz || !*sz) return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, sz, -1, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring w(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, sz, -1, w.data(), n);
    w.resize(size_t(n - 1));
    return w;
}

std::string WideToUtf8(const wchar_t* wsz) {
    if (!wsz || !*wsz) return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, wsz, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wsz, -1, s.data(), n, nullptr, nullptr);
    s.resize(size_t(n - 1));
    return s;
}

std::FILE* Plat_FileOpen(const char* szPath, const char* szMode) {
    const std::wstring wPath = Utf8ToWide(szPath), wMode = Utf8ToWide(szMode);
    if (wPath.empty() || wMode.empty()) return nullptr;
    return _wfopen(wPath.c_str(), wMode.c_str());
}

bool Plat_FileSync(std::FILE* fp) {
    return std::fflush(fp) == 0 && _commit(_fileno(fp)) == 0;
}

bool Plat_FileReplace(const char* szFrom, const char* szTo) {
    const std::wstring wFrom = Utf8ToWide(szFrom), wTo = Utf8ToWide(szTo);
    if (wFrom.empty() || wTo.empty()) return false;
    // rename() refuses an existing target here; this replaces it and waits for the disk.
    return MoveFileExW(wFrom.c_str(), wTo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Plat_FileRemove(const char* szPath) {
    const std::wstring wPath = Utf8ToWide(szPath);
    return !wPath.empty() && DeleteFileW(wPath.c_str()) != 0;
}

std::string Plat_ExecutableDir() {
    std::wstring w(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, w.data(), DWORD(w.size()));
        if (n == 0) return std::string();
        if (n < w.size()) {
            w.resize(n);
            break;
        }
        w.resize(w.size() * 2);  // the path was cut off: try a larger buffer
    }
    return WideToUtf8(std::filesystem::path(w).parent_path().c_str());
}

// Windows has no font lookup by family that the game could use without GDI; a copy of the
// IPA Gothic file installed in the system's font folder is taken when there is one.
std::string Plat_SystemFontFile(const char*) {
    wchar_t* wszFonts = nullptr;
    std::string szFile;
    if (SHGetKnownFolderPath(FOLDERID_Fonts, 0, nullptr, &wszFonts) == S_OK) {
        std::error_code ec;
        const std::filesystem::path font = std::filesystem::path(wszFonts) / L"ipag.ttf";
        if (std::filesystem::is_regular_file(font, ec)) szFile = WideToUtf8(font.c_str());
    }
    CoTaskMemFree(wszFonts);
    return szFile;
}
