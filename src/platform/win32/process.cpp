// Windows process: arguments rebuilt as UTF-8 from the wide command line, text to the console
// that started the game (it has none of its own) or a box, and a named mutex as instance lock.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "platform/plat_os.h"
#include "platform/win32/utf16.h"

namespace {

HANDLE g_hMutex = nullptr;

bool WriteTo(HANDLE h, const char* szText) {
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return false;
    DWORD dwMode, dwDone;
    if (GetConsoleMode(h, &dwMode)) {
        const std::wstring w = Utf8ToWide(szText);
        return WriteConsoleW(h, w.c_str(), DWORD(w.size()), &dwDone, nullptr) != 0;
    }
    // A file or a pipe: the bytes as they are.
    return WriteFile(h, szText, DWORD(std::strlen(szText)), &dwDone, nullptr) != 0;
}

}  // namespace

std::vector<std::string> Plat_Arguments(int argc, char** argv) {
    // argv holds the arguments in the ANSI code page, which cannot hold every name.
    int nCount = 0;
    wchar_t** lpArgs = CommandLineToArgvW(GetCommandLineW(), &nCount);
    if (!lpArgs) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> args;
    for (int i = 0; i < nCount; ++i) args.push_back(WideToUtf8(lpArgs[i]));
    LocalFree(lpArgs);
    return args;
}

void Plat_ShowText(const char* szCaption, const char* szText, bool bError) {
    std::fflush(bError ? stderr : stdout);
    if (WriteTo(GetStdHandle(bError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE), szText)) return;
    // A windowed program started from a console window: write into that console.
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        HANDLE h = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        const bool bDone = WriteTo(h, szText);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        FreeConsole();
        if (bDone) return;
    }
    MessageBoxW(nullptr, Utf8ToWide(szText).c_str(), Utf8ToWide(szCaption).c_str(),
                MB_OK | (bError ? MB_ICONERROR : MB_ICONINFORMATION));
}

bool Plat_OsLockInstance(const char* szName) {
    if (g_hMutex) return true;
    std::wstring wName = Utf8ToWide(szName && *szName ? szName : "lock");
    for (wchar_t& c : wName)
        if (c == L'\\') c = L'_';
    // The mutex lives as long as a handle to it: its existence tells that a copy runs.
    HANDLE h = CreateMutexW(nullptr, FALSE, wName.c_str());
    if (!h) return true;  // no lock to be had: run without the guard rather than refuse to start
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return false;
    }
    g_hMutex = h;
    return true;
}

void Plat_OsUnlockInstance() {
    if (!g_hMutex) return;
    CloseHandle(g_hMutex);
    g_hMutex = nullptr;
}
