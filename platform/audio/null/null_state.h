#pragma once
// State the null backend's devices and buffers share (internal to platform/audio/null).
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio/ds_types.h"

namespace plat {

class NullAudio;
class NullSoundBuffer;

// One device: its number and its listener.
struct NullSoundDeviceState {
    NullAudio* audio = nullptr;
    int id = 0;
    DsListenerParams pendingListener;
    DsListenerParams appliedListener;
    int commits = 0;
    std::weak_ptr<NullSoundBuffer> primary;
};

// The bytes of a buffer, shared with its duplicates.
struct NullSoundMemory {
    std::vector<uint8_t> bytes;
    bool lost = false;
};

} // namespace plat
