#include "platform/gpu/gl/gl_stream_buffer.h"

#include <cstring>

namespace gpu {

namespace {

// Every copy starts on this boundary, whatever the vertex size.
constexpr uint32_t kAlign = 16;

uint32_t AlignUp(uint32_t n) { return (n + kAlign - 1) / kAlign * kAlign; }

} // namespace

void GlStreamBuffer::Release(bool contextAlive) {
    GlApi& gl = Gl();
    if (contextAlive) {
        for (GLsync& f : fences_)
            if (f) gl.DeleteSync(f);
        if (mapped_) {
            gl.BindBuffer(target_, id_);
            gl.UnmapBuffer(target_);
        }
        if (id_) gl.DeleteBuffers(1, &id_);
    }
    fences_[0] = fences_[1] = nullptr;
    mapped_ = nullptr;
    id_ = 0;
    head_ = 0;
}

bool GlStreamBuffer::Storage(uint32_t capacity) {
    GlApi& gl = Gl();
    if (gl.BufferStorage) {
        // Immutable storage cannot be given again: a new buffer object takes the old one's place.
        Release(true);
        gl.GenBuffers(1, &id_);
        if (!id_) return false;
        gl.BindBuffer(target_, id_);
        const GLbitfield flags = GL_MAP_WRITE_BIT | GL_MAP_PERSISTENT_BIT | GL_MAP_COHERENT_BIT;
        gl.BufferStorage(target_, static_cast<GLsizeiptr>(capacity), nullptr, flags);
        mapped_ = static_cast<uint8_t*>(gl.MapBufferRange(target_, 0, static_cast<GLsizeiptr>(capacity), flags));
        if (!mapped_) {
            Release(true);
            return false;
        }
    } else {
        if (!id_) gl.GenBuffers(1, &id_);
        if (!id_) return false;
        gl.BindBuffer(target_, id_);
        gl.BufferData(target_, static_cast<GLsizeiptr>(capacity), nullptr, GL_STREAM_DRAW);
    }
    capacity_ = capacity;
    head_ = 0;
    return true;
}

void GlStreamBuffer::WaitFence(int half) {
    GlApi& gl = Gl();
    GLsync& f = fences_[half];
    if (!f) return;
    while (gl.ClientWaitSync(f, GL_SYNC_FLUSH_COMMANDS_BIT, 1000000000ull) == GL_TIMEOUT_EXPIRED) {}
    gl.DeleteSync(f);
    f = nullptr;
}

bool GlStreamBuffer::WritePersistent(const void* data, uint32_t bytes, uintptr_t* offset) {
    GlApi& gl = Gl();
    const uint32_t half = capacity_ / 2;
    if (!mapped_ || bytes > half) {
        uint32_t capacity = capacity_;
        while (capacity / 2 < bytes) capacity *= 2;
        if (!Storage(capacity)) return false;
    }
    const uint32_t size = capacity_ / 2;
    uint32_t start = AlignUp(head_);
    // The half last written (none right after new storage); the copy goes behind the last one when
    // it ends within that half, else at the start of the other half. The aligned start may lie
    // past the half's end (or the buffer's) when the last copy ended close to it.
    const int from = head_ == 0 ? -1 : static_cast<int>((head_ - 1) / size);
    int to = 0;
    if (from >= 0) {
        const uint64_t halfEnd = (static_cast<uint64_t>(from) + 1) * size;
        to = static_cast<uint64_t>(start) + bytes <= halfEnd ? from : 1 - from;
    }
    if (to != from) {
        start = static_cast<uint32_t>(to) * size;
        // The draws so far that read the half just left end at this fence.
        if (from >= 0 && !fences_[from]) fences_[from] = gl.FenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
        WaitFence(to);
    }
    std::memcpy(mapped_ + start, data, bytes);
    gl.BindBuffer(target_, id_);
    head_ = start + bytes;
    *offset = start;
    return true;
}

bool GlStreamBuffer::Write(const void* data, uint32_t bytes, uintptr_t* offset) {
    GlApi& gl = Gl();
    if (gl.BufferStorage) return WritePersistent(data, bytes, offset);
    uint32_t start = AlignUp(head_);
    if (!id_ || bytes > capacity_ || start > capacity_ - bytes) {
        // Fresh storage: the old contents may still be read by draws the driver has queued.
        uint32_t capacity = capacity_;
        while (capacity < bytes) capacity *= 2;
        if (!Storage(capacity)) return false;
        start = 0;
    } else {
        gl.BindBuffer(target_, id_);
    }
    if (gl.MapBufferRange) {
        // Nothing drawn so far reads this range, so the driver need not wait for earlier draws.
        void* p = gl.MapBufferRange(target_, static_cast<GLintptr>(start), static_cast<GLsizeiptr>(bytes),
                                    GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
        if (!p) return false;
        std::memcpy(p, data, bytes);
        if (!gl.UnmapBuffer(target_)) return false;
    } else {
        gl.BufferSubData(target_, static_cast<GLintptr>(start), static_cast<GLsizeiptr>(bytes), data);
    }
    head_ = start + bytes;
    *offset = start;
    return true;
}

} // namespace gpu
