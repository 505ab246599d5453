#pragma once
// Inside the OpenAL Soft backend. One AlSystem owns the OpenAL device and context; the device
// object and every buffer hold it, so it stays up until the last of them goes. All OpenAL calls
// and all buffer state are guarded by the system's mutex.
#include <AL/al.h>
#include <AL/alc.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio/buffer_rules.h"
#include "platform/audio/device.h"
#include "platform/sys/threads.h"

namespace plat {

class AlSourceBuffer;
class AlRingBuffer;

class AlSystem {
public:
    // loopback: mixes only in RenderLoopback, at `rate`; otherwise the default device, with a
    // thread that pumps the rings.
    static DsResult Open(bool loopback, uint32_t rate, std::shared_ptr<AlSystem>* out);
    ~AlSystem();
    AlSystem(const AlSystem&) = delete;
    AlSystem& operator=(const AlSystem&) = delete;

    std::mutex mutex;

    bool IsLoopback() const { return loopback_; }
    bool HasDirectChannels() const { return directChannels_; }
    DsResult RenderLoopback(float* out, uint32_t frames);

    // Under the mutex:
    void Register3D(AlSourceBuffer* buffer);
    void Unregister3D(AlSourceBuffer* buffer);
    void RegisterRing(AlRingBuffer* ring);
    void UnregisterRing(AlRingBuffer* ring);
    void PumpLocked();

    // The listener (under the mutex).
    DsListenerParams pendingListener;
    const DsListenerParams& AppliedListener() const { return appliedListener_; }
    void ApplyListenerLocked(const DsListenerParams& params);
    void CommitLocked();

private:
    AlSystem() = default;
    void PumpThread(const std::atomic<bool>& stop);

    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
    bool loopback_ = false;
    bool directChannels_ = false;
    bool deferredUpdates_ = false;
    DsListenerParams appliedListener_;
    std::vector<AlSourceBuffer*> sources3D_;
    std::vector<AlRingBuffer*> rings_;
    YEvent wake_;
    YThread pump_;
};

// A secondary buffer: one OpenAL source, with its volume and (with DSBCAPS_CTRL3D) 3D settings.
class AlSourceBuffer : public DsBuffer, public Ds3DBuffer, public std::enable_shared_from_this<AlSourceBuffer> {
public:
    ~AlSourceBuffer() override;

    DsResult SetVolume(int32_t volume) override;
    DsResult Restore() override;
    DsResult QueryInterface(std::shared_ptr<DsListener>* out) override;
    DsResult QueryInterface(std::shared_ptr<Ds3DBuffer>* out) override;
    DsResult QueryInterface(std::shared_ptr<DsNotify>* out) override;

    DsResult SetAllParameters(const Ds3DBufferParams& params, uint32_t apply) override;
    DsResult GetAllParameters(Ds3DBufferParams* params) override;

    // Under the system mutex.
    void ApplyRolloffLocked(float rolloff);
    void Commit3DLocked();
    AlSystem& System() { return *system_; }

protected:
    AlSourceBuffer(std::shared_ptr<AlSystem> system, uint32_t flags, const WaveFormatEx& format);
    // Makes the source (under the system mutex); false when OpenAL has none left.
    bool CreateSourceLocked();
    // A duplicate starts with the volume and 3D settings of its original.
    void CopySettingsLocked(const AlSourceBuffer& original);
    virtual DsNotify* NotifyInterface() { return nullptr; }

    std::shared_ptr<AlSystem> system_;
    const uint32_t flags_;
    const WaveFormatEx format_;
    const ALenum alFormat_;
    ALuint source_ = 0;
    int32_t volume_ = 0;

private:
    void Apply3DLocked(const Ds3DBufferParams& params);

    Ds3DBufferParams pending3D_;
    bool dirty3D_ = false;
};

// The bytes of a buffer without notifications and their OpenAL buffer, shared with duplicates.
struct AlSharedData {
    std::vector<uint8_t> memory;
    ALuint alBuffer = 0;
    bool uploaded = false; // alBuffer holds at least one frame
    bool dirty = false;    // memory changed since the last upload
    int locks = 0;
    std::vector<class AlStaticBuffer*> users;
};

class AlStaticBuffer final : public AlSourceBuffer {
public:
    static DsResult Create(std::shared_ptr<AlSystem> system, const DsBufferDesc& desc, std::shared_ptr<DsBuffer>* out);
    DsResult Duplicate(std::shared_ptr<DsBuffer>* out);
    AlStaticBuffer(std::shared_ptr<AlSystem> system, uint32_t flags, const WaveFormatEx& format,
                   std::shared_ptr<AlSharedData> data);
    ~AlStaticBuffer() override;

    DsResult GetStatus(uint32_t* status) override;
    DsResult GetCurrentPosition(uint32_t* play, uint32_t* write) override;
    DsResult SetCurrentPosition(uint32_t offset) override;
    DsResult Lock(uint32_t offset, uint32_t bytes, void** audio1, uint32_t* bytes1, void** audio2, uint32_t* bytes2,
                  uint32_t flags) override;
    DsResult Unlock(void* audio1, uint32_t bytes1, void* audio2, uint32_t bytes2) override;
    DsResult Play(uint32_t reserved, uint32_t priority, uint32_t flags) override;
    DsResult Stop() override;

private:
    bool InitLocked();
    void UploadLocked();
    uint32_t CursorLocked();

