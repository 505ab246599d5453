#pragma once
// The display's modes and the desktop's, for the renderer's video-mode list. Full screen never
// switches the monitor to one of these modes (see letterbox.h); the list still comes from the
// display so that choosing a mode behaves as the game was designed.
#include <cstdint>
#include <vector>

namespace plat {

struct DisplayMode {
    int width = 0;
    int height = 0;
    int refreshRate = 0;  // Hz, 0 when unknown
    int bitsPerPixel = 0; // 32 or 16

    bool operator==(const DisplayMode&) const = default;
};

// Bits per pixel of an SDL pixel format counted by storage, as the device counts them: SDL calls
// an X8R8G8B8 desktop 24 bits per pixel (RGB888) but it stores 32. 0 for formats the device has
// no display format for, among them packed 24-bit ones, which are left out of the mode list.
int DeviceBitsPerPixel(uint32_t sdlPixelFormat);

// The primary display's desktop mode. False when the display cannot be queried.
bool GetDesktopMode(DisplayMode& out);

// The primary display's modes in usable formats, in SDL's order, each listed once; the desktop
// mode alone when the display lists none usable. Empty when the display cannot be queried.
std::vector<DisplayMode> GetDisplayModes();

} // namespace plat
