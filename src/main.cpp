// The game's entry: online play takes its flags first (a build without it takes none).
#include "app/game_main.h"
#include "net/net_entry.h"

int main(int argc, char** argv) {
    if (const int nExit = NetEntryArgs(&argc, argv)) return nExit;
    const int nExit = GameMain(argc, argv);
    NetEntryEnd();
    return nExit;
}
