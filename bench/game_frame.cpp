// The cost of the game's own frame: the real game (GameFramework, the OpenGL device, the sound
// system, the shipped data) in a 800 x 600 window, driven through the message loop one pass per
// iteration. The clock is replaced so every pass is a frame of 16 ms and nothing sleeps: the frame
// cap is off and the benchmark measures the work of a frame. Run it under an X server (xvfb-run)
// with a sound backend that needs no device (ALSOFT_DRIVERS=null); see bench/README.md for the
// command and the figures.
//
// Reported per frame: process CPU time of every thread (the "CPU" column: the game, the OpenGL
// driver's worker threads, the sound mixer), wall time, and heap allocations ("allocs" of every
// thread, "main_allocs" of the game's own thread, "own_allocs" those the game's code asked for
// itself, on any thread) counted by replacing malloc for this program, and the longest frame of the
// run in wall time ("max_ms"), from which "no frame over N ms" is read.
//
// Scenes: "menu" is what shows after the start-up slide show (the table with the first level under
// the orbiting camera, the sky box, comets, the menu); "play" is the first level of an easy game in
// play, the hero kept under the first ball and a ball served whenever one waits; "tnt100" and
// "tnt400" are levels of 100 and 400 "tnt" blocks (written into the scratch folder, loaded in play)
// that are all set off in the first measured frame, the chain of blasts, debris and sparks that
// follows being the run. A scene is a name, what to do after the slide show to reach it, what a
// player does during each frame, and what to do when a measured run starts.
//
// Environment:
//   KORVELIN_BENCH_FRAMES=N        frames measured per run (default 500).
//   KORVELIN_BENCH_ALLOC_STACKS=N  keep and print the call stacks of the first N allocations
//                                  counted (to see who allocates).
//   KORVELIN_BENCH_OWN_STACKS=1    with the above: only those the game's own code asked for.
//   KORVELIN_BENCH_PICTURES=DIR    after each scene's run, one more frame drawn off screen and
//                                  written as DIR/<scene>.bmp (scripts/compare-frame-pictures
//                                  compares two builds' pictures).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/framework.h"
#include "core/log.h"
#include "platform/gpu/device.h"
#include "platform/gpu/pixel_format.h"
#include "platform/sys/clock.h"
#include "platform/window/win_messages.h"
#include "render/render.h"
#include "shell/game_framework.h"
#include "support/alloc_counter.h"
#include "support/bench_render.h"
#include "support/scratch_game.h"
#include "world/balls/ball.h"
#include "world/blocks/block.h"
#include "world/blocks/block_set.h"
#include "world/blocks/block_single.h"
#include "world/blocks/block_special.h"
#include "world/blocks/special_links.h"
#include "world/level/level_file.h"
#include "world/level/level_loader.h"
#include "world/physics/physics_world.h"
#include "world/racket/racket.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kFrameMs = 16;
constexpr int kWarmUpFrames = 200;
constexpr int kSplashFrameLimit = 2000;

std::atomic<uint32_t> g_now{1000};
uint32_t FakeNow() { return g_now.load(std::memory_order_relaxed); }

// One frame: a pass of the message loop with 16 ms gone by.
void Pass(GameFramework& game) {
    g_now.fetch_add(kFrameMs, std::memory_order_relaxed);
    game.PumpOnce();
}

struct Scene {
    const char* name;
    void (*reach)(GameFramework& game);           // after the slide show
    void (*play)(GameFramework& game);            // before each frame
    void (*start)(GameFramework& game) = nullptr; // before each measured run, when set
};

constexpr int kStateFrameLimit = 600;

// Frames until the game is in `state` (at most kStateFrameLimit).
bool PassUntil(GameFramework& game, int state) {
    for (int i = 0; i < kStateFrameLimit && game.GetState() != state; ++i) Pass(game);
    return game.GetState() == state;
}

void Click(GameFramework& game, int x, int y) {
    game.MouseMove(x, y);
    game.MouseDown(1, x, y);
    game.MouseUp(1, x, y);
}

void ReachMenu(GameFramework&) {}
void PlayNothing(GameFramework&) {}

// "Easy game" in the main menu, the first level in the level choice.
void ReachPlay(GameFramework& game) {
    Click(game, 400, 280);
    if (!PassUntil(game, GS_LEVEL_CHOICE)) return;
    game.KeyDown(plat::VK_RETURN);
    game.KeyUp(plat::VK_RETURN);
    PassUntil(game, GS_PLAY);
}

