#include "world/effects/world_sound.h"

#include "sound/sound_fx.h"

void (*g_WorldSoundObserver)(const YSoundFx* sound, const YVector* position) = nullptr;

void PlayWorldSound(YSoundFx* sound, const YVector* position, float volume, const YVector* velocity) {
    static const YVector still(0.0f, 0.0f, 0.0f);
    if (g_WorldSoundObserver) g_WorldSoundObserver(sound, position);
    PlaySoundFx(sound, position, volume, velocity ? velocity : &still);
}
