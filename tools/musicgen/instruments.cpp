#include "tools/musicgen/instruments.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/dsp/filters.h"
#include "tools/dsp/oscillators.h"

namespace music {

using dsp::kPi;

namespace {

double Smooth(double t, double attack) {
    if (t >= attack) return 1.0;
    const double x = std::sin(0.5 * kPi * t / attack);
    return x * x;
}

// 1 while the key is held, then an exponential release with time constant `tau` seconds.
double Release(int64_t i, int64_t gate, double tau) {
    return i < gate ? 1.0 : std::exp(-static_cast<double>(i - gate) / (tau * kRate));
}

int64_t Frames(double seconds) { return static_cast<int64_t>(seconds * kRate); }

} // namespace

void RenderPluck(StereoTrack& out, const NoteOn& n, const Pan& pan, dsp::Rng& rng) {
    const double period = kRate / n.freq;
    const int m = std::max(2, static_cast<int>(std::floor(period - 0.6)));
    const double d = period - 0.5 - m; // what the all-pass must add, 0.1 .. 1.1
    const double c = (1.0 - d) / (1.0 + d);
    const double decay = std::clamp(1.6 * std::sqrt(220.0 / n.freq), 0.25, 3.0);
    const double loss = std::exp(-period / (decay * kRate));
    const int64_t total = std::min<int64_t>(n.gate + Frames(0.15), Frames(3.0));

    std::vector<double> y(static_cast<std::size_t>(total + m + 2), 0.0);
    // Excitation: one period of noise, softened by velocity, without DC.
    dsp::OnePoleLowPass tone, tone2;
    const double cutoff = std::min(kRate * 0.2, n.freq * (2.0 + 5.0 * n.velocity));
    tone.SetCutoff(kRate, cutoff);
    tone2.SetCutoff(kRate, cutoff);
    double mean = 0.0;
    for (int i = 0; i <= m; ++i) {
        y[static_cast<std::size_t>(i)] = tone2.Process(tone.Process(rng.Bipolar()));
        mean += y[static_cast<std::size_t>(i)];
    }
    mean /= m + 1;
    for (int i = 0; i <= m; ++i) y[static_cast<std::size_t>(i)] -= mean;

    double apIn = 0.0, apOut = 0.0;
    const double level = 0.6 * n.velocity;
    for (int64_t i = 0; i < total; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        if (i > m) {
            const double avg = 0.5 * (y[k - static_cast<std::size_t>(m)] + y[k - static_cast<std::size_t>(m) - 1]);
            apOut = c * avg + apIn - c * apOut;
            apIn = avg;
            y[k] = loss * apOut;
        }
        const double v = level * y[k] * Smooth(static_cast<double>(i) / kRate, 0.002) * Release(i, n.gate, 0.03);
        out.Add(n.start + i, v * pan.left, v * pan.right);
    }
}

void RenderEPiano(StereoTrack& out, const NoteOn& n, const Pan& pan) {
    const double decay = std::clamp(1.6 * std::pow(261.6 / n.freq, 0.4), 0.3, 3.0);
    const int64_t total = n.gate + Frames(0.6);
    const double wc = 2.0 * kPi * n.freq / kRate;
    for (int64_t i = 0; i < total; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double env = Smooth(t, 0.002) * std::exp(-t / decay) * Release(i, n.gate, 0.09);
        const double index = n.velocity * (1.6 * std::exp(-t / 0.25) + 0.3);
        const double ph = wc * static_cast<double>(i);
        double v = std::sin(ph + index * std::sin(ph));
        if (n.freq * 7.0 < kRate * 0.4) v += 0.08 * n.velocity * std::sin(7.0 * ph) * std::exp(-t / 0.05);
        v *= 0.35 * n.velocity * env;
        const double sweep = 0.2 * std::sin(2.0 * kPi * 3.0 * static_cast<double>(n.start + i) / kRate);
        out.Add(n.start + i, v * pan.left * (1.0 + sweep), v * pan.right * (1.0 - sweep));
    }
}

void RenderPad(StereoTrack& out, const NoteOn& n) {
    const int64_t total = n.gate + Frames(1.6);
    dsp::Phase p[4] = {dsp::Phase(0.0), dsp::Phase(0.31), dsp::Phase(0.57), dsp::Phase(0.83)};
    const double detune[4] = {-0.004, 0.0027, 0.004, -0.0021};
    dsp::Biquad lpL, lpR;
    for (int64_t i = 0; i < total; ++i) {
        const double t = static_cast<double>(i) / kRate;
        if ((i & 63) == 0) {
            const double abs = static_cast<double>(n.start + i) / kRate;
            const double cutoff = 700.0 + 500.0 * (0.5 + 0.5 * std::sin(2.0 * kPi * 0.07 * abs)) + n.freq * 1.5;
            lpL.LowPass(kRate, cutoff, 0.8);
            lpR.LowPass(kRate, cutoff * 1.05, 0.8);
        }
        double s[4];
        for (int k = 0; k < 4; ++k) {
            const double inc = n.freq * (1.0 + detune[k]) / kRate;
            s[k] = dsp::SawBlep(p[k].Step(inc), inc);
        }
        const double env = 0.22 * n.velocity * Smooth(t, 0.6) * Release(i, n.gate, 0.4);
        out.Add(n.start + i, env * lpL.Process(s[0] + 0.6 * s[1]), env * lpR.Process(s[2] + 0.6 * s[3]));
    }
}

void RenderBass(StereoTrack& out, const NoteOn& n) {
    const int64_t total = n.gate + Frames(0.25);
    dsp::Phase p;
    dsp::Biquad lp;
    const double inc = n.freq / kRate;
    for (int64_t i = 0; i < total; ++i) {
        const double t = static_cast<double>(i) / kRate;
        if ((i & 31) == 0) lp.LowPass(kRate, n.freq * 4.0 + 600.0 * std::exp(-t / 0.12), 0.7);
        const double ph = p.Step(inc);
        const double v = 0.8 * std::sin(2.0 * kPi * ph) + 0.3 * lp.Process(dsp::SawBlep(ph, inc));
        const double env = Smooth(t, 0.005) * (0.75 + 0.25 * std::exp(-t / 0.25)) * Release(i, n.gate, 0.05);
        const double s = 0.5 * n.velocity * env * v;
        out.Add(n.start + i, s, s);
    }
}

void RenderLead(StereoTrack& out, const NoteOn& n, Voice voice, const Pan& pan, dsp::Rng& rng) {
    const int64_t total = n.gate + Frames(voice == Voice::Bell ? 1.2 : 0.4);
    dsp::Phase p;
    dsp::Biquad soft, breath;
    soft.LowPass(kRate, n.freq * 5.0, 0.7);
    breath.BandPass(kRate, std::min(n.freq * 2.5, 9000.0), 2.0);
    for (int64_t i = 0; i < total; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double vib = 1.0 + 0.005 * std::sin(2.0 * kPi * 5.0 * t) * std::clamp((t - 0.15) / 0.25, 0.0, 1.0);
        const double inc = n.freq * vib / kRate;
        const double ph = p.Step(inc);
        const double w = 2.0 * kPi * ph;
        double v = 0.0;
        switch (voice) {
            case Voice::Flute: {
                const double env = Smooth(t, 0.06) * Release(i, n.gate, 0.08);
                const double air = breath.Process(rng.Bipolar()) * (0.05 + 0.15 * std::exp(-t / 0.03));
                v = 0.4 * env * (std::sin(w) + 0.22 * std::sin(2.0 * w) + 0.07 * std::sin(3.0 * w) + air);
                break;
            }
            case Voice::Square: {
                const double env = Smooth(t, 0.01) * (0.6 + 0.4 * std::exp(-t / 0.4)) * Release(i, n.gate, 0.08);
                v = 0.3 * env * soft.Process(dsp::PulseBlep(ph, inc, 0.4));
                break;
            }
            case Voice::Bell:
            default: {
                const double env = Smooth(t, 0.002) * std::exp(-t / 1.2) * Release(i, n.gate, 0.25);
                const double index = 1.5 * std::exp(-t / 0.15) + 0.2;
                v = 0.35 * env * (std::sin(w + index * std::sin(w)) + 0.15 * std::sin(4.0 * w) * std::exp(-t / 0.3));
                break;
            }
        }
        v *= n.velocity;
        out.Add(n.start + i, v * pan.left, v * pan.right);
    }
}

} // namespace music
