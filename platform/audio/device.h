#pragma once
// The sound device: a DirectSound-shaped interface with what the sound subsystem uses. Two
// backends implement it: OpenAL Soft (platform/audio/openal) and a null device with a virtual
// clock for tests (platform/audio/null).
//
// Objects are shared: "releasing" one means dropping the pointer. An interface obtained with
// QueryInterface shares its buffer's life, so either may be released first. A buffer may outlive
// its device; the device's sound system stays up until the last of them goes.
//
// Threads: a device, its buffers and their interfaces may be used from several threads at once
// (the sound code's refill threads lock and refill stream buffers while the main thread plays
// effects and moves the listener).
#include <functional>
#include <memory>

#include "platform/audio/ds_types.h"

namespace plat {

class YEvent;

// A position notification: `event` (auto-reset) is set each time the play cursor passes the byte
// at `offset`. The event must outlive the notification, i.e. the buffer or the next
// SetNotificationPositions.
struct DsNotifyPosition {
    uint32_t offset = 0;
    YEvent* event = nullptr;
};

class DsNotify {
public:
    // Replaces the buffer's notifications (count 0 clears them). Only while the buffer is stopped.
    virtual DsResult SetNotificationPositions(uint32_t count, const DsNotifyPosition* positions) = 0;

protected:
    ~DsNotify() = default;
};

// The 3D controls of a buffer made with DSBCAPS_CTRL3D. `apply` is DS3D_IMMEDIATE or
// DS3D_DEFERRED; a deferred setting takes effect at the listener's next CommitDeferredSettings.
// A non-finite value is refused with DSERR_INVALIDPARAM and changes nothing.
class Ds3DBuffer {
public:
    virtual DsResult SetAllParameters(const Ds3DBufferParams& params, uint32_t apply) = 0;
    // The latest values set, whether or not they have taken effect yet.
    virtual DsResult GetAllParameters(Ds3DBufferParams* params) = 0;

    DsResult SetPosition(float x, float y, float z, uint32_t apply);
    DsResult SetVelocity(float x, float y, float z, uint32_t apply);
    DsResult SetMinDistance(float distance, uint32_t apply);
    DsResult SetMaxDistance(float distance, uint32_t apply);
    DsResult SetMode(uint32_t mode, uint32_t apply);

protected:
    ~Ds3DBuffer() = default;
};

// The listener, the 3D interface of the primary buffer.
class DsListener {
public:
    virtual DsResult SetAllParameters(const DsListenerParams& params, uint32_t apply) = 0;
    virtual DsResult GetAllParameters(DsListenerParams* params) = 0;
    // Applies every deferred setting of the listener and of the device's 3D buffers together.
    virtual DsResult CommitDeferredSettings() = 0;

    DsResult SetPosition(float x, float y, float z, uint32_t apply);
    DsResult SetVelocity(float x, float y, float z, uint32_t apply);
    DsResult SetOrientation(float frontX, float frontY, float frontZ, float topX, float topY, float topZ,
                            uint32_t apply);
    DsResult SetDistanceFactor(float factor, uint32_t apply);
    DsResult SetRolloffFactor(float factor, uint32_t apply);
    DsResult SetDopplerFactor(float factor, uint32_t apply);

protected:
    ~DsListener() = default;
};

// A sound buffer: the primary buffer (the mixer's output, carrying the listener) or a secondary
// buffer, which is a ring of PCM bytes with a play cursor.
class DsBuffer {
public:
    virtual ~DsBuffer() = default;

    // DSBSTATUS_* bits.
    virtual DsResult GetStatus(uint32_t* status) = 0;
    // `play`: the byte being played. `write`: the first byte that may still be changed for this
    // lap; the bytes from play up to write are already on their way out. Either may be nullptr.
    virtual DsResult GetCurrentPosition(uint32_t* play, uint32_t* write) = 0;
    virtual DsResult SetCurrentPosition(uint32_t offset) = 0;

