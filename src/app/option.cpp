#include "app/option.h"

OPTIONDATA g_Option;
int32_t g_nBattleMode;
