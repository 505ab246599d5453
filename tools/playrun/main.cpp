// playrun: plays a level with no window and no sound and prints how the run ended and a hash of
// its final state. The input comes from one of three places:
//   playrun <level file> [frames (default 3000)] [seed (default 1)]
//       a script drawn from the seed: the mouse wanders and clicks now and then;
//   playrun --autopilot <level file> [frames (default 60000)] [seed (default 1)]
//       the autopilot, a player that follows the balls, serves and fetches bonuses;
//   playrun --script <input file> <level file> [frames (default: the script's)] [seed (default 1)]
//       a recorded input script (the game's input recording format), 20 ms a frame.
// The seed also seeds the game's generators. The run ends when the level is complete, the game is
// over or the frames run out. Run it in the game folder: it reads "data\blocks.yml" and
// "data\bonuses.yml" there. The same arguments print the same hash. Exits 1 on bad arguments or a
// world that cannot be set up, 2 when the level cannot be loaded, 3 when the input script cannot be
// read (the reason is logged to playrun_log.txt and printed).
//
// After the outcome it prints what the level notes need: the blocks to break at the start, the
// hard ones among those left, the frame by which nine tenths were broken, whether a caught Next
// bonus ended the level with blocks standing, and the level file's table material, sky and
// bonuses (all of them, and those placed on blocks).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/init.h"
#include "core/log.h"
#include "world/blocks/block_material.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_registry.h"
#include "world/level/level_file.h"
#include "world/physics/physics_world.h"
#include "world/play/autopilot.h"
#include "world/play/headless_run.h"
#include "world/play/play_script_file.h"
#include "world/play/world_setup.h"

namespace {

constexpr const char* USAGE = "usage: playrun [--autopilot | --script <input file>] <level file> [frames] [seed]\n";

bool ParseInt(const char* text, long lo, long hi, long* out) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (!end || *end != '\0' || end == text || v < lo || v > hi) return false;
    *out = v;
    return true;
}

// Reads the block materials for the life of the object.
class LoadedMaterials {
public:
    explicit LoadedMaterials(const char* path) { LoadBlockMaterials(path); }
    ~LoadedMaterials() { ResetBlockMaterials(); }
    LoadedMaterials(const LoadedMaterials&) = delete;
    LoadedMaterials& operator=(const LoadedMaterials&) = delete;
};

enum class Source { Seeded, Autopilot, ScriptFile };

struct Arguments {
    Source source = Source::Seeded;
    const char* scriptPath = nullptr;
    const char* level = nullptr;
    long frames = -1; // -1: the source's default
    long seed = 1;
};

bool ParseArguments(int argc, char** argv, Arguments* args) {
    int i = 1;
    if (i < argc && std::strcmp(argv[i], "--autopilot") == 0) {
        args->source = Source::Autopilot;
        ++i;
    } else if (i < argc && std::strcmp(argv[i], "--script") == 0) {
        if (i + 1 >= argc) return false;
        args->source = Source::ScriptFile;
        args->scriptPath = argv[i + 1];
        i += 2;
    }
    const int left = argc - i;
    if (left < 1 || left > 3) return false;
    args->level = argv[i];
    if (left > 1 && !ParseInt(argv[i + 1], 1, 10000000, &args->frames)) return false;
    if (left > 2 && !ParseInt(argv[i + 2], 0, 0x7fffffff, &args->seed)) return false;
    return true;
}

// The level file's table material, sky and bonus counts; nothing when it cannot be read (the run
// has said so already).
void PrintLevelFacts(const char* path) {
    YLevelData level;
    std::string error;
    if (!ReadLevelFile(path, level, error)) return;
    long bonuses = 0, placed = 0;
    for (int32_t n : level.bonusCounts) bonuses += n;
    for (const YLevelSet& set : level.sets)
        for (const YLevelBlock& block : set.blocks)
            if (block.bonus >= 0) ++placed;
    std::printf("table: %s\nsky: %s\nbonuses: %ld\nbonuses placed: %ld\n", level.tableMaterial.c_str(),
                level.environment.empty() ? "(the first)" : level.environment.c_str(), bonuses, placed);
}

} // namespace

int main(int argc, char** argv) {
    Arguments args;
    if (!ParseArguments(argc, argv, &args)) {
        std::fprintf(stderr, "%s", USAGE);
        return 1;
    }
    LogReopen("playrun_log.txt");
    const auto seed = static_cast<uint32_t>(args.seed);
    YPlayScript script;
    script.seed = seed;
    if (args.source == Source::ScriptFile) {
        std::string error;
        if (!LoadPlayScript(args.scriptPath, script, error)) {
            LogPrintf("Input script not played: %s", error.c_str());
            std::fprintf(stderr, "playrun: input script not played: %s\n", error.c_str());
            return 3;
        }
        if (args.frames < 0) args.frames = static_cast<long>(script.frames.size());
    } else if (args.source == Source::Seeded) {
        if (args.frames < 0) args.frames = 3000;
        script = MakeSeededScript(seed, static_cast<int>(args.frames));
    } else if (args.frames < 0) {
        args.frames = 60000;
    }

    // The world as the game connects it, captions to the log: bonuses fall from the blocks that
    // hold them and the Next bonus drops after too many kicks without a break.
    if (!SetUpWorld(HeadlessWorldOutside())) return 1;
    LoadBonusConfigs("data\\bonuses.yml");
    YPlayOutcome out;
    {
        // The materials (and the block types they cache) are the run's; they go when it has ended.
        const LoadedMaterials materials("data\\blocks.yml");
        PhysicsInit();
        if (args.source == Source::Autopilot) {
            YAutopilot pilot(seed);
            out = RunHeadless(args.level, pilot, static_cast<int>(args.frames), seed);
        } else {
            out = RunHeadless(args.level, script, static_cast<int>(args.frames));
        }
        PhysicsShutdown();
    }
    std::printf(
        "outcome: %s\nframes: %d\nscore: %d\nlives: %d\nblocks left: %d\nballs lost: %d\nbonuses caught: "
        "%d\nhash: %016llx\n",
        PlayResultName(out.result), out.frames, out.score, out.lives, out.blocksLeft, out.ballsLost, out.bonusesCaught,
        static_cast<unsigned long long>(out.hash));
    std::printf("blocks at start: %d\nhard blocks left: %d\nninety percent at frame: %d\nended by next bonus: %s\n",
                out.blocksAtStart, out.hardLeft, out.ninetyPercentFrame, out.endedByNext ? "yes" : "no");
    PrintLevelFacts(args.level);
    TearDownWorld();
    return out.result == YPlayResult::LevelRefused ? 2 : 0;
}
