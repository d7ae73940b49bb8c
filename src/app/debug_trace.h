// The diagnostic sink: every diagnostic text goes here and is discarded.
#pragma once

void DebugTrace(const char* szText);
