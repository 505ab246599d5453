#define AL_ALEXT_PROTOTYPES
#include "platform/audio/openal/al_system.h"

#include <AL/alext.h>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace plat {

namespace {

// OpenAL's current context is process-wide, so one system lives at a time.
std::atomic<bool> g_systemOpen{false};

constexpr float kSpeedOfSound = 343.3f; // metres per second
constexpr unsigned kPumpMs = 5;

bool SameListener(const DsListenerParams& a, const DsListenerParams& b) {
    auto same = [](const DsVector& u, const DsVector& v) { return u.x == v.x && u.y == v.y && u.z == v.z; };
    return same(a.position, b.position) && same(a.velocity, b.velocity) && same(a.orientFront, b.orientFront) &&
           same(a.orientTop, b.orientTop) && a.distanceFactor == b.distanceFactor &&
           a.rolloffFactor == b.rolloffFactor && a.dopplerFactor == b.dopplerFactor;
}

} // namespace

ALenum AlFormatOf(const WaveFormatEx& format) {
    if (format.channels == 1) return format.bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    return format.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

DsResult AlSystem::Open(bool loopback, uint32_t rate, std::shared_ptr<AlSystem>* out) {
    bool expected = false;
    if (!g_systemOpen.compare_exchange_strong(expected, true)) return DSERR_ALLOCATED;
    // From here on the destructor closes whatever was opened and lets the next system open.
    std::shared_ptr<AlSystem> system(new AlSystem());
    system->loopback_ = loopback;

    // Plain panning as the game was mixed for (no HRTF), and room for every effect voice: OpenAL
    // Soft's default allows 256 sources.
    if (loopback) {
        system->device_ = alcLoopbackOpenDeviceSOFT(nullptr);
        if (system->device_ == nullptr) return DSERR_NODRIVER;
        if (!alcIsRenderFormatSupportedSOFT(system->device_, static_cast<ALCsizei>(rate), ALC_STEREO_SOFT,
                                            ALC_FLOAT_SOFT))
            return DSERR_INVALIDPARAM;
        const ALCint attrs[] = {ALC_FORMAT_CHANNELS_SOFT,
                                ALC_STEREO_SOFT,
                                ALC_FORMAT_TYPE_SOFT,
                                ALC_FLOAT_SOFT,
                                ALC_FREQUENCY,
                                static_cast<ALCint>(rate),
                                ALC_HRTF_SOFT,
                                ALC_FALSE,
                                ALC_OUTPUT_LIMITER_SOFT,
                                ALC_FALSE,
                                ALC_MONO_SOURCES,
                                1024,
                                ALC_STEREO_SOURCES,
                                16,
                                0};
        system->context_ = alcCreateContext(system->device_, attrs);
    } else {
        system->device_ = alcOpenDevice(nullptr);
        if (system->device_ == nullptr) return DSERR_NODRIVER;
        const ALCint attrs[] = {ALC_HRTF_SOFT, ALC_FALSE, ALC_MONO_SOURCES, 1024, ALC_STEREO_SOURCES, 16, 0};
        system->context_ = alcCreateContext(system->device_, attrs);
        if (system->context_ == nullptr) system->context_ = alcCreateContext(system->device_, nullptr);
    }
    if (system->context_ == nullptr) return DSERR_GENERIC;
    if (!alcMakeContextCurrent(system->context_)) return DSERR_GENERIC;

    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    system->directChannels_ = alIsExtensionPresent("AL_SOFT_direct_channels") == AL_TRUE;
    system->deferredUpdates_ = alIsExtensionPresent("AL_SOFT_deferred_updates") == AL_TRUE;
    system->ApplyListenerLocked(system->pendingListener);
    alGetError();

    if (!loopback) {
        AlSystem* self = system.get();
        self->pump_.Start([self](const std::atomic<bool>& stop) { self->PumpThread(stop); });
    }
    *out = std::move(system);
    return DS_OK;
}

AlSystem::~AlSystem() {
    pump_.Stop([this] { wake_.Set(); });
    if (context_ != nullptr) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context_);
    }
    if (device_ != nullptr) alcCloseDevice(device_);
    g_systemOpen.store(false);
}

void AlSystem::PumpThread(const std::atomic<bool>& stop) {
    while (!stop.load()) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            PumpLocked();
        }
        wake_.WaitFor(kPumpMs);
    }
}

void AlSystem::PumpLocked() {
    for (AlRingBuffer* ring : rings_) ring->PumpLocked();
}

DsResult AlSystem::RenderLoopback(float* out, uint32_t frames) {
    if (!loopback_) return DSERR_INVALIDCALL;
    if (out == nullptr && frames > 0) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mutex);
    alcRenderSamplesSOFT(device_, out, static_cast<ALCsizei>(frames));
    PumpLocked();
    return DS_OK;
}

void AlSystem::Register3D(AlSourceBuffer* buffer) { sources3D_.push_back(buffer); }

void AlSystem::Unregister3D(AlSourceBuffer* buffer) { std::erase(sources3D_, buffer); }

void AlSystem::RegisterRing(AlRingBuffer* ring) { rings_.push_back(ring); }

void AlSystem::UnregisterRing(AlRingBuffer* ring) { std::erase(rings_, ring); }

void AlSystem::ApplyListenerLocked(const DsListenerParams& p) {
    // Left-handed to right-handed: negate z of every vector.
    alListener3f(AL_POSITION, p.position.x, p.position.y, -p.position.z);
    alListener3f(AL_VELOCITY, p.velocity.x, p.velocity.y, -p.velocity.z);
    const ALfloat orientation[6] = {p.orientFront.x, p.orientFront.y, -p.orientFront.z,
                                    p.orientTop.x,   p.orientTop.y,   -p.orientTop.z};
    alListenerfv(AL_ORIENTATION, orientation);
    // The distance factor is metres per unit; OpenAL wants the speed of sound in units.
    float speed = kSpeedOfSound / p.distanceFactor;
    if (!std::isfinite(speed)) speed = 3.0e38f;
    alSpeedOfSound(std::max(speed, 1.0e-6f));
    alDopplerFactor(p.dopplerFactor);
    // OpenAL keeps the rolloff per source.
    if (p.rolloffFactor != appliedListener_.rolloffFactor)
        for (AlSourceBuffer* source : sources3D_) source->ApplyRolloffLocked(p.rolloffFactor);
    appliedListener_ = p;
}

void AlSystem::CommitLocked() {
    if (deferredUpdates_) alDeferUpdatesSOFT();
    if (!SameListener(pendingListener, appliedListener_)) ApplyListenerLocked(pendingListener);
    for (AlSourceBuffer* source : sources3D_) source->Commit3DLocked();
    if (deferredUpdates_) alProcessUpdatesSOFT();
}

} // namespace plat
