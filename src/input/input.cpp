#include "input/input.h"

INPUTSTATE g_Input[2];
CURSOR g_Cursor[2];
