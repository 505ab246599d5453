// The game's tracks. In sorted file order the first is the menu track and the second the
// game-over track; the other six make the shuffled play list, each of its own character (tempo,
// key, mode, instruments and groove), so that the shuffle does not keep coming back to one sound. Each one loops: its last bar leads back
// into its first, and its sound wraps around the loop point.
#include "tools/musicgen/song.h"

namespace music {

namespace {

constexpr std::array<int, 7> kMajor = {0, 2, 4, 5, 7, 9, 11};
constexpr std::array<int, 7> kMinor = {0, 2, 3, 5, 7, 8, 10};

std::vector<Song> Build() {
    std::vector<Song> songs;

    // Menu: unhurried, D major, electric piano and pad over a brushed groove.
    {
        Song s{};
        s.file = "00_menu.ogg";
        s.seed = 1001;
        s.bpm = 88.0;
        s.tonic = 62;
        s.scale = kMajor;
        s.chords = {{0}, {5}, {3}, {4}, {0}, {2}, {3}, {1, 4}};
        s.sevenths = true;
        s.sections = {
            {4, true, false, true, false, 0, 0}, {8, true, true, true, true, 1, 0},  {8, true, true, true, true, 1, 1},
            {8, true, true, false, true, 1, 2},  {4, true, true, true, false, 0, 0},
        };
        s.arpOrder = {0, 1, 2, 3, 4, 3, 2, 1};
        s.arpStep = 0.5;
        s.arpGate = 0.9;
        s.arpVoice = Voice::Pluck;
        s.bass = {{0.0, 1.5, 0}, {2.0, 1.0, 7}, {3.0, 0.75, 12}};
        s.keys = {{0.0, 1.4}, {1.5, 0.4}, {2.5, 1.4}};
        s.light.kick = "x.........x.....";
        s.light.rim = "....x.......x...";
        s.light.shaker = "x.o.x.o.x.o.x.o.";
        s.lead = Voice::Bell;
        s.leadLow = 69;
        s.leadHigh = 86;
        s.swing = 0.08;
        songs.push_back(s);
    }

    // Game over: slow A minor, a gentle arpeggiated piano, pad and a flute line; no drums.
    {
        Song s{};
        s.file = "01_game_over.ogg";
        s.seed = 2002;
        s.bpm = 68.0;
        s.tonic = 57;
        s.scale = kMinor;
        s.chords = {{0}, {5}, {2}, {6}, {3}, {0}, {5}, {4}};
        s.sevenths = false;
        s.sections = {
            {4, true, false, true, false, 0, 0},
            {8, true, false, true, true, 0, 1},
            {4, true, false, true, true, 0, 0},
            {4, true, false, true, false, 0, 0},
        };
        s.arpOrder = {0, 2, 4, 2, 1, 2, 3, 2};
        s.arpStep = 0.5;
        s.arpGate = 1.2;
        s.arpVoice = Voice::EPiano;
        s.bass = {{0.0, 3.8, 0}};
        s.lead = Voice::Flute;
        s.leadLow = 64;
        s.leadHigh = 81;
        s.swing = 0.0;
        songs.push_back(s);
    }

    // Play list 1: bouncy E minor at 120 bpm, plucked sixteenths and a driving bass.
    {
        Song s{};
        s.file = "02_bounce.ogg";
        s.seed = 3003;
        s.bpm = 120.0;
        s.tonic = 64;
        s.scale = kMinor;
        s.chords = {{0}, {5}, {6}, {4}, {0}, {5}, {3}, {6}};
        s.sevenths = false;
        s.sections = {
            {4, true, false, true, false, 1, 0}, {8, false, false, true, true, 2, 0},
            {8, true, false, true, true, 2, 1},  {4, true, false, true, false, 0, 0},
            {8, true, false, true, true, 2, 2},  {4, true, false, true, true, 1, 0},
        };
        s.arpOrder = {0, 1, 2, 4, 3, 2, 1, 2};
        s.arpStep = 0.25;
        s.arpGate = 0.4;
        s.arpVoice = Voice::Pluck;
        s.bass = {{0.0, 0.45, 0}, {0.5, 0.45, 0}, {1.0, 0.45, 12}, {1.5, 0.45, 0},
                  {2.0, 0.45, 0}, {2.5, 0.45, 7}, {3.0, 0.45, 12}, {3.5, 0.45, 7}};
        s.light.kick = "x.......x.......";
        s.light.hat = "..x...x...x...x.";
        s.full.kick = "x...x...x...x...";
        s.full.snare = "....x.......x...";
        s.full.hat = "x.o.x.o.x.o.x.o.";
        s.full.openHat = "..............x.";
        s.lead = Voice::Square;
        s.leadLow = 67;
        s.leadHigh = 84;
        s.swing = 0.0;
        songs.push_back(s);
    }

    // Play list 2: bright F major at 128 bpm, syncopated keys, claps and a bell-like lead.
    {
        Song s{};
        s.file = "03_sparks.ogg";
        s.seed = 4004;
        s.bpm = 128.0;
        s.tonic = 65;
        s.scale = kMajor;
        s.chords = {{0}, {4}, {5}, {3}, {1}, {3}, {0, 5}, {4}};
        s.sevenths = false;
        s.sections = {
            {4, true, true, false, false, 1, 0}, {8, true, true, true, true, 2, 0}, {8, true, true, true, true, 2, 1},
            {8, true, false, true, true, 1, 0},  {8, true, true, true, true, 2, 2}, {4, true, true, true, false, 1, 0},
        };
        s.arpOrder = {0, 2, 1, 3, 2, 4, 3, 5};
        s.arpStep = 0.5;
        s.arpGate = 0.45;
        s.arpVoice = Voice::Pluck;
        s.bass = {{0.0, 0.7, 0}, {0.75, 0.5, 0}, {1.5, 0.4, 12}, {2.0, 0.7, 0}, {2.75, 0.5, 7}, {3.5, 0.4, 5}};
        s.keys = {{0.0, 0.4}, {0.75, 0.4}, {1.5, 0.9}, {2.5, 0.4}, {3.25, 0.6}};
        s.light.kick = "x.......x.......";
        s.light.shaker = "o.x.o.x.o.x.o.x.";
        s.full.kick = "x.....x...x.....";
        s.full.clap = "....x.......x...";
        s.full.hat = "xoxoxoxoxoxoxoxo";
        s.full.shaker = "..x...x...x...x.";
        s.lead = Voice::Bell;
        s.leadLow = 69;
        s.leadHigh = 86;
        s.swing = 0.0;
        songs.push_back(s);
    }

    // Play list 3: a slow, swung A minor drift at 92 bpm, electric-piano arpeggios, a flute and
    // only rim and shaker.
    {
        Song s{};
        s.file = "04_drift.ogg";
        s.seed = 5005;
        s.bpm = 92.0;
        s.tonic = 57;
        s.scale = kMinor;
        s.chords = {{0}, {3}, {5}, {4}, {0}, {6}, {3}, {4}};
        s.sevenths = true;
        s.sections = {
            {4, true, false, true, false, 1, 0}, {8, true, true, true, true, 1, 1},
            {8, true, false, true, true, 1, 2},  {8, true, true, true, true, 1, 1},
            {4, true, false, true, false, 0, 0},
        };
        s.arpOrder = {0, 2, 4, 5, 4, 2, 1, 3};
        s.arpStep = 0.5;
        s.arpGate = 1.0;
        s.arpVoice = Voice::EPiano;
        s.bass = {{0.0, 1.8, 0}, {2.5, 1.2, 7}};
        s.keys = {{0.0, 3.5}};
        s.light.rim = "....x.......x..o";
        s.light.shaker = "x.o.x.o.x.o.x.o.";
        s.light.kick = "x.........x.....";
        s.lead = Voice::Flute;
        s.leadLow = 64;
        s.leadHigh = 81;
        s.swing = 0.12;
        songs.push_back(s);
    }

    // Play list 4: a fast D minor rush at 140 bpm, square lead over plucked sixteenths, clap on two
    // and four and an open hat that drives it.
    {
        Song s{};
        s.file = "05_rush.ogg";
        s.seed = 6006;
        s.bpm = 140.0;
        s.tonic = 62;
        s.scale = kMinor;
        s.chords = {{0}, {0}, {5}, {6}, {3}, {3}, {4}, {4}};
        s.sevenths = false;
        s.sections = {
            {4, false, false, true, true, 1, 0}, {8, true, false, true, true, 2, 1}, {8, true, false, true, true, 2, 2},
            {8, false, false, true, true, 1, 0}, {8, true, false, true, true, 2, 1}, {8, true, false, true, true, 2, 2},
            {4, true, false, true, false, 1, 0},
        };
        s.arpOrder = {0, 1, 2, 1, 3, 2, 4, 2};
        s.arpStep = 0.25;
        s.arpGate = 0.3;
        s.arpVoice = Voice::Pluck;
        s.bass = {{0.0, 0.4, 0}, {0.5, 0.4, 12}, {1.0, 0.4, 0},  {1.5, 0.4, 12},
                  {2.0, 0.4, 0}, {2.5, 0.4, 12}, {3.0, 0.4, 10}, {3.5, 0.4, 7}};
        s.light.kick = "x.......x.......";
        s.light.hat = "x.x.x.x.x.x.x.x.";
        s.full.kick = "x...x...x...x...";
        s.full.clap = "....x.......x...";
        s.full.hat = "xoxoxoxoxoxoxoxo";
        s.full.openHat = "..x...x...x...x.";
        s.lead = Voice::Square;
        s.leadLow = 62;
        s.leadHigh = 79;
        s.swing = 0.0;
        songs.push_back(s);
    }

    // Play list 5: a warm E-flat major glow at 104 bpm, sevenths on electric piano, a bell melody and
    // a laid-back half-time beat.
    {
        Song s{};
        s.file = "06_glow.ogg";
        s.seed = 7007;
        s.bpm = 104.0;
        s.tonic = 63;
        s.scale = kMajor;
        s.chords = {{0}, {2}, {3}, {4}, {5}, {3}, {1}, {4}};
        s.sevenths = true;
        s.sections = {
            {4, true, true, false, false, 0, 0}, {8, true, true, false, true, 1, 1},
            {8, true, true, true, true, 2, 2},   {8, true, true, false, true, 1, 1},
            {4, true, true, true, true, 2, 0},   {4, true, true, false, false, 0, 0},
        };
        s.arpOrder = {0, 2, 4, 2};
        s.arpStep = 1.0;
        s.arpGate = 1.5;
        s.arpVoice = Voice::Bell;
        s.bass = {{0.0, 1.4, 0}, {1.5, 0.5, 7}, {2.0, 1.4, 0}, {3.5, 0.5, 5}};
        s.keys = {{0.0, 0.9}, {1.0, 0.4}, {2.5, 1.4}};
        s.light.kick = "x...............";
        s.light.rim = "........x.......";
        s.light.shaker = "..o...o...o...o.";
        s.full.kick = "x.........x.....";
        s.full.snare = "........x.......";
        s.full.hat = "x.x.x.x.x.x.x.x.";
        s.lead = Voice::Bell;
        s.leadLow = 70;
        s.leadHigh = 87;
        s.swing = 0.06;
        songs.push_back(s);
    }

    // Play list 6: a stomping C minor march at 112 bpm, a kick on every beat, dotted bass, square
    // lead and a flute answering it.
    {
        Song s{};
        s.file = "07_march.ogg";
        s.seed = 8008;
        s.bpm = 112.0;
        s.tonic = 60;
        s.scale = kMinor;
        s.chords = {{0}, {5}, {2}, {4}, {0}, {3}, {5, 6}, {4}};
        s.sevenths = false;
        s.sections = {
            {4, false, false, false, true, 1, 0}, {8, true, false, true, true, 2, 1},
            {8, true, true, true, true, 2, 2},    {8, true, false, false, true, 1, 1},
            {8, true, true, true, true, 2, 2},    {4, true, false, true, true, 1, 0},
        };
        s.arpOrder = {0, 2, 1, 2};
        s.arpStep = 0.5;
        s.arpGate = 0.35;
        s.arpVoice = Voice::Pluck;
        s.bass = {{0.0, 0.7, 0}, {0.75, 0.2, 0}, {1.0, 0.7, 7},  {1.75, 0.2, 7},
                  {2.0, 0.7, 0}, {2.75, 0.2, 0}, {3.0, 0.7, 10}, {3.75, 0.2, 12}};
        s.keys = {{0.0, 0.3}, {2.0, 0.3}};
        s.light.kick = "x...x...x...x...";
        s.light.hat = "..x...x...x...x.";
        s.full.kick = "x...x...x...x...";
        s.full.snare = "....x.......x..o";
        s.full.hat = "x.x.x.x.x.x.x.x.";
        s.full.openHat = "..............x.";
        s.lead = Voice::Square;
        s.leadLow = 60;
        s.leadHigh = 77;
        s.swing = 0.0;
        songs.push_back(s);
    }
    return songs;
}

} // namespace

const std::vector<Song>& Songs() {
    static const std::vector<Song> songs = Build();
    return songs;
}

} // namespace music
