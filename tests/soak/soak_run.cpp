#include "soak_run.h"

#include <filesystem>

#include "support/sim_run.h"

namespace fs = std::filesystem;

SOAKRESULT RunSession(const SOAKSESSION& s, const std::string& szDir, const std::string& szArgs) {
    fs::remove_all(szDir);
    MakeDataFolder(szDir + "/data");
    if (!s.bNoOption) WriteBytes(szDir + "/data/user_data/Option.dat", s.Option);
    if (!s.KeyFile.empty()) WriteBytes(szDir + "/data/user_data/CustomKey.dat", s.KeyFile);
    const SimResult sim =
        RunSim(szDir, szDir, s.szScript, "--frames " + std::to_string(s.dwFrames) + " " + szArgs);
    SOAKRESULT r;
    r.nExit = sim.nExit;
    r.szStderr = sim.szStderr;
    r.szSounds = sim.szSounds;
    int nLastScene = -1, nPhase = -1, nWin0 = -1, nWin1 = -1;
    uint32_t dwStill = 0;
    for (std::string szLine : sim.Trace) {
        szLine += '\n';
        for (unsigned char c : szLine) r.qwTrace = (r.qwTrace ^ c) * 1099511628211ull;
        const int nScene = TraceInt(szLine, "scene");
        r.dwFrames++;
        r.SceneFrames[nScene]++;
        if (nScene == 2) {
            const size_t nP2 = szLine.find("\"p2\":");
            const int p = TraceInt(szLine, "phase"), w0 = TraceInt(szLine, "win"),
                      w1 = TraceInt(szLine, "win", nP2);
            if (nLastScene != 2) r.nBattles++;
            (TraceInt(szLine, "control", nP2) == 2 ? r.ComModes : r.TwoModes)
                .insert(TraceInt(szLine, "mode"));
            if (nLastScene != 2 || p != nPhase || w0 != nWin0 || w1 != nWin1) dwStill = 0;
            nPhase = p, nWin0 = w0, nWin1 = w1;
            if (++dwStill > r.dwLongestStill) r.dwLongestStill = dwStill;
        }
        nLastScene = nScene;
    }
    r.szOption = ReadFileText(szDir + "/data/user_data/Option.dat");
    return r;
}
