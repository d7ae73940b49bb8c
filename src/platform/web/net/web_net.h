// Between the page's net channels (channel.cpp) and a loop that may wait (the simulator under
// Node, node/loop.cpp): the wait the session asked for since the last call (taken, 0 if none),
// and whether a channel is open, so that the loop lets its messages in.
#pragma once
#include <cstdint>

uint32_t WebNetTakeSleep(bool* lpbOpen);
