#include "sound/wav_reader.h"

#include <cstring>

#include "sound/sound_error.h"

namespace {

// A RIFF chunk header: four-character id and the size of the data that follows it.
struct ChunkHeader {
    char id[4];
    uint32_t size;
};

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

class WavParser {
public:
    WavParser(FILE* file, const std::string& path, std::string* warning)
        : file_(file), path_(path), warning_(warning) {}

    void Parse(plat::WaveFormatEx* format, std::vector<uint8_t>* data) {
        if (std::fseek(file_, 0, SEEK_END) != 0) Fail();
        const long end = std::ftell(file_);
        if (end < 0) Fail();
        fileSize_ = static_cast<uint64_t>(end);

        // The RIFF chunk of form "WAVE", searched among the chunks at the top of the file.
        uint64_t pos = 0;
        uint64_t riffEnd = 0;
        uint64_t inside = 0;
        for (;;) {
            ChunkHeader h;
            if (!ReadHeader(pos, &h)) Fail();
            if (Is(h, "RIFF")) {
                uint8_t form[4];
                if (!ReadAt(pos + 8, form, 4)) Fail();
                if (std::memcmp(form, "WAVE", 4) == 0) {
                    inside = pos + 12;
                    riffEnd = pos + 8 + static_cast<uint64_t>(h.size);
                    // The RIFF chunk fills the file (a pad byte after an odd size aside).
                    if (riffEnd != fileSize_ && riffEnd + (h.size & 1u) != fileSize_)
                        Warn("its RIFF chunk claims " + std::to_string(riffEnd) + " bytes, the file has " +
                             std::to_string(fileSize_));
                    if (riffEnd > fileSize_) riffEnd = fileSize_;
                    break;
                }
            }
            pos = Next(pos, h);
        }

        // The chunk right after the form type must be the format.
        ChunkHeader fmt;
        if (inside + 8 > riffEnd || !ReadHeader(inside, &fmt) || !Is(fmt, "fmt ")) Fail();
        const uint64_t fmtData = inside + 8;
        // 18 bytes, as the format record is long; a 16-byte chunk (the usual PCM layout) gives
        // two bytes of whatever follows as its unused extra size.
        uint8_t raw[18];
        if (!ReadAt(fmtData, raw, sizeof raw)) Fail();
        plat::WaveFormatEx f;
        f.formatTag = Le16(raw + 0);
        f.channels = Le16(raw + 2);
        f.samplesPerSec = Le32(raw + 4);
        f.avgBytesPerSec = Le32(raw + 8);
        f.blockAlign = Le16(raw + 12);
        f.bitsPerSample = Le16(raw + 14);
        f.extraSize = fmt.size >= 18 ? Le16(raw + 16) : 0;
        if (f.formatTag != plat::WAVE_FORMAT_PCM) Fail();
        if (f.channels == 0 || f.bitsPerSample == 0 || f.bitsPerSample % 8 != 0 ||
            f.blockAlign != f.channels * (f.bitsPerSample / 8) ||
            f.avgBytesPerSec != static_cast<uint64_t>(f.samplesPerSec) * f.blockAlign ||
            (fmt.size >= 18 && f.extraSize != fmt.size - 18))
            Warn("its format fields disagree with each other");

        // Step out of the format chunk and search the rest of the RIFF chunk for the data.
        pos = Next(inside, fmt);
        ChunkHeader h;
        for (;;) {
            if (pos + 8 > riffEnd || !ReadHeader(pos, &h)) Fail();
            if (Is(h, "data")) break;
            pos = Next(pos, h);
        }
        const uint64_t dataStart = pos + 8;
        if (h.size > SOUND_MAX_DATA_BYTES || dataStart + h.size > fileSize_) Fail();

        if (f.blockAlign > 0 && h.size % f.blockAlign != 0) Warn("its data is no whole number of frames");
        // What follows the data up to the end of the RIFF chunk must be whole chunks.
        for (uint64_t after = Next(pos, h); after < riffEnd;) {
            ChunkHeader next;
            if (after + 8 > riffEnd || !ReadHeader(after, &next) || after + 8 + next.size > riffEnd) {
                Warn("bytes after its data form no chunk");
                break;
            }
            after = Next(after, next);
        }

        std::vector<uint8_t> bytes(h.size);
        if (h.size > 0 && !ReadAt(dataStart, bytes.data(), h.size)) Fail();
        *format = f;
        *data = std::move(bytes);
    }

private:
    [[noreturn]] void Fail() { throw YSoundError("Invalid WAV format " + path_); }

    // The first sign of damage in a file that still reads.
    void Warn(const std::string& what) {
        if (warning_ && warning_->empty()) *warning_ = "WAV file " + path_ + " looks damaged: " + what;
    }

    static bool Is(const ChunkHeader& h, const char (&id)[5]) { return std::memcmp(h.id, id, 4) == 0; }

    // Where the chunk after the one at `pos` starts: chunks are padded to an even size.
    static uint64_t Next(uint64_t pos, const ChunkHeader& h) {
        return pos + 8 + static_cast<uint64_t>(h.size) + (h.size & 1u);
    }

    bool ReadAt(uint64_t pos, void* out, size_t bytes) {
        if (pos > fileSize_ || bytes > fileSize_ - pos) return false;
        if (std::fseek(file_, static_cast<long>(pos), SEEK_SET) != 0) return false;
        return std::fread(out, 1, bytes, file_) == bytes;
    }

    bool ReadHeader(uint64_t pos, ChunkHeader* h) {
        uint8_t raw[8];
        if (!ReadAt(pos, raw, sizeof raw)) return false;
        std::memcpy(h->id, raw, 4);
        h->size = Le32(raw + 4);
        return true;
    }

    FILE* file_;
    const std::string& path_;
    std::string* warning_;
    uint64_t fileSize_ = 0;
};

} // namespace

void ReadWavFile(FILE* file, const std::string& path, plat::WaveFormatEx* format, std::vector<uint8_t>* data,
                 std::string* warning) {
    if (warning) warning->clear();
    WavParser(file, path, warning).Parse(format, data);
}
