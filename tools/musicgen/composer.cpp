#include "tools/musicgen/score.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tools/dsp/rng.h"

namespace music {

namespace {

// Pitch of an absolute scale index (degree + 7 × octave, 0 = the tonic).
int IndexPitch(const Song& song, int index) {
    const int octave = static_cast<int>(std::floor(index / 7.0));
    const int degree = index - 7 * octave;
    return song.tonic + song.scale[static_cast<std::size_t>(degree)] + 12 * octave;
}

int Mod7(int v) { return ((v % 7) + 7) % 7; }

// Chord degree sounding at `beat` (bars hold one chord, or two of two beats each).
int ChordAt(const Song& song, double beat) {
    const int bar = static_cast<int>(beat / 4.0);
    const std::vector<int>& c = song.chords[static_cast<std::size_t>(bar) % song.chords.size()];
    if (c.size() > 1 && std::fmod(beat, 4.0) >= 2.0) return c[1];
    return c[0];
}

std::vector<int> ChordDegrees(const Song& song, int root) {
    std::vector<int> d = {root, root + 2, root + 4};
    if (song.sevenths) d.push_back(root + 6);
    for (int& v : d) v = Mod7(v);
    return d;
}

bool InChord(const std::vector<int>& degrees, int index) {
    return std::find(degrees.begin(), degrees.end(), Mod7(index)) != degrees.end();
}

// Chord voicing near `centre` that moves the voices least from `previous`.
std::vector<int> VoiceChord(const Song& song, int root, int centre, const std::vector<int>& previous) {
    const std::vector<int> degrees = ChordDegrees(song, root);
    std::vector<int> best;
    double bestScore = 1e9;
    for (std::size_t r = 0; r < degrees.size(); ++r) {
        for (int octave = -2; octave <= 2; ++octave) {
            std::vector<int> v;
            int index = degrees[r] + 7 * octave;
            for (std::size_t k = 0; k < degrees.size(); ++k) {
                while (!v.empty() && IndexPitch(song, index) <= v.back()) index += 7;
                v.push_back(IndexPitch(song, index));
                index = degrees[(r + k + 1) % degrees.size()] + 7 * octave;
            }
            double mean = 0.0;
            for (int p : v) mean += p;
            mean /= static_cast<double>(v.size());
            double score = std::fabs(mean - centre) * (previous.empty() ? 2.0 : 0.5);
            if (std::fabs(mean - centre) > 6.0) score += 20.0;
            if (previous.size() == v.size())
                for (std::size_t k = 0; k < v.size(); ++k) score += std::abs(v[k] - previous[k]);
            if (score < bestScore) {
                bestScore = score;
                best = v;
            }
        }
    }
    return best;
}

double Swung(const Song& song, double beat) {
    const double frac = beat - std::floor(beat);
    return std::fabs(frac - 0.5) < 1e-6 ? beat + song.swing : beat;
}

// Rhythms of two-bar motifs, as (onset, length) in eighths.
const std::vector<std::vector<std::pair<int, int>>> kRhythms = {
    {{0, 3}, {3, 1}, {4, 2}, {6, 2}, {8, 4}, {12, 2}, {14, 2}},
    {{0, 2}, {2, 2}, {4, 1}, {5, 3}, {8, 2}, {10, 1}, {11, 1}, {12, 4}},
    {{1, 1}, {2, 2}, {4, 2}, {6, 2}, {8, 6}, {14, 2}},
    {{0, 4}, {4, 2}, {6, 2}, {8, 2}, {10, 2}, {12, 4}},
    {{0, 3}, {3, 3}, {6, 2}, {8, 3}, {11, 3}, {14, 2}},
    {{0, 6}, {6, 2}, {8, 8}},
};

struct Motif {
    std::size_t rhythm;
    uint64_t seed;
};

class Melody {
public:
    Melody(const Song& song, std::vector<Note>& out) : song_(song), out_(out) {
        while (IndexPitch(song, low_) < song.leadLow) ++low_;
        high_ = low_;
        while (IndexPitch(song, high_ + 1) <= song.leadHigh) ++high_;
        centre_ = (low_ + high_) / 2;
        previous_ = centre_;
    }

