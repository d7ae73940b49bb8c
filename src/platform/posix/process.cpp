// POSIX process: arguments are bytes already, text goes to the standard streams, and the
// instance lock is an flock on a file in the user's runtime folder.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/plat_os.h"

namespace {
int g_nLockFd = -1;
}

std::vector<std::string> Plat_Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void Plat_ShowText(const char*, const char* szText, bool bError) {
    std::fputs(szText, bError ? stderr : stdout);
    std::fflush(bError ? stderr : stdout);
}

bool Plat_OsLockInstance(const char* szName) {
    if (g_nLockFd >= 0) return true;
    std::string szFile = szName && *szName ? szName : "lock";
    for (char& c : szFile)
        if (c == '/') c = '_';
    const char* szDir = std::getenv("XDG_RUNTIME_DIR");
    for (std::string szFolder : {std::string(szDir && *szDir ? szDir : "/tmp"), std::string("/tmp")}) {
        const std::string szPath = szFolder + "/" + szFile + ".lock";
        const int fd = open(szPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) continue;
        // The lock, not the file, tells that a copy runs: it vanishes with the process.
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            close(fd);
            return false;
        }
        g_nLockFd = fd;
        return true;
    }
    // No place for a lock file: run without the guard rather than refuse to start.
    return true;
}

void Plat_OsUnlockInstance() {
    if (g_nLockFd < 0) return;
    flock(g_nLockFd, LOCK_UN);
    close(g_nLockFd);
    g_nLockFd = -1;
}
