// Feeds arbitrary bytes to the WAV reader of effect buffers: it either refuses the file with its
// message or returns a PCM format and data that the file really holds.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sound/sound_error.h"
#include "sound/wav_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FILE* file = std::tmpfile();
    if (!file) return 0;
    if (size > 0 && std::fwrite(data, 1, size, file) != size) {
        std::fclose(file);
        return 0;
    }
    std::rewind(file);
    plat::WaveFormatEx format;
    std::vector<uint8_t> pcm;
    try {
        ReadWavFile(file, "fuzz.wav", &format, &pcm);
        if (format.formatTag != plat::WAVE_FORMAT_PCM) std::abort();
        if (pcm.size() > size) std::abort(); // never more than the file holds
    } catch (const YSoundError& e) {
        if (std::string(e.what()) != "Invalid WAV format fuzz.wav") std::abort();
        if (!pcm.empty()) std::abort();
    }
    std::fclose(file);
    return 0;
}
