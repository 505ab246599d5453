#pragma once
// Per-frame emission at a rate (particles per second, trail pieces, sparks): time accumulates,
// the whole number of items that accumulated time holds at the rate is emitted, and that many
// periods are taken off, so the remainder carries over to the next frame and the long-run count
// matches the rate whatever the frame times.
#include <cmath>

struct YEmissionRate {
    float accumulator = 0.0f; // seconds not yet turned into items

    // Adds dt and returns how many items are due at `rate` per second. A rate of 0 or less (or
    // one that is no number) emits nothing and keeps nothing, so that no burst waits for the
    // rate to come back.
    int Take(float dt, float rate) {
        if (!(rate > 0.0f)) {
            accumulator = 0.0f;
            return 0;
        }
        accumulator += dt;
        // The cap only keeps the conversion to int defined for absurd time steps.
        const float due = std::fmin(std::floor(accumulator * rate), 1.0e6f);
        if (!(due > 0.0f)) return 0;
        accumulator -= due / rate;
        return static_cast<int>(due);
    }
};
