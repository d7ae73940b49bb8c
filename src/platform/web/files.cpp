// Files in a browser page: the page's data is packed into the in-memory file system, and
// user_data/ is backed by the browser's IndexedDB (mounted and loaded by the page before the
// game starts). Every change there is written back to IndexedDB at once.
#include <emscripten.h>

#include <cstdio>

#include "platform/plat_file.h"

namespace {

void PersistUserData() {
    EM_ASM({
        if (typeof FS !== "undefined" && FS.syncfs)
            FS.syncfs(false, function(err) {
                if (err) console.warn("saving user_data failed", err);
            });
    });
}

}  // namespace

std::FILE* Plat_FileOpen(const char* szPath, const char* szMode) {
    return std::fopen(szPath, szMode);
}

bool Plat_FileSync(std::FILE* fp) {
    // Memory is the device here; the replace that follows a sync writes the store.
    return std::fflush(fp) == 0;
}

bool Plat_FileReplace(const char* szFrom, const char* szTo) {
    if (std::rename(szFrom, szTo) != 0) return false;
    PersistUserData();
    return true;
}

bool Plat_FileRemove(const char* szPath) {
    if (std::remove(szPath) != 0) return false;
    PersistUserData();
    return true;
}

std::string Plat_ExecutableDir() {
    // The page's data sits in the working directory from the start.
    return std::string();
}

std::string Plat_SystemFontFile(const char*) {
    // A page sees no system fonts: the font comes with the page's data.
    return std::string();
}
