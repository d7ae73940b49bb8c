// Online play on a desktop: UDP reaches any address, the session sleeps for its pace itself, and
// a room's code is shown on the screen and printed by the game; there is no page to link it.
#include <chrono>
#include <thread>

#include "platform/plat_net.h"

bool Plat_NetDirect() {
    return true;
}

void Plat_NetSleep(uint32_t dwMs) {
    std::this_thread::sleep_for(std::chrono::milliseconds(dwMs));
}

void Plat_NetShareRoom(const char*) {}
