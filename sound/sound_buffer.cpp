#include "sound/sound_buffer.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <exception>

#include "core/log.h"
#include "platform/sys/files.h"
#include "sound/ogg_reader.h"
#include "sound/sound_error.h"
#include "sound/wav_reader.h"

YSoundBuffer::~YSoundBuffer() { Release(); }

void YSoundBuffer::Open(const char* path) {
    if (buffer_) throw YSoundError("SoundBuffer already opened.");
    const std::string file = path ? path : "";

    const size_t dot = file.rfind('.');
    if (dot == std::string::npos || dot + 1 == file.size()) throw YSoundError("Invalid filename: " + file);
    std::string extension = file.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));

    if (extension == "wav")
        LoadWav(file);
    else if (extension == "ogg")
        LoadOgg(file);
    else
        throw YSoundError("Unknown file type: " + file);
}

void YSoundBuffer::LoadWav(const std::string& path) {
    LogPrintf(g_Log, "Load WAV file %s", path.c_str());
    FILE* file = plat::OpenFile(path, "rb");
    if (!file) throw YSoundError("Could not open WAV file " + path);
    try {
        plat::WaveFormatEx format;
        std::vector<uint8_t> data;
        std::string warning;
        ReadWavFile(file, path, &format, &data, &warning);
        std::fclose(file);
        file = nullptr;
        if (!warning.empty()) LogLine(warning.c_str());
        format_ = format;
        data_ = std::move(data);
        fileName_ = path;
        if (GetSoundDevice()) Create();
    } catch (const std::exception& e) {
        if (file) std::fclose(file);
        LogPrintf(g_Log, "Load WAV file error: %s", e.what());
        throw;
    }
}

void YSoundBuffer::LoadOgg(const std::string& path) {
    YOggReader reader; // closed on every way out
    reader.Open(path);
    if (reader.Length() > SOUND_MAX_DATA_BYTES) throw YSoundError("Sound file too large: " + path);

    std::vector<uint8_t> data(static_cast<size_t>(reader.Length()));
    size_t filled = 0;
    while (filled < data.size()) {
        const uint32_t got = reader.Read(data.data() + filled, static_cast<uint32_t>(data.size() - filled));
        if (got == 0) break;
        filled += got;
    }
    format_ = reader.Format();
    data_ = std::move(data);
    fileName_ = path;
    if (GetSoundDevice()) Create();
    reader.Close();
}

void YSoundBuffer::Create() {
    if (buffer_ || data_.empty()) return;
    std::shared_ptr<plat::DsDevice> device = GetSoundDevice();
    if (!device) return;

    plat::DsBufferDesc desc;
    desc.size = plat::DSBUFFERDESC_SIZE;
    desc.flags = plat::DSBCAPS_CTRL3D | plat::DSBCAPS_CTRLVOLUME | plat::DSBCAPS_LOCDEFER;
    desc.bufferBytes = static_cast<uint32_t>(data_.size());
    desc.format = &format_;
    std::shared_ptr<plat::DsBuffer> buffer;
    if (plat::DsFailed(device->CreateSoundBuffer(desc, &buffer)) || !buffer) {
        LogPrintf(g_Log, "DS8::CreateSoundBuffer error: %s", fileName_.c_str());
        return;
    }
    buffer_ = std::move(buffer);
    Fill();
}

void YSoundBuffer::Release() { buffer_.reset(); }

bool YSoundBuffer::Restore() {
    if (!buffer_ || plat::DsFailed(buffer_->Restore())) return false;
    try {
        Fill();
    } catch (const std::exception& e) {
        LogPrintf(g_Log, "DirectSound error: %s", e.what());
        return false;
    }
    return true;
}

void YSoundBuffer::Fill() {
    if (!buffer_) return;
    void* audio = nullptr;
    uint32_t bytes = 0;
    if (plat::DsFailed(buffer_->Lock(0, 0, &audio, &bytes, nullptr, nullptr, plat::DSBLOCK_ENTIREBUFFER)) || !audio)
        throw YSoundError("DS8::Lock error");
    std::memcpy(audio, data_.data(), std::min<size_t>(bytes, data_.size()));
    if (plat::DsFailed(buffer_->Unlock(audio, bytes, nullptr, 0))) throw YSoundError("DS8::Unlock error");
}
