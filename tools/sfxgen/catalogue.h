#pragma once
// Every sound effect the generator writes: its file stem, recipe, length, loudness and number of
// variants. An effect with one variant is written as "<stem>.wav", one with several as
// "<stem>1.wav", "<stem>2.wav", ... (data\sound_fx.yml lists the same files).
#include <cstddef>

#include "tools/sfxgen/recipes.h"

namespace sfx {

struct Effect {
    const char* stem;
    Recipe recipe;
    double seconds;
    double loudness; // dBFS: the active RMS (dsp::ActiveRms) the effect is levelled to
    int variants;
};

// Loudness by kind of effect: frequent hits a little below breaks and events, so that a burst of
// them does not dominate; explosions loudest; footsteps far below everything else.
constexpr double kLoudHit = -18.0;
constexpr double kLoudBreak = -15.0;
constexpr double kLoudEvent = -15.0;
constexpr double kLoudBlast = -12.0;
constexpr double kLoudStep = -22.0;
// No effect peaks above this, whatever its loudness asks for.
constexpr double kPeakCeiling = 0.95;

const Effect* Catalogue(std::size_t& count);

} // namespace sfx
