#pragma once
// A display mode as a value: size, depth and refresh rate, and where the renderer lists it. The
// configuration names the full-screen mode as text ("800x600:32", "1024x768:32@85"); it is read
// here, resolved against the renderer's list once at start (render/video_mode.h) and handed down to
// the window and the device as this value.
#include <cstdint>
#include <string>

struct YVideoMode {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t depth = 0;   // bits per pixel
    uint32_t refresh = 0; // Hz; 0 = unspecified
    int32_t index = -1;   // position in the renderer's adapter mode list; -1 for the desktop mode
                          // and for records built from text or by filtering

    // Reads width "x" height [":" depth ["@" refresh]]. Missing parts stay 0; text without an 'x'
    // gives all zero. A null text reads as empty.
    static YVideoMode FromString(const char* text);
    // width "x" height ":" depth, and "@" refresh when the refresh is not 0.
    std::string ToString() const;

    // Width, height, depth and refresh; the index is ignored.
    bool operator==(const YVideoMode& o) const;
    // Ascending by width, then height, then depth, then refresh.
    static bool Less(const YVideoMode& a, const YVideoMode& b);
};

// The configuration's default full-screen mode, 800x600:32.
YVideoMode DefaultVideoMode();
