#pragma once
// An Ogg Vorbis file decoded to 16-bit signed little-endian PCM, for effect buffers (decoded whole)
// and streams (decoded a piece at a time). Failures throw YSoundError with the messages below.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio/ds_types.h"

class YOggReader {
public:
    YOggReader();
    ~YOggReader(); // closes an open file
    YOggReader(const YOggReader&) = delete;
    YOggReader& operator=(const YOggReader&) = delete;

    // Logs "Open OGG stream %s". Throws "Could not open Ogg file. " + path when the file will not
    // open, "Could not open Ogg stream. " + ErrorText(code) + " " + path when it holds no Vorbis
    // stream, and ErrorText + " " + path when its length is not a positive number of samples. A
    // file that does not end with the stream's last page opens, and is logged as
    // "Ogg stream <path>: the file is cut short or damaged at its end".
    void Open(const std::string& path);
    // Decodes into `dest` until `count` bytes are filled or the stream ends; returns the bytes
    // filled. A hole in the data (a damaged or lost page) is skipped, and logged once per file as
    // "Ogg stream <path>: damaged data skipped"; any other decoder error throws its ErrorText
    // followed by the path.
    uint32_t Read(void* dest, uint32_t count);
    // Back to the first sample.
    void Rewind();
    // Logs "Close OGG stream." when a file was open.
    void Close();

    bool IsOpen() const;
    // The path of the open file (as given to Open).
    const std::string& Path() const { return path_; }
    // PCM tag, the stream's channels and rate, 16 bits, block alignment channels * 2.
    const plat::WaveFormatEx& Format() const { return format_; }
    // Decoded length in bytes: samples per channel * channels * 2.
    uint64_t Length() const { return length_; }

    // The text for a libvorbisfile result code.
    static const char* ErrorText(int code);

private:
    struct Decoder;
    std::unique_ptr<Decoder> decoder_;
    // Holes in a row without a decoded byte between them after which the data counts as ended.
    static constexpr int kMaxHolesInARow = 4096;

    plat::WaveFormatEx format_;
    uint64_t length_ = 0;
    std::string path_;
    bool holeLogged_ = false;
    int holes_ = 0;
};
