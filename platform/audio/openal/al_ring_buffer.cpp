#include <algorithm>
#include <atomic>

#include "platform/audio/openal/al_system.h"
#include "platform/audio/openal/openal_backend.h"
#include "platform/sys/threads.h"

namespace plat {

namespace {
std::atomic<uint64_t> g_underruns{0};
} // namespace

uint64_t OpenAlStreamUnderruns() { return g_underruns.load(); }

DsResult AlRingBuffer::Create(std::shared_ptr<AlSystem> system, const DsBufferDesc& desc,
                              std::shared_ptr<DsBuffer>* out) {
    AlSystem& sys = *system;
    auto ring = std::make_shared<AlRingBuffer>(std::move(system), desc.flags, *desc.format, desc.bufferBytes);
    bool made;
    {
        std::lock_guard<std::mutex> lock(sys.mutex);
        made = ring->CreateSourceLocked() && ring->CreateBuffersLocked();
        if (made) sys.RegisterRing(ring.get());
    }
    // A ring that failed is destroyed here, outside the lock its destructor takes.
    if (!made) return DSERR_OUTOFMEMORY;
    *out = std::move(ring);
    return DS_OK;
}

AlRingBuffer::AlRingBuffer(std::shared_ptr<AlSystem> system, uint32_t flags, const WaveFormatEx& format, uint32_t bytes)
    : AlSourceBuffer(std::move(system), flags, format), size_(bytes) {
    memory_.assign(bytes, format.bitsPerSample == 8 ? 0x80 : 0x00);
    // Whole frames per segment; the last segment takes the rest.
    const uint32_t frames = bytes / format.blockAlign;
    segments_ = std::max<uint32_t>(1, std::min(kMaxSegments, frames));
    segmentBytes_ = frames / segments_ * format.blockAlign;
}

AlRingBuffer::~AlRingBuffer() {
    std::lock_guard<std::mutex> lock(system_->mutex);
    system_->UnregisterRing(this);
    if (source_ != 0) {
        alSourceStop(source_);
        alSourcei(source_, AL_BUFFER, 0);
    }
    if (buffersMade_) alDeleteBuffers(static_cast<ALsizei>(segments_), alBuffers_);
    alGetError();
}

bool AlRingBuffer::CreateBuffersLocked() {
    alGetError();
    alGenBuffers(static_cast<ALsizei>(segments_), alBuffers_);
    buffersMade_ = alGetError() == AL_NO_ERROR;
    return buffersMade_;
}

uint32_t AlRingBuffer::SegmentOf(uint32_t offset) const { return std::min(offset / segmentBytes_, segments_ - 1); }

uint32_t AlRingBuffer::SegmentEnd(uint32_t segment) const {
    return segment + 1 == segments_ ? size_ : (segment + 1) * segmentBytes_;
}

bool AlRingBuffer::InQueue(uint32_t segment) const {
    for (uint32_t i = 0; i < queued_; ++i)
        if (queue_[(queueFirst_ + i) % kMaxSegments].segment == segment) return true;
    return false;
}

uint64_t AlRingBuffer::CursorLocked() {
    if (queued_ == 0) return head_;
    ALint offset = 0;
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_BYTE_OFFSET, &offset);
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    // A source that ran out of queue has played all of it (its offset then reads 0).
    uint64_t cursor = state == AL_STOPPED ? tail_ : head_ + static_cast<uint64_t>(std::max(offset, 0));
    return std::clamp(cursor, std::max(head_, notified_), tail_);
}

void AlRingBuffer::NotifyLocked(uint64_t cursor) {
    if (cursor <= notified_) return;
    for (const DsNotifyPosition& n : notifications_)
        if (DsPassesOffset(notified_, cursor, n.offset, size_)) n.event->Set();
    notified_ = cursor;
}

void AlRingBuffer::UnqueueProcessedLocked() {
    ALint processed = 0;
    alGetSourcei(source_, AL_BUFFERS_PROCESSED, &processed);
    const auto count = std::min(static_cast<uint32_t>(std::max(processed, 0)), queued_);
    if (count == 0) return;
    ALuint names[kMaxSegments];
    alSourceUnqueueBuffers(source_, static_cast<ALsizei>(count), names);
    for (uint32_t i = 0; i < count; ++i) {
        head_ += queue_[queueFirst_].bytes;
        queueFirst_ = (queueFirst_ + 1) % kMaxSegments;
        --queued_;
    }
}

