#pragma once
// A player for headless runs: each frame it looks at the world and moves the mouse and presses the
// button as a player would, through the same input a recorded script gives (a place along the
// track, a click); it never moves a ball or the hero itself.
//
// What it does, in order of need:
//   - holding a ball (or a bomb, a grenade): walks under a block still standing and serves;
//   - a ball coming close: walks to where the ball will cross the racket's line, standing a little
//     to the side so that the kick sends the ball towards a block still standing (the kick goes
//     out from the racket's centre through the point of contact);
//   - no ball close: walks under the falling bonus that lands first;
//   - otherwise: goes to meet the ball coming next, or follows the nearest ball.
// Its own choices (which block to aim at, small variations of the aim) come from its own generator,
// seeded at construction, so a run with the same seed plays the same game.
#include <cstdint>

#include "math/vector.h"
#include "world/play/headless_run.h"

class YAutopilot final : public YPlayInput {
public:
    explicit YAutopilot(uint32_t seed);

    YPlayFrame Frame(int frame, const YRacket& racket) override;

private:
    uint32_t Next();
    // A uniform number in [lo, hi).
    float Uniform(float lo, float hi);
    // A place to aim at: the centre of a block or set cell still to break, chosen at random; false
    // when none is left.
    bool PickAim(YVector* out);
    // The mouse's place for the hero's centre at `x`; NaN when the hero walks there already.
    static float Steer(const YRacket& racket, float x);

    uint32_t state_;
    int serveWait_ = -1;                // frames left before a held object is let go; -1: not holding
    const void* approaching_ = nullptr; // the ball whose approach the aim was chosen for
    YVector aim_{0.0f, 0.0f, 0.0f};     // the place the kick should send the ball to
    float jitter_ = 0.0f;               // a small random turn of the kick, new for every approach
    int lastHits_ = 0;                  // the racket's hits without a break, last frame
};
