// Music under load: a music stream plays a track of the game folder on the real sound device
// (OpenAL Soft; with ALSOFT_DRIVERS unset, its null driver, which mixes in real time like a sound
// card) while busy threads keep every core loaded, and the run counts how often the stream's queue
// ran dry (each time is a gap in the music). Arguments: the number of busy threads (0, the number
// of cores, twice that). KORVELIN_STRESS_SECONDS sets the play time of each run (default 25),
// KORVELIN_STRESS_TRACK the Ogg file (default: the first play-list track of the game folder).
//   build/bench_music_underruns --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/openal/openal_backend.h"
#include "platform/sys/files.h"
#include "platform/sys/threads.h"
#include "sound/sound_device.h"
#include "sound/sound_stream.h"

namespace {

// OpenAL reads its settings when the first device opens; this runs before main.
const bool g_nullDriver = [] {
    setenv("ALSOFT_DRIVERS", "null", 0);
    return true;
}();

int PlaySeconds() {
    const char* text = std::getenv("KORVELIN_STRESS_SECONDS");
    const int seconds = text != nullptr ? std::atoi(text) : 25;
    return std::max(seconds, 1);
}

// The first play-list track: the game folder's music sorted by name, past the menu and game-over
// tracks.
std::string TrackPath() {
    if (const char* path = std::getenv("KORVELIN_STRESS_TRACK")) return path;
    const std::string folder = std::string(KORVELIN_GAME_DIR) + "/music";
    std::vector<std::string> names;
    for (const plat::DirEntry& e : plat::ListDirectory(folder + "/*.ogg"))
        if (!e.isDir) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    if (names.empty()) return {};
    return folder + "/" + names[std::min<std::size_t>(2, names.size() - 1)];
}

// Spins until stopped, with no system calls, so the scheduler has to take the core away.
void Busy(const std::atomic<bool>& stop) {
    volatile uint64_t x = 88172645463325252ull;
    while (!stop.load(std::memory_order_relaxed))
        for (int i = 0; i < 100000; ++i) {
            uint64_t v = x;
            v ^= v << 13;
            v ^= v >> 7;
            v ^= v << 17;
            x = v;
        }
}

void BM_MusicUnderruns(benchmark::State& state) {
    const std::string track = TrackPath();
    if (track.empty()) {
        state.SkipWithError("no music track (build the game folder or set KORVELIN_STRESS_TRACK)");
        return;
    }
    InitDirectSound(nullptr);
    if (!SoundDeviceReady()) {
        state.SkipWithError("no sound device");
        return;
    }
    SetSoundAppActive(true);
    SetMusicVolume(1.0f);
    const int seconds = PlaySeconds();
    uint64_t underruns = 0;
    for (auto _ : state) {
        auto stream = std::make_unique<YSoundStream>(65536);
        stream->Open(track.c_str());
        std::vector<plat::YThread> busy(static_cast<std::size_t>(state.range(0)));
        for (plat::YThread& t : busy) t.Start(Busy);
        const uint64_t before = plat::OpenAlStreamUnderruns();
        stream->Play(true);
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        underruns += plat::OpenAlStreamUnderruns() - before;
        stream->Stop();
        for (plat::YThread& t : busy) t.Stop();
    }
    ReleaseDirectSound();
    state.counters["underruns"] = static_cast<double>(underruns);
    state.counters["seconds"] = seconds;
}

void BusyThreadCounts(benchmark::internal::Benchmark* b) {
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    b->Arg(0)->Arg(cores)->Arg(2 * cores);
}

BENCHMARK(BM_MusicUnderruns)->Apply(BusyThreadCounts)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace
