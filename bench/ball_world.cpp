// One frame of the game world's update with 20 balls of several modes, 10 flying bombs and 300
// unbreakable blocks on a 30 x 40 table: deferred deletion, the physics step, every held-capable
// object's update (speed keeping, racket test, mode effects, fuses) and the block step with its
// faces, then the particle pool's update. The draw queues are emptied, the shadow volume begun
// anew and the bombs' fuses lit anew outside the timing. Each run starts from a fresh, seeded
// world and plays 300 frames of warm-up and 1,000 measured frames, so runs play the same scene.
// "allocs/frame" counts the main thread's heap allocations of the objects' and blocks' updates (0
// in steady state); "step allocs/frame" those of the physics step (0 in steady state: the world's
// quadtree space keeps its blocks from pass to pass).
//
// BM_WorldFrameLooseBlocks/N/B: the same frame with N loose single blocks (300, 1,000, 2,000)
// standing in towers on a 40 x 50 table, most of them at rest, with B balls (4 or 0) flying among
// them, shadows on (every block hands its silhouette edges to the shadow volume).
// Its "s/block" counter is the frame's CPU time over the block count: flat across the three
// counts when the cost grows no faster than the number of blocks.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/log.h"
#include "platform/sys/crt_rand.h"
#include "render/draw_list.h"
#include "render/render_d3d.h"
#include "render/scene/particles.h"
#include "render/scene/shadow_volume.h"
#include "support/alloc_counter.h"
#include "support/bench_render.h"
#include "world/balls/ball.h"
#include "world/balls/racket_tacked.h"
#include "world/blocks/block.h"
#include "world/blocks/block_material.h"
#include "world/blocks/block_single.h"
#include "world/physics/arena.h"
#include "world/physics/physics_world.h"
#include "world/physics/table_size.h"
#include "world/physics/zdelete.h"
#include "world/play/world_setup.h"
#include "world/racket/racket.h"
#include "world/weapons/bomb.h"

namespace {

constexpr float kDt = 0.02f;
constexpr float kLongFuse = 1e9f; // the bombs fly for the whole run

float Unit() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

// A fresh world with nothing left from an earlier run (the benchmark library runs a function
// several times, and every run must play the same scene): the physics world, its random
// generators seeded with `seed`, a width x depth table with its back wall, and the racket on
// `racketLine`. Its end deletes what the run made.
struct BenchWorld {
    BenchWorld(unsigned seed, float width, float depth, float racketLine) {
        render = benchrender::MakeNullRenderer();
        SetUpWorld(HeadlessWorldOutside());
        PhysicsInit();
        plat::CrtSrand(seed);
        dRandSetSeed(seed);
        g_PhysicsWorld.ResetBallSpeed();
        g_PhysicsWorld.SetContactFriction(-1.0f);
        g_TableSize.Set(width, depth);
        PhysicsSetArena(&backWall, width, depth, 2.0f);
        SetBackWallEnabled(backWall, true);
        g_PhysicsWorld.PhysicsStep(1.0f); // empties the step's time accumulator
        racket = std::make_unique<YRacket>();
        racket->SetLine(racketLine);
    }
    ~BenchWorld() {
        DeleteAllBlocks();
        DeleteAllTacked();
        YZDelete::TickAll(1.0f);
        racket.reset();
        g_ParticleSystem.Clear();
        PhysicsShutdown();
        TearDownWorld();
    }
    BenchWorld(const BenchWorld&) = delete;
    BenchWorld& operator=(const BenchWorld&) = delete;