void AlRingBuffer::ClearQueueLocked(uint64_t at) {
    // The bytes of the dropped pieces were not all heard: they count as written, so that they are
    // queued ahead again when play goes on.
    for (uint32_t i = 0; i < queued_; ++i) {
        const uint32_t segment = queue_[(queueFirst_ + i) % kMaxSegments].segment;
        written_[segment] = {segment * segmentBytes_, SegmentEnd(segment)};
    }
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
    queueFirst_ = 0;
    queued_ = 0;
    head_ = tail_ = notified_ = at;
}

void AlRingBuffer::MarkWrittenLocked(uint32_t offset, uint32_t bytes) {
    const uint32_t end = offset + bytes;
    for (uint32_t segment = SegmentOf(offset); bytes > 0 && segment < segments_; ++segment) {
        const uint32_t segBegin = segment * segmentBytes_;
        const uint32_t segEnd = SegmentEnd(segment);
        if (segBegin >= end) break;
        const uint32_t a = std::max(offset, segBegin);
        const uint32_t b = std::min(end, segEnd);
        Written& w = written_[segment];
        if (w.begin == w.end || b < w.begin || a > w.end) {
            // Nothing before, or apart from what was written before: the newer bytes count.
            w = {a, b};
        } else {
            w = {std::min(w.begin, a), std::max(w.end, b)};
        }
    }
}

bool AlRingBuffer::WrittenWhole(uint32_t segment) const {
    return written_[segment].begin == segment * segmentBytes_ && written_[segment].end == SegmentEnd(segment);
}

void AlRingBuffer::TopUpLocked(uint64_t cursor) {
    // The caller may be writing into the ring: read none of it until the lock is given back.
    if (locks_ > 0) return;
    // A few segments always go ahead of the cursor, with the bytes as they are; beyond that, every
    // segment the caller has written whole since it was last queued goes too. A stream that keeps
    // the ring filled ahead of the cursor so has all it wrote on its way out, and a busy machine
    // that delays the next top-up does not run the queue dry.
    const uint64_t ahead = static_cast<uint64_t>(kAheadSegments) * segmentBytes_;
    while (queued_ < kMaxSegments) {
        if (!looping_ && tail_ >= end_) break;
        const auto offset = static_cast<uint32_t>(tail_ % size_);
        const uint32_t segment = SegmentOf(offset);
        if (InQueue(segment)) break;
        const bool near = queued_ == 0 || tail_ - cursor < ahead;
        if (!near && !WrittenWhole(segment)) break;
        uint32_t bytes = SegmentEnd(segment) - offset;
        alBufferData(alBuffers_[segment], alFormat_, memory_.data() + offset, static_cast<ALsizei>(bytes),
                     static_cast<ALsizei>(format_.samplesPerSec));
        alSourceQueueBuffers(source_, 1, &alBuffers_[segment]);
        queue_[(queueFirst_ + queued_) % kMaxSegments] = {segment, bytes};
        written_[segment] = {};
        ++queued_;
        tail_ += bytes;
    }
    alGetError();
}

void AlRingBuffer::PumpLocked() {
    if (!playing_) return;
    const uint64_t cursor = CursorLocked();
    NotifyLocked(cursor);
    if (!looping_ && cursor >= end_) {
        // Played to the end of the ring without looping: stopped, cursor at 0.
        ClearQueueLocked(0);
        playing_ = false;
        return;
    }
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    // A source that stopped with pieces still queued played them all: the queue ran dry.
    if (state == AL_STOPPED && queued_ > 0) g_underruns.fetch_add(1);
    UnqueueProcessedLocked();
    TopUpLocked(cursor);
    // Starts a queue that had to wait for bytes, or one that ran dry.
    if (state != AL_PLAYING && queued_ > 0) alSourcePlay(source_);
    alGetError();
}

DsResult AlRingBuffer::GetStatus(uint32_t* status) {
    if (status == nullptr) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(system_->mutex);
    *status = 0;
    if (playing_) *status = looping_ ? DSBSTATUS_PLAYING | DSBSTATUS_LOOPING : DSBSTATUS_PLAYING;
    return DS_OK;
}

