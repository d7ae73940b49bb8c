// A simulator built without online play: sessions and replays are refused.
#include "../sim_net.h"

int SimNetStart(const SIMNET& net, uint32_t, FILE*, bool (*)(uint32_t)) {
    if (!net.bNet && !net.bOnline && net.szReplay.empty()) return 0;
    std::fputs("pomrin-sim: this build has no online play\n", stderr);
    return 2;
}

bool SimNetActive() {
    return false;
}

bool SimNetWaiting() {
    return false;
}

void SimNetEnd(const SIMNET&) {}