    std::unique_ptr<Render_D3D> render;
    std::unique_ptr<YRacket> racket;
    dGeomID backWall = nullptr;
};

struct World : BenchWorld {
    World() : BenchWorld(1, 30.0f, 40.0f, -19.0f) {
        // Unbreakable blocks, so that the scene stays the same frame after frame, and heavy: light
        // ones are knocked over the borders by the heavy balls and the bombs, and a block that
        // leaves the table is deleted (with its debris) as in play.
        BuildBlockMaterial("bench_stone", 50, -1, "block", "in_block", 5, "def_stroke", "def_destroy", "");
        const YBlockType* type = FindBlockType("bench_stone", 1, 1, 1);
        for (int i = 0; i < 300; ++i) {
            const int col = i % 15, row = (i / 15) % 10, layer = i / 150;
            YMatrix m;
            m.MatrixSetTranslation(YVector(-13.0f + col * 1.8f, -4.0f + row * 1.8f, 0.52f + layer * 1.0f));
            new YBlockSingle(type, nullptr, m);
        }
        const int modesInPlay[] = {BALL_NORMAL, BALL_HEAVY, BALL_PHANTOM, BALL_FIRE, BALL_GENERATIVE, BALL_SMALL};
        for (int i = 0; i < 20; ++i) {
            YBall* ball = new YBall(modesInPlay[i % 6]);
            const YVector at(Unit() * 24 - 12, -15 + Unit() * 4, 1.0f);
            const YVector dir(Unit() - 0.5f, 1.0f, 0.2f);
            ball->Launch(&dir, &at);
        }
        for (int i = 0; i < 10; ++i) {
            YBomb* bomb = new YBomb;
            YMatrix m;
            m.MatrixSetTranslation(YVector(Unit() * 24 - 12, -12 + Unit() * 4, 1.0f));
            bomb->SetMatrix(&m);
            bomb->throwTimer = -1.0f;
            bomb->fuse = kLongFuse;
            bomb->body.SetGeomEnabled(true);
            const YVector v(Unit() * 6 - 3, 6, 2);
            bomb->body.SetLinearVel(&v);
        }
    }
    void Frame() {
        YZDelete::TickAll(kDt);
        Step();
        Objects();
    }
    static void Step() { g_PhysicsWorld.PhysicsStep(kDt); }
    static void Objects() {
        const std::vector<YRacketTacked*>& tacked = TackedList();
        for (std::size_t i = 0; i < tacked.size(); ++i) tacked[i]->Update(kDt);
        BlockWorldUpdate(kDt, false);
        g_ParticleSystem.Update(kDt);
    }
    // Between frames, outside the timing, what the game's frame does around the world's update:
    // the draw queues are emptied and the shadow volume begins anew (the block step hands it the
    // silhouette edges of every block; without a new pass each frame its lists grew by about
    // 10,000 corners a frame, and copying them as they grew, hundreds of megabytes after a few
    // runs, made the runs' times differ fourfold). And every bomb's fuse is lit anew: a bomb that
    // touches a block or the far wall has its fuse cut to 0.1 s, and its blast would throw blocks
    // off the table (they are then deleted with their debris), so the scene would thin out.
    static void BetweenFrames() {
        DrawOpaqueQueue();
        DrawBlendedQueue();
        g_ShadowVolume.Begin(0.0f);
        for (YRacketTacked* t : TackedList())
            if (auto* bomb = dynamic_cast<YBomb*>(t)) bomb->fuse = kLongFuse;
    }
};

void BM_WorldFrame20Balls10Bombs300Blocks(benchmark::State& state) {
    World world;
    for (int i = 0; i < 300; ++i) {
        world.Frame();
        World::BetweenFrames();
    }
    // KORVELIN_ALLOC_STACKS=1 prints where the counted allocations come from.
    const bool stacks = std::getenv("KORVELIN_ALLOC_STACKS") != nullptr;
    if (stacks) benchalloc::KeepStacks(200);
    uint64_t stepAllocations = 0;
    uint64_t allocations = 0;
    uint64_t frames = 0;
    for (auto _ : state) {
        YZDelete::TickAll(kDt);
        benchalloc::Start();
        World::Step();
        stepAllocations += benchalloc::Stop().main;
        benchalloc::Start();
        World::Objects();
        allocations += benchalloc::Stop().main;
        ++frames;
        state.PauseTiming();
        World::BetweenFrames();
        state.ResumeTiming();
    }
    if (stacks) benchalloc::PrintStacks();
    const double n = static_cast<double>(frames ? frames : 1);
    state.counters["allocs/frame"] = static_cast<double>(allocations) / n;
    state.counters["step allocs/frame"] = static_cast<double>(stepAllocations) / n;
    // What is left of the scene at the end: the blocks still standing (splinters not counted), and
    // the balls and bombs still flying (one may roll into a near corner of the table, past its
    // edge, and be deleted there as in play).
    int blocks = 0, bombs = 0;
    for (YBlock* b : g_BlockWorld.blocks) blocks += dynamic_cast<YBlockSingle*>(b) != nullptr;
    for (YRacketTacked* t : TackedList()) bombs += dynamic_cast<YBomb*>(t) != nullptr;
    state.counters["balls"] = static_cast<double>(BallList().size());
    state.counters["bombs"] = static_cast<double>(bombs);
    state.counters["blocks"] = static_cast<double>(blocks);
}
// A fixed number of frames, so that every run plays the same scene to the same point.
BENCHMARK(BM_WorldFrame20Balls10Bombs300Blocks)->Unit(benchmark::kMicrosecond)->Iterations(1000);

int AwakeBlocks() {
    int awake = 0;
    for (YBlock* b : g_BlockWorld.blocks)
        if (auto* s = dynamic_cast<YBlockSingle*>(b)) awake += s->body.IsEnabled();
    return awake;
}

// N loose blocks on a 40 x 50 table with four balls flying (or none: every block at rest). The blocks stand in towers on a grid
// 1.6 apart (696 towers, one to three blocks high, each turned a little at random) and play 400
// frames (8 s) before the timing, so that most have come to rest; the balls knock towers over and
// wake the blocks they touch. (Blocks dropped in a jumble of layers that touch all over never come
// to rest: one island that a single rocking block keeps awake.)
struct LooseWorld : BenchWorld {
    LooseWorld(int count, int balls) : BenchWorld(7, 40.0f, 50.0f, -24.0f) {
        BuildBlockMaterial("bench_loose", 1, -1, "block", "in_block", 5, "def_stroke", "def_destroy", "");
        const YBlockType* type = FindBlockType("bench_loose", 1, 1, 1);
        constexpr int kCols = 24, kRows = 29; // 696 towers, 1.6 apart
        for (int i = 0; i < count; ++i) {
            const int col = i % kCols, row = (i / kCols) % kRows, layer = i / (kCols * kRows);
            YMatrix m;
            m.SetRotationZ(Unit() * 10.0f - 5.0f);
            m.m[12] = -18.4f + col * 1.6f;
            m.m[13] = -21.0f + row * 1.6f;
            m.m[14] = 0.5f + layer * 1.0f;
            new YBlockSingle(type, nullptr, m);
        }
        for (int i = 0; i < balls; ++i) {
            YBall* ball = new YBall(BALL_NORMAL);
            const YVector at(Unit() * 30 - 15, -21 + Unit() * 2, 1.0f);
            const YVector dir(Unit() - 0.5f, 1.0f, 0.1f);
            ball->Launch(&dir, &at);
        }
    }
    void Frame() {
        YZDelete::TickAll(kDt);
        World::Step();
        World::Objects();
    }
    static void BetweenFrames() {
        DrawOpaqueQueue();
        DrawBlendedQueue();
        g_ShadowVolume.Begin(0.0f);
    }
};

void BM_WorldFrameLooseBlocks(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    LooseWorld world(count, static_cast<int>(state.range(1)));
    for (int i = 0; i < 400; ++i) {
        world.Frame();
        LooseWorld::BetweenFrames();
    }
    const int awakeBefore = AwakeBlocks();
    uint64_t allocations = 0, frames = 0;
    std::size_t corners = 0;
    for (auto _ : state) {
        benchalloc::Start();
        world.Frame();
        allocations += benchalloc::Stop().main;
        ++frames;
        state.PauseTiming();
        corners += g_ShadowVolume.front.size() + g_ShadowVolume.back.size();
        LooseWorld::BetweenFrames();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(frames ? frames : 1);
    int blocks = 0;
    for (YBlock* b : g_BlockWorld.blocks) blocks += dynamic_cast<YBlockSingle*>(b) != nullptr;
    state.counters["allocs/frame"] = static_cast<double>(allocations) / n;
    state.counters["blocks"] = static_cast<double>(blocks);
    state.counters["awake at start"] = static_cast<double>(awakeBefore);
    state.counters["awake at end"] = static_cast<double>(AwakeBlocks());
    state.counters["shadow corners"] = static_cast<double>(corners) / n;
    // CPU seconds per frame and block (the library divides by the CPU time, then inverts).
    state.counters["s/block"] = benchmark::Counter(static_cast<double>(frames) * std::max(blocks, 1),
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WorldFrameLooseBlocks)
    ->Args({300, 4})
    ->Args({1000, 4})
    ->Args({2000, 4})
    ->Args({300, 0})
    ->Args({1000, 0})
    ->Args({2000, 0})
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(500);

} // namespace
