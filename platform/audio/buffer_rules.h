#pragma once
// Rules both sound backends share: which descriptions and parameters a device accepts, how a lock
// splits over the end of a ring and which regions it hands out, and when a moving play cursor
// passes a notification offset.
#include <cstdint>

#include "platform/audio/device.h"

namespace plat {

enum class DsBufferKind {
    Primary, // the mixer output with the listener
    Static,  // secondary buffer without notifications: sounds played whole, duplicated for voices
    Ring,    // secondary buffer with notifications: a ring the caller keeps refilling
};

// Checks a buffer description: size field, flags, byte count, and the PCM format (1 or 2
// channels, 8 or 16 bits, a consistent block alignment, a rate the device plays, mono for 3D, a
// whole number of frames for a ring). DSERR_BADFORMAT for a format no buffer can have,
// DSERR_INVALIDPARAM for everything else.
DsResult DsCheckBufferDesc(const DsBufferDesc& desc, DsBufferKind* kind);

// Finite values, the record size, factors in their ranges, non-zero orientation vectors.
DsResult DsCheckListenerParams(const DsListenerParams& params);
// Finite values, positive distances, a known mode.
DsResult DsCheck3DParams(const Ds3DBufferParams& params);

// A lock of a ring of `size` bytes: `bytes1` bytes from `offset`, then `bytes2` bytes from 0.
struct DsLockRange {
    uint32_t offset = 0;
    uint32_t bytes1 = 0;
    uint32_t bytes2 = 0;
};
// `wantSecond` is false when the caller gave no second region: the lock then stops at the end.
DsResult DsComputeLock(uint32_t size, uint32_t writeCursor, uint32_t offset, uint32_t bytes, uint32_t flags,
                       bool wantSecond, DsLockRange* out);
// True when [p, p + n) lies inside [base, base + size) (n may be 0 with any p).
bool DsRegionInside(const void* base, uint32_t size, const void* p, uint32_t n);

// Lock on the `size` bytes at `base`: computes the range (DsComputeLock) and hands out the
// regions. The second is handed out only when both `audio2` and `bytes2` are given, with
// nullptr for an empty one. `audio1` and `bytes1` must not be nullptr. On failure nothing is
// written.
DsResult DsLockRegions(uint8_t* base, uint32_t size, uint32_t writeCursor, uint32_t offset, uint32_t bytes,
                       uint32_t flags, void** audio1, uint32_t* bytes1, void** audio2, uint32_t* bytes2);
// Whether both regions given back to Unlock lie inside the `size` bytes at `base`.
bool DsUnlockRegionsInside(const void* base, uint32_t size, const void* audio1, uint32_t bytes1, const void* audio2,
                           uint32_t bytes2);

// Offsets below the ring size, every event given.
DsResult DsCheckNotifications(uint32_t size, uint32_t count, const DsNotifyPosition* positions);

// Whether a play cursor that moves from absolute byte `from` up to `to` (the byte at `to` not
// yet played) plays a byte at `offset` of a ring of `size` bytes. Absolute bytes count laps:
// byte b of the stream sits at b mod size in the ring.
bool DsPassesOffset(uint64_t from, uint64_t to, uint32_t offset, uint32_t size);

} // namespace plat
