// Memory and the start of a level: the real game (GameFramework, the OpenGL device, the sound
// system, the shipped data) in a 800 x 600 window, each case in a child process of its own, so
// that its memory figures are its own. The clock is replaced, so every pass of the message loop is
// a frame of 16 ms and nothing sleeps. Run it under an X server (xvfb-run) with a sound backend
// that needs no device (ALSOFT_DRIVERS=null); see bench/README.md for the command and the figures.
//
// A case: the slide show is skipped as a player does (Escape), 200 frames of the main menu, then
// "Easy game", Return on the level choice, and the frames until the first level is in play and
// 300 frames of play after it. Reported:
//   menu_rss_mb    resident memory after the menu's frames (VmRSS);
//   menu_peak_mb   the process's peak resident memory up to then (VmHWM);
//   start_max_ms   the longest frame (wall time) from Return on the level choice to the end;
//   start_at       that frame, counted from Return;
//   start_cpu_ms   the frame with the most process CPU time (every thread) in the same frames;
//   start_frames   frames from Return until the level is in play;
//   peak_rss_mb    the process's peak resident memory at the end, in play (VmHWM).
// Cases: "shipped" (the shipped levels) and "levels1000" (the levels folder filled up to 1,000
// level files with copies of the first level and its thumbnail).
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>

#include "core/log.h"
#include "platform/sys/clock.h"
#include "platform/window/win_messages.h"
#include "shell/game_framework.h"
#include "support/bench_render.h"
#include "support/scratch_game.h"
#include "world/physics/physics_world.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kFrameMs = 16;
constexpr int kMenuFrames = 200;
constexpr int kPlayFrames = 300;
constexpr int kFrameLimit = 2000;

std::atomic<uint32_t> g_now{1000};
uint32_t FakeNow() { return g_now.load(std::memory_order_relaxed); }

struct Case {
    const char* name;
    int levels; // level files in the folder; 0: the shipped ones as they are
};

constexpr Case kCases[] = {{"shipped", 0}, {"levels1000", 1000}};

// What a child reports; ok = 0 with the reason in `error` when the case could not run.
struct Result {
    int ok = 0;
    char error[96] = {};
    double menuRssMb = 0, menuPeakMb = 0, startMaxMs = 0, startAt = 0, startCpuMs = 0, startFrames = 0, peakRssMb = 0;
};

// A field of /proc/self/status in MB ("VmRSS", "VmHWM").
double StatusMb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.compare(0, key.size(), key) == 0) return std::atof(line.c_str() + key.size()) / 1024.0;
    return 0.0;
}

// The scratch folder's levels become a folder of their own: links to the shipped levels and
// thumbnails, and copies of the first one (links to it) up to `count` level files.
bool FillLevels(const fs::path& root, int count) {
    std::error_code ec;
    const fs::path shipped = fs::path(KORVELIN_GAME_DIR) / "levels";
    fs::remove(root / "levels", ec);
    fs::create_directories(root / "levels" / "thumb", ec);
    if (ec) return false;
    std::string first;
    int made = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(shipped, ec)) {
        if (e.path().extension() != ".lev") continue;
        const std::string name = e.path().filename().string();
        if (first.empty() || name < first) first = name;
        fs::create_symlink(e.path(), root / "levels" / name, ec);
        fs::create_symlink(shipped / "thumb" / (name + ".bmp"), root / "levels" / "thumb" / (name + ".bmp"), ec);
        ++made;
    }
    if (first.empty()) return false;
    for (int i = made; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "zz_copy%04d.lev", i);
        fs::create_symlink(shipped / first, root / "levels" / name, ec);
        fs::create_symlink(shipped / "thumb" / (first + ".bmp"),
                           root / "levels" / "thumb" / (std::string(name) + ".bmp"), ec);
    }
    return true;
}

double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// One frame; its wall time in ms (and its process CPU time in `cpuMs`).
double PassMs(GameFramework& game, double* cpuMs = nullptr) {
    g_now.fetch_add(kFrameMs, std::memory_order_relaxed);
    const double cpu0 = ProcessCpuMs();
    const auto t0 = std::chrono::steady_clock::now();
    game.PumpOnce();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    if (cpuMs) *cpuMs = ProcessCpuMs() - cpu0;
    return ms;
}

void Fail(Result& r, const char* why) { std::snprintf(r.error, sizeof r.error, "%s", why); }

