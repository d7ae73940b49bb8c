// The simulator's input scripts: any text is refused with a reason or parsed, and what a
// parsed script sets on each frame reads back the same once written out as a line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/input_script.h"

namespace {

bool SameDevices(const INPUTDEVICES& a, const INPUTDEVICES& b) {
    if (a.Keys != b.Keys) return false;
    for (int i = 0; i < 2; ++i) {
        if (a.bJoyConnected[i] != b.bJoyConnected[i]) return false;
        if (a.bJoyConnected[i] &&
            (a.Joy[i].dwX != b.Joy[i].dwX || a.Joy[i].dwY != b.Joy[i].dwY ||
             a.Joy[i].dwButtons != b.Joy[i].dwButtons || a.dwJoyHat[i] != b.dwJoyHat[i]))
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* lpData, size_t nSize) {
    const std::string szText(reinterpret_cast<const char*>(lpData), nSize);
    INPUTSCRIPT script;
    std::string szError;
    if (!ParseInputScript(szText, &script, &szError)) {
        if (szError.compare(0, 5, "line ") != 0 || !script.Lines.empty()) std::abort();
        return 0;
    }
    for (size_t i = 0; i < script.Lines.size(); ++i) {
        const uint32_t dwFrame = script.Lines[i].dwFrame;
        if (i > 0 && dwFrame <= script.Lines[i - 1].dwFrame) std::abort();
        const INPUTDEVICES dev = InputScriptAt(script, dwFrame);
        INPUTSCRIPT again;
        if (!ParseInputScript(FormatInputLine(dwFrame, dev), &again, &szError) || again.Lines.size() != 1)
            std::abort();
        if (!SameDevices(dev, InputScriptAt(again, dwFrame))) std::abort();
        if (dwFrame > 0) (void)InputScriptAt(script, dwFrame - 1);
    }
    return 0;
}
