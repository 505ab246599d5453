#pragma once
// What the framework asks of the renderer and the sound system, which live in layers above the
// core. Those layers fill the hooks when they are set up; a hook left empty means that subsystem
// does not exist in this program (the framework then skips the step, as with no global renderer).
#include <functional>
#include <string>

struct YFrameHooks {
    // Renderer: the device for a window, in windowed or full-screen mode at the given mode.
    std::function<bool()> rendererExists;
    // The configured full-screen mode text resolved to the best listed mode.
    std::function<void(const std::string& modeText, int& width, int& height, int& depth, int& refresh)> resolveMode;
    std::function<void(void* window, bool fullScreen, int width, int height, int depth, int refresh)> createDevice;
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
