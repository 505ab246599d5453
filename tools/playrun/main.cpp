// playrun: plays a level with no window and no sound, from an input script drawn from a seed, and
// prints how the run ended and a hash of its final state.
//   playrun <level file> [frames (default 3000)] [seed (default 1)]
// Run it in the game folder: it reads "data\blocks.yml" and "data\bonuses.yml" there. The same arguments print the same
// hash. Exits 1 on bad arguments, 2 when the level cannot be loaded.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/init.h"
#include "core/log.h"
#include "world/blocks/block_material.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_registry.h"
#include "world/physics/physics_world.h"
#include "world/play/headless_run.h"
#include "world/play/world_setup.h"

namespace {

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

} // namespace

int main(int argc, char** argv) {
    long frames = 3000, seed = 1;
    if (argc < 2 || argc > 4 || (argc > 2 && !ParseInt(argv[2], 1, 10000000, &frames)) ||
        (argc > 3 && !ParseInt(argv[3], 0, 0x7fffffff, &seed))) {
        std::fprintf(stderr, "usage: playrun <level file> [frames] [seed]\n");
        return 1;
    }
    LogReopen("playrun_log.txt");
    // The world as the game connects it, captions to the log: bonuses fall from the blocks that
    // hold them and the Next bonus drops after too many kicks without a break.
    if (!SetUpWorld(HeadlessWorldOutside())) return 1;
    LoadBonusConfigs("data\\bonuses.yml");
    // The materials (and the block types they cache) are the run's; they go when it has ended.
    const LoadedMaterials materials("data\\blocks.yml");
    PhysicsInit();
    const YPlayScript script = MakeSeededScript(static_cast<uint32_t>(seed), static_cast<int>(frames));
    const YPlayOutcome out = RunHeadless(argv[1], script, static_cast<int>(frames));
    std::printf("outcome: %s\nframes: %d\nscore: %d\nlives: %d\nblocks left: %d\nballs lost: %d\nhash: %016llx\n",
                PlayResultName(out.result), out.frames, out.score, out.lives, out.blocksLeft, out.ballsLost,
                static_cast<unsigned long long>(out.hash));
    PhysicsShutdown();
    TearDownWorld();
    return out.result == YPlayResult::LevelRefused ? 2 : 0;
}
