// Every starter level stands on its own: loaded onto its arena with the shipped materials and left
// for three seconds with nothing touching it, no block falls off the table, breaks or splits.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "content/content_files.h"
#include "core/log.h"
#include "platform/sys/crt_rand.h"
#include "support/temp_dir.h"
#include "world/blocks/block.h"
#include "world/blocks/block_material.h"
#include "world/level/level_loader.h"
#include "world/physics/arena.h"
#include "world/physics/physics_world.h"
#include "world/physics/table_size.h"
#include "world/physics/zdelete.h"
#include "world/play/world_setup.h"

namespace {

TEST(LevelStability, EveryStarterLevelStandsStillForThreeSeconds) {
    testsupport::TempDir dir;
    LogReopen(dir.File("log.txt"));
    PhysicsInit();
    ASSERT_TRUE(SetUpWorld(HeadlessWorldOutside()));
    ResetBlockMaterials();
    LoadBlockMaterials(content::GamePath("data\\blocks.yml").c_str());
    const std::vector<std::string> levels = content::ShippedLevels();
    ASSERT_FALSE(levels.empty());
    for (const std::string& path : levels) {
        SCOPED_TRACE(path);
        plat::CrtSrand(1);
        dRandSetSeed(1);
        ASSERT_TRUE(LoadLevel(path));
        dGeomID backWall = nullptr;
        PhysicsSetArena(&backWall, g_TableSize.width, g_TableSize.depth, 3.0f);
        BlockWorldUpdate(0.0f, false);
        const std::size_t blocks = g_BlockWorld.blocks.size();
        const uint32_t left = g_BlockWorld.blocksLeft;
        for (int i = 0; i < 150; ++i) {
            YZDelete::TickAll(0.02f);
            g_PhysicsWorld.PhysicsStep(0.02f);
            BlockWorldUpdate(0.02f, false);
        }
        EXPECT_EQ(g_BlockWorld.blocks.size(), blocks);
        EXPECT_EQ(g_BlockWorld.blocksLeft, left);
        EXPECT_EQ(g_BlockWorld.blocksInPlay, left);
        EXPECT_TRUE(YZDelete::Pending().empty());
    }
    DeleteAllBlocks();
    YZDelete::TickAll(1.0f);
    ResetBlockMaterials();
    PhysicsShutdown();
    TearDownWorld();
    LogReopen("");
}

} // namespace
