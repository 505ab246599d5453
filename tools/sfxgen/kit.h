#pragma once
// Building blocks of the sound-effect recipes: a mono float sound at a fixed rate, and additive
// layers (struck partials, filtered noise, pitch glides, crackle, tones) that recipes stack.
#include <cstddef>
#include <vector>

#include "tools/dsp/rng.h"

namespace sfx {

constexpr double kRate = 44100.0;

struct Sound {
    explicit Sound(double seconds);
    std::size_t Length() const { return data.size(); }
    double Seconds() const { return static_cast<double>(data.size()) / kRate; }
    std::size_t Index(double t) const; // sample index of time t, clamped to the sound
    void Add(std::size_t i, double v) {
        if (i < data.size()) data[i] += static_cast<float>(v);
    }

    std::vector<float> data;
};

// Amplitude shape: a smooth (sine-squared) rise over `attack` seconds, flat for `hold` seconds,
// then an exponential decay with time constant `decay` seconds.
struct Env {
    double attack = 0.002;
    double hold = 0.0;
    double decay = 0.1;

    double At(double t) const;
    // Time after which the shape stays below 1e-4.
    double Span() const { return attack + hold + decay * 9.3; }
};

enum class Filter { None, Low, High, Band };
enum class Wave { Sine, Triangle, Square, Saw };

// One partial of a struck body: frequency ratio to the fundamental, amplitude, decay constant.
struct Mode {
    double ratio;
    double amp;
    double decay;
};

// A decaying sine.
void AddPartial(Sound& s, double start, double freq, double amp, const Env& env, double phase = 0.0);

// A struck body: its modes at f0 × ratio, each frequency and amplitude varied by up to
// ±`jitter` (a fraction) from `rng`.
void AddStrike(Sound& s, dsp::Rng& rng, double start, double f0, const std::vector<Mode>& modes, double amp,
               double jitter, double attack = 0.0008);

// A tone whose frequency glides exponentially from f0 to f1 over `glide` seconds, then stays.
// Square and saw tones are band-limited and softened by a low-pass at 6 × the frequency.
void AddGlide(Sound& s, double start, double f0, double f1, double glide, double amp, const Env& env,
              Wave wave = Wave::Sine, double vibratoDepth = 0.0, double vibratoRate = 5.5);

// A low thump: a sine dropping from f0 to f1 within the first 60 ms.
void AddThump(Sound& s, double start, double f0, double f1, double amp, double decay);

// White noise through a filter, shaped by `env`.
void AddNoise(Sound& s, dsp::Rng& rng, double start, const Env& env, double amp, Filter filter, double freq, double q);

// As AddNoise with the filter frequency gliding exponentially from f0 to f1 over `sweep` seconds.
void AddNoiseSweep(Sound& s, dsp::Rng& rng, double start, const Env& env, double amp, Filter filter, double f0,
                   double f1, double q, double sweep);

// Short filtered clicks at random times within [start, start + length): `rate` per second at the
// start, thinning out linearly to none at the end.
void AddCrackle(Sound& s, dsp::Rng& rng, double start, double length, double rate, double amp, double freq, double q);

// Granular rubble: `count` tiny noise grains whose density and level fall off over `length`.
void AddGrains(Sound& s, dsp::Rng& rng, double start, double length, int count, double amp, double fLow, double fHigh,
               double grainDecayLow, double grainDecayHigh);

// An electric buzz: a saw whose pitch jitters every few milliseconds around `freq`, through a
// band-pass at `band`.
void AddBuzz(Sound& s, dsp::Rng& rng, double start, double freq, double amp, const Env& env, double band);

// A two-operator FM bell or electric-piano tone: carrier `freq`, modulator at freq × ratio with
// an index that decays with the note.
void AddBell(Sound& s, double start, double freq, double amp, const Env& env, double ratio, double index);

// Whole-sound processing.
void FilterAll(Sound& s, Filter filter, double freq, double q);
void Echo(Sound& s, double delay, double feedback, double mix);
void Saturate(Sound& s, double drive);

} // namespace sfx
