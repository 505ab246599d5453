#include "tools/musicgen/mixer.h"

#include <algorithm>
#include <cmath>

#include "tools/dsp/oscillators.h"
#include "tools/dsp/rng.h"
#include "tools/musicgen/drums.h"
#include "tools/musicgen/effects.h"
#include "tools/musicgen/instruments.h"
#include "tools/musicgen/score.h"

namespace music {

namespace {

// Loudest average level a finished track may have (RMS, dBFS).
constexpr double kMaxRmsDb = -16.0;

// How a part sits in the mix: its loudness while it plays (RMS, dBFS), and its sends.
struct PartMix {
    double levelDb;
    double reverb;
    double echo;
};

// RMS of the stretches where the part plays: the mean power of the 0.1 s windows that are
// within 20 dB of the loudest one.
double ActiveRms(const StereoTrack& t) {
    const std::size_t window = 4410;
    std::vector<double> powers;
    for (std::size_t start = 0; start + window <= t.Frames(); start += window) {
        double p = 0.0;
        for (std::size_t i = start; i < start + window; ++i)
            p += 0.5 * (static_cast<double>(t.l[i]) * t.l[i] + static_cast<double>(t.r[i]) * t.r[i]);
        powers.push_back(p / static_cast<double>(window));
    }
    const double loudest = powers.empty() ? 0.0 : *std::max_element(powers.begin(), powers.end());
    double sum = 0.0;
    int count = 0;
    for (double p : powers)
        if (p > loudest * 0.01) {
            sum += p;
            ++count;
        }
    return count ? std::sqrt(sum / count) : 0.0;
}

// Above `knee` the curve bends smoothly towards 1: loud peaks are rounded off, the rest untouched.
double SoftLimit(double x, double knee) {
    const double a = std::fabs(x);
    if (a <= knee) return x;
    const double y = knee + (1.0 - knee) * std::tanh((a - knee) / (1.0 - knee));
    return x < 0.0 ? -y : y;
}

} // namespace

Rendered RenderSong(const Song& song) {
    const Score score = Compose(song);
    const double framesPerBeat = 60.0 / song.bpm * kRate;
    const std::size_t frames = static_cast<std::size_t>(std::llround(score.beats * framesPerBeat));
    StereoTrack dry(frames), reverbSend(frames), echoSend(frames), part(frames);
    dsp::Rng rng(song.seed ^ 0x5EEDull);

    auto noteOn = [&](const Note& n) {
        return NoteOn{static_cast<int64_t>(std::llround(n.beat * framesPerBeat)),
                      static_cast<int64_t>(std::llround(n.length * framesPerBeat)), dsp::MidiToHz(n.pitch), n.velocity};
    };
    auto mixPart = [&](const PartMix& m) {
        const double rms = ActiveRms(part);
        if (rms > 0.0) {
            const double gain = std::pow(10.0, m.levelDb / 20.0) / rms;
            for (std::size_t i = 0; i < frames; ++i) {
                const double l = part.l[i] * gain, r = part.r[i] * gain;
                dry.l[i] += static_cast<float>(l);
                dry.r[i] += static_cast<float>(r);
                reverbSend.l[i] += static_cast<float>(l * m.reverb);
                reverbSend.r[i] += static_cast<float>(r * m.reverb);
                echoSend.l[i] += static_cast<float>(l * m.echo);
                echoSend.r[i] += static_cast<float>(r * m.echo);
            }
        }
        part.Clear();
    };

    for (const Note& n : score.pad) RenderPad(part, noteOn(n));
    mixPart({-23.0, 0.5, 0.0});

    const Pan keysPan(-0.15);
    for (const Note& n : score.keys) RenderEPiano(part, noteOn(n), keysPan);
    mixPart({-21.0, 0.3, 0.1});

    const Pan arpPan(0.3);
    for (const Note& n : score.arp) {
        if (song.arpVoice == Voice::EPiano)
            RenderEPiano(part, noteOn(n), arpPan);
        else
            RenderPluck(part, noteOn(n), arpPan, rng);
    }
    mixPart({-22.0, 0.35, 0.25});

    for (const Note& n : score.bass) RenderBass(part, noteOn(n));
    mixPart({-18.0, 0.03, 0.0});

    const Pan leadPan(-0.1);
    for (const Note& n : score.lead) RenderLead(part, noteOn(n), song.lead, leadPan, rng);
    mixPart({-19.0, 0.35, 0.3});

    const DrumKit kit(song.seed * 7 + 3);
    for (const DrumHit& h : score.drums)
        kit.Play(part, static_cast<int64_t>(std::llround(h.beat * framesPerBeat)), h.drum, h.velocity, rng);
    mixPart({-18.0, 0.08, 0.0});

    AddEcho(echoSend, dry, 0.75 * 60.0 / song.bpm, 0.35, 0.5);
    AddReverb(reverbSend, dry, 0.8, 0.3, 0.35);
    HighPassLoop(dry, 30.0);

    double peak = 0.0;
    for (std::size_t i = 0; i < frames; ++i)
        peak = std::max({peak, std::fabs(static_cast<double>(dry.l[i])), std::fabs(static_cast<double>(dry.r[i]))});
    Rendered out;
    out.frames = frames;
    out.interleaved.resize(frames * 2);
    if (peak <= 0.0) return out;
    // Peaks over 0.6 of the loudest are rounded off and the whole is set to -1 dBFS peak; a track
    // that is then louder than the others on average (a quiet, even one) is turned down to match.
    double power = 0.0;
    for (std::size_t i = 0; i < frames; ++i) {
        const double l = SoftLimit(dry.l[i] / peak, 0.6), r = SoftLimit(dry.r[i] / peak, 0.6);
        out.interleaved[2 * i] = static_cast<float>(l);
        out.interleaved[2 * i + 1] = static_cast<float>(r);
        power += 0.5 * (l * l + r * r);
    }
    const double rms = std::sqrt(power / static_cast<double>(frames));
    const double gain = std::min(0.89 / SoftLimit(1.0, 0.6), std::pow(10.0, kMaxRmsDb / 20.0) / rms);
    for (float& v : out.interleaved) v = static_cast<float>(v * gain);
    return out;
}

} // namespace music
