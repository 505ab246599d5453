#pragma once
// The process-wide sound device: the device, its primary buffer and 3D listener, the registry
// through which every sound object gets and loses its device objects as the device comes and
// goes, the two master volumes, the application-active flag and the per-frame commit of listener
// changes and queued plays.
//
// Threads: everything here belongs to the main thread, except what the music player's thread and
// the stream refill threads read: the application-active flag, whether the device is up, the
// device itself (GetSoundDevice) and the master volumes.
#include <cstdint>
#include <memory>

#include "math/vector.h"
#include "platform/audio/device.h"

class YSoundSource;
class YSoundStream;

// Every sound object (effect buffers, voices, streams). The constructor appends the object to the
// resource registry, the destructor removes it; a derived destructor releases its own device
// objects, since Release cannot be reached from here any more.
class YSoundResource {
public:
    YSoundResource();
    virtual ~YSoundResource();
    YSoundResource(const YSoundResource&) = delete;
    YSoundResource& operator=(const YSoundResource&) = delete;

    // Make this object's device objects (called for every registered object when the device is
    // set up) and drop them (when it goes).
    virtual void Create() = 0;
    virtual void Release() = 0;
};

// ---- Device ----------------------------------------------------------------------------------------

// Sets the device up for the window and gives every registered object its device objects. A failing
// step is logged as "DirectSound init error: %s"; the game runs on with what was set up so far.
void InitDirectSound(void* window);
// Releases every sound object's device objects, then the listener, the primary buffer and the device.
void ReleaseDirectSound();

// Stores the flag; on true with a device present, re-applies every volume.
void SetSoundAppActive(bool active);
bool SoundAppActive();

// The device, or nullptr. Safe from any thread.
std::shared_ptr<plat::DsDevice> GetSoundDevice();
// The device and its primary buffer exist. Safe from any thread.
bool SoundDeviceReady();

// Fills the framework's sound hooks (core/frame_hooks.h) with InitDirectSound, ReleaseDirectSound
// and SetSoundAppActive.
void InstallSoundHooks();

// ---- Listener --------------------------------------------------------------------------------------

// Each setter stores into the listener block; with a device it pushes the whole block deferred, to
// take effect at the next UpdateSound.
void SetListenerPosition(const YVector* position);
void SetListenerOrientation(const YVector* front, const YVector* top);
// Distance factor and rolloff factor both := factor.
void SetListenerScale(float factor);
// The next UpdateSound commits the deferred 3D settings (the voices' positions set it too).
void MarkListenerChanged();

// ---- Volumes ---------------------------------------------------------------------------------------

// Volume of a buffer in hundredths of a decibel: (1 - master * own) * -5000, truncated toward zero,
// so a product of 1 is full level (0) and a product of 0 is -5000. Each level is clamped to 0..1
// first (ClampVolume), so the result stays in -5000..0.
int32_t SoundVolumeMb(float master, float own);

// Master volume of effects (re-applied to every voice) and of music (to every stream).
void SetSoundVolume(float volume);
void SetMusicVolume(float volume);
float GetSoundVolume();
float GetMusicVolume();
// Re-applies the volume of every voice, then of every stream.
void ReapplyVolumes();

// ---- Per frame -------------------------------------------------------------------------------------

// With a device: commits the deferred 3D settings when they changed, then starts every queued voice
// in queue order and empties the queue.
void UpdateSound();

// ---- Lists the sound objects keep themselves in ----------------------------------------------------

void RegisterSoundVoice(YSoundSource* voice);
void UnregisterSoundVoice(YSoundSource* voice);
void RegisterSoundStream(YSoundStream* stream);
void UnregisterSoundStream(YSoundStream* stream);
// A voice whose play waits for the next UpdateSound.
void QueueSoundPlay(YSoundSource* voice);
void UnqueueSoundPlay(YSoundSource* voice);
