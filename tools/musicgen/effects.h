#pragma once
// Room reverb and a ping-pong echo, run "around the loop": every stateful process here runs
// over the track twice and keeps the second pass, so the state at the loop's start is what the
// loop's end left behind and the wrap is seamless.
#include "tools/musicgen/track.h"

namespace music {

// A Freeverb-style room (eight damped combs and four all-passes per side) on the sum of `send`;
// the result is added to `out` at `level`.
void AddReverb(const StereoTrack& send, StereoTrack& out, double roomSize, double damping, double level);

// A ping-pong echo of `send`, `delay` seconds per bounce, added to `out` at `level`.
void AddEcho(const StereoTrack& send, StereoTrack& out, double delay, double feedback, double level);

// Removes rumble and DC from the track (second-order high-pass at `freq`).
void HighPassLoop(StereoTrack& t, double freq);

} // namespace music
