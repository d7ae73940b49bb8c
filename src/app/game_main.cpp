#include "app/game_main.h"

#include "platform/plat_system.h"

int GameMain(int, char**) {
    if (!Plat_Init()) return 0;
    Plat_Quit();
    return 0;
}
