// The browser's language (navigator.language, "ja" or "ja-JP" for Japanese); it stands in for
// the native one in the page.
#include <emscripten.h>

#include "platform/plat_os.h"

namespace {
// clang-format off
EM_JS(void, WebLanguage, (char* szOut, int nSize), {
    var lang = (typeof navigator !== "undefined" && navigator.language) ? String(navigator.language) : "";
    stringToUTF8(lang, szOut, nSize);
});
// clang-format on
}  // namespace

std::string Plat_OsLanguage() {
    char szLang[64] = "";
    WebLanguage(szLang, int(sizeof szLang));
    return szLang;
}
