#pragma once
// What a track is made of: tempo, key, chord progression, an arrangement in sections, and the
// patterns and instruments of each part. The composer turns this into notes; nothing here is
// random by itself, the song's seed drives every choice.
#include <array>
#include <cstdint>
#include <vector>

namespace music {

enum class Voice { None, Pluck, EPiano, Flute, Square, Bell };

// Which parts play in a stretch of bars. drums: 0 none, 1 light, 2 full; lead: 0 none, 1 the first
// melody, 2 the second.
struct Section {
    int bars;
    bool pad;
    bool keys;
    bool arp;
    bool bass;
    int drums;
    int lead;
};

// 16 steps per bar; 'X' accent, 'x' normal, 'o' soft, anything else rest. Null: not used.
struct DrumPattern {
    const char* kick = nullptr;
    const char* snare = nullptr;
    const char* clap = nullptr;
    const char* rim = nullptr;
    const char* hat = nullptr;
    const char* openHat = nullptr;
    const char* shaker = nullptr;
};

// A bass note: at `beat` in the bar, `length` beats long, `interval` semitones above the root.
struct BassHit {
    double beat;
    double length;
    int interval;
};

// A chord stroke of the keys: at `beat` in the bar, `length` beats long.
struct KeysHit {
    double beat;
    double length;
};

struct Song {
    const char* file;
    uint64_t seed;
    double bpm;
    int tonic;                            // MIDI note of the key's tonic, around the middle octave
    std::array<int, 7> scale;             // semitones of the seven degrees above the tonic
    std::vector<std::vector<int>> chords; // per bar, one or two chord degrees (0-based)
    bool sevenths;
    std::vector<Section> sections;

    std::vector<int> arpOrder; // indexes into the chord's tones (0.. 5, two octaves)
    double arpStep;            // beats between arpeggio notes
    double arpGate;            // beats each arpeggio note sounds
    Voice arpVoice;
    std::vector<BassHit> bass;
    std::vector<KeysHit> keys;
    DrumPattern light;
    DrumPattern full;
    Voice lead;
    int leadLow, leadHigh; // MIDI range of the melody
    double swing;          // beats that off-beat eighths are late
};

const std::vector<Song>& Songs();

} // namespace music
