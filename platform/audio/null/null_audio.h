#pragma once
// The null sound backend, for tests: no audio library and no sound card. Time runs only when the
// test advances the virtual clock; then every playing buffer's cursor moves by its rate times the
// time, the bytes it passes are recorded, and notifications fire. Every call that changes state
// is recorded as a line of text, and failures can be switched on per call.
//
// The backend must outlive every device and buffer made through it.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/audio/buffer_rules.h"
#include "platform/audio/device.h"

namespace plat {

class NullSoundBuffer;
struct NullSoundDeviceState;
struct NullSoundMemory;

// Calls the null backend can be told to fail.
struct NullAudioFaults {
    bool createDevice = false;     // CreateDevice: DSERR_NODRIVER, as with no sound card
    bool cooperativeLevel = false; // SetCooperativeLevel: DSERR_GENERIC
    bool createPrimary = false;    // CreateSoundBuffer of the primary buffer: DSERR_GENERIC
    bool createSecondary = false;  // CreateSoundBuffer of any other buffer: DSERR_OUTOFMEMORY
    bool duplicate = false;        // DuplicateSoundBuffer: DSERR_OUTOFMEMORY
    bool queryListener = false;    // QueryInterface for the listener: DSERR_NOINTERFACE
    bool query3DBuffer = false;    // QueryInterface for 3D controls: DSERR_NOINTERFACE
    bool queryNotify = false;      // QueryInterface for notifications: DSERR_NOINTERFACE
};

class NullAudio final : public DsBackend {
public:
    NullAudio();
    ~NullAudio() override;
    NullAudio(const NullAudio&) = delete;
    NullAudio& operator=(const NullAudio&) = delete;

    DsResult EnumerateDrivers(const DriverCallback& callback) override;
    DsResult CreateDevice(std::shared_ptr<DsDevice>* out) override;

    void SetFaults(const NullAudioFaults& faults);
    // The drivers EnumerateDrivers lists: (description, module). One null driver by default.
    void SetDrivers(std::vector<std::pair<std::string, std::string>> drivers);

    // Moves the virtual clock on by `ms` milliseconds.
    void AdvanceMs(uint32_t ms);

    // Recorded calls, oldest first, e.g. "CreateSoundBuffer #2 flags=0x40090 bytes=4410",
    // "#2.Play 0x0", "#2.SetVolume -2500", "Listener.SetAllParameters deferred",
    // "Listener.CommitDeferredSettings". Buffers are numbered from 1 in creation order.
    std::vector<std::string> Calls() const;
    int CountCalls(const std::string& line) const;
    void ClearCalls();

    // Live buffers in creation order, and the one with the given number (nullptr when gone).
    std::vector<std::shared_ptr<NullSoundBuffer>> Buffers() const;
    std::shared_ptr<NullSoundBuffer> Buffer(int id) const;
    static NullSoundBuffer* Of(DsBuffer* buffer);

    int LiveDevices() const;
    // The listener block in effect on the newest device, and how often it was committed.
    DsListenerParams ListenerApplied() const;
    int Commits() const;

private:
    friend class NullSoundBuffer;
    friend class NullSoundDevice;

    void RecordLocked(const char* format, ...) __attribute__((format(printf, 2, 3)));

