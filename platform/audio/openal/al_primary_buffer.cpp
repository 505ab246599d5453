#include "platform/audio/openal/al_system.h"
#include "platform/audio/volume.h"

namespace plat {

// The primary buffer is OpenAL's mixer: it always runs and has no bytes of its own.

DsResult AlPrimaryBuffer::GetStatus(uint32_t* status) {
    if (status == nullptr) return DSERR_INVALIDPARAM;
    *status = DSBSTATUS_PLAYING | DSBSTATUS_LOOPING;
    return DS_OK;
}

DsResult AlPrimaryBuffer::GetCurrentPosition(uint32_t*, uint32_t*) { return DSERR_INVALIDCALL; }

DsResult AlPrimaryBuffer::SetCurrentPosition(uint32_t) { return DSERR_INVALIDCALL; }

DsResult AlPrimaryBuffer::Lock(uint32_t, uint32_t, void**, uint32_t*, void**, uint32_t*, uint32_t) {
    return DSERR_INVALIDCALL;
}

DsResult AlPrimaryBuffer::Unlock(void*, uint32_t, void*, uint32_t) { return DSERR_INVALIDCALL; }

DsResult AlPrimaryBuffer::Play(uint32_t reserved, uint32_t, uint32_t flags) {
    if (reserved != 0 || (flags & ~DSBPLAY_LOOPING) != 0) return DSERR_INVALIDPARAM;
    return DS_OK;
}

DsResult AlPrimaryBuffer::Stop() { return DS_OK; }

DsResult AlPrimaryBuffer::SetVolume(int32_t volume) {
    std::lock_guard<std::mutex> lock(system_->mutex);
    alListenerf(AL_GAIN, DsVolumeToGain(volume));
    return DS_OK;
}

DsResult AlPrimaryBuffer::Restore() { return DS_OK; }

DsResult AlPrimaryBuffer::QueryInterface(std::shared_ptr<DsListener>* out) {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    out->reset();
    if (!(flags_ & DSBCAPS_CTRL3D)) return DSERR_NOINTERFACE;
    *out = std::shared_ptr<DsListener>(shared_from_this(), static_cast<DsListener*>(this));
    return DS_OK;
}

DsResult AlPrimaryBuffer::QueryInterface(std::shared_ptr<Ds3DBuffer>* out) {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    out->reset();
    return DSERR_NOINTERFACE;
}

DsResult AlPrimaryBuffer::QueryInterface(std::shared_ptr<DsNotify>* out) {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    out->reset();
    return DSERR_NOINTERFACE;
}

DsResult AlPrimaryBuffer::SetAllParameters(const DsListenerParams& params, uint32_t apply) {
    if (apply > DS3D_DEFERRED) return DSERR_INVALIDPARAM;
    if (DsResult r = DsCheckListenerParams(params); DsFailed(r)) return r;
    std::lock_guard<std::mutex> lock(system_->mutex);
    system_->pendingListener = params;
    if (apply == DS3D_IMMEDIATE) system_->ApplyListenerLocked(params);
    return DS_OK;
}

DsResult AlPrimaryBuffer::GetAllParameters(DsListenerParams* params) {
    if (params == nullptr) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(system_->mutex);
    *params = system_->pendingListener;
    return DS_OK;
}

DsResult AlPrimaryBuffer::CommitDeferredSettings() {
    std::lock_guard<std::mutex> lock(system_->mutex);
    system_->CommitLocked();
    return DS_OK;
}

} // namespace plat
