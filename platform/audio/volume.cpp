#include "platform/audio/volume.h"

#include <cmath>

#include "platform/audio/ds_types.h"

namespace plat {

int32_t DsClampVolume(int32_t volume) {
    if (volume < DSBVOLUME_MIN) return DSBVOLUME_MIN;
    if (volume > DSBVOLUME_MAX) return DSBVOLUME_MAX;
    return volume;
}

float DsVolumeToGain(int32_t volume) {
    int32_t v = DsClampVolume(volume);
    if (v <= DSBVOLUME_MIN) return 0.0f;
    return static_cast<float>(std::pow(10.0, v / 2000.0));
}

} // namespace plat
