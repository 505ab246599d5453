#pragma once
// A world for the block tests: materials made in code, a 20 x 20 table, a game mode with damage and
// score popups, hooks that record scores and bonuses, and the 15-bit generator seeded.
#include <gtest/gtest.h>

#include "world/physics_fixture.h"

#include <vector>

#include "core/init.h"
#include "core/log.h"
#include "platform/sys/crt_rand.h"
#include "render/draw_list.h"
#include "render/scene/particles.h"
#include "render/shader.h"
#include "support/temp_dir.h"
#include "world/blocks/block.h"
#include "world/blocks/block_hooks.h"
#include "world/blocks/block_material.h"
#include "world/blocks/block_set.h"
#include "world/blocks/block_single.h"
#include "world/bonus/bonus_builder.h"
#include "world/level/level_state.h"
#include "world/physics/arena.h"
#include "world/physics/physics_world.h"
#include "world/physics/table_size.h"
#include "world/physics/zdelete.h"
#include "world/play/world_setup.h"

namespace blocktest {

struct Record {
    std::vector<int32_t> scores;
    std::vector<int32_t> bonusesMade;
    int bonusesRun = 0;
    int nextBonusDrops = 0;
};

class RecordingBonus : public YBonusBuilder {
public:
    explicit RecordingBonus(Record* r) : record(r) {}
    void Run(const YMatrix*, const YVector*) override { ++record->bonusesRun; }
    Record* record;
};

class BlockWorldTest : public PhysicsTest {
protected:
    void SetUp() override {
        PhysicsTest::SetUp();
        ForgetFrameLeftovers();
        LogReopen(dir_.File("log.txt"));
        plat::CrtSrand(7);
        ResetBlockMaterials();
        g_Level.scale = {1, 1, 1};
        opaque = BuildBlockMaterial("opaque", 1, 10, "test_opaque", "in_block", 5, "def_stroke", "def_destroy", "");
        hard = BuildBlockMaterial("hard", 1, -1, "test_opaque", "in_block", 5, "def_stroke", "def_destroy", "");
        glass =
            BuildBlockMaterial("glass", 1, 10, "test_blended", "test_blended_in", 5, "def_stroke", "def_destroy", "");
        FindShader("test_blended")->renderStates[RS_ALPHA_BLEND_ENABLE] = 1;
        FindShader("test_blended_in")->renderStates[RS_ALPHA_BLEND_ENABLE] = 1;
        FindShader("test_opaque")->renderStates[RS_ALPHA_BLEND_ENABLE] = 0;
        YGameMode& mode = GetInit().CurrentGameMode();
        savedMode_ = mode;
        mode.popupLosses = true;
        mode.popupScores = true;
        g_TableSize.Set(20.0f, 20.0f);
        PhysicsSetArena(&backWall_, 20.0f, 20.0f, 3.0f);
        // The world as a run without a screen connects it; the blocks' calls up are then recorded.
        ASSERT_TRUE(SetUpWorld(HeadlessWorldOutside()));
        RecordBlockCalls();
    }
    // The blocks' calls up into the world record what they were asked.
    void RecordBlockCalls() {
        BlockHooks().blockDestroyed = [this](int32_t points) { record.scores.push_back(points); };
        BlockHooks().createBonusBuilder = [this](int32_t kind) {
            record.bonusesMade.push_back(kind);
            return new RecordingBonus(&record);
        };
        BlockHooks().dropNextBonus = [this] { ++record.nextBonusDrops; };
    }
    void TearDown() override {
        ForgetFrameLeftovers();
        DeleteAllBlocks();
        YZDelete::TickAll(1.0f);
        TearDownWorld();
        GetInit().CurrentGameMode() = savedMode_;
        ResetBlockMaterials();
        g_ParticleSystem.Clear();
        LogReopen("");
        PhysicsTest::TearDown();
    }

    // What frames leave behind for the next test in the process: draws still queued (they point at
    // faces, particles and texts of this test) and floating texts, which outlive Clear. Without a
    // renderer the drawers draw nothing.
    static void ForgetFrameLeftovers() {
        DrawOpaqueQueue();
        DrawBlendedQueue();
        g_ParticleSystem.Clear();
        g_ParticleSystem.Update(1e9f); // every text expires; nothing is queued
    }

    // A world matrix standing a block of `type` on the floor at (x, y).
    static YMatrix OnFloor(const YBlockType* type, float x, float y) {
        YMatrix m;
        m.MatrixSetTranslation({x, y, type->halfExtents.z + 0.02f});
        return m;
    }

    // Runs frames of dt: deferred deletion, physics, block step.
    static void Frames(int n, float dt = 0.02f, bool timerOn = false) {
        for (int i = 0; i < n; ++i) {
            YZDelete::TickAll(dt);
            g_PhysicsWorld.PhysicsStep(dt);
            BlockWorldUpdate(dt, timerOn);
        }
    }

    testsupport::TempDir dir_;
    dGeomID backWall_ = nullptr;
    YGameMode savedMode_;
    Record record;
    YBlockMaterial* opaque = nullptr;
    YBlockMaterial* hard = nullptr;
    YBlockMaterial* glass = nullptr;
};

} // namespace blocktest
