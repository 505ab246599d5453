#include "world/blocks/level_state.h"

YLevel g_Level;
