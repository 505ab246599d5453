// The program's entry: the game, or the level editor with -e / -E.
#include "core/log.h"

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    LogPrintf(g_Log, "%s %s", "Korvelin", "v1.73");
    return 0;
}
