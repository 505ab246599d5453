#pragma once
// Every sound effect the generator writes: its file stem, recipe, length, peak level and number
// of variants. An effect with one variant is written as "<stem>.wav", one with several as
// "<stem>1.wav", "<stem>2.wav", ... (data\sound_fx.yml lists the same files).
#include <cstddef>

#include "tools/sfxgen/recipes.h"

namespace sfx {

struct Effect {
    const char* stem;
    Recipe recipe;
    double seconds;
    double level; // peak after normalisation, 0..1
    int variants;
};

const Effect* Catalogue(std::size_t& count);

} // namespace sfx