    // Locks `bytes` bytes from `offset` (from the write cursor with DSBLOCK_FROMWRITECURSOR, the
    // whole buffer with DSBLOCK_ENTIREBUFFER). A range that runs past the end continues at byte 0
    // in the second region; with `audio2` nullptr only the first region is locked. The regions
    // stay valid until Unlock, which gets back the pointers and the byte counts written.
    virtual DsResult Lock(uint32_t offset, uint32_t bytes, void** audio1, uint32_t* bytes1, void** audio2,
                          uint32_t* bytes2, uint32_t flags) = 0;
    virtual DsResult Unlock(void* audio1, uint32_t bytes1, void* audio2, uint32_t bytes2) = 0;

    // `reserved` and `priority` must be 0; `flags` DSBPLAY_LOOPING or 0. Play on a playing
    // buffer only changes the looping flag. A buffer that plays to its end without looping stops
    // with its cursor at 0.
    virtual DsResult Play(uint32_t reserved, uint32_t priority, uint32_t flags) = 0;
    // Stops, keeping the cursor where it is.
    virtual DsResult Stop() = 0;
    // Hundredths of a decibel; values outside DSBVOLUME_MIN..DSBVOLUME_MAX are clamped.
    virtual DsResult SetVolume(int32_t volume) = 0;
    // Gives a lost buffer its memory back (with undefined contents; the caller refills it).
    virtual DsResult Restore() = 0;

    // The buffer's other interfaces, or DSERR_NOINTERFACE: the listener (primary buffer made with
    // DSBCAPS_CTRL3D), the 3D controls (secondary with DSBCAPS_CTRL3D), position notifications
    // (secondary with DSBCAPS_CTRLPOSITIONNOTIFY).
    virtual DsResult QueryInterface(std::shared_ptr<DsListener>* out) = 0;
    virtual DsResult QueryInterface(std::shared_ptr<Ds3DBuffer>* out) = 0;
    virtual DsResult QueryInterface(std::shared_ptr<DsNotify>* out) = 0;
};

class DsDevice {
public:
    virtual ~DsDevice() = default;

    // `window` is the game window's handle; the level is accepted and changes nothing here.
    virtual DsResult SetCooperativeLevel(void* window, uint32_t level) = 0;
    // A primary buffer (DSBCAPS_PRIMARYBUFFER, no bytes, no format) or a secondary buffer of
    // `bufferBytes` bytes in a PCM format: 1 or 2 channels of 8 or 16 bits; a 3D buffer is mono.
    virtual DsResult CreateSoundBuffer(const DsBufferDesc& desc, std::shared_ptr<DsBuffer>* out) = 0;
    // A second voice on the memory of `original` (a secondary buffer without notifications): the
    // two share their bytes and have their own cursor, volume, status and 3D settings.
    virtual DsResult DuplicateSoundBuffer(DsBuffer& original, std::shared_ptr<DsBuffer>* out) = 0;
};

// A way to reach sound devices.
class DsBackend {
public:
    // Called per driver with its description and module name; returning false stops the listing.
    using DriverCallback = std::function<bool(const char* description, const char* module)>;

    virtual ~DsBackend() = default;
    virtual DsResult EnumerateDrivers(const DriverCallback& callback) = 0;
    // Opens the default device. Fails (DSERR_NODRIVER) when there is no sound device.
    virtual DsResult CreateDevice(std::shared_ptr<DsDevice>* out) = 0;
};

// The backend DsEnumerate and DsCreate use: OpenAL Soft unless one was installed (tests install
// the null backend). Install before devices are made; nullptr goes back to OpenAL Soft.
void DsInstallBackend(DsBackend* backend);
DsBackend& DsCurrentBackend();

DsResult DsEnumerate(const DsBackend::DriverCallback& callback);
DsResult DsCreate(std::shared_ptr<DsDevice>* out);

} // namespace plat
