#include "sound/ogg_reader.h"

#include <cstdio>
#include <vector>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include "core/log.h"
#include "platform/sys/files.h"
#include "sound/sound_error.h"

struct YOggReader::Decoder {
    OggVorbis_File file;
};

namespace {

// The decoder reads through the C stream the reader opened; clearing the decoder closes it.
size_t ReadCallback(void* ptr, size_t size, size_t count, void* source) {
    return std::fread(ptr, size, count, static_cast<FILE*>(source));
}

int SeekCallback(void* source, ogg_int64_t offset, int whence) {
    return std::fseek(static_cast<FILE*>(source), static_cast<long>(offset), whence);
}

int CloseCallback(void* source) { return std::fclose(static_cast<FILE*>(source)); }

long TellCallback(void* source) { return std::ftell(static_cast<FILE*>(source)); }

const ov_callbacks kCallbacks = {ReadCallback, SeekCallback, CloseCallback, TellCallback};

// Whether the file ends with a whole Ogg page that carries the end-of-stream flag, as every file
// written to its end does. A file cut short (or damaged at its end) does not; the decoder then just
// stops early without a word. Leaves the file at its start.
bool EndsWithLastPage(FILE* file) {
    constexpr long kHeader = 27; // capture pattern to segment count
    constexpr long kMaxPage = kHeader + 255 + 255 * 255;
    bool whole = false;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        const long tail = size < kMaxPage ? size : kMaxPage;
        std::vector<unsigned char> bytes(static_cast<size_t>(tail > 0 ? tail : 0));
        if (tail > 0 && std::fseek(file, size - tail, SEEK_SET) == 0 &&
            std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size()) {
            // The last page is the one whose header, segment table and body end exactly at the end.
            for (long i = tail - kHeader; i >= 0 && !whole; --i) {
                const unsigned char* p = bytes.data() + i;
                if (p[0] != 'O' || p[1] != 'g' || p[2] != 'g' || p[3] != 'S' || p[4] != 0) continue;
                const long segments = p[26];
                if (i + kHeader + segments > tail) continue;
                long body = 0;
                for (long k = 0; k < segments; ++k) body += p[kHeader + k];
                if (i + kHeader + segments + body == tail) whole = (p[5] & 0x04) != 0;
            }
        }
    }
    std::fseek(file, 0, SEEK_SET);
    return whole;
}

} // namespace

YOggReader::YOggReader() = default;

YOggReader::~YOggReader() { Close(); }

const char* YOggReader::ErrorText(int code) {
    switch (code) {
        case OV_EREAD: return "Read from media.";
        case OV_EFAULT: return "Internal logic fault (bug or heap/stack corruption.";
        case OV_ENOTVORBIS: return "Not Vorbis data.";
        case OV_EBADHEADER: return "Invalid Vorbis header.";
        case OV_EVERSION: return "Vorbis version mismatch.";
        default: return "Unknown Ogg error.";
    }
}

void YOggReader::Open(const std::string& path) {
    Close();
    LogPrintf(g_Log, "Open OGG stream %s", path.c_str());
    FILE* file = plat::OpenFile(path, "rb");
    if (!file) throw YSoundError("Could not open Ogg file. " + path);
    const bool complete = EndsWithLastPage(file);

    auto decoder = std::make_unique<Decoder>();
    const int opened = ov_open_callbacks(file, &decoder->file, nullptr, 0, kCallbacks);
    if (opened < 0) {
        // A failed open leaves the file to the caller.
        std::fclose(file);
        throw YSoundError(std::string("Could not open Ogg stream. ") + ErrorText(opened) + " " + path);
    }

    const vorbis_info* info = ov_info(&decoder->file, -1);
    const ogg_int64_t samples = ov_pcm_total(&decoder->file, -1);
    if (!info || info->channels <= 0 || info->rate <= 0 || samples <= 0) {
        // An unseekable or odd stream reports a negative total: no usable length.
        const int code = samples < 0 ? static_cast<int>(samples) : -1;
        ov_clear(&decoder->file);
        throw YSoundError(std::string(ErrorText(code)) + " " + path);
    }

    plat::WaveFormatEx f;
    f.formatTag = plat::WAVE_FORMAT_PCM;
    f.channels = static_cast<uint16_t>(info->channels);
    f.samplesPerSec = static_cast<uint32_t>(info->rate);
    f.bitsPerSample = 16;
    f.blockAlign = static_cast<uint16_t>(info->channels * 2);
    f.avgBytesPerSec = f.samplesPerSec * f.blockAlign;
    f.extraSize = 0;
    format_ = f;
    length_ = static_cast<uint64_t>(samples) * static_cast<uint64_t>(info->channels) * 2u;
    decoder_ = std::move(decoder);
    path_ = path;
    holeLogged_ = false;
    holes_ = 0;
    // What is there still plays; the log says the file is not whole.
    if (!complete) LogPrintf(g_Log, "Ogg stream %s: the file is cut short or damaged at its end", path.c_str());
}

uint32_t YOggReader::Read(void* dest, uint32_t count) {
    if (!decoder_) return 0;
    char* out = static_cast<char*>(dest);
    uint32_t done = 0;
    const uint32_t frame = format_.blockAlign > 0 ? format_.blockAlign : 1;
    while (done < count) {
        // The decoder hands out whole frames only, and refuses a request smaller than one.
        uint32_t want = count - done;
        if (want > (1u << 30)) want = 1u << 30;
        want -= want % frame;
        if (want == 0) break;
        int section = 0;
        const long got = ov_read(&decoder_->file, out + done, static_cast<int>(want), 0 /* little-endian */,
                                 2 /* 16-bit */, 1 /* signed */, &section);
        if (got == 0) break;
        if (got == OV_HOLE) {
            // A damaged or missing page: the decoder has skipped past it and goes on with the next
            // good one, so the music goes on with a short jump. Said once per file; a file that is
            // nothing but holes ends as if it ended there.
            if (!holeLogged_) {
                LogPrintf(g_Log, "Ogg stream %s: damaged data skipped", path_.c_str());
                holeLogged_ = true;
            }
            if (++holes_ > kMaxHolesInARow) break;
            continue;
        }
        if (got < 0) throw YSoundError(std::string(ErrorText(static_cast<int>(got))) + " " + path_);
        holes_ = 0;
        done += static_cast<uint32_t>(got);
    }
    return done;
}

void YOggReader::Rewind() {
    if (!decoder_) return;
    holes_ = 0;
    const int r = ov_pcm_seek(&decoder_->file, 0);
    if (r < 0) throw YSoundError(std::string(ErrorText(r)) + " " + path_);
}

void YOggReader::Close() {
    if (!decoder_) return;
    LogLine("Close OGG stream.");
    ov_clear(&decoder_->file);
    decoder_.reset();
    length_ = 0;
}

bool YOggReader::IsOpen() const { return decoder_ != nullptr; }