// The mouse over the first ball (its x along the hero's track), and a click now and then, which
// serves a ball that waits on the hero.
void PlayAlong(GameFramework& game) {
    static int frame = 0;
    if (game.GetState() != GS_PLAY || !g_Racket || BallList().empty()) return;
    YVector at;
    BallList().front()->body.GetPosition(&at);
    const float half = g_Racket->HalfTrack();
    const float t = half > 0.0f ? at.x / half : 0.0f;
    const int x = static_cast<int>((t + 1.0f) * 0.5f * 800.0f);
    game.MouseMove(x, 300);
    if (++frame % 30 == 0) Click(game, x, 300);
}

// One more frame of the scene drawn into an off-screen target of the window's size and written as
// DIR/<scene>.bmp, when KORVELIN_BENCH_PICTURES=DIR is set. Outside the timing.
void SavePicture(const Scene& scene, GameFramework& game) {
    const char* dir = std::getenv("KORVELIN_BENCH_PICTURES");
    if (!dir || !g_Render || !g_Render->BeginCapture(800, 600)) return;
    scene.play(game);
    Pass(game);
    const std::string file = std::string(dir) + "/" + scene.name + ".bmp";
    if (!g_Render->SaveCapture(file.c_str())) std::fprintf(stderr, "could not write %s\n", file.c_str());
    g_Render->EndCapture();
}

// ---- The explosion scenes

// A level of `count` (a multiple of 100) "tnt" blocks of one cell, each a set of its own, side by
// side in a 10 x 10 square, count / 100 blocks high, on the usual 20 x 20 table. Along the right
// edge, out of every blast's reach, stands a glued wall of rubber, so the level is not cleared
// when the last "tnt" block goes (that would empty the world in the middle of the run).
YLevelData TntLevel(int count) {
    YLevelData level;
    level.bonusCounts.assign(BONUS_KIND_COUNT, 0);
    auto set = [&level]() -> YLevelSet& {
        level.sets.emplace_back();
        level.sets.back().matrix.m[14] = 0.02f;
        return level.sets.back();
    };
    auto block = [](YLevelSet& into, int x, int y, int z, const char* material) {
        YLevelBlock b;
        b.x = x;
        b.y = y;
        b.z = z;
        b.material = material;
        into.blocks.push_back(b);
    };
    for (int z = 0; z < count / 100; ++z)
        for (int y = -4; y <= 5; ++y)
            for (int x = -9; x <= 0; ++x) block(set(), x, y, z, "tnt");
    YLevelSet& wall = set();
    for (int y = -3; y <= 8; ++y)
        for (int x = 8; x <= 9; ++x) block(wall, x, y, 0, "rubber");
    for (YLevelBlock& b : wall.blocks) b.glue = 1000.0f;
    return level;
}

// Writes the level into the scratch folder (the working folder) and loads it in place of the one
// in play; the blocks settle for a second.
void LoadTntLevel(GameFramework& game, int count) {
    const std::string path = "bench_tnt" + std::to_string(count) + ".lev";
    std::string error;
    if (!WriteLevelFile(path.c_str(), TntLevel(count), error) || !LoadLevel(path)) {
        std::fprintf(stderr, "the %d tnt level did not load: %s\n", count, error.c_str());
        return;
    }
    for (int i = 0; i < 60; ++i) Pass(game);
}

// The first level in play (nothing to do when it is in play already).
void ReachPlayOnce(GameFramework& game) {
    if (game.GetState() != GS_PLAY) ReachPlay(game);
}

// Sets off every "tnt" block at once: each is hit as a ball would hit it, which arms its fuse.
void SetOffAll() {
    std::vector<YBlock*> blocks = g_BlockWorld.blocks; // hitting may change the list
    for (YBlock* block : blocks) {
        if (auto* single = dynamic_cast<YBlockSingle*>(block)) {
            if (YBlockSpecial* special = SpecialOf(single)) special->Hit(nullptr, single);
        } else if (auto* set = dynamic_cast<YBlockSet*>(block)) {
            if (set->items.size() == 1 && set->items.front()->special)
                set->items.front()->special->Hit(nullptr, set, set->items.front());
        }
    }
}

void StartTnt100(GameFramework& game) {
    LoadTntLevel(game, 100);
    SetOffAll();
}

void StartTnt400(GameFramework& game) {
    LoadTntLevel(game, 400);
    SetOffAll();
}

