// The cost of a frame of play: a shipped level played from start to end as the headless run plays
// it (its seeded input script, the same steps in the same order: deferred deletion, the physics
// step, the blocks, the racket), with the frame's drawing submitted as the game submits it (the
// sky box, the table, the queued meshes, the blocks, the racket, particles, shadows) to the null
// render device, and the sound layer without a device. See bench/README.md for the command and
// the figures.
//
// Reported per run (one benchmark per level found in the game's levels folder):
//   - p50_us, p99_us, max_us: CPU time of the main thread per frame, over the frames after the
//     warm-up (the serve and the first uses of lazily made things);
//   - allocs, own_allocs: heap allocations per frame on the main thread, and those of them the
//     game's own code asked for; alloc_frames: frames with at least one allocation;
//     steady_own_allocs: the game's own allocations in frames that made, deleted or broke
//     nothing (no block, ball, bonus or deletion came or went), in the whole run;
//   - frames, score, lives, blocks_left, ended (1 level complete, 2 game over).
//
// Environment:
//   KORVELIN_BENCH_FRAMES=N        frames per run (default 3000, 60 s of play).
//   KORVELIN_BENCH_SEED=N          seed of the input script and the game's generators (default 1).
//   KORVELIN_BENCH_ALLOC_STACKS=N  keep and print the call stacks of the first N allocations
//                                  counted after the warm-up (to see who allocates).
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "core/log.h"
#include "platform/sys/crt_rand.h"
#include "render/camera.h"
#include "render/draw_list.h"
#include "render/mesh/mesh_draw.h"
#include "render/render_d3d.h"
#include "render/render_hooks.h"
#include "render/scene/environment_box.h"
#include "render/scene/particles.h"
#include "render/scene/shadow_volume.h"
#include "render/shader.h"
#include "render/shader_loader.h"
#include "shell/game_states.h"
#include "shell/scene_camera.h"
#include "sound/sound_device.h"
#include "sound/sound_fx.h"
#include "support/alloc_counter.h"
#include "support/bench_render.h"
#include "support/scratch_game.h"
#include "world/balls/ball.h"
#include "world/blocks/block.h"
#include "world/blocks/block_material.h"
#include "world/bonus/bonus.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_registry.h"
#include "world/level/level_loader.h"
#include "world/physics/physics_world.h"
#include "world/physics/table_size.h"
#include "world/physics/zdelete.h"
#include "world/play/headless_run.h"
#include "world/play/world_setup.h"
#include "world/racket/game_event.h"
#include "world/racket/racket.h"
#include "world/racket/racket_tacked.h"
#include "world/table/table.h"
#include "world/table/table_materials.h"

#include <ode/ode.h>

namespace {

namespace fs = std::filesystem;

constexpr int kWarmUpFrames = 100;
constexpr float kSkyFov = 80.0f;
constexpr float kShadowGround = -61.3f;
constexpr float kNearClip = 5.0f;
constexpr float kFarClip = 650.0f;
const float kFullPos[2] = {0.0f, 0.0f};
const float kFullSize[2] = {1.0f, 1.0f};

constexpr const char* kConfig = "<config>\n<render fps=\"0\" shadows=\"1\">\n</config>\n";

int EnvInt(const char* name, int fallback, int lo) {
    const char* text = std::getenv(name);
    if (!text) return fallback;
    const int v = std::atoi(text);
    return v >= lo ? v : fallback;
}

double ThreadCpuUs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) * 1e-3;
}

// The game's start-up, as far as play needs it, made once per process: the scratch game folder
// as the working folder, the null renderer with the shipped shaders, textures and meshes, the
// sound effects (no device), the table and its materials, the world set up as the game sets it
// up with its bonus records, block materials, the physics world.
class Setup {
public:
    static Setup& Get() {
        static Setup setup;
        return setup;
    }
    const std::string& Error() const { return error_; }
    const std::vector<std::string>& Levels() const { return levels_; }

    void Close() {
        table_.reset();
        render_.reset();
        PhysicsShutdown();
        TearDownWorld();
        scratch_.Leave();
    }

private:
    Setup() {
        if (scratch_.Root().empty()) {
            error_ = "no scratch folder";
            return;
        }
        std::error_code ec;
        for (const fs::directory_entry& e : fs::directory_iterator(scratch_.Root() / "levels", ec))
            if (e.path().extension() == ".lev") levels_.push_back(e.path().stem().string());
        std::sort(levels_.begin(), levels_.end());
        if (levels_.empty()) {
            error_ = "no levels in the game folder";
            return;
        }
        scratch_.Enter();
        render_ = benchrender::MakeNullRenderer(); // closes the log: the run writes none
        InstallRenderHooks();
        ParseShaderFile("data\\shaders.yml");
        ParseShaderFile("data\\shaders_env.yml");
        ParseShaderFile("data\\shaders_blocks.yml");
        ParseSoundFile("data\\sound_fx.yml");
        LoadTableMaterials("data\\env.yml");
        PhysicsInit();
        table_ = std::make_unique<YTable>();
        // The world as the game connects it: bonuses fall and the Next bonus drops as in play.
        SetUpWorld(HeadlessWorldOutside());
        LoadBonusConfigs("data\\bonuses.yml", BonusRegistrySize());
        LoadBlockMaterials("data\\blocks.yml");
        g_EnvironmentBox.SetEnvironment("");
    }

