#include <algorithm>
#include <chrono>
#include <cstdio>

#include "platform/audio/null/null_audio.h"
#include "platform/audio/null/null_state.h"
#include "platform/audio/volume.h"
#include "platform/sys/threads.h"

namespace plat {

namespace {

const char* ApplyName(uint32_t apply) { return apply == DS3D_DEFERRED ? "deferred" : "immediate"; }

} // namespace

NullSoundBuffer::NullSoundBuffer(NullAudio& audio, std::shared_ptr<NullSoundDeviceState> device, int id,
                                 DsBufferKind kind, uint32_t flags, const WaveFormatEx& format,
                                 std::shared_ptr<NullSoundMemory> memory, int duplicateOf)
    : audio_(audio),
      device_(std::move(device)),
      memory_(std::move(memory)),
      id_(id),
      duplicateOf_(duplicateOf),
      kind_(kind),
      flags_(flags),
      format_(format) {
    std::snprintf(name_, sizeof name_, "#%d", id);
}

NullSoundBuffer::~NullSoundBuffer() {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    audio_.RecordLocked("%s.Release", name_);
    auto& list = audio_.buffers_;
    list.erase(std::remove_if(list.begin(), list.end(), [this](const NullAudio::Entry& e) { return e.buffer == this; }),
               list.end());
}

// ---- DsBuffer -----------------------------------------------------------------------------------

DsResult NullSoundBuffer::GetStatus(uint32_t* status) {
    if (status == nullptr) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    *status = 0;
    if (playing_) *status |= DSBSTATUS_PLAYING;
    if (playing_ && looping_) *status |= DSBSTATUS_LOOPING;
    if (memory_->lost) *status |= DSBSTATUS_BUFFERLOST;
    return DS_OK;
}

DsResult NullSoundBuffer::GetCurrentPosition(uint32_t* play, uint32_t* write) {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    // Nothing is on its way out between clock steps: the write cursor is the play cursor.
    if (play != nullptr) *play = cursor_;
    if (write != nullptr) *write = cursor_;
    return DS_OK;
}

DsResult NullSoundBuffer::SetCurrentPosition(uint32_t offset) {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    audio_.RecordLocked("%s.SetCurrentPosition %u", name_, offset);
    if (kind_ == DsBufferKind::Primary) return DSERR_INVALIDCALL;
    if (offset >= memory_->bytes.size()) return DSERR_INVALIDPARAM;
    offset -= offset % format_.blockAlign; // a cursor is always on a frame
    cursor_ = offset;
    absolute_ = offset;
    return DS_OK;
}

DsResult NullSoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** audio1, uint32_t* bytes1, void** audio2,
                               uint32_t* bytes2, uint32_t flags) {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    audio_.RecordLocked("%s.Lock %u %u 0x%x", name_, offset, bytes, flags);
    if (kind_ == DsBufferKind::Primary) return DSERR_INVALIDCALL;
    if (audio1 == nullptr || bytes1 == nullptr) return DSERR_INVALIDPARAM;
    if (memory_->lost) return DSERR_BUFFERLOST;
    const auto size = static_cast<uint32_t>(memory_->bytes.size());
    const DsResult r =
        DsLockRegions(memory_->bytes.data(), size, cursor_, offset, bytes, flags, audio1, bytes1, audio2, bytes2);
    if (DsFailed(r)) return r;
    ++locks_;
    return DS_OK;
}

DsResult NullSoundBuffer::Unlock(void* audio1, uint32_t bytes1, void* audio2, uint32_t bytes2) {
    {
        std::lock_guard<std::mutex> lock(audio_.mutex_);
        audio_.RecordLocked("%s.Unlock %u %u", name_, bytes1, bytes2);
        if (locks_ == 0) return DSERR_INVALIDCALL;
        const uint8_t* base = memory_->bytes.data();
        const auto size = static_cast<uint32_t>(memory_->bytes.size());
        if (!DsUnlockRegionsInside(base, size, audio1, bytes1, audio2, bytes2)) return DSERR_INVALIDPARAM;
        --locks_;
        ++unlocks_;
    }
    audio_.unlocked_.notify_all();
    return DS_OK;
}

