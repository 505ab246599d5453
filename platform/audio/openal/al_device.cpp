#include <AL/alc.h>

#include <cstring>

#include "platform/audio/openal/al_system.h"
#include "platform/audio/openal/openal_backend.h"

namespace plat {

namespace {

class AlBackend final : public DsBackend {
public:
    DsResult EnumerateDrivers(const DriverCallback& callback) override {
        const bool all = alcIsExtensionPresent(nullptr, "ALC_ENUMERATE_ALL_EXT") == ALC_TRUE;
        const ALCchar* list = alcGetString(nullptr, all ? ALC_ALL_DEVICES_SPECIFIER : ALC_DEVICE_SPECIFIER);
        // Names follow each other, each ended by a zero byte; an empty name ends the list.
        for (const ALCchar* name = list; name != nullptr && *name != '\0'; name += std::strlen(name) + 1)
            if (!callback(name, "OpenAL Soft")) break;
        return DS_OK;
    }

    DsResult CreateDevice(std::shared_ptr<DsDevice>* out) override {
        if (out == nullptr) return DSERR_INVALIDPARAM;
        out->reset();
        std::shared_ptr<AlSystem> system;
        if (DsResult r = AlSystem::Open(false, 0, &system); DsFailed(r)) return r;
        *out = std::make_shared<AlDevice>(std::move(system));
        return DS_OK;
    }
};

} // namespace

DsResult AlDevice::SetCooperativeLevel(void* window, uint32_t level) {
    // OpenAL shares the output with other programs at every level.
    if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
    return DS_OK;
}

DsResult AlDevice::CreateSoundBuffer(const DsBufferDesc& desc, std::shared_ptr<DsBuffer>* out) {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    out->reset();
    DsBufferKind kind = DsBufferKind::Static;
    if (DsResult r = DsCheckBufferDesc(desc, &kind); DsFailed(r)) return r;
    switch (kind) {
        case DsBufferKind::Primary:
            // One primary buffer per device; asking again gives the same one.
            if (auto primary = primary_.lock()) {
                *out = std::move(primary);
                return DS_OK;
            } else {
                auto made = std::make_shared<AlPrimaryBuffer>(system_, desc.flags);
                primary_ = made;
                *out = std::move(made);
                return DS_OK;
            }
        case DsBufferKind::Static: return AlStaticBuffer::Create(system_, desc, out);
        case DsBufferKind::Ring: return AlRingBuffer::Create(system_, desc, out);
    }
    return DSERR_INVALIDPARAM;
}

DsResult AlDevice::DuplicateSoundBuffer(DsBuffer& original, std::shared_ptr<DsBuffer>* out) {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    out->reset();
    auto* source = dynamic_cast<AlStaticBuffer*>(&original);
    if (source == nullptr) {
        // The primary buffer and rings have no memory a second voice could share.
        bool ours =
            dynamic_cast<AlRingBuffer*>(&original) != nullptr || dynamic_cast<AlPrimaryBuffer*>(&original) != nullptr;
        return ours ? DSERR_INVALIDCALL : DSERR_INVALIDPARAM;
    }
    if (&source->System() != system_.get()) return DSERR_INVALIDPARAM;
    return source->Duplicate(out);
}

DsBackend& OpenAlBackend() {
    static AlBackend backend;
    return backend;
}

DsResult OpenAlCreateLoopbackDevice(uint32_t sampleRate, std::shared_ptr<DsDevice>* out) {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    out->reset();
    std::shared_ptr<AlSystem> system;
    if (DsResult r = AlSystem::Open(true, sampleRate, &system); DsFailed(r)) return r;
    *out = std::make_shared<AlDevice>(std::move(system));
    return DS_OK;
}

DsResult OpenAlRenderLoopback(DsDevice& device, float* out, uint32_t frames) {
    auto* al = dynamic_cast<AlDevice*>(&device);
    if (al == nullptr) return DSERR_INVALIDPARAM;
    return al->System().RenderLoopback(out, frames);
}

} // namespace plat
