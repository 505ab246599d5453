#include "world/physics/table_size.h"

YTableSize g_TableSize;
