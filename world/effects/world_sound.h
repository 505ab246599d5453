#pragma once
// The game world's way to play a sound effect at a place: balls, bombs, grenades and block
// specials play through here, so that a test can hear which effects a piece of play asked for.
#include "math/vector.h"

class YSoundFx;

// Plays `sound` at position with that volume (negative: full) and velocity (null: none).
void PlayWorldSound(YSoundFx* sound, const YVector* position, float volume = -1.0f, const YVector* velocity = nullptr);

// Tests: called with every effect played through PlayWorldSound (null: none).
extern void (*g_WorldSoundObserver)(const YSoundFx* sound, const YVector* position);