DsResult AlRingBuffer::GetCurrentPosition(uint32_t* play, uint32_t* write) {
    std::lock_guard<std::mutex> lock(system_->mutex);
    const uint64_t cursor = playing_ ? CursorLocked() : head_;
    // Bytes up to the end of the queue are on their way out; writing there is heard next lap.
    if (play != nullptr) *play = static_cast<uint32_t>(cursor % size_);
    if (write != nullptr) *write = static_cast<uint32_t>((playing_ ? tail_ : cursor) % size_);
    return DS_OK;
}

DsResult AlRingBuffer::SetCurrentPosition(uint32_t offset) {
    if (offset >= size_) return DSERR_INVALIDPARAM;
    offset -= offset % format_.blockAlign;
    std::lock_guard<std::mutex> lock(system_->mutex);
    ClearQueueLocked(offset);
    if (playing_) {
        end_ = EndOfLap(offset);
        TopUpLocked(offset);
        if (queued_ > 0) alSourcePlay(source_);
    }
    alGetError();
    return DS_OK;
}

DsResult AlRingBuffer::Lock(uint32_t offset, uint32_t bytes, void** audio1, uint32_t* bytes1, void** audio2,
                            uint32_t* bytes2, uint32_t flags) {
    if (audio1 == nullptr || bytes1 == nullptr) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(system_->mutex);
    const auto write = static_cast<uint32_t>((playing_ ? tail_ : head_) % size_);
    const DsResult r =
        DsLockRegions(memory_.data(), size_, write, offset, bytes, flags, audio1, bytes1, audio2, bytes2);
    if (DsFailed(r)) return r;
    ++locks_;
    return DS_OK;
}

DsResult AlRingBuffer::Unlock(void* audio1, uint32_t bytes1, void* audio2, uint32_t bytes2) {
    std::lock_guard<std::mutex> lock(system_->mutex);
    if (locks_ == 0) return DSERR_INVALIDCALL;
    const uint8_t* base = memory_.data();
    if (!DsUnlockRegionsInside(base, size_, audio1, bytes1, audio2, bytes2)) return DSERR_INVALIDPARAM;
    if (audio1 != nullptr) MarkWrittenLocked(static_cast<uint32_t>(static_cast<uint8_t*>(audio1) - base), bytes1);
    if (audio2 != nullptr) MarkWrittenLocked(static_cast<uint32_t>(static_cast<uint8_t*>(audio2) - base), bytes2);
    --locks_;
    PumpLocked(); // a queue that waited for the lock goes on at once
    return DS_OK;
}

DsResult AlRingBuffer::Play(uint32_t reserved, uint32_t priority, uint32_t flags) {
    if (reserved != 0 || (flags & ~DSBPLAY_LOOPING) != 0) return DSERR_INVALIDPARAM;
    const bool loop = (flags & DSBPLAY_LOOPING) != 0;
    std::lock_guard<std::mutex> lock(system_->mutex);
    if (playing_) {
        // Only the looping flag changes; without it, play ends at the end of this lap.
        if (looping_ && !loop) end_ = EndOfLap(CursorLocked());
        looping_ = loop;
        return DS_OK;
    }
    // A stopped ring has an empty queue: it starts from the cursor with the bytes as they are now.
    playing_ = true;
    looping_ = loop;
    end_ = EndOfLap(head_);
    TopUpLocked(head_);
    if (queued_ > 0) alSourcePlay(source_);
    alGetError();
    return DS_OK;
}

DsResult AlRingBuffer::Stop() {
    std::lock_guard<std::mutex> lock(system_->mutex);
    if (!playing_) return DS_OK;
    const uint64_t cursor = CursorLocked();
    NotifyLocked(cursor);
    // The queue ahead of the cursor is dropped, so that bytes written while stopped are heard.
    ClearQueueLocked(cursor);
    playing_ = false;
    alGetError();
    return DS_OK;
}

DsResult AlRingBuffer::SetNotificationPositions(uint32_t count, const DsNotifyPosition* positions) {
    if (DsResult r = DsCheckNotifications(size_, count, positions); DsFailed(r)) return r;
    std::lock_guard<std::mutex> lock(system_->mutex);
    if (playing_) return DSERR_INVALIDCALL;
    notifications_.assign(positions, positions + count);
    return DS_OK;
}

} // namespace plat
