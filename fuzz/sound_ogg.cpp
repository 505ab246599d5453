// Feeds arbitrary bytes to the Ogg Vorbis reader through a file in the process's own scratch folder
// (so that parallel fuzzing jobs never share it): opening either fails with a message or gives a
// PCM format, and decoding, rewinding and decoding again stay within bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/log.h"
#include "fuzz_scratch.h"
#include "sound/ogg_reader.h"
#include "sound/sound_error.h"

namespace {

// At most this much is decoded per input, so that one input stays cheap.
constexpr uint32_t FUZZ_MAX_DECODE = 1u << 20;

void Check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        LogReopen(""); // no log file: the reader logs every open and close
        return true;
    }();
    (void)quiet;
    static FuzzScratch scratch("sound_ogg");
    const std::string path = scratch.Write("input.ogg", data, size);
    YOggReader reader;
    try {
        reader.Open(path);
    } catch (const YSoundError&) {
        Check(!reader.IsOpen());
        return 0;
    }
    const plat::WaveFormatEx& f = reader.Format();
    Check(f.formatTag == plat::WAVE_FORMAT_PCM && f.bitsPerSample == 16 && f.channels > 0);
    Check(f.blockAlign == f.channels * 2 && reader.Length() > 0);

    std::vector<uint8_t> pcm(4096);
    for (int pass = 0; pass < 2; ++pass) {
        uint32_t total = 0;
        try {
            for (;;) {
                const uint32_t got = reader.Read(pcm.data(), static_cast<uint32_t>(pcm.size()));
                Check(got <= pcm.size());
                if (got == 0 || (total += got) >= FUZZ_MAX_DECODE) break;
            }
            reader.Rewind();
        } catch (const YSoundError&) {
            break;
        }
    }
    reader.Close();
    Check(!reader.IsOpen());
    return 0;
}
