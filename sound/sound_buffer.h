#pragma once
// One whole sound decoded to PCM in memory (from a WAV or an Ogg Vorbis file) and, while the device
// exists, one static 3D buffer filled from it. Effect voices duplicate that buffer. The decoded
// data stays for the object's life, so the device buffer can be made again after every device
// change and refilled after a loss.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/device.h"
#include "sound/sound_device.h"

class YSoundBuffer : public YSoundResource {
public:
    YSoundBuffer() = default;
    ~YSoundBuffer() override;

    // Decodes the file, chosen by its extension ("wav" or "ogg", any case), then makes the device
    // buffer when the device exists. Throws YSoundError: "SoundBuffer already opened." when a
    // device buffer exists, "Invalid filename: " + path without an extension, "Unknown file type: "
    // + path for another one, and the decoders' messages. Nothing changes on failure.
    void Open(const char* path);

    // With a device, no device buffer yet and some data: makes the buffer (logged as
    // "DS8::CreateSoundBuffer error: %s" with the file name on failure) and fills it.
    void Create() override;
    void Release() override;
    // Gives a lost device buffer its memory back and refills it; false when that fails.
    bool Restore();
    // Copies the data into the whole device buffer. Throws "DS8::Lock error" / "DS8::Unlock error".
    void Fill();

    plat::DsBuffer* GetBuffer() const { return buffer_.get(); }
    const plat::WaveFormatEx& Format() const { return format_; }
    const std::vector<uint8_t>& Data() const { return data_; }
    const std::string& FileName() const { return fileName_; }

private:
    void LoadWav(const std::string& path);
    void LoadOgg(const std::string& path);

    plat::WaveFormatEx format_;
    std::shared_ptr<plat::DsBuffer> buffer_;
    std::vector<uint8_t> data_;
    std::string fileName_;
};