    benchgame::ScratchGame scratch_{kConfig};
    std::unique_ptr<Render_D3D> render_;
    std::unique_ptr<YTable> table_;
    std::vector<std::string> levels_;
    std::string error_;
};

struct RunFigures {
    std::vector<double> cpuUs; // per measured frame
    uint64_t allocs = 0;
    uint64_t ownAllocs = 0;
    uint64_t steadyAllocs = 0; // the game's own, in frames that made or dropped no object
    int allocFrames = 0;
    YPlayOutcome outcome;
};

// One level played for at most `frameCount` frames of `script`, each frame timed and its
// allocations counted after the warm-up.
class LevelRun {
public:
    LevelRun() { camera_.moveListener = nullptr; }

    RunFigures Play(const std::string& levelPath, const YPlayScript& script, int frameCount, int stackLimit) {
        RunFigures fig;
        fig.cpuUs.reserve(static_cast<std::size_t>(std::max(0, frameCount - kWarmUpFrames)));
        plat::CrtSrand(script.seed);
        dRandSetSeed(script.seed);
        g_PhysicsWorld.ResetBallSpeed();
        racket_ = std::make_unique<YRacket>(&listener_);
        racket_->Park();
        if (!LoadLevel(levelPath)) {
            fig.outcome.result = YPlayResult::LevelRefused;
            racket_.reset();
            return fig;
        }
        racket_->NewGame();
        dt_ = script.dt > 0.0f ? script.dt : 0.02f;
        int lastState = racket_->state;
        for (int i = 0; i < frameCount; ++i) {
            const bool measured = i >= kWarmUpFrames;
            if (i == kWarmUpFrames) {
                benchalloc::KeepStacks(stackLimit);
                benchalloc::Start();
            }
            const std::array<std::size_t, 5> population = Population();
            const benchalloc::Counts before = benchalloc::Current();
            const double start = ThreadCpuUs();
            const YPlayFrame* input =
                i < static_cast<int>(script.frames.size()) ? &script.frames[static_cast<std::size_t>(i)] : nullptr;
            Frame(input);
            const double cost = ThreadCpuUs() - start;
            const benchalloc::Counts after = benchalloc::Current();
            if (measured) {
                fig.cpuUs.push_back(cost);
                fig.allocs += after.main - before.main;
                fig.ownAllocs += after.own - before.own;
                if (after.main != before.main) ++fig.allocFrames;
                if (Population() == population) fig.steadyAllocs += after.own - before.own;
            }
            fig.outcome.frames = i + 1;
            if (racket_->state == RACKET_BALL_LOST && lastState != RACKET_BALL_LOST) ++fig.outcome.ballsLost;
            lastState = racket_->state;
            if (listener_.gameOver || listener_.levelComplete) break;
        }
        benchalloc::Stop();
        benchalloc::PrintStacks();
        benchalloc::KeepStacks(0);
        fig.outcome.result = listener_.gameOver        ? YPlayResult::GameOver
                             : listener_.levelComplete ? YPlayResult::LevelComplete
                                                       : YPlayResult::Running;
        // As the headless run ends: blocks broken at the end are deleted (and scored) a moment later.
        for (int i = 0; i < 50 && !YZDelete::Pending().empty(); ++i) {
            YZDelete::TickAll(dt_);
            g_PhysicsWorld.PhysicsStep(dt_);
            BlockWorldUpdate(dt_, false);
        }
        DrainQueues();
        fig.outcome.score = racket_->score;
        fig.outcome.lives = racket_->lives;
        fig.outcome.blocksLeft = static_cast<int>(g_BlockWorld.blocksLeft);
        DeleteAllBlocks();
        for (int i = 0; i < 4 && !YZDelete::Pending().empty(); ++i) YZDelete::TickAll(1.0f);
        racket_.reset();
        return fig;
    }

private:
    // What a frame that makes or drops objects (a serve, a broken block and its debris, a set
    // falling apart, a deletion) changes: allocations in the other frames are the steady ones.
    static std::array<std::size_t, 5> Population() {
        return {g_BlockWorld.blocks.size(), TackedList().size(), YZDelete::Pending().size(),
                static_cast<std::size_t>(g_BlockWorld.blocksLeft), BonusList().size()};
    }

