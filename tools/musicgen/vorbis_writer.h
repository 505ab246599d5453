#pragma once
// Ogg Vorbis encoding of interleaved float samples (libvorbisenc, VBR).
#include <cstddef>
#include <cstdint>
#include <string>

namespace music {

// Encodes `frames` frames of `channels` interleaved samples at `rate` Hz with VBR `quality`
// (-0.1 .. 1.0) into `out`. `serial` names the logical stream, fixed so the output is the same
// on every run. Returns false with `error` set when the encoder refuses.
bool EncodeVorbis(const float* interleaved, std::size_t frames, int channels, long rate, float quality, int serial,
                  const char* title, std::string& out, std::string& error);

} // namespace music
