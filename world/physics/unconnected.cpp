#include "world/physics/unconnected.h"

#include <cstdio>
#include <cstdlib>

#include "core/log.h"

void UnconnectedWorldCall(const char* name) {
    LogPrintf(g_Log, "World connection not made: %s (the world was not set up)", name);
    std::fprintf(stderr, "World connection not made: %s (the world was not set up)\n", name);
    std::abort();
}
