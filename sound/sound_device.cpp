#include "sound/sound_device.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <vector>

#include "core/log.h"
#include "core/volume.h"
#include "sound/sound_error.h"
#include "sound/sound_source.h"
#include "sound/sound_stream.h"

namespace {

// Room the play queue keeps, so that a frame's plays do not allocate.
constexpr size_t PLAY_QUEUE_RESERVE = 20;

struct SoundState {
    // Guards `device` for readers on other threads; the main thread is its only writer.
    std::mutex deviceLock;
    std::shared_ptr<plat::DsDevice> device;
    std::shared_ptr<plat::DsBuffer> primary;
    std::shared_ptr<plat::DsListener> listener;
    plat::DsListenerParams listenerParams;
    bool listenerChanged = false;

    std::atomic<bool> ready{false}; // device and primary buffer exist
    std::atomic<bool> appActive{true};
    std::atomic<float> effectsVolume{1.0f};
    std::atomic<float> musicVolume{1.0f};

    std::mutex registryLock;
    std::vector<YSoundResource*> registry; // construction order
    std::vector<YSoundSource*> voices;
    std::vector<YSoundStream*> streams;
    std::vector<YSoundSource*> playQueue;
};

// Built on first use and never destroyed: sound objects may be constructed during static start-up
// and destroyed during static shutdown, in any order relative to this state.
SoundState& State() {
    static SoundState* state = new SoundState;
    return *state;
}

std::vector<YSoundResource*> RegistrySnapshot() {
    SoundState& s = State();
    std::lock_guard<std::mutex> guard(s.registryLock);
    return s.registry;
}

template <typename T>
void EraseAll(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

void PushListener() {
    SoundState& s = State();
    if (!s.device) return;
    if (s.listener) s.listener->SetAllParameters(s.listenerParams, plat::DS3D_DEFERRED);
    s.listenerChanged = true;
}

} // namespace

// ---- Resources -------------------------------------------------------------------------------------

YSoundResource::YSoundResource() {
    SoundState& s = State();
    std::lock_guard<std::mutex> guard(s.registryLock);
    s.registry.push_back(this);
}

YSoundResource::~YSoundResource() {
    SoundState& s = State();
    std::lock_guard<std::mutex> guard(s.registryLock);
    EraseAll(s.registry, this);
}

// ---- Device ----------------------------------------------------------------------------------------

void InitDirectSound(void* window) {
    SoundState& s = State();
    try {
        LogLine("Sound Drivers:");
        plat::DsEnumerate([](const char* description, const char* module) {
            LogPrintf(g_Log, "%s, %s", description ? description : "", module ? module : "");
            return true;
        });

        std::shared_ptr<plat::DsDevice> device;
        if (plat::DsFailed(plat::DsCreate(&device)) || !device)
            throw YSoundError("Could not create DirectSound object.");
        {
            std::lock_guard<std::mutex> guard(s.deviceLock);
            s.device = device;
        }

        if (plat::DsFailed(device->SetCooperativeLevel(window, plat::DSSCL_PRIORITY)))
            throw YSoundError("DS8::SetCooperativeLevel error.");

        plat::DsBufferDesc desc;
        desc.size = plat::DSBUFFERDESC_SIZE;
        desc.flags = plat::DSBCAPS_PRIMARYBUFFER | plat::DSBCAPS_CTRL3D;
        std::shared_ptr<plat::DsBuffer> primary;
        if (plat::DsFailed(device->CreateSoundBuffer(desc, &primary)) || !primary)
            throw YSoundError("Could not create Primary DirectSoundBuffer.");
        s.primary = primary;

        std::shared_ptr<plat::DsListener> listener;
        if (plat::DsFailed(primary->QueryInterface(&listener)) || !listener) {
            s.primary.reset();
            throw YSoundError("QueryInterface::IID_IDirectSound3DListener error.");
        }
        s.listener = listener;
        s.ready.store(true);

        s.listener->SetAllParameters(s.listenerParams, plat::DS3D_IMMEDIATE);

        // Objects built before the device (effect buffers, music streams) get their device objects.
        // One that cannot (a track in a format the device refuses, a voice too many) is logged
        // and left without them; it must not leave every object after it silent as well.
        for (YSoundResource* resource : RegistrySnapshot()) {
            try {
                resource->Create();
            } catch (const std::exception& e) {
                LogPrintf(g_Log, "DirectSound init error: %s", e.what());
            }
        }

        s.listenerChanged = true;
        s.playQueue.reserve(PLAY_QUEUE_RESERVE);
    } catch (const std::exception& e) {
        LogPrintf(g_Log, "DirectSound init error: %s", e.what());
    }
}

void ReleaseDirectSound() {
    SoundState& s = State();
    LogLine("DirectSound Release.");
    // Threads that check readiness before touching the device stop doing so from here on.
    s.ready.store(false);
    for (YSoundResource* resource : RegistrySnapshot()) resource->Release();
    s.listener.reset();
    s.primary.reset();
    std::lock_guard<std::mutex> guard(s.deviceLock);
    s.device.reset();
}

void SetSoundAppActive(bool active) {
    SoundState& s = State();
    s.appActive.store(active);
    if (active && s.device) ReapplyVolumes();
}

bool SoundAppActive() { return State().appActive.load(); }

std::shared_ptr<plat::DsDevice> GetSoundDevice() {
    SoundState& s = State();
    std::lock_guard<std::mutex> guard(s.deviceLock);
    return s.device;
}

bool SoundDeviceReady() { return State().ready.load(); }

// ---- Listener --------------------------------------------------------------------------------------

void SetListenerPosition(const YVector* position) {
    if (!position) return;
    State().listenerParams.position = {position->x, position->y, position->z};
    PushListener();
}

void SetListenerOrientation(const YVector* front, const YVector* top) {
    if (!front || !top) return;
    plat::DsListenerParams& p = State().listenerParams;
    p.orientFront = {front->x, front->y, front->z};
    p.orientTop = {top->x, top->y, top->z};
    PushListener();
}

void SetListenerScale(float factor) {
    plat::DsListenerParams& p = State().listenerParams;
    p.distanceFactor = factor;
    p.rolloffFactor = factor;
    PushListener();
}

void MarkListenerChanged() { State().listenerChanged = true; }

// ---- Volumes ---------------------------------------------------------------------------------------

int32_t SoundVolumeMb(float master, float own) {
    // Each level on its own: a master volume above 1 must not lift a quiet voice, nor two negative
    // levels multiply into full volume.
    const float product = ClampVolume(master) * ClampVolume(own);
    // Float arithmetic throughout: the truncation of e.g. 0.1 lands on -4500 this way.
    const float mb = (1.0f - product) * -5000.0f;
    return static_cast<int32_t>(mb);
}

void SetSoundVolume(float volume) {
    SoundState& s = State();
    s.effectsVolume.store(volume);
    for (YSoundSource* voice : s.voices) voice->ApplyVolume();
}

void SetMusicVolume(float volume) {
    SoundState& s = State();
    s.musicVolume.store(volume);
    for (YSoundStream* stream : s.streams) stream->ApplyVolume();
}

float GetSoundVolume() { return State().effectsVolume.load(); }

float GetMusicVolume() { return State().musicVolume.load(); }

void ReapplyVolumes() {
    SoundState& s = State();
    for (YSoundSource* voice : s.voices) voice->ApplyVolume();
    for (YSoundStream* stream : s.streams) stream->ApplyVolume();
}

// ---- Per frame -------------------------------------------------------------------------------------

void UpdateSound() {
    SoundState& s = State();
    if (!s.device) return;
    if (s.listenerChanged) {
        if (s.listener) s.listener->CommitDeferredSettings();
        s.listenerChanged = false;
    }
    for (YSoundSource* voice : s.playQueue) voice->CommitPlay();
    s.playQueue.clear();
}

// ---- Lists -----------------------------------------------------------------------------------------

void RegisterSoundVoice(YSoundSource* voice) { State().voices.push_back(voice); }

void UnregisterSoundVoice(YSoundSource* voice) { EraseAll(State().voices, voice); }

void RegisterSoundStream(YSoundStream* stream) { State().streams.push_back(stream); }

void UnregisterSoundStream(YSoundStream* stream) { EraseAll(State().streams, stream); }

void QueueSoundPlay(YSoundSource* voice) { State().playQueue.push_back(voice); }

void UnqueueSoundPlay(YSoundSource* voice) { EraseAll(State().playQueue, voice); }