constexpr Scene kScenes[] = {{"menu", ReachMenu, PlayNothing},
                             {"play", ReachPlay, PlayAlong},
                             {"tnt100", ReachPlayOnce, PlayNothing, StartTnt100},
                             {"tnt400", ReachPlayOnce, PlayNothing, StartTnt400}};

// The game, made once per process and kept for every run of every scene (a window and an OpenGL
// context made and dropped again and again would measure the driver's start-up).
class Game {
public:
    static Game& Get() {
        static Game game;
        return game;
    }
    GameFramework* Framework() { return game_.get(); }
    const std::string& Error() const { return error_; }
    void Reach(const Scene& scene) {
        if (current_ == &scene) return;
        scene.reach(*game_);
        for (int i = 0; i < kWarmUpFrames; ++i) {
            scene.play(*game_);
            Pass(*game_);
        }
        current_ = &scene;
    }
    void Close() {
        game_.reset();
        PhysicsShutdown();
        plat::SetTimeSource(nullptr);
        scratch_.Leave();
    }

private:
    Game() {
        if (scratch_.Root().empty()) {
            error_ = "no scratch folder";
            return;
        }
        if (!benchrender::DisplayHasUsableMode()) {
            error_ = "no OpenGL display with a usable mode (run under xvfb-run)";
            return;
        }
        scratch_.Enter();
        LogReopen("log.txt");
        plat::SetTimeSource(FakeNow);
        PhysicsInit(); // as the program does before its framework: the scene's level has bodies
        game_ = std::make_unique<GameFramework>("korvelin");
        if (!game_->Window().NativeHandle()) {
            error_ = "no game window (run under xvfb-run)";
            game_.reset();
            return;
        }
        // Skip the slide show as a player does, and wait for the scene.
        game_->KeyDown(plat::VK_ESCAPE);
        for (int i = 0; i < kSplashFrameLimit && game_->GetState() == GS_SPLASH; ++i) Pass(*game_);
        if (game_->GetState() != GS_MAIN_MENU) {
            error_ = "the slide show did not end";
            game_.reset();
        }
    }

    benchgame::ScratchGame scratch_{benchgame::WINDOWED_CONFIG};
    std::unique_ptr<GameFramework> game_;
    std::string error_;
    const Scene* current_ = nullptr;
};

void BM_GameFrame(benchmark::State& state, const Scene* scene) {
    Game& game = Game::Get();
    if (!game.Framework()) {
        state.SkipWithError(game.Error().c_str());
        return;
    }
    game.Reach(*scene);
    GameFramework& framework = *game.Framework();
    if (scene->start) scene->start(framework);
    const int sceneState = framework.GetState();
    int held = 0;
    double longest = 0.0;
    const char* slowEnv = std::getenv("KORVELIN_BENCH_SLOW_MS");
    const double slowMs = slowEnv ? std::atof(slowEnv) : 0.0;
    int frame = 0;
    benchalloc::Start();
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        scene->play(framework);
        Pass(framework);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - begin;
        longest = std::max(longest, took.count());
        if (slowMs > 0 && took.count() > slowMs)
            std::fprintf(stderr, "%s frame %d: %.1f ms\n", scene->name, frame, took.count());
        ++frame;
        held += framework.GetState() == sceneState;
    }
    const benchalloc::Counts counts = benchalloc::Stop();
    const double frames = static_cast<double>(state.iterations());
    state.counters["in_scene"] = held / frames;
    state.counters["allocs"] = static_cast<double>(counts.all) / frames;
    state.counters["main_allocs"] = static_cast<double>(counts.main) / frames;
    state.counters["own_allocs"] = static_cast<double>(counts.own) / frames;
    state.counters["max_ms"] = longest;
    benchalloc::PrintStacks();
    SavePicture(*scene, framework);
}

} // namespace

int main(int argc, char** argv) {
    if (const char* n = std::getenv("KORVELIN_BENCH_ALLOC_STACKS"))
        benchalloc::KeepStacks(std::atoi(n), std::getenv("KORVELIN_BENCH_OWN_STACKS") != nullptr);
    const char* framesText = std::getenv("KORVELIN_BENCH_FRAMES");
    const int frames = framesText && std::atoi(framesText) > 0 ? std::atoi(framesText) : 500;
    for (const Scene& scene : kScenes)
        benchmark::RegisterBenchmark((std::string("BM_GameFrame/") + scene.name).c_str(), BM_GameFrame, &scene)
            ->MeasureProcessCPUTime()
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(frames);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Game::Get().Close();
    return 0;
}
