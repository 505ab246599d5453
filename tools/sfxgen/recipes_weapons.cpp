// Explosions (a crack, a body of noise whose brightness falls away, a sub-bass thump and a
// rumble) and the boomerang's spinning whoosh.
#include <cmath>

#include "tools/dsp/filters.h"
#include "tools/sfxgen/recipes.h"

namespace sfx {

void Bomb(Sound& s, dsp::Rng& rng, int) {
    AddNoise(s, rng, 0.0, Env{0.0005, 0.005, 0.02}, 1.0, Filter::High, 400.0, 0.7);
    AddNoiseSweep(s, rng, 0.0, Env{0.002, 0.05, 0.45}, 1.0, Filter::Low, 3500.0, 150.0, 0.7, 1.2);
    AddThump(s, 0.0, 70.0, 28.0, 1.0, 0.35);
    AddNoise(s, rng, 0.05, Env{0.1, 0.2, 0.5}, 0.5, Filter::Low, 120.0, 0.7);
    AddCrackle(s, rng, 0.1, 1.0, 30.0, 0.15, 2000.0, 1.5);
    Saturate(s, 1.6);
}

void Grenade(Sound& s, dsp::Rng& rng, int) {
    AddNoise(s, rng, 0.0, Env{0.0005, 0.004, 0.015}, 1.0, Filter::High, 600.0, 0.7);
    AddNoiseSweep(s, rng, 0.0, Env{0.002, 0.03, 0.25}, 1.0, Filter::Low, 4500.0, 300.0, 0.7, 0.6);
    AddThump(s, 0.0, 95.0, 40.0, 0.9, 0.18);
    AddNoise(s, rng, 0.03, Env{0.05, 0.1, 0.3}, 0.3, Filter::Low, 180.0, 0.7);
    AddCrackle(s, rng, 0.05, 0.6, 25.0, 0.12, 2500.0, 1.5);
    Saturate(s, 1.4);
}

void Boomer(Sound& s, dsp::Rng& rng, int) {
    // Air cut by a spinning blade: band-passed noise swept up and down, pulsing at the spin rate.
    dsp::Biquad bp;
    const Env env{0.15, 0.2, 0.15};
    double spin = 0.0;
    for (std::size_t i = 0; i < s.Length(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double u = std::min(t / 0.7, 1.0);
        const double centre = 700.0 + 900.0 * std::sin(dsp::kPi * u) + 200.0 * u;
        if (i % 16 == 0) bp.BandPass(kRate, centre, 1.8);
        spin += 2.0 * dsp::kPi * (14.0 - 4.0 * u) / kRate;
        const double pulse = 0.35 + 0.65 * (0.5 + 0.5 * std::sin(spin));
        s.Add(i, env.At(t) * pulse * bp.Process(rng.Bipolar()) * 3.0);
    }
}

} // namespace sfx
