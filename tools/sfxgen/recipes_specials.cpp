// Sounds of the block specials: a ball catching fire, water hissing on a hot ball, a ball made
// heavy, an electric strike, and a teleport.
#include <cmath>

#include "tools/dsp/filters.h"
#include "tools/sfxgen/recipes.h"

namespace sfx {

void Firing(Sound& s, dsp::Rng& rng, int) {
    AddNoiseSweep(s, rng, 0.0, Env{0.06, 0.1, 0.25}, 0.8, Filter::Band, 300.0, 1800.0, 0.9, 0.35);
    AddNoise(s, rng, 0.0, Env{0.03, 0.2, 0.25}, 0.4, Filter::Low, 500.0, 0.7);
    AddCrackle(s, rng, 0.05, 0.7, 40.0, 0.35, 2500.0, 2.0);
}

void Psshh(Sound& s, dsp::Rng& rng, int) {
    // Steam: bright noise whose level flutters a little, as a hiss does.
    dsp::Biquad hp, lp;
    hp.HighPass(kRate, 3000.0, 0.7);
    lp.LowPass(kRate, 9000.0, 0.7);
    const Env env{0.01, 0.15, 0.3};
    double flutter = 1.0, target = 1.0;
    for (std::size_t i = 0; i < s.Length(); ++i) {
        if (i % 441 == 0) target = rng.Range(0.6, 1.0);
        flutter += (target - flutter) * 0.002;
        const double t = static_cast<double>(i) / kRate;
        s.Add(i, 0.8 * env.At(t) * flutter * lp.Process(hp.Process(rng.Bipolar())));
    }
    AddNoiseSweep(s, rng, 0.0, Env{0.005, 0.05, 0.2}, 0.3, Filter::Band, 6000.0, 3000.0, 1.0, 0.5);
    AddNoise(s, rng, 0.0, Env{0.001, 0.01, 0.03}, 0.4, Filter::Band, 1500.0, 0.8);
}

void Heavy(Sound& s, dsp::Rng& rng, int) {
    AddStrike(s, rng, 0.0, rng.Range(95.0, 105.0),
              {{1.0, 1.0, 0.4}, {2.0, 0.4, 0.3}, {3.01, 0.25, 0.2}, {4.2, 0.15, 0.12}}, 0.9, 0.01, 0.004);
    AddStrike(s, rng, 0.0, 700.0, {{1.0, 1.0, 0.08}, {2.76, 0.4, 0.05}}, 0.2, 0.02);
    AddThump(s, 0.0, 80.0, 40.0, 0.6, 0.12);
}

void Lightning(Sound& s, dsp::Rng& rng, int) {
    AddNoise(s, rng, 0.0, Env{0.0005, 0.0, 0.02}, 0.8, Filter::High, 2500.0, 0.7);
    AddBuzz(s, rng, 0.0, rng.Range(90.0, 120.0), 0.7, Env{0.001, 0.06, 0.1}, 1500.0);
    AddCrackle(s, rng, 0.0, 0.25, 200.0, 0.35, 4000.0, 1.2);
}

void Teleport(Sound& s, dsp::Rng&, int) {
    // A wobbling tone that rises and settles, repeated by a short echo.
    double phase = 0.0;
    const Env env{0.01, 0.3, 0.08};
    for (std::size_t i = 0; i < s.Length(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        double f = t < 0.35 ? 250.0 * std::pow(1400.0 / 250.0, t / 0.35) : 700.0 + 700.0 * std::exp(-(t - 0.35) / 0.08);
        f *= 1.0 + 0.08 * std::sin(2.0 * dsp::kPi * 30.0 * t);
        phase += 2.0 * dsp::kPi * f / kRate;
        s.Add(i, 0.6 * env.At(t) * (std::sin(phase) + 0.3 * std::sin(2.0 * phase)));
    }
    Echo(s, 0.06, 0.35, 0.5);
}

} // namespace sfx