    // Plays a motif over the two bars starting at `beat`; `cadence` ends it on the chord's root.
    void Play(const Motif& motif, double beat, bool cadence) {
        dsp::Rng contour(motif.seed);
        const auto& rhythm = kRhythms[motif.rhythm];
        for (std::size_t n = 0; n < rhythm.size(); ++n) {
            const auto [step, len] = rhythm[n];
            const double at = beat + step * 0.5;
            const std::vector<int> chord = ChordDegrees(song_, ChordAt(song_, at));
            const bool strong = step % 4 == 0 || len >= 3;
            const bool last = n + 1 == rhythm.size();
            int index;
            if (cadence && last) {
                index = Nearest(previous_, {chord[0]}, contour);
            } else if (strong) {
                index = Nearest(previous_ + contour.Below(5) - 2, chord, contour);
            } else {
                int dir = contour.Chance(0.5) ? 1 : -1;
                if (previous_ > centre_ + 3 && contour.Chance(0.7)) dir = -1;
                if (previous_ < centre_ - 3 && contour.Chance(0.7)) dir = 1;
                index = previous_ + dir * (contour.Chance(0.75) ? 1 : 2);
            }
            index = std::clamp(index, low_, high_);
            const double velocity = 0.7 + (strong ? 0.12 : 0.0) + 0.06 * contour.Bipolar();
            double length = len * 0.5 * 0.92;
            if (cadence && last) length = std::max(length, 1.8);
            out_.push_back({Swung(song_, at), length, IndexPitch(song_, index), velocity});
            previous_ = index;
        }
    }

private:
    int Nearest(int target, const std::vector<int>& degrees, dsp::Rng& rng) {
        int best = target;
        int bestDistance = 100;
        for (int d = 0; d <= 6; ++d) {
            const int first = rng.Chance(0.5) ? 1 : -1;
            for (int sign : {first, -first}) {
                const int index = target + sign * d;
                if (index < low_ || index > high_ || !InChord(degrees, index)) continue;
                if (d < bestDistance) {
                    bestDistance = d;
                    best = index;
                }
            }
        }
        return best;
    }

