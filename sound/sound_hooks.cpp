// The framework reaches the sound system through its hooks: the device follows the window.
#include "core/frame_hooks.h"
#include "sound/sound_device.h"

void InstallSoundHooks() {
    YFrameHooks& hooks = FrameHooks();
    hooks.initSound = [](void* window) { InitDirectSound(window); };
    hooks.releaseSound = [] { ReleaseDirectSound(); };
    hooks.setSoundAppActive = [](bool active) { SetSoundAppActive(active); };
}
