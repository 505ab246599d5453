#include "world/level/level_state.h"

YLevel g_Level;
