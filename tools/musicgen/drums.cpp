#include "tools/musicgen/drums.h"

#include <algorithm>
#include <cmath>

#include "tools/dsp/filters.h"

namespace music {

using dsp::kPi;

namespace {

std::vector<float> Kick(dsp::Rng& rng) {
    std::vector<float> s(static_cast<std::size_t>(0.45 * kRate));
    double phase = 0.0;
    dsp::OnePoleLowPass click;
    click.SetCutoff(kRate, 3000.0);
    const double top = rng.Range(105.0, 115.0);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        phase += 2.0 * kPi * (48.0 + top * std::exp(-t / 0.035)) / kRate;
        const double body = std::sin(phase) * std::exp(-t / 0.2) * std::min(1.0, t / 0.001);
        const double c = click.Process(rng.Bipolar()) * 0.6 * std::exp(-t / 0.003);
        s[i] = static_cast<float>(std::tanh(1.5 * (body + c)) / std::tanh(1.5));
    }
    return s;
}

std::vector<float> Snare(dsp::Rng& rng) {
    std::vector<float> s(static_cast<std::size_t>(0.35 * kRate));
    dsp::Biquad bp, hp;
    bp.BandPass(kRate, rng.Range(2800.0, 3200.0), 0.7);
    hp.HighPass(kRate, 1000.0, 0.7);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double tone = 0.5 * std::sin(2.0 * kPi * 185.0 * t) * std::exp(-t / 0.07) +
                            0.25 * std::sin(2.0 * kPi * 330.0 * t) * std::exp(-t / 0.05);
        const double noise = 1.4 * hp.Process(bp.Process(rng.Bipolar())) * std::exp(-t / 0.13);
        s[i] = static_cast<float>((tone + noise) * std::min(1.0, t / 0.0008));
    }
    return s;
}

std::vector<float> Clap(dsp::Rng& rng) {
    std::vector<float> s(static_cast<std::size_t>(0.3 * kRate));
    dsp::Biquad bp;
    bp.BandPass(kRate, rng.Range(1100.0, 1300.0), 1.2);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        double env = 0.0;
        for (double burst : {0.0, 0.01, 0.021})
            if (t >= burst) env = std::max(env, std::exp(-(t - burst) / 0.006));
        if (t >= 0.03) env = std::max(env, 0.5 * std::exp(-(t - 0.03) / 0.08));
        s[i] = static_cast<float>(2.5 * bp.Process(rng.Bipolar()) * env * std::min(1.0, t / 0.0005));
    }
    return s;
}

std::vector<float> Rim(dsp::Rng& rng) {
    std::vector<float> s(static_cast<std::size_t>(0.12 * kRate));
    dsp::Biquad bp;
    bp.BandPass(kRate, 2000.0, 1.5);
    const double f = rng.Range(780.0, 820.0);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double v = 0.6 * std::sin(2.0 * kPi * f * t) * std::exp(-t / 0.02) +
                         1.2 * bp.Process(rng.Bipolar()) * std::exp(-t / 0.01);
        s[i] = static_cast<float>(v * std::min(1.0, t / 0.0005));
    }
    return s;
}

std::vector<float> Hat(dsp::Rng& rng, double decay, double length) {
    std::vector<float> s(static_cast<std::size_t>(length * kRate));
    dsp::Biquad hp, peak;
    hp.HighPass(kRate, 7000.0, 0.7);
    peak.Peak(kRate, 10000.0, 1.0, 6.0);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        s[i] = static_cast<float>(peak.Process(hp.Process(rng.Bipolar())) * std::exp(-t / decay) *
                                  std::min(1.0, t / 0.0005));
    }
    return s;
}

std::vector<float> Shaker(dsp::Rng& rng) {
    std::vector<float> s(static_cast<std::size_t>(0.12 * kRate));
    dsp::Biquad bp;
    bp.BandPass(kRate, 6000.0, 1.0);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double env = std::sin(0.5 * kPi * std::min(1.0, t / 0.008));
        s[i] = static_cast<float>(1.5 * bp.Process(rng.Bipolar()) * env * env * std::exp(-t / 0.045));
    }
    return s;
}

// Fades the last 5 ms so a take never ends on a step.
void EndClean(std::vector<float>& s) {
    const std::size_t n = std::min<std::size_t>(s.size(), static_cast<std::size_t>(0.005 * kRate));
    for (std::size_t i = 0; i < n; ++i)
        s[s.size() - 1 - i] *= static_cast<float>(static_cast<double>(i) / static_cast<double>(n));
}

struct Mix {
    double level;
    double pan;
};
constexpr Mix kMix[7] = {
    {1.0, 0.0},   // kick
    {0.7, 0.05},  // snare
    {0.6, -0.05}, // clap
    {0.4, 0.15},  // rim
    {0.3, 0.3},   // hat
    {0.25, 0.3},  // open hat
    {0.3, -0.35}, // shaker
};

} // namespace

DrumKit::DrumKit(uint64_t seed) {
    dsp::Rng rng(seed);
    for (int k = 0; k < kTakes; ++k) {
        takes_[static_cast<int>(Drum::Kick)][k] = Kick(rng);
        takes_[static_cast<int>(Drum::Snare)][k] = Snare(rng);
        takes_[static_cast<int>(Drum::Clap)][k] = Clap(rng);
        takes_[static_cast<int>(Drum::Rim)][k] = Rim(rng);
        takes_[static_cast<int>(Drum::Hat)][k] = Hat(rng, 0.035, 0.15);
        takes_[static_cast<int>(Drum::OpenHat)][k] = Hat(rng, 0.22, 0.6);
        takes_[static_cast<int>(Drum::Shaker)][k] = Shaker(rng);
    }
    for (auto& drum : takes_)
        for (auto& take : drum) EndClean(take);
}

void DrumKit::Play(StereoTrack& out, int64_t frame, Drum drum, double velocity, dsp::Rng& rng) const {
    const int d = static_cast<int>(drum);
    const std::vector<float>& take = takes_[d][rng.Below(kTakes)];
    const Pan pan(kMix[d].pan);
    const double g = kMix[d].level * velocity;
    for (std::size_t i = 0; i < take.size(); ++i)
        out.Add(frame + static_cast<int64_t>(i), take[i] * g * pan.left, take[i] * g * pan.right);
}

} // namespace music
