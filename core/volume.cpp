#include "core/volume.h"

float ClampVolume(float volume) {
    if (!(volume > 0.0f)) return 0.0f; // also not-a-number and -0
    return volume < 1.0f ? volume : 1.0f;
}
