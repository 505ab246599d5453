#pragma once
// The OpenAL Soft sound backend.
//
// - The default device opens through OpenAL's own driver choice (ALSOFT_DRIVERS=null runs it with
//   no sound card); with no device at all, CreateDevice fails with DSERR_NODRIVER. One device
//   lives at a time: a second CreateDevice while buffers of the first remain fails with
//   DSERR_ALLOCATED.
// - Distances follow the inverse-distance-clamped law; the left-handed coordinates of the
//   interface become OpenAL's right-handed ones by negating z.
// - A buffer without notifications is one OpenAL buffer, shared by its duplicates, each of which
//   is an OpenAL source. New bytes reach it at Unlock, or at the next Play when a voice on it was
//   playing then.
// - A buffer with notifications is a ring played through a queue of short OpenAL buffers, one per
//   segment of the ring (a sixteenth of it), with the ring's bytes as they are when queued. The
//   queue always holds a few segments ahead of the play cursor, and besides every segment that the
//   caller has written whole since it was last queued: a stream that keeps its ring filled ahead
//   of the cursor so has everything it wrote on its way out, and a thread delayed on a busy
//   machine does not leave the queue to run dry. The cursor counts the bytes played, and
//   notifications fire as it passes their offsets. A device thread (every 5 ms) keeps the queues
//   and the notifications going; bytes the caller writes behind the play cursor are heard on the
//   next lap, as with a hardware ring.
#include <cstdint>
#include <memory>

#include "platform/audio/device.h"

namespace plat {

DsBackend& OpenAlBackend();

// A device that mixes only when asked: stereo 32-bit float frames at `sampleRate`, with no HRTF,
// no output limiter and no dither, so the output is exact. For tests, without a sound card.
DsResult OpenAlCreateLoopbackDevice(uint32_t sampleRate, std::shared_ptr<DsDevice>* out);
// Mixes `frames` frames into `out` (2 * frames floats, left then right), then does the work the
// device thread does for a real device: moves stream queues on and fires notifications. A step
// longer than what a ring has queued ahead runs that stream dry within the step.
DsResult OpenAlRenderLoopback(DsDevice& device, float* out, uint32_t frames);

// How often, since the process started, a playing ring ran out of queued bytes before the device
// thread topped it up (each time is a gap in its sound). For benchmarks and diagnostics.
uint64_t OpenAlStreamUnderruns();

} // namespace plat
