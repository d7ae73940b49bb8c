// The game's command line for online play and replays (src/net/net_entry.cpp); builds without
// online play (the browser) link src/platform/nonet/net_entry.cpp instead, which takes nothing.
//   --online                start on the online screen
//   --online --join CODE    start on the online screen, joining that room
//   --host [PORT]           wait for a guest on UDP PORT (default 27810)
//   --join HOST[:PORT]      play against a host
//   --join CODE             play against the host of a room (6 code characters) met through the lobby
//   --lobby HOST[:PORT]     the lobby server for this run (default: Settings.txt's lobby line)
//   --net-delay N           input delay in frames, 0..8 (default 2)
//   --net-lag MS --net-jitter MS --net-loss PERCENT --net-seed N   fault injection (testing)
//   --replay FILE           watch a net record, or a --record file of a local game
#pragma once
#include <string>
#include <vector>

// Takes these flags out of the UTF-8 arguments (the others stay, in order, for GameMain) and sets
// up what they ask for. Returns 0 to go on, else the exit code (2: a bad flag or file).
int NetEntryArgs(std::vector<std::string>* lpArgs);
// After the game: a session still open is closed (the peer hears that this side left).
void NetEntryEnd();
