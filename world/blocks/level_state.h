#pragma once
// The loaded level's shared state: the size of one grid cell in world units. Block types made
// after a change take the new scale (ClearBlockTypeCaches drops the old ones). Main thread only.
#include "math/vector.h"

struct YLevel {
    YVector scale{1.0f, 1.0f, 1.0f}; // world units per cell along x, y, z
};

extern YLevel g_Level;
