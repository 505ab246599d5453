#pragma once
// The synthesised instruments. Each renders one note into a track: `start` and `gate` are in
// frames (the note sounds for `gate` frames, then releases), `freq` in Hz.
#include <cstdint>

#include "tools/dsp/rng.h"
#include "tools/musicgen/song.h"
#include "tools/musicgen/track.h"

namespace music {

struct NoteOn {
    int64_t start;
    int64_t gate;
    double freq;
    double velocity;
};

// Plucked string (Karplus-Strong).
void RenderPluck(StereoTrack& out, const NoteOn& n, const Pan& pan, dsp::Rng& rng);
// Two-operator FM electric piano with a slow auto-pan.
void RenderEPiano(StereoTrack& out, const NoteOn& n, const Pan& pan);
// Two detuned band-limited saws per side through a slowly moving low-pass; slow attack and release.
void RenderPad(StereoTrack& out, const NoteOn& n);
// Round bass: a sine with a filtered saw on top.
void RenderBass(StereoTrack& out, const NoteOn& n);
// Melody voices: a breathy flute, a soft square, a bell.
void RenderLead(StereoTrack& out, const NoteOn& n, Voice voice, const Pan& pan, dsp::Rng& rng);

} // namespace music