// The case, in the child process.
Result RunCase(const Case& c) {
    Result r;
    benchgame::ScratchGame scratch(benchgame::WINDOWED_CONFIG);
    if (scratch.Root().empty()) return Fail(r, "no scratch folder"), r;
    if (c.levels > 0 && !FillLevels(scratch.Root(), c.levels)) return Fail(r, "levels not copied"), r;
    if (!benchrender::DisplayHasUsableMode())
        return Fail(r, "no OpenGL display with a usable mode (run under xvfb-run)"), r;
    scratch.Enter();
    LogReopen("log.txt");
    plat::SetTimeSource(FakeNow);
    PhysicsInit();
    auto game = std::make_unique<GameFramework>("korvelin");
    if (!game->Window().NativeHandle()) return Fail(r, "no game window (run under xvfb-run)"), r;
    game->KeyDown(plat::VK_ESCAPE);
    for (int i = 0; i < kFrameLimit && game->GetState() == GS_SPLASH; ++i) PassMs(*game);
    for (int i = 0; i < kMenuFrames; ++i) PassMs(*game);
    if (game->GetState() != GS_MAIN_MENU) return Fail(r, "the main menu did not come"), r;
    r.menuRssMb = StatusMb("VmRSS");
    r.menuPeakMb = StatusMb("VmHWM");

    // "Easy game", then Return on the level choice.
    game->MouseMove(400, 280);
    game->MouseDown(1, 400, 280);
    game->MouseUp(1, 400, 280);
    for (int i = 0; i < kFrameLimit && game->GetState() != GS_LEVEL_CHOICE; ++i) PassMs(*game);
    if (game->GetState() != GS_LEVEL_CHOICE) return Fail(r, "the level choice did not come"), r;
    for (int i = 0; i < 30; ++i) PassMs(*game);
    game->KeyDown(plat::VK_RETURN);
    game->KeyUp(plat::VK_RETURN);
    int frame = 0, inPlay = -1;
    for (; frame < kFrameLimit && (inPlay < 0 || frame < inPlay + kPlayFrames); ++frame) {
        double cpu = 0.0;
        const double ms = PassMs(*game, &cpu);
        r.startCpuMs = std::max(r.startCpuMs, cpu);
        if (ms > r.startMaxMs) {
            r.startMaxMs = ms;
            r.startAt = frame;
        }
        if (inPlay < 0 && game->GetState() == GS_PLAY) inPlay = frame;
    }
    if (inPlay < 0) return Fail(r, "the level did not start"), r;
    r.startFrames = inPlay;
    r.peakRssMb = StatusMb("VmHWM");
    r.ok = 1;
    game.reset();
    PhysicsShutdown();
    plat::SetTimeSource(nullptr);
    scratch.Leave();
    return r;
}

void BM_LevelStart(benchmark::State& state, const Case* c) {
    Result r;
    for (auto _ : state) {
        int fds[2];
        if (pipe(fds) != 0) {
            state.SkipWithError("no pipe");
            return;
        }
        const pid_t child = fork();
        if (child == 0) {
            close(fds[0]);
            const Result mine = RunCase(*c);
            const ssize_t written = write(fds[1], &mine, sizeof mine);
            _exit(written == static_cast<ssize_t>(sizeof mine) ? 0 : 1);
        }
        close(fds[1]);
        const ssize_t got = child > 0 ? read(fds[0], &r, sizeof r) : -1;
        close(fds[0]);
        if (child > 0) waitpid(child, nullptr, 0);
        if (got != static_cast<ssize_t>(sizeof r)) Fail(r, "the case's process ended without a result");
    }
    if (!r.ok) {
        state.SkipWithError(r.error);
        return;
    }
    state.counters["menu_rss_mb"] = r.menuRssMb;
    state.counters["menu_peak_mb"] = r.menuPeakMb;
    state.counters["start_max_ms"] = r.startMaxMs;
    state.counters["start_at"] = r.startAt;
    state.counters["start_cpu_ms"] = r.startCpuMs;
    state.counters["start_frames"] = r.startFrames;
    state.counters["peak_rss_mb"] = r.peakRssMb;
}

} // namespace

int main(int argc, char** argv) {
    for (const Case& c : kCases)
        benchmark::RegisterBenchmark((std::string("BM_LevelStart/") + c.name).c_str(), BM_LevelStart, &c)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
