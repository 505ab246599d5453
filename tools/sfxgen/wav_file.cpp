#include "tools/sfxgen/wav_file.h"

#include <cstdint>

#include "tools/dsp/signal_stats.h"

namespace sfx {

namespace {

void Put16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

} // namespace

std::string EncodeWav(const std::vector<float>& samples, unsigned rate) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    const uint32_t fmtBytes = 18;
    std::string out;
    out.reserve(46 + dataBytes + 1);
    out += "RIFF";
    Put32(out, 4 + (8 + fmtBytes) + (8 + dataBytes + (dataBytes & 1)));
    out += "WAVE";
    out += "fmt ";
    Put32(out, fmtBytes);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, rate);
    Put32(out, rate * 2); // bytes per second
    Put16(out, 2);        // block alignment
    Put16(out, 16);       // bits per sample
    Put16(out, 0);        // extra size
    out += "data";
    Put32(out, dataBytes);
    for (float v : samples) Put16(out, static_cast<uint16_t>(dsp::ToPcm16(v)));
    return out;
}

} // namespace sfx
