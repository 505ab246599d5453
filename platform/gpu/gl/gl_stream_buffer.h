#pragma once
// A buffer object that draws from client memory go through: each draw's data is appended behind
// the last one's. Nothing is allocated per draw.
//
// With ARB_buffer_storage the buffer is mapped once for good (persistent, coherent) and used as a
// ring of two halves: when writing moves on into the other half, a fence marks the end of the
// draws that read the half just left, and writing into a half waits for its fence (set a lap
// earlier, long done). Without it, each write maps the range unsynchronised, and a full buffer is
// given fresh storage (the driver keeps the old one for draws still in flight). The storage only
// grows when one draw needs more than a half (or the whole) of it.
#include <cstdint>

#include "platform/gpu/gl/gl_api.h"

namespace gpu {

class GlStreamBuffer {
public:
    GlStreamBuffer(GLenum target, uint32_t capacity) : target_(target), capacity_(capacity) {}
    // Deletes the buffer object; the context must be current (or already gone: then pass false).
    void Release(bool contextAlive);

    // Copies `bytes` of `data` into the buffer, leaves it bound to the target and gives the
    // offset of the copy. False when the buffer cannot be made or filled.
    bool Write(const void* data, uint32_t bytes, uintptr_t* offset);
    // The size of the buffer's storage in bytes (what it starts with until storage is made).
    uint32_t Capacity() const { return capacity_; }

private:
    bool Storage(uint32_t capacity);
    bool WritePersistent(const void* data, uint32_t bytes, uintptr_t* offset);
    void WaitFence(int half);

    GLenum target_;
    uint32_t capacity_;
    GLuint id_ = 0;
    uint32_t head_ = 0;
    uint8_t* mapped_ = nullptr; // the persistent mapping, when there is one
    GLsync fences_[2] = {};
};

} // namespace gpu
