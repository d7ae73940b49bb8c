#include "app/frame.h"

int32_t g_nScene;
int32_t g_nNextScene;
int32_t g_nTitleSelect;
uint8_t g_bActive;
uint8_t g_bReady;
int32_t g_bFrameLimit;
OPTIONSCENE* g_lpOption;
uint32_t g_dwNextFrame;
uint32_t g_dwLastTime;
