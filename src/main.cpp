// The game's entry: the arguments as UTF-8, online play takes its flags first (a build without it
// takes none), the game the rest.
#include <string>
#include <vector>

#include "app/game_main.h"
#include "net/net_entry.h"
#include "platform/plat_os.h"

int main(int argc, char** argv) {
    std::vector<std::string> args = Plat_Arguments(argc, argv);
    if (const int nExit = NetEntryArgs(&args)) return nExit;
    const int nExit = GameMain(args);
    NetEntryEnd();
    return nExit;
}
