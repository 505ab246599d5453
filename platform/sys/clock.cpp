#include "platform/sys/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace plat {

namespace {

std::atomic<TimeSource> g_timeSource{nullptr};

uint32_t SteadyMs() {
    // Counted from the first use, so the value wraps about 49.7 days into a run, never sooner.
    static const auto start = std::chrono::steady_clock::now();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

} // namespace

uint32_t TimeMs() {
    if (TimeSource source = g_timeSource.load(std::memory_order_acquire)) return source();
    return SteadyMs();
}

void SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void SetTimeSource(TimeSource source) { g_timeSource.store(source, std::memory_order_release); }

} // namespace plat
