#include "app/input_record.h"

#include <cstdio>

#include "app/input_script.h"
#include "platform/plat_file.h"

namespace {
FILE* g_fpRecord;
INPUTDEVICES g_LastDevices;
bool g_bRecordedAny;
}  // namespace

bool RecordOpen(const char* szFile) {
    RecordClose();
    g_fpRecord = Plat_FileOpen(szFile, "wb");
    g_bRecordedAny = false;
    return g_fpRecord != nullptr;
}

static void WriteLine(uint32_t dwFrame, const INPUTDEVICES& dev) {
    std::fprintf(g_fpRecord, "%s\n", FormatInputLine(dwFrame, dev).c_str());
    std::fflush(g_fpRecord);
    g_LastDevices = dev;
    g_bRecordedAny = true;
}

void RecordFrame(uint32_t dwFrame) {
    if (!g_fpRecord) return;
    INPUTDEVICES dev;
    for (int nVk = 1; nVk < 256; ++nVk)
        if (Plat_KeyDown(nVk)) dev.Keys.set(size_t(nVk));
    for (int i = 0; i < 2; ++i) dev.bJoyConnected[i] = Plat_JoyRead(i, &dev.Joy[i]);
    bool bSame = g_bRecordedAny && dev.Keys == g_LastDevices.Keys;
    for (int i = 0; i < 2 && bSame; ++i) {
        bSame = dev.bJoyConnected[i] == g_LastDevices.bJoyConnected[i];
        if (bSame && dev.bJoyConnected[i])
            bSame = dev.Joy[i].dwX == g_LastDevices.Joy[i].dwX &&
                    dev.Joy[i].dwY == g_LastDevices.Joy[i].dwY &&
                    dev.Joy[i].dwButtons == g_LastDevices.Joy[i].dwButtons;
    }
    // A script line names the full state, so frame 0 is always written.
    if (!bSame) WriteLine(dwFrame, dev);
}

void RecordEscape(uint32_t dwFrame) {
    if (!g_fpRecord) return;
    INPUTDEVICES dev = g_LastDevices;
    dev.Keys.set(VK_ESCAPE);
    if (g_bRecordedAny && g_LastDevices.Keys.test(VK_ESCAPE)) return;
    std::fprintf(g_fpRecord, "%s\n", FormatInputLine(dwFrame, dev).c_str());
    std::fflush(g_fpRecord);
    g_LastDevices = dev;
    g_bRecordedAny = true;
}

void RecordClose() {
    if (g_fpRecord) std::fclose(g_fpRecord);
    g_fpRecord = nullptr;
}
