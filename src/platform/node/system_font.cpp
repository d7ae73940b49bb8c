// The system font for programs run by Node, which reads the host's files directly: the place
// Debian installs IPAGothic, as fontconfig would find it.
#include "platform/plat_file.h"

std::string Plat_SystemFontFile(const char*) {
    return "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
}
