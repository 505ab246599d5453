// Game-event sounds: bonus catches (bright and rising for good ones, sliding down for bad ones),
// the hero's footsteps, a lost ball and the end of the game. The musical ones use a few notes of
// one key so they sit well over the music.
#include <cmath>

#include "tools/dsp/oscillators.h"
#include "tools/sfxgen/recipes.h"

namespace sfx {

using dsp::MidiToHz;

void Bonus(Sound& s, dsp::Rng&, int) {
    AddBell(s, 0.0, MidiToHz(88), 0.8, Env{0.002, 0.0, 0.3}, 2.0, 1.1);  // E6
    AddBell(s, 0.07, MidiToHz(95), 0.7, Env{0.002, 0.0, 0.3}, 2.0, 1.1); // B6
}

void BonusBall(Sound& s, dsp::Rng&, int) {
    const int notes[] = {72, 76, 79, 84}; // C5 E5 G5 C6
    for (int k = 0; k < 4; ++k) {
        const bool last = k == 3;
        const double f = MidiToHz(notes[k]);
        AddGlide(s, 0.055 * k, f, f, 0.0, 0.35, Env{0.003, last ? 0.05 : 0.03, last ? 0.15 : 0.06}, Wave::Square,
                 last ? 0.006 : 0.0);
    }
}

void BonusWeapon(Sound& s, dsp::Rng& rng, int) {
    AddNoise(s, rng, 0.0, Env{0.0003, 0.0, 0.005}, 0.8, Filter::Band, 3000.0, 1.5);
    AddThump(s, 0.0, 150.0, 100.0, 0.5, 0.04);
    AddNoise(s, rng, 0.09, Env{0.0003, 0.0, 0.007}, 0.9, Filter::Band, 2200.0, 1.5);
    AddStrike(s, rng, 0.09, 1200.0, {{1.0, 1.0, 0.15}, {2.76, 0.4, 0.08}}, 0.5, 0.01);
}

void BonusLife(Sound& s, dsp::Rng& rng, int) {
    const int notes[] = {79, 84, 88, 91}; // G5 C6 E6 G6
    for (int k = 0; k < 4; ++k) {
        const bool last = k == 3;
        const double f = MidiToHz(notes[k]);
        AddGlide(s, 0.08 * k, f, f, 0.0, 0.3, Env{0.004, last ? 0.3 : 0.05, last ? 0.2 : 0.08}, Wave::Triangle,
                 last ? 0.008 : 0.0);
        AddBell(s, 0.08 * k, f, 0.18, Env{0.002, 0.0, last ? 0.3 : 0.1}, 3.0, 0.8);
    }
    for (int k = 0; k < 8; ++k) {
        const double t = rng.Range(0.25, 0.7);
        const double f = rng.Range(3000.0, 6000.0);
        AddBell(s, t, f, 0.06, Env{0.001, 0.0, 0.05}, 2.0, 0.5);
    }
}

void BonusBad(Sound& s, dsp::Rng&, int) {
    AddGlide(s, 0.0, 440.0, 220.0, 0.5, 0.4, Env{0.01, 0.2, 0.15}, Wave::Saw, 0.01, 7.0);
    AddGlide(s, 0.0, 311.0, 156.0, 0.5, 0.35, Env{0.01, 0.2, 0.15}, Wave::Saw, 0.01, 6.0);
    FilterAll(s, Filter::Low, 1500.0, 0.7);
}

// Footsteps: a soft heel, a toe that scuffs, and a step on grit; heard one after the other, the
// walk does not tick like a clock.
void HeroStep(Sound& s, dsp::Rng& rng, int variant) {
    switch (variant % 3) {
        case 0:
            AddNoise(s, rng, 0.0, Env{0.002, 0.005, 0.025}, 0.7, Filter::Low, rng.Range(500.0, 800.0), 0.8);
            AddThump(s, 0.0, 110.0, 70.0, 0.5, 0.03);
            AddNoise(s, rng, 0.003, Env{0.001, 0.0, 0.01}, 0.15, Filter::Band, 2000.0, 1.0);
            break;
        case 1:
            AddNoise(s, rng, 0.0, Env{0.006, 0.02, 0.04}, 0.6, Filter::Band, rng.Range(1800.0, 2400.0), 0.7);
            AddThump(s, 0.0, 150.0, 100.0, 0.25, 0.015);
            break;
        default:
            AddThump(s, 0.0, 90.0, 60.0, 0.4, 0.025);
            AddCrackle(s, rng, 0.0, 0.06, 250.0, 0.35, 3500.0, 1.2);
            break;
    }
}

void BonusDeath(Sound& s, dsp::Rng&, int) {
    // G4, E4, then C4 sagging a semitone: the ball is gone.
    AddGlide(s, 0.0, MidiToHz(67), MidiToHz(67), 0.0, 0.4, Env{0.005, 0.17, 0.03}, Wave::Square);
    AddGlide(s, 0.24, MidiToHz(64), MidiToHz(64), 0.0, 0.4, Env{0.005, 0.17, 0.03}, Wave::Square);
    AddGlide(s, 0.48, MidiToHz(60), MidiToHz(59), 0.45, 0.4, Env{0.005, 0.3, 0.12}, Wave::Square, 0.012, 5.0);
    FilterAll(s, Filter::Low, 2000.0, 0.7);
}

void GameOver(Sound& s, dsp::Rng&, int) {
    // A falling phrase in C minor over a soft C minor chord.
    const int notes[] = {75, 74, 72, 67, 60}; // Eb5 D5 C5 G4 C4
    const double times[] = {0.0, 0.3, 0.6, 0.9, 1.3};
    for (int k = 0; k < 5; ++k) {
        const bool last = k == 4;
        AddBell(s, times[k], MidiToHz(notes[k]), 0.5, Env{0.004, last ? 0.4 : 0.1, last ? 0.35 : 0.2}, 1.0, 1.2);
    }
    for (int note : {48, 51, 55})
        AddGlide(s, 0.0, MidiToHz(note), MidiToHz(note), 0.0, 0.16, Env{0.3, 1.2, 0.4}, Wave::Triangle);
}

} // namespace sfx
