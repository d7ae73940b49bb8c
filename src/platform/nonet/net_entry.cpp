// A build without online play: no flags of its own, nothing to close.
#include "net/net_entry.h"

int NetEntryArgs(std::vector<std::string>*) {
    return 0;
}

void NetEntryEnd() {}
