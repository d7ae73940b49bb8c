// The POSIX locale's language: the first of LC_ALL, LC_MESSAGES and LANG that is set, as the
// C library itself chooses the messages' language.
#include <cstdlib>

#include "platform/plat_os.h"

std::string Plat_OsLanguage() {
    for (const char* szVar : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* sz = std::getenv(szVar);
        if (sz && *sz) return sz;
    }
    return {};
}
