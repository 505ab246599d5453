#pragma once
// Values and records of the sound device interface (platform/audio/device.h). The sound code was
// written against a DirectSound-style device, so the flags, result codes and records keep those
// shapes and numeric values; everything here is defined by value, in our own names.
#include <cstdint>

namespace plat {

// ---- Results ------------------------------------------------------------------------------------
// Negative values are failures.
using DsResult = int32_t;

constexpr DsResult DsCode(uint32_t bits) { return static_cast<DsResult>(bits); }

constexpr DsResult DS_OK = 0;
constexpr DsResult DSERR_ALLOCATED = DsCode(0x8878000Au);   // the resource is in use (a second device)
constexpr DsResult DSERR_INVALIDCALL = DsCode(0x88780032u); // not valid in the object's state
constexpr DsResult DSERR_BADFORMAT = DsCode(0x88780064u);   // wave format not supported
constexpr DsResult DSERR_NODRIVER = DsCode(0x88780078u);    // no sound device
constexpr DsResult DSERR_BUFFERLOST = DsCode(0x88780096u);  // buffer memory lost; Restore it
constexpr DsResult DSERR_GENERIC = DsCode(0x80004005u);
constexpr DsResult DSERR_INVALIDPARAM = DsCode(0x80070057u);
constexpr DsResult DSERR_OUTOFMEMORY = DsCode(0x8007000Eu);
constexpr DsResult DSERR_UNSUPPORTED = DsCode(0x80004001u);
constexpr DsResult DSERR_NOINTERFACE = DsCode(0x80004002u);

constexpr bool DsFailed(DsResult r) { return r < 0; }
constexpr bool DsSucceeded(DsResult r) { return r >= 0; }

// ---- Cooperative levels -------------------------------------------------------------------------
constexpr uint32_t DSSCL_NORMAL = 1;
constexpr uint32_t DSSCL_PRIORITY = 2;
constexpr uint32_t DSSCL_EXCLUSIVE = 3;
constexpr uint32_t DSSCL_WRITEPRIMARY = 4;

// ---- Buffer capabilities (DsBufferDesc::flags) --------------------------------------------------
constexpr uint32_t DSBCAPS_PRIMARYBUFFER = 0x00000001;
constexpr uint32_t DSBCAPS_STATIC = 0x00000002;
constexpr uint32_t DSBCAPS_LOCHARDWARE = 0x00000004;
constexpr uint32_t DSBCAPS_LOCSOFTWARE = 0x00000008;
constexpr uint32_t DSBCAPS_CTRL3D = 0x00000010;
constexpr uint32_t DSBCAPS_CTRLFREQUENCY = 0x00000020;
constexpr uint32_t DSBCAPS_CTRLPAN = 0x00000040;
constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x00000080;
constexpr uint32_t DSBCAPS_CTRLPOSITIONNOTIFY = 0x00000100;
constexpr uint32_t DSBCAPS_GLOBALFOCUS = 0x00008000;
constexpr uint32_t DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;
constexpr uint32_t DSBCAPS_LOCDEFER = 0x00040000;

// ---- Play, lock and status flags ----------------------------------------------------------------
constexpr uint32_t DSBPLAY_LOOPING = 0x00000001;

constexpr uint32_t DSBLOCK_FROMWRITECURSOR = 0x00000001;
constexpr uint32_t DSBLOCK_ENTIREBUFFER = 0x00000002;

constexpr uint32_t DSBSTATUS_PLAYING = 0x00000001;
constexpr uint32_t DSBSTATUS_BUFFERLOST = 0x00000002;
constexpr uint32_t DSBSTATUS_LOOPING = 0x00000004;

// ---- Limits -------------------------------------------------------------------------------------
// Volume in hundredths of a decibel: 0 is full level, -10000 (-100 dB) is silence.
constexpr int32_t DSBVOLUME_MIN = -10000;
constexpr int32_t DSBVOLUME_MAX = 0;

constexpr uint32_t DSBSIZE_MIN = 4;
constexpr uint32_t DSBSIZE_MAX = 0x0FFFFFFF;

constexpr uint32_t DSBFREQUENCY_MIN = 100;
constexpr uint32_t DSBFREQUENCY_MAX = 200000;

// ---- 3D -----------------------------------------------------------------------------------------
// When a 3D setting takes effect: at once, or at the listener's next CommitDeferredSettings.
constexpr uint32_t DS3D_IMMEDIATE = 0;
constexpr uint32_t DS3D_DEFERRED = 1;

// Ds3DBufferParams::mode
constexpr uint32_t DS3DMODE_NORMAL = 0;       // position in world coordinates
constexpr uint32_t DS3DMODE_HEADRELATIVE = 1; // position relative to the listener
constexpr uint32_t DS3DMODE_DISABLE = 2;      // no 3D processing: plays from the listener's head

constexpr float DS3D_DEFAULTMINDISTANCE = 1.0f;
constexpr float DS3D_DEFAULTMAXDISTANCE = 1000000000.0f;
constexpr float DS3D_DEFAULTDISTANCEFACTOR = 1.0f;
constexpr float DS3D_DEFAULTROLLOFFFACTOR = 1.0f;
constexpr float DS3D_DEFAULTDOPPLERFACTOR = 1.0f;
constexpr float DS3D_MINROLLOFFFACTOR = 0.0f;
constexpr float DS3D_MAXROLLOFFFACTOR = 10.0f;
constexpr float DS3D_MINDOPPLERFACTOR = 0.0f;
constexpr float DS3D_MAXDOPPLERFACTOR = 10.0f;

// ---- Records ------------------------------------------------------------------------------------
constexpr uint16_t WAVE_FORMAT_PCM = 1;

// PCM format of a buffer: the 18-byte wave format record, field by field (not a byte image).
struct WaveFormatEx {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;    // bytes per frame: channels * bitsPerSample / 8
    uint16_t bitsPerSample = 0; // 8 (unsigned) or 16 (signed little-endian)
    uint16_t extraSize = 0;
};

// Size the sound code writes into DsBufferDesc::size, and the only one accepted.
constexpr uint32_t DSBUFFERDESC_SIZE = 36;

struct DsBufferDesc {
    uint32_t size = DSBUFFERDESC_SIZE;
    uint32_t flags = 0;
    uint32_t bufferBytes = 0;             // 0 for the primary buffer
    const WaveFormatEx* format = nullptr; // nullptr for the primary buffer
};

// Coordinates are left-handed: x right, y up, z forward.
struct DsVector {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Size the sound code writes into DsListenerParams::size, and the only one accepted.
constexpr uint32_t DS3DLISTENER_SIZE = 64;

// The listener block. The defaults are the listener's state when a device is made.
struct DsListenerParams {
    uint32_t size = DS3DLISTENER_SIZE;
    DsVector position{0.0f, 0.0f, 0.0f};
    DsVector velocity{0.0f, 0.0f, 0.0f};
    DsVector orientFront{0.0f, 0.0f, 1.0f};
    DsVector orientTop{0.0f, 1.0f, 0.0f};
    float distanceFactor = DS3D_DEFAULTDISTANCEFACTOR; // metres per unit (speed of sound, Doppler)
    float rolloffFactor = DS3D_DEFAULTROLLOFFFACTOR;   // scales the distance attenuation
    float dopplerFactor = DS3D_DEFAULTDOPPLERFACTOR;
};

// The 3D state of one buffer. Attenuation is min / (min + rolloff * (d - min)), d clamped to
// [minDistance, maxDistance].
struct Ds3DBufferParams {
    DsVector position{0.0f, 0.0f, 0.0f};
    DsVector velocity{0.0f, 0.0f, 0.0f};
    float minDistance = DS3D_DEFAULTMINDISTANCE;
    float maxDistance = DS3D_DEFAULTMAXDISTANCE;
    uint32_t mode = DS3DMODE_NORMAL;
};

} // namespace plat
