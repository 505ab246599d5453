#include "platform/audio/buffer_rules.h"

#include <cmath>
#include <cstdint>

namespace plat {

namespace {

bool Finite(const DsVector& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool NonZero(const DsVector& v) { return v.x != 0.0f || v.y != 0.0f || v.z != 0.0f; }

DsResult CheckFormat(const WaveFormatEx& f) {
    if (f.formatTag != WAVE_FORMAT_PCM) return DSERR_BADFORMAT;
    if (f.channels != 1 && f.channels != 2) return DSERR_BADFORMAT;
    if (f.bitsPerSample != 8 && f.bitsPerSample != 16) return DSERR_BADFORMAT;
    if (f.samplesPerSec < DSBFREQUENCY_MIN || f.samplesPerSec > DSBFREQUENCY_MAX) return DSERR_BADFORMAT;
    if (f.blockAlign != f.channels * f.bitsPerSample / 8) return DSERR_INVALIDPARAM;
    return DS_OK;
}

} // namespace

DsResult DsCheckBufferDesc(const DsBufferDesc& desc, DsBufferKind* kind) {
    if (desc.size != DSBUFFERDESC_SIZE) return DSERR_INVALIDPARAM;
    const uint32_t flags = desc.flags;
    if ((flags & DSBCAPS_LOCHARDWARE) && (flags & DSBCAPS_LOCSOFTWARE)) return DSERR_INVALIDPARAM;

    if (flags & DSBCAPS_PRIMARYBUFFER) {
        if (desc.bufferBytes != 0 || desc.format != nullptr) return DSERR_INVALIDPARAM;
        if (flags & (DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_STATIC)) return DSERR_INVALIDPARAM;
        *kind = DsBufferKind::Primary;
        return DS_OK;
    }

    if (desc.format == nullptr) return DSERR_INVALIDPARAM;
    if (desc.bufferBytes < DSBSIZE_MIN || desc.bufferBytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
    const WaveFormatEx& f = *desc.format;
    if (DsResult r = CheckFormat(f); DsFailed(r)) return r;
    // 3D sound is panned from one point: a 3D buffer must be mono.
    if ((flags & DSBCAPS_CTRL3D) && f.channels != 1) return DSERR_INVALIDPARAM;

    if (flags & DSBCAPS_CTRLPOSITIONNOTIFY) {
        if (desc.bufferBytes % f.blockAlign != 0) return DSERR_INVALIDPARAM;
        *kind = DsBufferKind::Ring;
    } else {
        *kind = DsBufferKind::Static;
    }
    return DS_OK;
}

DsResult DsCheckListenerParams(const DsListenerParams& p) {
    if (p.size != DS3DLISTENER_SIZE) return DSERR_INVALIDPARAM;
    if (!Finite(p.position) || !Finite(p.velocity) || !Finite(p.orientFront) || !Finite(p.orientTop))
        return DSERR_INVALIDPARAM;
    if (!NonZero(p.orientFront) || !NonZero(p.orientTop)) return DSERR_INVALIDPARAM;
    if (!std::isfinite(p.distanceFactor) || !(p.distanceFactor > 0.0f)) return DSERR_INVALIDPARAM;
    if (!(p.rolloffFactor >= DS3D_MINROLLOFFFACTOR && p.rolloffFactor <= DS3D_MAXROLLOFFFACTOR))
        return DSERR_INVALIDPARAM;
    if (!(p.dopplerFactor >= DS3D_MINDOPPLERFACTOR && p.dopplerFactor <= DS3D_MAXDOPPLERFACTOR))
        return DSERR_INVALIDPARAM;
    return DS_OK;
}

DsResult DsCheck3DParams(const Ds3DBufferParams& p) {
    if (!Finite(p.position) || !Finite(p.velocity)) return DSERR_INVALIDPARAM;
    if (!std::isfinite(p.minDistance) || !(p.minDistance > 0.0f)) return DSERR_INVALIDPARAM;
    if (!std::isfinite(p.maxDistance) || !(p.maxDistance > 0.0f)) return DSERR_INVALIDPARAM;
    if (p.mode > DS3DMODE_DISABLE) return DSERR_INVALIDPARAM;
    return DS_OK;
}

DsResult DsComputeLock(uint32_t size, uint32_t writeCursor, uint32_t offset, uint32_t bytes, uint32_t flags,
                       bool wantSecond, DsLockRange* out) {
    if (flags & DSBLOCK_ENTIREBUFFER) {
        offset = 0;
        bytes = size;
    } else if (flags & DSBLOCK_FROMWRITECURSOR) {
        offset = writeCursor;
    }
    if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
    out->offset = offset;
    out->bytes1 = bytes <= size - offset ? bytes : size - offset;
    out->bytes2 = wantSecond ? bytes - out->bytes1 : 0;
    return DS_OK;
}

bool DsRegionInside(const void* base, uint32_t size, const void* p, uint32_t n) {
    if (n == 0) return true;
    auto b = reinterpret_cast<uintptr_t>(base);
    auto q = reinterpret_cast<uintptr_t>(p);
    return q >= b && q - b <= size && n <= size - (q - b);
}

DsResult DsLockRegions(uint8_t* base, uint32_t size, uint32_t writeCursor, uint32_t offset, uint32_t bytes,
                       uint32_t flags, void** audio1, uint32_t* bytes1, void** audio2, uint32_t* bytes2) {
    const bool second = audio2 != nullptr && bytes2 != nullptr;
    DsLockRange range;
    if (DsResult r = DsComputeLock(size, writeCursor, offset, bytes, flags, second, &range); DsFailed(r)) return r;
    *audio1 = base + range.offset;
    *bytes1 = range.bytes1;
    if (second) {
        *audio2 = range.bytes2 > 0 ? base : nullptr;
        *bytes2 = range.bytes2;
    }
    return DS_OK;
}

bool DsUnlockRegionsInside(const void* base, uint32_t size, const void* audio1, uint32_t bytes1, const void* audio2,
                           uint32_t bytes2) {
    return DsRegionInside(base, size, audio1, bytes1) && DsRegionInside(base, size, audio2, bytes2);
}

DsResult DsCheckNotifications(uint32_t size, uint32_t count, const DsNotifyPosition* positions) {
    if (count > 0 && positions == nullptr) return DSERR_INVALIDPARAM;
    if (count > size) return DSERR_INVALIDPARAM;
    for (uint32_t i = 0; i < count; ++i)
        if (positions[i].offset >= size || positions[i].event == nullptr) return DSERR_INVALIDPARAM;
    return DS_OK;
}

bool DsPassesOffset(uint64_t from, uint64_t to, uint32_t offset, uint32_t size) {
    if (to <= from || size == 0) return false;
    // First absolute byte at or after `from` that sits at `offset` in the ring.
    uint64_t phase = from % size;
    uint64_t ahead = offset >= phase ? offset - phase : size - phase + offset;
    return from + ahead < to;
}

} // namespace plat
