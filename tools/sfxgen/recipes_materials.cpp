// Block material sounds. A hit is a struck body (a few decaying partials whose ratios and decay
// times say what it is made of) with a short contact click; a break is a sharp crack, a low
// body, and debris scattered over the following half second.
#include <cmath>

#include "tools/sfxgen/recipes.h"

namespace sfx {

namespace {

const std::vector<Mode> kCeramic = {{1.0, 1.0, 0.08}, {2.21, 0.5, 0.05}, {3.62, 0.3, 0.03}, {5.31, 0.12, 0.02}};
const std::vector<Mode> kGlass = {
    {1.0, 1.0, 0.5}, {2.32, 0.55, 0.32}, {4.25, 0.35, 0.2}, {6.63, 0.2, 0.13}, {9.38, 0.1, 0.08}};
const std::vector<Mode> kWood = {{1.0, 1.0, 0.06}, {2.57, 0.45, 0.035}, {4.3, 0.25, 0.02}, {6.1, 0.1, 0.012}};
const std::vector<Mode> kStone = {{1.0, 0.8, 0.05}, {1.73, 0.5, 0.035}, {2.91, 0.3, 0.025}, {4.2, 0.15, 0.015}};
const std::vector<Mode> kMetal = {
    {1.0, 1.0, 0.75}, {1.004, 0.4, 0.7}, {2.76, 0.5, 0.45}, {5.40, 0.28, 0.28}, {8.93, 0.14, 0.18}};
const std::vector<Mode> kIce = {{1.0, 1.0, 0.2}, {2.9, 0.5, 0.11}, {5.8, 0.28, 0.065}, {8.6, 0.14, 0.04}};
const std::vector<Mode> kShard = {{1.0, 1.0, 1.0}, {2.1, 0.35, 0.6}, {3.4, 0.15, 0.4}};

// `modes` with every decay scaled by `k`.
std::vector<Mode> Scaled(const std::vector<Mode>& modes, double k) {
    std::vector<Mode> out = modes;
    for (Mode& m : out) m.decay *= k;
    return out;
}

// Small pieces hitting each other: `count` strikes at random times, falling off over `length`.
void Debris(Sound& s, dsp::Rng& rng, double start, double length, int count, const std::vector<Mode>& modes,
            double fLow, double fHigh, double amp, double decayLow, double decayHigh) {
    for (int k = 0; k < count; ++k) {
        const double u = rng.Uniform();
        const double t = start + length * std::pow(u, 1.6);
        const double level = amp * rng.Range(0.35, 1.0) * (1.0 - 0.6 * u);
        const double f = rng.Range(fLow, fHigh);
        const double decayScale = rng.Range(decayLow, decayHigh);
        AddStrike(s, rng, t, f, Scaled(modes, decayScale), level, 0.05);
    }
}

} // namespace

void DefStroke(Sound& s, dsp::Rng& rng, int) {
    AddStrike(s, rng, 0.0, rng.Range(330.0, 430.0), kCeramic, 0.8, 0.04);
    AddNoise(s, rng, 0.0, Env{0.0004, 0.0, 0.006}, 0.45, Filter::Band, 2500.0, 1.0);
    AddThump(s, 0.0, 160.0, 120.0, 0.35, 0.03);
}

void DefDestroy(Sound& s, dsp::Rng& rng, int) {
    AddNoise(s, rng, 0.0, Env{0.0005, 0.004, 0.025}, 0.9, Filter::Band, 1800.0, 0.8);
    AddThump(s, 0.0, 130.0, 60.0, 0.7, 0.09);
    AddGrains(s, rng, 0.01, 0.75, 70, 0.35, 600.0, 3000.0, 0.004, 0.014);
    Debris(s, rng, 0.03, 0.5, 6, kCeramic, 500.0, 900.0, 0.3, 0.4, 0.8);
    AddNoise(s, rng, 0.0, Env{0.01, 0.05, 0.2}, 0.25, Filter::Low, 400.0, 0.7);
}

void GlassStroke(Sound& s, dsp::Rng& rng, int) {
    AddStrike(s, rng, 0.0, rng.Range(1900.0, 2300.0), kGlass, 0.8, 0.02);
    AddNoise(s, rng, 0.0, Env{0.0005, 0.0, 0.004}, 0.3, Filter::High, 3000.0, 0.7);
}

void GlassDestroy(Sound& s, dsp::Rng& rng, int) {
    AddNoise(s, rng, 0.0, Env{0.0008, 0.005, 0.03}, 0.8, Filter::High, 2500.0, 0.7);
    AddThump(s, 0.0, 180.0, 90.0, 0.3, 0.05);
    Debris(s, rng, 0.005, 0.75, 45, kShard, 2500.0, 6000.0, 0.45, 0.03, 0.14);
    AddNoise(s, rng, 0.01, Env{0.005, 0.05, 0.2}, 0.2, Filter::Band, 6000.0, 1.0);
}

void WoodStroke(Sound& s, dsp::Rng& rng, int) {
    AddStrike(s, rng, 0.0, rng.Range(420.0, 560.0), kWood, 0.9, 0.04);
    AddNoise(s, rng, 0.0, Env{0.0004, 0.0, 0.006}, 0.5, Filter::Band, 1800.0, 1.2);
    AddThump(s, 0.0, 200.0, 160.0, 0.3, 0.04);
}

void WoodDestroy(Sound& s, dsp::Rng& rng, int) {
    AddNoise(s, rng, 0.0, Env{0.0005, 0.004, 0.02}, 1.0, Filter::Band, 2200.0, 0.8);
    AddNoise(s, rng, 0.03, Env{0.0005, 0.003, 0.015}, 0.6, Filter::Band, 1600.0, 0.8);
    AddStrike(s, rng, 0.0, 140.0, {{1.0, 1.0, 0.12}, {2.4, 0.5, 0.06}, {3.9, 0.25, 0.04}}, 0.7, 0.03);
    Debris(s, rng, 0.04, 0.6, 14, kWood, 600.0, 1400.0, 0.35, 0.5, 1.0);
    AddNoiseSweep(s, rng, 0.01, Env{0.01, 0.05, 0.12}, 0.2, Filter::Band, 1200.0, 500.0, 2.0, 0.3);
}

void StoneStroke(Sound& s, dsp::Rng& rng, int) {
    AddNoise(s, rng, 0.0, Env{0.0005, 0.0, 0.025}, 0.9, Filter::Low, 900.0, 0.8);
    AddStrike(s, rng, 0.0, rng.Range(230.0, 300.0), kStone, 0.8, 0.04);
    AddNoise(s, rng, 0.0, Env{0.0005, 0.0, 0.012}, 0.25, Filter::Band, 3000.0, 1.0);
}

void StoneDestroy(Sound& s, dsp::Rng& rng, int) {
    AddThump(s, 0.0, 110.0, 50.0, 0.8, 0.12);
    AddNoise(s, rng, 0.0, Env{0.001, 0.01, 0.06}, 0.8, Filter::Low, 1500.0, 0.7);
    AddGrains(s, rng, 0.01, 0.9, 120, 0.4, 800.0, 3500.0, 0.004, 0.015);
    AddNoise(s, rng, 0.0, Env{0.01, 0.1, 0.3}, 0.35, Filter::Low, 300.0, 0.7);
    Debris(s, rng, 0.05, 0.6, 5, kStone, 250.0, 450.0, 0.35, 0.6, 1.0);
}

void MetalStroke(Sound& s, dsp::Rng& rng, int) {
    AddStrike(s, rng, 0.0, rng.Range(560.0, 700.0), kMetal, 0.8, 0.015);
    AddNoise(s, rng, 0.0, Env{0.0003, 0.0, 0.003}, 0.4, Filter::High, 4000.0, 0.7);
}

void MetalDestroy(Sound& s, dsp::Rng& rng, int) {
    AddNoise(s, rng, 0.0, Env{0.001, 0.01, 0.22}, 0.5, Filter::Band, 4500.0, 0.6);
    AddStrike(s, rng, 0.0, rng.Range(300.0, 340.0), kMetal, 0.8, 0.02);
    AddStrike(s, rng, 0.05, rng.Range(450.0, 490.0), Scaled(kMetal, 0.7), 0.5, 0.02);
    AddThump(s, 0.0, 90.0, 50.0, 0.5, 0.1);
    Debris(s, rng, 0.1, 0.8, 8, kShard, 1500.0, 4000.0, 0.25, 0.05, 0.15);
}

void IceStroke(Sound& s, dsp::Rng& rng, int) {
    AddNoise(s, rng, 0.0, Env{0.0004, 0.0, 0.01}, 0.6, Filter::High, 4000.0, 0.7);
    AddStrike(s, rng, 0.0, rng.Range(1300.0, 1600.0), kIce, 0.8, 0.03);
}

void IceDestroy(Sound& s, dsp::Rng& rng, int) {
    AddNoise(s, rng, 0.0, Env{0.0005, 0.004, 0.03}, 0.9, Filter::High, 2000.0, 0.7);
    AddGrains(s, rng, 0.005, 0.5, 80, 0.4, 3000.0, 8000.0, 0.003, 0.01);
    Debris(s, rng, 0.02, 0.6, 18, kShard, 2000.0, 5000.0, 0.3, 0.04, 0.1);
    AddThump(s, 0.0, 150.0, 80.0, 0.35, 0.06);
}

void RubberStroke(Sound& s, dsp::Rng& rng, int) {
    const double f = rng.Range(190.0, 230.0);
    AddGlide(s, 0.0, f, f * 0.72, 0.12, 0.9, Env{0.002, 0.0, 0.09});
    AddGlide(s, 0.0, f * 2.0, f * 1.44, 0.12, 0.2, Env{0.002, 0.0, 0.05});
    AddNoise(s, rng, 0.0, Env{0.001, 0.0, 0.02}, 0.3, Filter::Low, 600.0, 0.7);
}

void RubberDestroy(Sound& s, dsp::Rng& rng, int) {
    AddNoise(s, rng, 0.0, Env{0.0005, 0.002, 0.015}, 1.0, Filter::Band, 1200.0, 0.8);
    AddGlide(s, 0.01, 500.0, 110.0, 0.35, 0.6, Env{0.003, 0.05, 0.15}, Wave::Triangle, 0.04, 18.0);
    AddNoise(s, rng, 0.01, Env{0.01, 0.05, 0.1}, 0.2, Filter::Band, 700.0, 1.5);
}

} // namespace sfx
