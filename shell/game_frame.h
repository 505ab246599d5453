#pragma once
// The game frame's clock: a frame works only once at least a hundredth of a second has gathered,
// and its time step is capped at a twentieth, so a stall advances the world by at most 50 ms.
#include <cstdint>

class YGameFrameClock {
public:
    // The time step of a frame at `nowMs` (a millisecond clock that may wrap), or 0 when too
    // little time has gathered for a frame to work.
    float Step(uint32_t nowMs);

    uint32_t previousMs = 0;
    float accumulated = 0.0f;
    uint32_t lastWorkMs = 0;    // the clock at the last frame that worked
    uint32_t workElapsedMs = 0; // milliseconds between the last two frames that worked
};
