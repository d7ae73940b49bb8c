// Net records for --replay: any text is refused with the line at fault, or read whole with
// settings the game takes and input words of the eight input bits only.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/frame.h"
#include "net/net_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* lpData, size_t nSize) {
    const std::string szText(reinterpret_cast<const char*>(lpData), nSize);
    std::string szError;
    if (!NetReplayStart(szText, false, &szError)) {
        if (szError.compare(0, 5, "line ") != 0 || g_lpfnSessionFrame) std::abort();
        return 0;
    }
    if (!g_lpfnSessionFrame || !NetRecordLooksLike(szText)) std::abort();
    g_lpfnSessionFrame = nullptr;
    return 0;
}
