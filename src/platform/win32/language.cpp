// The user's language of the Windows interface.
#include <windows.h>

#include "platform/plat_os.h"

std::string Plat_OsLanguage() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? "ja" : "en";
}
