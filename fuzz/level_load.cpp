// Feeds arbitrary bytes, as a level file, through the game's level loader on a live physics world:
// whatever the file holds, the loader either builds a world whose blocks all have finite
// placements or refuses it and leaves no block behind.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/log.h"
#include "fuzz_scratch.h"
#include "world/blocks/block.h"
#include "world/blocks/block_material.h"
#include "world/level/level_loader.h"
#include "world/physics/arena.h"
#include "world/physics/physics_world.h"
#include "world/physics/table_size.h"
#include "world/physics/zdelete.h"
#include "world/play/world_setup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static FuzzScratch scratch("level_load");
    static bool ready = [] {
        LogReopen(scratch.Write("log.txt", nullptr, 0));
        PhysicsInit();
        if (!SetUpWorld(HeadlessWorldOutside())) std::abort();
        // The materials the shipped levels use, made in code (no files needed).
        for (const char* name : {"wood", "planks", "stone", "brick", "marble", "glass", "ice", "rubber", "metal", "gl1",
                                 "gl2", "fire", "water", "electro", "generator", "teleport", "heavy", "tnt"}) {
            BuildBlockMaterial(name, 1.0f, 100.0f, "block", "in_block", 10, "def_stroke", "def_destroy", "");
        }
        std::atexit(ResetBlockMaterials);
        return true;
    }();
    (void)ready;
    const std::string path = scratch.Write("input.lev", data, size);
    const bool loaded = LoadLevel(path);
    if (!loaded && !g_BlockWorld.blocks.empty()) std::abort();
    if (loaded) {
        static dGeomID backWall = nullptr;
        PhysicsSetArena(&backWall, g_TableSize.width, g_TableSize.depth, 3.0f);
        for (int i = 0; i < 3; ++i) {
            YZDelete::TickAll(0.02f);
            g_PhysicsWorld.PhysicsStep(0.02f);
            BlockWorldUpdate(0.02f, false);
        }
        for (YBlock* b : g_BlockWorld.blocks) {
            for (int k = 12; k < 15; ++k) {
                if (!std::isfinite(b->matrix.m[k])) std::abort();
            }
        }
    }
    DeleteAllBlocks();
    YZDelete::TickAll(1.0f);
    return 0;
}
