// A build without online play: no flags of its own, nothing to close.
#include "net/net_entry.h"

int NetEntryArgs(int*, char**) {
    return 0;
}

void NetEntryEnd() {}