DsResult NullSoundBuffer::Play(uint32_t reserved, uint32_t priority, uint32_t flags) {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    audio_.RecordLocked("%s.Play 0x%x", name_, flags);
    if (reserved != 0 || (flags & ~DSBPLAY_LOOPING) != 0) return DSERR_INVALIDPARAM;
    if (kind_ == DsBufferKind::Primary) return DS_OK;
    if (memory_->lost) return DSERR_BUFFERLOST;
    playing_ = true;
    looping_ = (flags & DSBPLAY_LOOPING) != 0;
    return DS_OK;
}

DsResult NullSoundBuffer::Stop() {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    audio_.RecordLocked("%s.Stop", name_);
    playing_ = false;
    return DS_OK;
}

DsResult NullSoundBuffer::SetVolume(int32_t volume) {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    audio_.RecordLocked("%s.SetVolume %d", name_, volume);
    volume_ = DsClampVolume(volume);
    return DS_OK;
}

DsResult NullSoundBuffer::Restore() {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    audio_.RecordLocked("%s.Restore", name_);
    memory_->lost = false;
    return DS_OK;
}

DsResult NullSoundBuffer::QueryInterface(std::shared_ptr<DsListener>* out) {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    out->reset();
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    audio_.RecordLocked("%s.QueryInterface Listener", name_);
    if (kind_ != DsBufferKind::Primary || !(flags_ & DSBCAPS_CTRL3D) || audio_.faults_.queryListener)
        return DSERR_NOINTERFACE;
    *out = std::shared_ptr<DsListener>(shared_from_this(), static_cast<DsListener*>(this));
    return DS_OK;
}

DsResult NullSoundBuffer::QueryInterface(std::shared_ptr<Ds3DBuffer>* out) {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    out->reset();
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    audio_.RecordLocked("%s.QueryInterface 3DBuffer", name_);
    if (kind_ == DsBufferKind::Primary || !(flags_ & DSBCAPS_CTRL3D) || audio_.faults_.query3DBuffer)
        return DSERR_NOINTERFACE;
    *out = std::shared_ptr<Ds3DBuffer>(shared_from_this(), static_cast<Ds3DBuffer*>(this));
    return DS_OK;
}

DsResult NullSoundBuffer::QueryInterface(std::shared_ptr<DsNotify>* out) {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    out->reset();
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    audio_.RecordLocked("%s.QueryInterface Notify", name_);
    if (kind_ != DsBufferKind::Ring || audio_.faults_.queryNotify) return DSERR_NOINTERFACE;
    *out = std::shared_ptr<DsNotify>(shared_from_this(), static_cast<DsNotify*>(this));
    return DS_OK;
}

// ---- DsListener ---------------------------------------------------------------------------------

DsResult NullSoundBuffer::SetAllParameters(const DsListenerParams& params, uint32_t apply) {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    audio_.RecordLocked("Listener.SetAllParameters %s", ApplyName(apply));
    if (kind_ != DsBufferKind::Primary) return DSERR_INVALIDCALL;
    if (apply > DS3D_DEFERRED) return DSERR_INVALIDPARAM;
    if (DsResult r = DsCheckListenerParams(params); DsFailed(r)) return r;
    device_->pendingListener = params;
    if (apply == DS3D_IMMEDIATE) device_->appliedListener = params;
    return DS_OK;
}

DsResult NullSoundBuffer::GetAllParameters(DsListenerParams* params) {
    if (params == nullptr) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    if (kind_ != DsBufferKind::Primary) return DSERR_INVALIDCALL;
    *params = device_->pendingListener;
    return DS_OK;
}

DsResult NullSoundBuffer::CommitDeferredSettings() {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    audio_.RecordLocked("Listener.CommitDeferredSettings");
    if (kind_ != DsBufferKind::Primary) return DSERR_INVALIDCALL;
    device_->appliedListener = device_->pendingListener;
    ++device_->commits;
    for (const NullAudio::Entry& e : audio_.buffers_)
        if (e.buffer->device_ == device_) e.buffer->applied3D_ = e.buffer->pending3D_;
    return DS_OK;
}

// ---- Ds3DBuffer ---------------------------------------------------------------------------------

