#pragma once
// Mono 16-bit PCM WAV encoding.
#include <string>
#include <vector>

namespace sfx {

// The bytes of a RIFF "WAVE" file: an 18-byte "fmt " chunk (PCM, one channel, 16 bits, extra
// size 0) followed by the "data" chunk. Samples are clamped to [-1, 1].
std::string EncodeWav(const std::vector<float>& samples, unsigned rate);

} // namespace sfx
