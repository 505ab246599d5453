#pragma once
// What the framework asks of the renderer and the sound system, which live in layers above the
// core. Those layers fill the hooks when they are set up; a hook left empty means that subsystem
// does not exist in this program (the framework then skips the step, as with no global renderer).
#include <functional>
#include <string>

#include "core/video_mode.h"

struct YFrameHooks {
    // Renderer: the device for a window, in windowed or full-screen mode at the given mode.
    std::function<bool()> rendererExists;
    // The device for the window; in full screen at `mode`, already resolved against the renderer's
    // list (its index names the listed mode).
    std::function<void(void* window, bool fullScreen, const YVideoMode& mode)> createDevice;
    std::function<void()> releaseDevice;
    std::function<void()> resetDevice;
    std::function<void(bool clear)> beginFrame;
    std::function<void()> endFrame;
    // Render resources loaded before the device exists get their device objects here.
    std::function<bool()> restoreResources;
    std::function<void()> releaseResources;
    // Sound.
    std::function<void(void* window)> initSound;
    std::function<void()> releaseSound;
    std::function<void(bool active)> setSoundAppActive;
};

YFrameHooks& FrameHooks();
