#include "tools/sfxgen/kit.h"

#include <algorithm>
#include <cmath>

#include "tools/dsp/filters.h"
#include "tools/dsp/oscillators.h"

namespace sfx {

using dsp::kPi;

Sound::Sound(double seconds) : data(static_cast<std::size_t>(std::max(seconds, 0.001) * kRate), 0.0f) {}

std::size_t Sound::Index(double t) const {
    if (t <= 0.0) return 0;
    return std::min(data.size(), static_cast<std::size_t>(t * kRate));
}

double Env::At(double t) const {
    if (t < 0.0) return 0.0;
    if (t < attack) {
        const double x = std::sin(0.5 * kPi * t / attack);
        return x * x;
    }
    t -= attack;
    if (t < hold) return 1.0;
    return std::exp(-(t - hold) / std::max(decay, 1e-5));
}

namespace {

// Samples [first, last) covered by a layer that starts at `start` and lasts `span` seconds.
struct Range {
    std::size_t first, last;
};
Range Cover(const Sound& s, double start, double span) { return {s.Index(start), s.Index(start + span)}; }

void SetFilter(dsp::Biquad& f, Filter kind, double freq, double q) {
    switch (kind) {
        case Filter::Low: f.LowPass(kRate, freq, q); break;
        case Filter::High: f.HighPass(kRate, freq, q); break;
        case Filter::Band: f.BandPass(kRate, freq, q); break;
        case Filter::None: break;
    }
}

double Shape(Wave wave, double p, double inc) {
    switch (wave) {
        case Wave::Sine: return std::sin(2.0 * kPi * p);
        case Wave::Triangle: return dsp::SoftTriangle(p);
        case Wave::Square: return dsp::PulseBlep(p, inc, 0.5);
        case Wave::Saw: return dsp::SawBlep(p, inc);
    }
    return 0.0;
}

} // namespace

void AddPartial(Sound& s, double start, double freq, double amp, const Env& env, double phase) {
    const Range r = Cover(s, start, env.Span());
    const double w = 2.0 * kPi * freq / kRate;
    for (std::size_t i = r.first; i < r.last; ++i) {
        const double t = static_cast<double>(i - r.first) / kRate;
        s.Add(i, amp * env.At(t) * std::sin(phase + w * static_cast<double>(i - r.first)));
    }
}

void AddStrike(Sound& s, dsp::Rng& rng, double start, double f0, const std::vector<Mode>& modes, double amp,
               double jitter, double attack) {
    for (const Mode& m : modes) {
        const double f = f0 * m.ratio * (1.0 + jitter * rng.Bipolar());
        if (f >= kRate * 0.45) continue;
        // Partials far up the spectrum are softened: struck things should ring, not hiss.
        const double soften = 1.0 / (1.0 + (f / 9000.0) * (f / 9000.0));
        const double a = amp * m.amp * (1.0 + jitter * 2.0 * rng.Bipolar()) * soften;
        const double decay = m.decay * (1.0 + jitter * rng.Bipolar());
        const double phase = rng.Uniform() * 0.5;
        AddPartial(s, start, f, a, Env{attack, 0.0, decay}, phase);
    }
}

void AddGlide(Sound& s, double start, double f0, double f1, double glide, double amp, const Env& env, Wave wave,
              double vibratoDepth, double vibratoRate) {
    const Range r = Cover(s, start, env.Span());
    dsp::Phase phase;
    dsp::Biquad soften;
    const bool soft = wave == Wave::Square || wave == Wave::Saw;
    const double ratio = f1 / f0;
    for (std::size_t i = r.first; i < r.last; ++i) {
        const double t = static_cast<double>(i - r.first) / kRate;
        double f = t < glide ? f0 * std::pow(ratio, t / glide) : f1;
        f *= 1.0 + vibratoDepth * std::sin(2.0 * kPi * vibratoRate * t) * std::min(1.0, t / 0.15);
        const double inc = f / kRate;
        double v = Shape(wave, phase.Step(inc), inc);
        if (soft) {
            if (((i - r.first) & 31) == 0) soften.LowPass(kRate, f * 6.0, 0.7);
            v = soften.Process(v);
        }
        s.Add(i, amp * env.At(t) * v);
    }
}

void AddThump(Sound& s, double start, double f0, double f1, double amp, double decay) {
    const Env env{0.001, 0.0, decay};
    const Range r = Cover(s, start, env.Span());
    double phase = 0.0;
    for (std::size_t i = r.first; i < r.last; ++i) {
        const double t = static_cast<double>(i - r.first) / kRate;
        const double f = f1 + (f0 - f1) * std::exp(-t / 0.02);
        phase += 2.0 * kPi * f / kRate;
        s.Add(i, amp * env.At(t) * std::sin(phase));
    }
}

void AddNoise(Sound& s, dsp::Rng& rng, double start, const Env& env, double amp, Filter filter, double freq, double q) {
    AddNoiseSweep(s, rng, start, env, amp, filter, freq, freq, q, 1.0);
}

void AddNoiseSweep(Sound& s, dsp::Rng& rng, double start, const Env& env, double amp, Filter filter, double f0,
                   double f1, double q, double sweep) {
    const Range r = Cover(s, start, env.Span());
    dsp::Biquad f;
    SetFilter(f, filter, f0, q);
    // Band-passed noise loses level with a narrow band; make up for part of it.
    const double makeUp = filter == Filter::Band ? std::sqrt(std::max(q, 0.3)) * 1.5 : 1.0;
    const double ratio = f1 / f0;
    for (std::size_t i = r.first; i < r.last; ++i) {
        const double t = static_cast<double>(i - r.first) / kRate;
        if (f0 != f1 && ((i - r.first) & 15) == 0)
            SetFilter(f, filter, f0 * std::pow(ratio, std::min(t / sweep, 1.0)), q);
        double v = rng.Bipolar();
        if (filter != Filter::None) v = f.Process(v) * makeUp;
        s.Add(i, amp * env.At(t) * v);
    }
}

void AddCrackle(Sound& s, dsp::Rng& rng, double start, double length, double rate, double amp, double freq, double q) {
    // Expected clicks: rate × length / 2 with a linearly falling density.
    const int count = static_cast<int>(rate * length * 0.5);
    for (int k = 0; k < count; ++k) {
        const double t = start + length * (1.0 - std::sqrt(1.0 - rng.Uniform()));
        const double level = amp * rng.Range(0.3, 1.0) * (1.0 - (t - start) / length * 0.6);
        const double decay = rng.Range(0.0015, 0.005);
        const double f = freq * rng.Range(0.7, 1.4);
        AddNoise(s, rng, t, Env{0.0003, 0.0, decay}, level, Filter::Band, f, q);
    }
}

void AddGrains(Sound& s, dsp::Rng& rng, double start, double length, int count, double amp, double fLow, double fHigh,
               double grainDecayLow, double grainDecayHigh) {
    for (int k = 0; k < count; ++k) {
        const double u = rng.Uniform();
        const double t = start + length * u * u; // denser at the start
        const double level = amp * rng.Range(0.25, 1.0) * std::pow(1.0 - u * u, 1.5);
        const double decay = rng.Range(grainDecayLow, grainDecayHigh);
        const double f = rng.Range(fLow, fHigh);
        AddNoise(s, rng, t, Env{0.0004, 0.0, decay}, level, Filter::Band, f, 1.4);
    }
}

void AddBuzz(Sound& s, dsp::Rng& rng, double start, double freq, double amp, const Env& env, double band) {
    const Range r = Cover(s, start, env.Span());
    dsp::Phase phase;
    dsp::Biquad bp;
    bp.BandPass(kRate, band, 0.8);
    double f = freq;
    for (std::size_t i = r.first; i < r.last; ++i) {
        if (((i - r.first) % 160) == 0) f = freq * std::pow(2.0, rng.Bipolar() * 0.35);
        const double t = static_cast<double>(i - r.first) / kRate;
        const double inc = f / kRate;
        const double v = dsp::SawBlep(phase.Step(inc), inc) + 0.35 * rng.Bipolar();
        s.Add(i, amp * env.At(t) * bp.Process(v) * 2.2);
    }
}

void AddBell(Sound& s, double start, double freq, double amp, const Env& env, double ratio, double index) {
    const Range r = Cover(s, start, env.Span());
    const double wc = 2.0 * kPi * freq / kRate;
    const double wm = wc * ratio;
    for (std::size_t i = r.first; i < r.last; ++i) {
        const double n = static_cast<double>(i - r.first);
        const double t = n / kRate;
        const double e = env.At(t);
        const double mod = index * std::exp(-t / (env.decay * 0.6 + 0.02)) * std::sin(wm * n);
        s.Add(i, amp * e * std::sin(wc * n + mod));
    }
}

void FilterAll(Sound& s, Filter filter, double freq, double q) {
    if (filter == Filter::None) return;
    dsp::Biquad f;
    SetFilter(f, filter, freq, q);
    for (float& v : s.data) v = static_cast<float>(f.Process(v));
}

void Echo(Sound& s, double delay, double feedback, double mix) {
    const std::size_t d = static_cast<std::size_t>(delay * kRate);
    if (d == 0 || d >= s.data.size()) return;
    std::vector<float> wet(s.data.size(), 0.0f);
    for (std::size_t i = d; i < s.data.size(); ++i) wet[i] = static_cast<float>(s.data[i - d] + feedback * wet[i - d]);
    for (std::size_t i = 0; i < s.data.size(); ++i) s.data[i] = static_cast<float>(s.data[i] + mix * wet[i]);
}

void Saturate(Sound& s, double drive) {
    float peak = 0.0f;
    for (float v : s.data) peak = std::max(peak, std::fabs(v));
    if (peak <= 0.0f) return;
    const double norm = std::tanh(drive);
    for (float& v : s.data) v = static_cast<float>(std::tanh(drive * v / peak) / norm * peak);
}

} // namespace sfx
