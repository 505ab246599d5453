// The program's entry: the game, or the level editor when the command line starts with -e or -E.
#include <cstdlib>
#include <string>

#include "core/data_folders.h"
#include "core/frame_hooks.h"
#include "core/framework.h"
#include "core/init.h"
#include "core/locale.h"
#include "core/log.h"
#include "core/message_box.h"
#include "core/start_choice.h"
#include "core/system_check.h"
#include "editor/editor_framework.h"
#include "platform/sys/files.h"
#include "platform/sys/instance_lock.h"
#include "platform/window/display_lost.h"
#include "platform/window/interrupt_signals.h"
#include "platform/window/message_recording.h"
#include "shell/game_framework.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_registry.h"
#include "world/physics/physics_world.h"

namespace {

constexpr const char* PRODUCT_NAME = "Korvelin";
constexpr const char* PRODUCT_VERSION = "v1.73";
constexpr const char* INSTANCE_MUTEX = "KorvelinMutex";
// How far below the game folder stale temporary files are looked for: the game writes two levels
// down ("levels\thumb"), a level saved from the editor may sit a few folders deeper.
constexpr int STALE_TEMP_DEPTH = 8;

// What ran before the entry function on the original platform, in its order: the configuration
// (with its scan of the language folders), the localisation table, the log, and the system check;
// then the bonus records.
// A copy that finds another running opens the log to append: the other may run in this folder
// and write to the same log.
void StaticStartUp(bool anotherCopy) {
    GetInit();
    GetLocale();
    LogOpen("log.txt", anotherCopy);
    if (!checkSystem(DefaultSystemProbe())) std::exit(0);
    // Without its data the program would open a window with nothing in it; it says what is
    // missing and ends instead (exit code 1).
    if (!CheckDataFolders([](const char* text, const char* title) { ShowMessage(text, title, plat::MB_ICONERROR); }))
        std::exit(1);
    // The bonus records are read once the log is open, so that their errors reach it.
    LoadBonusConfigs("data\\bonuses.yml", BonusRegistrySize());
    PhysicsInit();
}

// Input recording for tests and benchmarks: with KORVELIN_RECORD_INPUT set, every message the
// window hands the framework is written to that file when the program ends; with
// KORVELIN_REPLAY_INPUT set, such a file is played in place of the window's input.
class InputSession {
public:
    InputSession() {
        if (const char* path = std::getenv("KORVELIN_REPLAY_INPUT"); path && *path) {
            std::string error;
            if (replayer_.Load(path, error)) {
                LogPrintf(g_Log, "Replaying %d input messages from %s", static_cast<int>(replayer_.Count()), path);
                replayer_.Start();
            } else {
                LogPrintf(g_Log, "Input replay not started: %s", error.c_str());
            }
        }
        if (const char* path = std::getenv("KORVELIN_RECORD_INPUT"); path && *path) {
            recordPath_ = path;
            recorder_.Start();
        }
    }
    ~InputSession() {
        replayer_.Stop();
        if (recordPath_.empty()) return;
        recorder_.Stop();
        std::string error;
        if (recorder_.Save(recordPath_, error))
            LogPrintf(g_Log, "Recorded %d input messages to %s", static_cast<int>(recorder_.Messages().size()),
                      recordPath_.c_str());
        else
            LogPrintf(g_Log, "Input recording not saved: %s", error.c_str());
    }

private:
    plat::MessageReplayer replayer_;
    plat::MessageRecorder recorder_;
    std::string recordPath_;
};

// The display went away: treated as the close operation, as far as it can go without a display.
void OnDisplayLost() {
    LogLine("Display connection lost: saving the configuration and closing.");
    GetInit().Save();
    const YFrameHooks& h = FrameHooks();
    if (h.releaseSound) h.releaseSound();
}

template <class Framework>
void Start(const std::string& exePath) {
    InputSession input;
    plat::SetDisplayLostHandler(&OnDisplayLost);
    Framework* framework = new Framework(exePath.c_str());
    g_Framework = framework;
    framework->Run();
    if (g_Framework) delete framework;
}

} // namespace

int main(int argc, char** argv) {
    // From here on an interrupt is a close request that the main loop reads, however early it comes.
    plat::WatchInterruptSignals();
    // The single-instance rule is checked before anything touches the game folder.
    plat::InstanceLock mutex;
    const bool lockHeld = mutex.Open(INSTANCE_MUTEX);
    const bool anotherCopy = mutex.AlreadyExisted();

    StaticStartUp(anotherCopy);
    const std::string exePath = plat::ModulePath();

    LogPrintf(g_Log, "%s %s", PRODUCT_NAME, PRODUCT_VERSION);
    if (!lockHeld)
        LogPrintf(g_Log, "Single-instance lock unavailable (%s): starting as if alone",
                  plat::InstanceLock::PathFor(INSTANCE_MUTEX).c_str());
    // Temporary files of saves that a kill cut short, in the game folder and the folders below it
    // (levels, level pictures, mesh and path caches); a copy still running keeps its own.
    if (!anotherCopy) {
        if (const int removed = plat::RemoveStaleTempFilesBelow(".", STALE_TEMP_DEPTH); removed > 0)
            LogPrintf(g_Log, "Removed %d stale temporary files", removed);
    }

    switch (ChooseStart(CommandText(argc, argv), anotherCopy)) {
        case StartChoice::Game: Start<GameFramework>(exePath); break;
        case StartChoice::Editor: Start<EditorFramework>(exePath); break;
        case StartChoice::Exit: break;
    }
    mutex.Close();
    PhysicsShutdown();
    return 0;
}
