// The program's entry: the game, or the level editor when the command line starts with -e or -E.
#include <cstdlib>
#include <string>

#include "core/framework.h"
#include "core/init.h"
#include "core/locale.h"
#include "core/log.h"
#include "core/start_choice.h"
#include "core/system_check.h"
#include "editor/editor_framework.h"
#include "platform/sys/files.h"
#include "platform/sys/instance_lock.h"
#include "shell/game_framework.h"
#include "world/physics/physics_world.h"

namespace {

constexpr const char* PRODUCT_NAME = "Korvelin";
constexpr const char* PRODUCT_VERSION = "v1.73";
constexpr const char* INSTANCE_MUTEX = "KorvelinMutex";

// What ran before the entry function on the original platform, in its order: the configuration
// (with its scan of the language folders), the localisation table, the log, and the system check.
void StaticStartUp() {
    GetInit();
    GetLocale();
    LogReopen("log.txt");
    if (!checkSystem(DefaultSystemProbe())) std::exit(0);
    PhysicsInit();
}

template <class Framework>
void Start(const std::string& exePath) {
    Framework* framework = new Framework(exePath.c_str());
    g_Framework = framework;
    framework->Run();
    if (g_Framework) delete framework;
}

} // namespace

int main(int argc, char** argv) {
    StaticStartUp();

    const std::string exePath = plat::ModulePath();
    plat::InstanceLock mutex;
    mutex.Open(INSTANCE_MUTEX);
    const bool anotherCopy = mutex.AlreadyExisted();

    LogPrintf(g_Log, "%s %s", PRODUCT_NAME, PRODUCT_VERSION);

    switch (ChooseStart(CommandText(argc, argv), anotherCopy)) {
        case StartChoice::Game: Start<GameFramework>(exePath); break;
        case StartChoice::Editor: Start<EditorFramework>(exePath); break;
        case StartChoice::Exit: break;
    }
    mutex.Close();
    PhysicsShutdown();
    return 0;
}
