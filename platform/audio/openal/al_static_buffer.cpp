#include <algorithm>

#include "platform/audio/openal/al_system.h"

namespace plat {

namespace {

uint8_t SilenceByte(const WaveFormatEx& format) { return format.bitsPerSample == 8 ? 0x80 : 0x00; }

} // namespace

DsResult AlStaticBuffer::Create(std::shared_ptr<AlSystem> system, const DsBufferDesc& desc,
                                std::shared_ptr<DsBuffer>* out) {
    auto data = std::make_shared<AlSharedData>();
    data->memory.assign(desc.bufferBytes, SilenceByte(*desc.format));
    AlSystem& sys = *system;
    auto buffer = std::make_shared<AlStaticBuffer>(std::move(system), desc.flags, *desc.format, std::move(data));
    bool made;
    {
        std::lock_guard<std::mutex> lock(sys.mutex);
        made = buffer->InitLocked();
    }
    // A buffer that failed is destroyed here, outside the lock its destructor takes.
    if (!made) return DSERR_OUTOFMEMORY;
    *out = std::move(buffer);
    return DS_OK;
}

DsResult AlStaticBuffer::Duplicate(std::shared_ptr<DsBuffer>* out) {
    auto voice = std::make_shared<AlStaticBuffer>(system_, flags_, format_, data_);
    bool made;
    {
        std::lock_guard<std::mutex> lock(system_->mutex);
        voice->CopySettingsLocked(*this);
        made = voice->InitLocked();
    }
    if (!made) return DSERR_OUTOFMEMORY;
    *out = std::move(voice);
    return DS_OK;
}

AlStaticBuffer::AlStaticBuffer(std::shared_ptr<AlSystem> system, uint32_t flags, const WaveFormatEx& format,
                               std::shared_ptr<AlSharedData> data)
    : AlSourceBuffer(std::move(system), flags, format), data_(std::move(data)) {}

AlStaticBuffer::~AlStaticBuffer() {
    std::lock_guard<std::mutex> lock(system_->mutex);
    if (source_ != 0) {
        alSourceStop(source_);
        alSourcei(source_, AL_BUFFER, 0);
    }
    std::erase(data_->users, this);
    // OpenAL refuses to delete a buffer a source still holds, so the last voice deletes it,
    // whichever of the original and its duplicates goes last.
    if (data_->users.empty() && data_->alBuffer != 0) {
        alDeleteBuffers(1, &data_->alBuffer);
        data_->alBuffer = 0;
        data_->uploaded = false;
    }
    alGetError();
}

bool AlStaticBuffer::InitLocked() {
    alGetError();
    if (data_->alBuffer == 0) {
        alGenBuffers(1, &data_->alBuffer);
        if (alGetError() != AL_NO_ERROR) {
            data_->alBuffer = 0;
            return false;
        }
    }
    if (!CreateSourceLocked()) return false;
    data_->users.push_back(this);
    if (data_->uploaded) alSourcei(source_, AL_BUFFER, static_cast<ALint>(data_->alBuffer));
    return true;
}

void AlStaticBuffer::UploadLocked() {
    AlSharedData& d = *data_;
    if (!d.dirty || d.locks > 0) return;
    // New bytes wait while any voice on them plays; OpenAL cannot change a buffer in use.
    for (AlStaticBuffer* user : d.users) {
        ALint state = AL_INITIAL;
        alGetSourcei(user->source_, AL_SOURCE_STATE, &state);
        if (state == AL_PLAYING || state == AL_PAUSED) return;
    }
    for (AlStaticBuffer* user : d.users) alSourcei(user->source_, AL_BUFFER, 0);
    const uint32_t frame = format_.blockAlign;
    const auto whole = static_cast<ALsizei>(d.memory.size() / frame * frame);
    alGetError();
    if (whole > 0)
        alBufferData(d.alBuffer, alFormat_, d.memory.data(), whole, static_cast<ALsizei>(format_.samplesPerSec));
    d.uploaded = whole > 0 && alGetError() == AL_NO_ERROR;
    d.dirty = false;
    if (d.uploaded)
        for (AlStaticBuffer* user : d.users) alSourcei(user->source_, AL_BUFFER, static_cast<ALint>(d.alBuffer));
    alGetError();
}

uint32_t AlStaticBuffer::CursorLocked() {
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING) return startOffset_;
    ALint offset = 0;
    alGetSourcei(source_, AL_BYTE_OFFSET, &offset);
    return static_cast<uint32_t>(std::max(offset, 0));
}