    // A frame of play: the headless run's steps in its order, inside the game's frame: sound
    // commit, shader animation, camera, the sky box and the table, then the world's update with
    // its drawing, the queues, the racket and the shadows.
    void Frame(const YPlayFrame* input) {
        if (input) {
            if (!std::isnan(input->target)) racket_->MoveTo(input->target);
            if (input->click) racket_->ReleaseTacked(true);
        }
        UpdateSound();
        AnimateShaders(dt_);
        YZDelete::TickAll(dt_);
        g_PhysicsWorld.PhysicsStep(dt_);
        if (g_Table) g_Table->UpdateDecals(dt_);

        camera_.Update(dt_, GS_PLAY, g_TableSize.halfWidth, g_TableSize.halfDepth);
        // The game clears the target here; the null device would fill its 800 x 600 target pixel by
        // pixel in memory (for tests that read it back), which is no work of the game's and costs
        // more than the rest of the frame, so the frame starts without the clear.
        g_Render->BeginFrame(false);
        g_Render->SetViewport(kFullPos, kFullSize);
        const float aspect = 4.0f / 3.0f;
        g_ShadowVolume.Begin(kShadowGround);
        g_Render->SetPerspective(kSkyFov, aspect, 0.1f, 2.0f);
        g_EnvironmentBox.Draw();
        g_Render->SetPerspective(g_Camera.fov, aspect, kNearClip, kFarClip);
        g_Render->SetWorldMatrix(&g_Camera.view);
        if (g_Table) g_Table->Draw(TABLE_DRAW_FULL | 2 | TABLE_DRAW_OVERLAYS);
        g_ShadowVolume.Begin(0.0f);

        BlockWorldUpdate(dt_, true);
        racket_->RacketUpdate(dt_);
        QueueMeshDraws();
        g_ParticleSystem.Update(dt_);
        DrawOpaqueQueue();
        racket_->Draw();
        g_Render->SetWorldMatrix(&g_Camera.view);
        DrawBlendedQueue();
        g_ShadowVolume.Draw(true);
        g_Render->EndFrame();
    }

    static void DrainQueues() {
        DrawOpaqueQueue();
        DrawBlendedQueue();
    }

    YSceneCamera camera_;
    YPlayEndListener listener_;
    std::unique_ptr<YRacket> racket_;
    float dt_ = 0.02f;
};

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t at = static_cast<std::size_t>(std::ceil(p * static_cast<double>(values.size()))) - 1;
    return values[std::min(at, values.size() - 1)];
}

void BM_LevelRun(benchmark::State& state, std::string level) {
    Setup& setup = Setup::Get();
    if (!setup.Error().empty()) {
        state.SkipWithError(setup.Error().c_str());
        return;
    }
    const int frames = EnvInt("KORVELIN_BENCH_FRAMES", 3000, kWarmUpFrames + 1);
    const int seed = EnvInt("KORVELIN_BENCH_SEED", 1, 0);
    const int stacks = EnvInt("KORVELIN_BENCH_ALLOC_STACKS", 0, 0);
    const std::string path = "levels\\" + level + ".lev";
    const YPlayScript script = MakeSeededScript(static_cast<uint32_t>(seed), frames);
    // Whatever the game makes on first use (models, textures, sound voices) is made by a whole run
    // first. (Runs in one process differ a little: an effect with voices to spare picks one with
    // the game's random generator, so the voices earlier runs left change the later draws.)
    LevelRun().Play(path, script, frames, 0);
    RunFigures fig;
    for (auto _ : state) {
        LevelRun run;
        fig = run.Play(path, script, frames, stacks);
        double total = 0.0;
        for (double us : fig.cpuUs) total += us;
        state.SetIterationTime(total * 1e-6);
    }
    if (fig.outcome.result == YPlayResult::LevelRefused) {
        state.SkipWithError("the level was refused");
        return;
    }
    const double measured = static_cast<double>(std::max<std::size_t>(fig.cpuUs.size(), 1));
    state.counters["p50_us"] = Percentile(fig.cpuUs, 0.50);
    state.counters["p99_us"] = Percentile(fig.cpuUs, 0.99);
    state.counters["max_us"] = Percentile(fig.cpuUs, 1.0);
    state.counters["allocs"] = static_cast<double>(fig.allocs) / measured;
    state.counters["own_allocs"] = static_cast<double>(fig.ownAllocs) / measured;
    state.counters["alloc_frames"] = fig.allocFrames;
    state.counters["steady_own_allocs"] = static_cast<double>(fig.steadyAllocs);
    state.counters["frames"] = fig.outcome.frames;
    state.counters["score"] = fig.outcome.score;
    state.counters["lives"] = fig.outcome.lives;
    state.counters["blocks_left"] = fig.outcome.blocksLeft;
    state.counters["ended"] = fig.outcome.result == YPlayResult::LevelComplete ? 1
                              : fig.outcome.result == YPlayResult::GameOver    ? 2
                                                                               : 0;
}

} // namespace

int main(int argc, char** argv) {
    Setup& setup = Setup::Get();
    if (!setup.Error().empty()) std::fprintf(stderr, "level run: %s\n", setup.Error().c_str());
    for (const std::string& level : setup.Levels())
        benchmark::RegisterBenchmark(("BM_LevelRun/" + level).c_str(), BM_LevelRun, level)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Setup::Get().Close();
    return 0;
}
