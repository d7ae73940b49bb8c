// --rollback-test N: every frame, the last N frames are simulated once more with wrong inputs,
// then rolled back and simulated again with the true ones; the state must come out exactly as
// it was. Only select and battle frames take part (the scenes of a net session).
#pragma once
#include <cstdint>

// 1..ROLLBACK_FRAMES; false for anything else.
bool RollbackTestSet(uint32_t nFrames);
// Before frame dwFrame runs: the rollback. False (after a message and a quit request with exit
// code 1) when the state came out different.
bool RollbackBeforeFrame(uint32_t dwFrame);
// After frame dwFrame ran: keeps its inputs.
void RollbackAfterFrame(uint32_t dwFrame);
