#pragma once
// A synthesised drum kit: a few slightly different takes of each drum, rendered once per song.
#include <vector>

#include "tools/dsp/rng.h"
#include "tools/musicgen/score.h"
#include "tools/musicgen/track.h"

namespace music {

class DrumKit {
public:
    explicit DrumKit(uint64_t seed);
    // Adds one hit at `frame`; the take is chosen by `rng`.
    void Play(StereoTrack& out, int64_t frame, Drum drum, double velocity, dsp::Rng& rng) const;

private:
    static constexpr int kTakes = 4;
    std::vector<float> takes_[7][kTakes];
};

} // namespace music
