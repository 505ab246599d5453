#pragma once
// The millisecond clock and sleeping.
#include <cstdint>

namespace plat {

// Milliseconds since an arbitrary start; wraps like a 32-bit counter.
uint32_t TimeMs();
void SleepMs(uint32_t ms);

// Tests may replace the clock; pass nullptr to go back to the real one.
using TimeSource = uint32_t (*)();
void SetTimeSource(TimeSource source);

} // namespace plat
