#pragma once
// A song as notes: what each part plays, in beats from the start of the loop.
#include <vector>

#include "tools/musicgen/song.h"

namespace music {

struct Note {
    double beat;
    double length;   // beats
    int pitch;       // MIDI
    double velocity; // 0..1
};

enum class Drum { Kick, Snare, Clap, Rim, Hat, OpenHat, Shaker };

struct DrumHit {
    double beat;
    Drum drum;
    double velocity;
};

struct Score {
    double beats = 0.0; // length of the loop
    std::vector<Note> pad, keys, arp, bass, lead;
    std::vector<DrumHit> drums;
};

// Composes the song: chords voiced with smooth voice leading, arpeggios and bass from the
// song's patterns, melodies made of two-bar motifs that follow the chords, and the drum patterns
// with a fill at the end of each section that has drums.
Score Compose(const Song& song);

} // namespace music
