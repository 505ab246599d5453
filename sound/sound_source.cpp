#include "sound/sound_source.h"

#include "sound/sound_buffer.h"
#include "sound/sound_error.h"

YSoundSource::YSoundSource(YSoundBuffer* source) : source_(source) {
    RegisterSoundVoice(this);
    if (GetSoundDevice()) {
        try {
            Create();
        } catch (...) {
            Release();
            UnregisterSoundVoice(this);
            throw;
        }
    }
}

YSoundSource::~YSoundSource() {
    UnqueueSoundPlay(this);
    UnregisterSoundVoice(this);
    Release();
}

void YSoundSource::Create() {
    if (buffer_ || !source_ || !source_->GetBuffer()) return;
    std::shared_ptr<plat::DsDevice> device = GetSoundDevice();
    if (!device) return;

    std::shared_ptr<plat::DsBuffer> buffer;
    if (plat::DsFailed(device->DuplicateSoundBuffer(*source_->GetBuffer(), &buffer)) || !buffer)
        throw YSoundError("Could create SoundSource");
    std::shared_ptr<plat::Ds3DBuffer> buffer3D;
    if (plat::DsFailed(buffer->QueryInterface(&buffer3D)) || !buffer3D)
        throw YSoundError("QueryInterface::IID_IDirectSound3DBuffer error");
    buffer_ = std::move(buffer);
    buffer3D_ = std::move(buffer3D);
    ApplyVolume();
}

void YSoundSource::Release() {
    buffer3D_.reset();
    buffer_.reset();
}

void YSoundSource::Play(bool loop) {
    if (!buffer_) return;
    loop_ = loop;
    QueueSoundPlay(this);
    pending_ = true;
}

void YSoundSource::CommitPlay() {
    if (buffer_) {
        const uint32_t flags = loop_ ? plat::DSBPLAY_LOOPING : 0;
        if (buffer_->Play(0, 0, flags) == plat::DSERR_BUFFERLOST && source_ && source_->Restore())
            buffer_->Play(0, 0, flags);
    }
    pending_ = false;
}

bool YSoundSource::IsPlaying() const {
    if (pending_) return true;
    if (!buffer_) return false;
    uint32_t status = 0;
    if (plat::DsFailed(buffer_->GetStatus(&status))) return false;
    return (status & plat::DSBSTATUS_PLAYING) != 0;
}

void YSoundSource::SetPosition(const YVector* position) {
    if (buffer3D_ && position) buffer3D_->SetPosition(position->x, position->y, position->z, plat::DS3D_DEFERRED);
    MarkListenerChanged();
}

void YSoundSource::SetVelocity(const YVector* velocity) {
    if (buffer3D_ && velocity) buffer3D_->SetVelocity(velocity->x, velocity->y, velocity->z, plat::DS3D_DEFERRED);
    MarkListenerChanged();
}

void YSoundSource::SetVolume(float volume) {
    volume_ = volume;
    ApplyVolume();
}

void YSoundSource::ApplyVolume() {
    if (buffer_) buffer_->SetVolume(SoundVolumeMb(GetSoundVolume(), volume_));
}
