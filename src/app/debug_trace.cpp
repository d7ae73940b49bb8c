#include "app/debug_trace.h"

void DebugTrace(const char*) {}