    const Song& song_;
    std::vector<Note>& out_;
    int low_ = -14, high_ = 0, centre_ = 0, previous_ = 0;
};

void AddDrums(Score& score, const DrumPattern& p, double barBeat, bool fill, dsp::Rng& rng) {
    const std::pair<const char*, Drum> lanes[] = {
        {p.kick, Drum::Kick}, {p.snare, Drum::Snare},     {p.clap, Drum::Clap},     {p.rim, Drum::Rim},
        {p.hat, Drum::Hat},   {p.openHat, Drum::OpenHat}, {p.shaker, Drum::Shaker},
    };
    for (const auto& [pattern, drum] : lanes) {
        if (!pattern) continue;
        for (int step = 0; step < 16; ++step) {
            if (fill && step >= 12 && (drum == Drum::Snare || drum == Drum::Clap)) break;
            const char c = pattern[step];
            double v = c == 'X' ? 1.0 : c == 'x' ? 0.8 : c == 'o' ? 0.5 : 0.0;
            if (v == 0.0) continue;
            v *= 1.0 + 0.08 * rng.Bipolar();
            const double jitter = drum == Drum::Kick ? 0.0 : 0.008 * rng.Bipolar();
            score.drums.push_back({barBeat + step * 0.25 + jitter, drum, v});
        }
    }
    if (fill)
        for (int step = 12; step < 16; ++step)
            score.drums.push_back({barBeat + step * 0.25, Drum::Snare, 0.45 + 0.15 * (step - 12)});
}

// Adds a pad note, or lengthens the same pitch when it ends where this one starts, so a tone
// held through a chord change is not struck again.
void HoldOrAdd(std::vector<Note>& notes, const Note& n) {
    for (std::size_t k = notes.size(), seen = 0; k-- > 0 && seen < 8; ++seen) {
        Note& p = notes[k];
        if (p.pitch == n.pitch && std::fabs(p.beat + p.length - n.beat) < 1e-6) {
            p.length += n.length;
            return;
        }
    }
    notes.push_back(n);
}

} // namespace

Score Compose(const Song& song) {
    Score score;
    dsp::Rng rng(song.seed);
    int totalBars = 0;
    for (const Section& s : song.sections) totalBars += s.bars;
    score.beats = totalBars * 4.0;

    // Pad and keys voicings follow every chord change, whether or not the part plays.
    std::vector<int> padVoicing, keysVoicing;
    Melody melody(song, score.lead);
    const Motif motifs[2][2] = {
        {{static_cast<std::size_t>(rng.Below(static_cast<int>(kRhythms.size()))), song.seed * 31 + 1},
         {static_cast<std::size_t>(rng.Below(static_cast<int>(kRhythms.size()))), song.seed * 31 + 2}},
        {{static_cast<std::size_t>(rng.Below(static_cast<int>(kRhythms.size()))), song.seed * 31 + 3},
         {static_cast<std::size_t>(rng.Below(static_cast<int>(kRhythms.size()))), song.seed * 31 + 4}},
    };

    int bar = 0;
    for (const Section& sec : song.sections) {
        for (int b = 0; b < sec.bars; ++b, ++bar) {
            const double barBeat = bar * 4.0;
            const std::vector<int>& chords = song.chords[static_cast<std::size_t>(bar) % song.chords.size()];
            const double span = 4.0 / static_cast<double>(chords.size());
            for (std::size_t c = 0; c < chords.size(); ++c) {
                const double at = barBeat + span * static_cast<double>(c);
                padVoicing = VoiceChord(song, chords[c], song.tonic - 5, padVoicing);
                keysVoicing = VoiceChord(song, chords[c], song.tonic + 2, keysVoicing);
                if (sec.pad)
                    for (int p : padVoicing) HoldOrAdd(score.pad, {at, span, p, 0.8});
                if (sec.keys)
                    for (const KeysHit& k : song.keys)
                        if (k.beat >= span * static_cast<double>(c) && k.beat < span * static_cast<double>(c + 1))
                            for (int p : keysVoicing)
                                score.keys.push_back(
                                    {Swung(song, barBeat + k.beat), k.length, p,
                                     0.65 + (std::fmod(k.beat, 1.0) == 0.0 ? 0.1 : 0.0) + 0.05 * rng.Bipolar()});
                if (sec.arp) {
                    std::vector<int> tones = keysVoicing;
                    for (int p : keysVoicing) tones.push_back(p + 12);
                    std::size_t step = 0;
                    for (double t = 0.0; t < span - 1e-6; t += song.arpStep, ++step) {
                        const std::size_t slot = static_cast<std::size_t>(std::lround((span * c + t) / song.arpStep));
                        const int i = song.arpOrder[slot % song.arpOrder.size()];
                        const int pitch = tones[std::min<std::size_t>(static_cast<std::size_t>(i), tones.size() - 1)];
                        const bool onBeat = std::fmod(span * c + t, 1.0) == 0.0;
                        score.arp.push_back(
                            {Swung(song, at + t), song.arpGate, pitch, (onBeat ? 0.8 : 0.62) + 0.06 * rng.Bipolar()});
                    }
                }
            }
            if (sec.bass) {
                for (const BassHit& h : song.bass) {
                    const double at = barBeat + h.beat;
                    const int degree = ChordAt(song, at);
                    int root = song.tonic - 24 + song.scale[static_cast<std::size_t>(degree)];
                    if (root > song.tonic - 24 + 6) root -= 12;
                    score.bass.push_back({Swung(song, at), h.length, root + h.interval, 0.8 + 0.05 * rng.Bipolar()});
                }
            }
            if (sec.drums > 0)
                AddDrums(score, sec.drums == 2 ? song.full : song.light, barBeat, sec.drums == 2 && b + 1 == sec.bars,
                         rng);
        }
        if (sec.lead > 0) {
            const int first = bar - sec.bars;
            const int chunks = sec.bars / 2;
            const Motif* m = motifs[sec.lead - 1];
            for (int c = 0; c < chunks; ++c) {
                const bool last = c + 1 == chunks;
                const Motif& motif = (c % 4 == 2 || (chunks == 1)) ? m[1] : m[0];
                melody.Play(motif, (first + 2 * c) * 4.0, last);
            }
        }
    }
    return score;
}

} // namespace music
