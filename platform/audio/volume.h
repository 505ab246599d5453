#pragma once
// Buffer volumes are hundredths of a decibel (0 = full level); mixers want a linear gain.
#include <cstdint>

namespace plat {

// Clamps to DSBVOLUME_MIN..DSBVOLUME_MAX.
int32_t DsClampVolume(int32_t volume);

// 10^(volume / 2000) for the clamped volume, so 0 gives 1 and -2000 gives 0.1; DSBVOLUME_MIN and
// below give 0 (silence).
float DsVolumeToGain(int32_t volume);

} // namespace plat