    std::shared_ptr<AlSharedData> data_;
    bool looping_ = false;
    uint32_t startOffset_ = 0; // where the next Play starts (the cursor while stopped)
};

class AlRingBuffer final : public AlSourceBuffer, public DsNotify {
public:
    static DsResult Create(std::shared_ptr<AlSystem> system, const DsBufferDesc& desc, std::shared_ptr<DsBuffer>* out);
    AlRingBuffer(std::shared_ptr<AlSystem> system, uint32_t flags, const WaveFormatEx& format, uint32_t bytes);
    ~AlRingBuffer() override;

    DsResult GetStatus(uint32_t* status) override;
    DsResult GetCurrentPosition(uint32_t* play, uint32_t* write) override;
    DsResult SetCurrentPosition(uint32_t offset) override;
    DsResult Lock(uint32_t offset, uint32_t bytes, void** audio1, uint32_t* bytes1, void** audio2, uint32_t* bytes2,
                  uint32_t flags) override;
    DsResult Unlock(void* audio1, uint32_t bytes1, void* audio2, uint32_t bytes2) override;
    DsResult Play(uint32_t reserved, uint32_t priority, uint32_t flags) override;
    DsResult Stop() override;
    DsResult SetNotificationPositions(uint32_t count, const DsNotifyPosition* positions) override;

    // Under the system mutex: unqueue what was played, fire notifications, queue what comes next.
    void PumpLocked();

protected:
    DsNotify* NotifyInterface() override { return this; }

private:
    static constexpr uint32_t kMaxSegments = 16;
    // Segments queued ahead of the cursor even when the caller has not written them anew.
    static constexpr uint32_t kAheadSegments = 4;

    struct Piece {
        uint32_t segment;
        uint32_t bytes;
    };
    // Bytes [begin, end) of a segment (ring offsets) written since it was last queued.
    struct Written {
        uint32_t begin = 0;
        uint32_t end = 0;
    };

    bool CreateBuffersLocked();
    bool InQueue(uint32_t segment) const;
    uint32_t SegmentOf(uint32_t offset) const;
    uint32_t SegmentEnd(uint32_t segment) const;
    uint64_t CursorLocked();
    void NotifyLocked(uint64_t cursor);
    void UnqueueProcessedLocked();
    void ClearQueueLocked(uint64_t at);
    void TopUpLocked(uint64_t cursor);
    void MarkWrittenLocked(uint32_t offset, uint32_t bytes);
    bool WrittenWhole(uint32_t segment) const;
    uint64_t EndOfLap(uint64_t cursor) const { return (cursor / size_ + 1) * size_; }

    std::vector<uint8_t> memory_;
    const uint32_t size_;
    uint32_t segmentBytes_ = 0;
    uint32_t segments_ = 0;
    ALuint alBuffers_[kMaxSegments] = {};
    Written written_[kMaxSegments] = {};
    bool buffersMade_ = false;
    // The queue, oldest first, as pieces of the ring in order: the first starts at head_, each
    // runs to its segment's end (the first may start inside it), the last ends at tail_.
    Piece queue_[kMaxSegments] = {};
    uint32_t queueFirst_ = 0;
    uint32_t queued_ = 0;
    // Absolute byte positions: byte b of what the ring plays sits at b mod size_.
    uint64_t head_ = 0;
    uint64_t tail_ = 0;
    uint64_t notified_ = 0; // notifications have fired for every byte before this
    uint64_t end_ = 0;      // without looping: where play stops
    bool playing_ = false;
    bool looping_ = false;
    int locks_ = 0;
    std::vector<DsNotifyPosition> notifications_;
};

class AlPrimaryBuffer final : public DsBuffer, public DsListener, public std::enable_shared_from_this<AlPrimaryBuffer> {
public:
    AlPrimaryBuffer(std::shared_ptr<AlSystem> system, uint32_t flags) : system_(std::move(system)), flags_(flags) {}

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

    DsResult SetAllParameters(const DsListenerParams& params, uint32_t apply) override;
    DsResult GetAllParameters(DsListenerParams* params) override;
    DsResult CommitDeferredSettings() override;

private:
    std::shared_ptr<AlSystem> system_;
    const uint32_t flags_;
};

class AlDevice final : public DsDevice {
public:
    explicit AlDevice(std::shared_ptr<AlSystem> system) : system_(std::move(system)) {}

    DsResult SetCooperativeLevel(void* window, uint32_t level) override;
    DsResult CreateSoundBuffer(const DsBufferDesc& desc, std::shared_ptr<DsBuffer>* out) override;
    DsResult DuplicateSoundBuffer(DsBuffer& original, std::shared_ptr<DsBuffer>* out) override;

    AlSystem& System() { return *system_; }

private:
    std::shared_ptr<AlSystem> system_;
    std::weak_ptr<DsBuffer> primary_;
};

// OpenAL format of a PCM format that DsCheckBufferDesc accepted.
ALenum AlFormatOf(const WaveFormatEx& format);

} // namespace plat
