// Cost of loading a level with the game's loader: emptying the world, reading and checking the file,
// building the block sets (grid, neighbours, edges, boxes, mass) and handing out the bonuses.
// BM_LoadLargestShippedLevel loads the largest ".lev" of the game folder's "levels"; BM_Load500Blocks
// a generated level of 500 one-cell blocks in five glued walls. Target: 30 ms or less each.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/log.h"
#include "world/blocks/block.h"
#include "world/blocks/block_material.h"
#include "world/level/level_file.h"
#include "world/level/level_loader.h"
#include "world/physics/arena.h"
#include "world/physics/physics_world.h"
#include "world/physics/table_size.h"
#include "world/physics/zdelete.h"
#include "world/play/world_setup.h"

namespace {

namespace fs = std::filesystem;

struct World {
    World() {
        LogReopen((fs::temp_directory_path() / "korvelin_bench_level_load.txt").string());
        PhysicsInit();
        SetUpWorld(HeadlessWorldOutside());
        const std::string game = KORVELIN_GAME_DIR;
        LoadBlockMaterials((game + "/data/blocks.yml").c_str());
        g_TableSize.Set(20.0f, 20.0f);
        PhysicsSetArena(&backWall, 20.0f, 20.0f, 3.0f);
        std::uintmax_t largest = 0;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(game + "/levels", ec)) {
            if (e.path().extension() != ".lev" || e.file_size() <= largest) continue;
            largest = e.file_size();
            largestLevel = e.path().string();
        }
        YLevelData level;
        level.width = 40;
        level.depth = 40;
        level.bonusCounts.assign(34, 0);
        for (int wall = 0; wall < 5; ++wall) {
            YLevelSet set;
            set.matrix.m[12] = -10.0f;
            set.matrix.m[13] = static_cast<float>(wall * 3 - 4);
            set.matrix.m[14] = 0.02f;
            for (int32_t z = 0; z < 5; ++z)
                for (int32_t x = 0; x < 20; ++x) set.blocks.push_back({x, 0, z, 1, 1, 1, "brick", 35.0f, -1});
            level.sets.push_back(set);
        }
        generatedLevel = (fs::temp_directory_path() / "korvelin_bench_500.lev").string();
        std::string error;
        if (!WriteLevelFile(generatedLevel.c_str(), level, error)) std::fprintf(stderr, "%s\n", error.c_str());
    }
    dGeomID backWall = nullptr;
    std::string largestLevel;
    std::string generatedLevel;
};

World& TheWorld() {
    static World world;
    return world;
}

void Load(benchmark::State& state, const std::string& path) {
    std::size_t sets = 0;
    for (auto _ : state) {
        if (!LoadLevel(path)) {
            state.SkipWithError(("cannot load " + path).c_str());
            break;
        }
        sets = LevelSets().size();
    }
    state.counters["sets"] = static_cast<double>(sets);
    DeleteAllBlocks();
    YZDelete::TickAll(1.0f);
}

void BM_LoadLargestShippedLevel(benchmark::State& state) {
    if (TheWorld().largestLevel.empty()) {
        state.SkipWithError("no level in the game folder");
        return;
    }
    state.SetLabel(fs::path(TheWorld().largestLevel).filename().string());
    Load(state, TheWorld().largestLevel);
}

void BM_Load500Blocks(benchmark::State& state) { Load(state, TheWorld().generatedLevel); }

BENCHMARK(BM_LoadLargestShippedLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load500Blocks)->Unit(benchmark::kMillisecond);

} // namespace