DsResult AlStaticBuffer::GetStatus(uint32_t* status) {
    if (status == nullptr) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(system_->mutex);
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    *status = 0;
    if (state == AL_PLAYING) *status = looping_ ? DSBSTATUS_PLAYING | DSBSTATUS_LOOPING : DSBSTATUS_PLAYING;
    return DS_OK;
}

DsResult AlStaticBuffer::GetCurrentPosition(uint32_t* play, uint32_t* write) {
    std::lock_guard<std::mutex> lock(system_->mutex);
    uint32_t cursor = CursorLocked();
    if (play != nullptr) *play = cursor;
    if (write != nullptr) *write = cursor;
    return DS_OK;
}

DsResult AlStaticBuffer::SetCurrentPosition(uint32_t offset) {
    if (offset >= data_->memory.size()) return DSERR_INVALIDPARAM;
    offset -= offset % format_.blockAlign;
    std::lock_guard<std::mutex> lock(system_->mutex);
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING) {
        alSourcei(source_, AL_BYTE_OFFSET, static_cast<ALint>(offset));
        alGetError();
    } else {
        startOffset_ = offset;
    }
    return DS_OK;
}

DsResult AlStaticBuffer::Lock(uint32_t offset, uint32_t bytes, void** audio1, uint32_t* bytes1, void** audio2,
                              uint32_t* bytes2, uint32_t flags) {
    if (audio1 == nullptr || bytes1 == nullptr) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(system_->mutex);
    const auto size = static_cast<uint32_t>(data_->memory.size());
    const DsResult r =
        DsLockRegions(data_->memory.data(), size, CursorLocked(), offset, bytes, flags, audio1, bytes1, audio2, bytes2);
    if (DsFailed(r)) return r;
    ++data_->locks;
    return DS_OK;
}

DsResult AlStaticBuffer::Unlock(void* audio1, uint32_t bytes1, void* audio2, uint32_t bytes2) {
    std::lock_guard<std::mutex> lock(system_->mutex);
    if (data_->locks == 0) return DSERR_INVALIDCALL;
    const uint8_t* base = data_->memory.data();
    const auto size = static_cast<uint32_t>(data_->memory.size());
    if (!DsUnlockRegionsInside(base, size, audio1, bytes1, audio2, bytes2)) return DSERR_INVALIDPARAM;
    --data_->locks;
    if (bytes1 + bytes2 > 0) data_->dirty = true;
    UploadLocked();
    return DS_OK;
}

DsResult AlStaticBuffer::Play(uint32_t reserved, uint32_t priority, uint32_t flags) {
    if (reserved != 0 || (flags & ~DSBPLAY_LOOPING) != 0) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(system_->mutex);
    looping_ = (flags & DSBPLAY_LOOPING) != 0;
    alSourcei(source_, AL_LOOPING, looping_ ? AL_TRUE : AL_FALSE);
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING) return DS_OK; // a playing buffer only takes the new looping flag
    UploadLocked();
    if (!data_->uploaded) {
        startOffset_ = 0; // nothing to play: ends at once
        return DS_OK;
    }
    // A stopped source starts over; the byte offset set before the play says where.
    alSourcei(source_, AL_BYTE_OFFSET, static_cast<ALint>(startOffset_));
    alSourcePlay(source_);
    startOffset_ = 0;
    alGetError();
    return DS_OK;
}

DsResult AlStaticBuffer::Stop() {
    std::lock_guard<std::mutex> lock(system_->mutex);
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING) return DS_OK;
    // Stopped rather than paused, so that new bytes can reach the buffer; Play goes on from here.
    startOffset_ = CursorLocked();
    alSourceStop(source_);
    return DS_OK;
}

} // namespace plat