DsResult NullSoundBuffer::SetAllParameters(const Ds3DBufferParams& p, uint32_t apply) {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    audio_.RecordLocked("%s.Set3D pos=(%g,%g,%g) vel=(%g,%g,%g) dist=%g..%g mode=%u %s", name_, p.position.x,
                        p.position.y, p.position.z, p.velocity.x, p.velocity.y, p.velocity.z, p.minDistance,
                        p.maxDistance, p.mode, ApplyName(apply));
    if (kind_ == DsBufferKind::Primary || !(flags_ & DSBCAPS_CTRL3D)) return DSERR_INVALIDCALL;
    if (apply > DS3D_DEFERRED) return DSERR_INVALIDPARAM;
    if (DsResult r = DsCheck3DParams(p); DsFailed(r)) return r;
    pending3D_ = p;
    if (apply == DS3D_IMMEDIATE) applied3D_ = p;
    return DS_OK;
}

DsResult NullSoundBuffer::GetAllParameters(Ds3DBufferParams* params) {
    if (params == nullptr) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    if (kind_ == DsBufferKind::Primary || !(flags_ & DSBCAPS_CTRL3D)) return DSERR_INVALIDCALL;
    *params = pending3D_;
    return DS_OK;
}

// ---- DsNotify -----------------------------------------------------------------------------------

DsResult NullSoundBuffer::SetNotificationPositions(uint32_t count, const DsNotifyPosition* positions) {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    audio_.RecordLocked("%s.SetNotificationPositions %u", name_, count);
    if (kind_ != DsBufferKind::Ring || playing_) return DSERR_INVALIDCALL;
    const auto size = static_cast<uint32_t>(memory_->bytes.size());
    if (DsResult r = DsCheckNotifications(size, count, positions); DsFailed(r)) return r;
    notifications_.assign(positions, positions + count);
    return DS_OK;
}

// ---- The virtual clock --------------------------------------------------------------------------

void NullSoundBuffer::AdvanceLocked(uint32_t ms) {
    if (kind_ == DsBufferKind::Primary || !playing_) return;
    carry_ += static_cast<uint64_t>(format_.samplesPerSec) * ms;
    uint64_t bytes = carry_ / 1000 * format_.blockAlign;
    carry_ %= 1000;
    const auto size = static_cast<uint32_t>(memory_->bytes.size());
    const uint8_t* base = memory_->bytes.data();
    while (bytes > 0 && playing_) {
        uint32_t step = static_cast<uint32_t>(std::min<uint64_t>(bytes, size - cursor_));
        played_.insert(played_.end(), base + cursor_, base + cursor_ + step);
        for (const DsNotifyPosition& n : notifications_)
            if (DsPassesOffset(absolute_, absolute_ + step, n.offset, size)) n.event->Set();
        absolute_ += step;
        cursor_ += step;
        bytes -= step;
        if (cursor_ == size) {
            cursor_ = 0;
            if (!looping_) playing_ = false; // a one-shot play ends with the cursor at 0
        }
    }
}

// ---- What tests look at -------------------------------------------------------------------------

uint32_t NullSoundBuffer::Bytes() const { return static_cast<uint32_t>(memory_->bytes.size()); }

int32_t NullSoundBuffer::Volume() const {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    return volume_;
}

float NullSoundBuffer::Gain() const { return DsVolumeToGain(Volume()); }

bool NullSoundBuffer::IsPlaying() const {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    return playing_;
}

bool NullSoundBuffer::IsLooping() const {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    return looping_;
}

uint32_t NullSoundBuffer::PlayCursor() const {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    return cursor_;
}

std::vector<uint8_t> NullSoundBuffer::Played() const {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    return played_;
}

void NullSoundBuffer::ClearPlayed() {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    played_.clear();
}

std::vector<uint8_t> NullSoundBuffer::Memory() const {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    return memory_->bytes;
}

Ds3DBufferParams NullSoundBuffer::Applied3D() const {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    return applied3D_;
}

uint64_t NullSoundBuffer::Unlocks() const {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    return unlocks_;
}

bool NullSoundBuffer::WaitForUnlocks(uint64_t count, unsigned timeoutMs) const {
    std::unique_lock<std::mutex> lock(audio_.mutex_);
    return audio_.unlocked_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return unlocks_ >= count; });
}

void NullSoundBuffer::Lose() {
    std::lock_guard<std::mutex> lock(audio_.mutex_);
    audio_.RecordLocked("%s.Lose", name_);
    memory_->lost = true;
    std::fill(memory_->bytes.begin(), memory_->bytes.end(), uint8_t{0});
    for (const NullAudio::Entry& e : audio_.buffers_)
        if (e.buffer->memory_ == memory_) e.buffer->playing_ = false;
}

} // namespace plat
