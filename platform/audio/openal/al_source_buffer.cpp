#define AL_ALEXT_PROTOTYPES
#include <AL/alext.h>

#include "platform/audio/openal/al_system.h"
#include "platform/audio/volume.h"

namespace plat {

AlSourceBuffer::AlSourceBuffer(std::shared_ptr<AlSystem> system, uint32_t flags, const WaveFormatEx& format)
    : system_(std::move(system)), flags_(flags), format_(format), alFormat_(AlFormatOf(format)) {}

AlSourceBuffer::~AlSourceBuffer() {
    std::lock_guard<std::mutex> lock(system_->mutex);
    system_->Unregister3D(this);
    if (source_ != 0) alDeleteSources(1, &source_);
}

bool AlSourceBuffer::CreateSourceLocked() {
    alGetError();
    alGenSources(1, &source_);
    if (alGetError() != AL_NO_ERROR) {
        source_ = 0;
        return false;
    }
    alSourcef(source_, AL_GAIN, DsVolumeToGain(volume_));
    if (flags_ & DSBCAPS_CTRL3D) {
        Apply3DLocked(pending3D_);
        alSourcef(source_, AL_ROLLOFF_FACTOR, system_->AppliedListener().rolloffFactor);
        system_->Register3D(this);
    } else {
        // A 2D buffer plays from the listener's head, unattenuated; stereo goes straight to the
        // two output channels.
        alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(source_, AL_POSITION, 0.0f, 0.0f, 0.0f);
        alSourcef(source_, AL_ROLLOFF_FACTOR, 0.0f);
        if (format_.channels == 2 && system_->HasDirectChannels()) alSourcei(source_, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
    }
    alGetError();
    return true;
}

void AlSourceBuffer::CopySettingsLocked(const AlSourceBuffer& original) {
    volume_ = original.volume_;
    pending3D_ = original.pending3D_;
}

DsResult AlSourceBuffer::SetVolume(int32_t volume) {
    std::lock_guard<std::mutex> lock(system_->mutex);
    volume_ = DsClampVolume(volume);
    alSourcef(source_, AL_GAIN, DsVolumeToGain(volume_));
    return DS_OK;
}

DsResult AlSourceBuffer::Restore() {
    // OpenAL never takes a buffer's memory away.
    return DS_OK;
}

DsResult AlSourceBuffer::QueryInterface(std::shared_ptr<DsListener>* out) {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    out->reset();
    return DSERR_NOINTERFACE;
}

DsResult AlSourceBuffer::QueryInterface(std::shared_ptr<Ds3DBuffer>* out) {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    out->reset();
    if (!(flags_ & DSBCAPS_CTRL3D)) return DSERR_NOINTERFACE;
    *out = std::shared_ptr<Ds3DBuffer>(shared_from_this(), static_cast<Ds3DBuffer*>(this));
    return DS_OK;
}

DsResult AlSourceBuffer::QueryInterface(std::shared_ptr<DsNotify>* out) {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    out->reset();
    DsNotify* notify = NotifyInterface();
    if (notify == nullptr) return DSERR_NOINTERFACE;
    *out = std::shared_ptr<DsNotify>(shared_from_this(), notify);
    return DS_OK;
}

DsResult AlSourceBuffer::SetAllParameters(const Ds3DBufferParams& params, uint32_t apply) {
    if (apply > DS3D_DEFERRED) return DSERR_INVALIDPARAM;
    if (DsResult r = DsCheck3DParams(params); DsFailed(r)) return r;
    std::lock_guard<std::mutex> lock(system_->mutex);
    pending3D_ = params;
    if (apply == DS3D_IMMEDIATE) {
        Apply3DLocked(params);
        dirty3D_ = false;
    } else {
        dirty3D_ = true;
    }
    return DS_OK;
}

DsResult AlSourceBuffer::GetAllParameters(Ds3DBufferParams* params) {
    if (params == nullptr) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(system_->mutex);
    *params = pending3D_;
    return DS_OK;
}

void AlSourceBuffer::ApplyRolloffLocked(float rolloff) { alSourcef(source_, AL_ROLLOFF_FACTOR, rolloff); }

void AlSourceBuffer::Commit3DLocked() {
    if (!dirty3D_) return;
    Apply3DLocked(pending3D_);
    dirty3D_ = false;
}

void AlSourceBuffer::Apply3DLocked(const Ds3DBufferParams& p) {
    // Left-handed to right-handed: negate z.
    if (p.mode == DS3DMODE_DISABLE) {
        alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(source_, AL_POSITION, 0.0f, 0.0f, 0.0f);
        alSource3f(source_, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    } else {
        alSourcei(source_, AL_SOURCE_RELATIVE, p.mode == DS3DMODE_HEADRELATIVE ? AL_TRUE : AL_FALSE);
        alSource3f(source_, AL_POSITION, p.position.x, p.position.y, -p.position.z);
        alSource3f(source_, AL_VELOCITY, p.velocity.x, p.velocity.y, -p.velocity.z);
    }
    alSourcef(source_, AL_REFERENCE_DISTANCE, p.minDistance);
    alSourcef(source_, AL_MAX_DISTANCE, p.maxDistance);
}

} // namespace plat
