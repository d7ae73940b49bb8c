// The system's fonts through fontconfig.
#include <fontconfig/fontconfig.h>

#include <cstring>

#include "platform/plat_file.h"

// Where Debian puts IPAGothic, for a fontconfig that does not know it.
static constexpr const char* FONT_USUAL_PLACE = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

std::string Plat_SystemFontFile(const char* szFamily) {
    std::string szFile;
    FcPattern* pat = FcInit() ? FcNameParse(reinterpret_cast<const FcChar8*>(szFamily)) : nullptr;
    if (!pat) return FONT_USUAL_PLACE;
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult res;
    if (FcPattern* match = FcFontMatch(nullptr, pat, &res)) {
        FcChar8* file = nullptr;
        FcChar8* family = nullptr;
        // fontconfig always offers something; only the wanted face will do.
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i)
            if (std::strcmp(reinterpret_cast<char*>(family), szFamily) == 0 &&
                FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
                szFile = reinterpret_cast<char*>(file);
                break;
            }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pat);
    return szFile.empty() ? std::string(FONT_USUAL_PLACE) : szFile;
}