    mutable std::mutex mutex_;
    std::condition_variable unlocked_;
    NullAudioFaults faults_;
    std::vector<std::pair<std::string, std::string>> drivers_;
    std::vector<std::string> calls_;
    // Live buffers; an entry leaves in the buffer's destructor, so the raw pointers are valid under
    // the mutex. Strong references are never dropped while the mutex is held.
    struct Entry {
        NullSoundBuffer* buffer;
        std::weak_ptr<NullSoundBuffer> weak;
    };
    std::vector<Entry> buffers_;
    std::weak_ptr<NullSoundDeviceState> newestDevice_;
    int nextBufferId_ = 1;
    int nextDeviceId_ = 1;
    int liveDevices_ = 0;
};

// A buffer of the null backend. It is its own listener (primary buffer), 3D controls and
// notifications; QueryInterface hands out the ones its flags allow.
class NullSoundBuffer final : public DsBuffer,
                              public DsListener,
                              public Ds3DBuffer,
                              public DsNotify,
                              public std::enable_shared_from_this<NullSoundBuffer> {
public:
    NullSoundBuffer(NullAudio& audio, std::shared_ptr<NullSoundDeviceState> device, int id, DsBufferKind kind,
                    uint32_t flags, const WaveFormatEx& format, std::shared_ptr<NullSoundMemory> memory,
                    int duplicateOf);
    ~NullSoundBuffer() override;

    // DsBuffer
    DsResult GetStatus(uint32_t* status) override;
    DsResult GetCurrentPosition(uint32_t* play, uint32_t* write) override;
    DsResult SetCurrentPosition(uint32_t offset) override;
    DsResult Lock(uint32_t offset, uint32_t bytes, void** audio1, uint32_t* bytes1, void** audio2, uint32_t* bytes2,
                  uint32_t flags) override;
    DsResult Unlock(void* audio1, uint32_t bytes1, void* audio2, uint32_t bytes2) override;
    DsResult Play(uint32_t reserved, uint32_t priority, uint32_t flags) override;
    DsResult Stop() override;
    DsResult SetVolume(int32_t volume) override;
    DsResult Restore() override;
    DsResult QueryInterface(std::shared_ptr<DsListener>* out) override;
    DsResult QueryInterface(std::shared_ptr<Ds3DBuffer>* out) override;
    DsResult QueryInterface(std::shared_ptr<DsNotify>* out) override;

    // DsListener (primary buffer)
    DsResult SetAllParameters(const DsListenerParams& params, uint32_t apply) override;
    DsResult GetAllParameters(DsListenerParams* params) override;
    DsResult CommitDeferredSettings() override;

    // Ds3DBuffer
    DsResult SetAllParameters(const Ds3DBufferParams& params, uint32_t apply) override;
    DsResult GetAllParameters(Ds3DBufferParams* params) override;

    // DsNotify
    DsResult SetNotificationPositions(uint32_t count, const DsNotifyPosition* positions) override;

    // ---- What tests look at ----
    int Id() const { return id_; }
    int DuplicateOf() const { return duplicateOf_; } // 0 for an original
    DsBufferKind Kind() const { return kind_; }
    uint32_t Flags() const { return flags_; }
    const WaveFormatEx& Format() const { return format_; }
    uint32_t Bytes() const;
    int32_t Volume() const; // clamped, hundredths of a decibel
    float Gain() const;
    bool IsPlaying() const;
    bool IsLooping() const;
    uint32_t PlayCursor() const;
    // Every byte the cursor has passed while playing, in play order.
    std::vector<uint8_t> Played() const;
    void ClearPlayed();
    std::vector<uint8_t> Memory() const;
    // The 3D settings in effect (deferred ones count once committed).
    Ds3DBufferParams Applied3D() const;
    uint64_t Unlocks() const;
    // Waits until Unlock has been called `count` times in all, or `timeoutMs` passed.
    bool WaitForUnlocks(uint64_t count, unsigned timeoutMs) const;
    // Loses the memory this buffer shares with its duplicates (zeroed): they stop, and Play and
    // Lock fail with DSERR_BUFFERLOST until Restore.
    void Lose();

private:
    friend class NullAudio;
    friend class NullSoundDevice;

    void AdvanceLocked(uint32_t ms);
    const char* Name() const { return name_; }

    NullAudio& audio_;
    std::shared_ptr<NullSoundDeviceState> device_;
    std::shared_ptr<NullSoundMemory> memory_;
    const int id_;
    const int duplicateOf_;
    const DsBufferKind kind_;
    const uint32_t flags_;
    const WaveFormatEx format_;
    char name_[16];

    int32_t volume_ = 0;
    bool playing_ = false;
    bool looping_ = false;
    uint32_t cursor_ = 0;
    uint64_t absolute_ = 0; // bytes played since the cursor was last set, plus where it was set
    uint64_t carry_ = 0;    // frame fraction of the clock, in frames * 1000 / rate
    int locks_ = 0;
    uint64_t unlocks_ = 0;
    std::vector<uint8_t> played_;
    std::vector<DsNotifyPosition> notifications_;
    Ds3DBufferParams pending3D_;
    Ds3DBufferParams applied3D_;
};

} // namespace plat
