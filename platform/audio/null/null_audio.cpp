#include "platform/audio/null/null_audio.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "platform/audio/null/null_state.h"

namespace plat {

// A device of the null backend.
class NullSoundDevice final : public DsDevice {
public:
    NullSoundDevice(NullAudio& audio, std::shared_ptr<NullSoundDeviceState> state)
        : audio_(audio), state_(std::move(state)) {}

    ~NullSoundDevice() override {
        std::lock_guard<std::mutex> lock(audio_.mutex_);
        --audio_.liveDevices_;
        audio_.RecordLocked("ReleaseDevice");
    }

    DsResult SetCooperativeLevel(void* window, uint32_t level) override {
        std::lock_guard<std::mutex> lock(audio_.mutex_);
        audio_.RecordLocked("SetCooperativeLevel %u", level);
        if (audio_.faults_.cooperativeLevel) return DSERR_GENERIC;
        if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
        return DS_OK;
    }

    DsResult CreateSoundBuffer(const DsBufferDesc& desc, std::shared_ptr<DsBuffer>* out) override {
        if (out == nullptr) return DSERR_INVALIDPARAM;
        out->reset();
        DsBufferKind kind = DsBufferKind::Static;
        DsResult r = DsCheckBufferDesc(desc, &kind);
        std::lock_guard<std::mutex> lock(audio_.mutex_);
        const int id = audio_.nextBufferId_;
        audio_.RecordLocked("CreateSoundBuffer #%d flags=0x%x bytes=%u", id, desc.flags, desc.bufferBytes);
        if (DsFailed(r)) return r;
        if (kind == DsBufferKind::Primary) {
            if (audio_.faults_.createPrimary) return DSERR_GENERIC;
            // There is one primary buffer per device; asking again gives the same one.
            if (auto primary = state_->primary.lock()) {
                *out = primary;
                return DS_OK;
            }
        } else if (audio_.faults_.createSecondary) {
            return DSERR_OUTOFMEMORY;
        }
        auto memory = std::make_shared<NullSoundMemory>();
        memory->bytes.assign(desc.bufferBytes, 0);
        WaveFormatEx format = desc.format != nullptr ? *desc.format : WaveFormatEx{};
        auto buffer =
            std::make_shared<NullSoundBuffer>(audio_, state_, id, kind, desc.flags, format, std::move(memory), 0);
        ++audio_.nextBufferId_;
        audio_.buffers_.push_back({buffer.get(), buffer});
        if (kind == DsBufferKind::Primary) state_->primary = buffer;
        *out = std::move(buffer);
        return DS_OK;
    }

    DsResult DuplicateSoundBuffer(DsBuffer& original, std::shared_ptr<DsBuffer>* out) override {
        if (out == nullptr) return DSERR_INVALIDPARAM;
        out->reset();
        auto* source = dynamic_cast<NullSoundBuffer*>(&original);
        std::lock_guard<std::mutex> lock(audio_.mutex_);
        const int id = audio_.nextBufferId_;
        audio_.RecordLocked("DuplicateSoundBuffer #%d of #%d", id, source != nullptr ? source->id_ : 0);
        if (source == nullptr || source->device_ != state_) return DSERR_INVALIDPARAM;
        if (source->kind_ != DsBufferKind::Static) return DSERR_INVALIDCALL;
        if (audio_.faults_.duplicate) return DSERR_OUTOFMEMORY;
        auto buffer = std::make_shared<NullSoundBuffer>(audio_, state_, id, source->kind_, source->flags_,
                                                        source->format_, source->memory_, source->id_);
        buffer->volume_ = source->volume_;
        buffer->pending3D_ = source->pending3D_;
        buffer->applied3D_ = source->applied3D_;
        ++audio_.nextBufferId_;
        audio_.buffers_.push_back({buffer.get(), buffer});
        *out = std::move(buffer);
        return DS_OK;
    }

private:
    NullAudio& audio_;
    std::shared_ptr<NullSoundDeviceState> state_;
};

NullAudio::NullAudio() { drivers_.emplace_back("Null Sound Driver", "null"); }

NullAudio::~NullAudio() = default;

void NullAudio::RecordLocked(const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    calls_.emplace_back(line);
}

DsResult NullAudio::EnumerateDrivers(const DriverCallback& callback) {
    std::vector<std::pair<std::string, std::string>> drivers;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        RecordLocked("EnumerateDrivers");
        drivers = drivers_;
    }
    // The callback runs without the lock: it may log, or call into this backend.
    for (const auto& [description, module] : drivers)
        if (!callback(description.c_str(), module.c_str())) break;
    return DS_OK;
}

DsResult NullAudio::CreateDevice(std::shared_ptr<DsDevice>* out) {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    out->reset();
    std::lock_guard<std::mutex> lock(mutex_);
    RecordLocked("CreateDevice");
    if (faults_.createDevice) return DSERR_NODRIVER;
    auto state = std::make_shared<NullSoundDeviceState>();
    state->audio = this;
    state->id = nextDeviceId_++;
    newestDevice_ = state;
    ++liveDevices_;
    *out = std::make_shared<NullSoundDevice>(*this, std::move(state));
    return DS_OK;
}

void NullAudio::SetFaults(const NullAudioFaults& faults) {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_ = faults;
}

void NullAudio::SetDrivers(std::vector<std::pair<std::string, std::string>> drivers) {
    std::lock_guard<std::mutex> lock(mutex_);
    drivers_ = std::move(drivers);
}

void NullAudio::AdvanceMs(uint32_t ms) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Entry& e : buffers_) e.buffer->AdvanceLocked(ms);
}

std::vector<std::string> NullAudio::Calls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
}

int NullAudio::CountCalls(const std::string& line) const {
    std::lock_guard<std::mutex> lock(mutex_);
    int n = 0;
    for (const auto& call : calls_)
        if (call == line) ++n;
    return n;
}

void NullAudio::ClearCalls() {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.clear();
}

std::vector<std::shared_ptr<NullSoundBuffer>> NullAudio::Buffers() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::shared_ptr<NullSoundBuffer>> live;
    for (const Entry& e : buffers_) live.push_back(e.weak.lock());
    std::erase(live, nullptr); // buffers being destroyed right now
    return live;
}

std::shared_ptr<NullSoundBuffer> NullAudio::Buffer(int id) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Entry& e : buffers_)
        if (e.buffer->id_ == id) return e.weak.lock();
    return nullptr;
}

NullSoundBuffer* NullAudio::Of(DsBuffer* buffer) { return dynamic_cast<NullSoundBuffer*>(buffer); }

int NullAudio::LiveDevices() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return liveDevices_;
}

DsListenerParams NullAudio::ListenerApplied() const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto device = newestDevice_.lock();
    return device ? device->appliedListener : DsListenerParams{};
}

int NullAudio::Commits() const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto device = newestDevice_.lock();
    return device ? device->commits : 0;
}

} // namespace plat
