#include "platform/window/display.h"

#include <gtest/gtest.h>

#include <SDL_pixels.h>

namespace {

TEST(DisplayFormats, CountedByStorageAndPacked24BitLeftOut) {
    struct Case {
        const char* what;
        uint32_t format;
        int bits;
    };
    const Case cases[] = {
        {"X8R8G8B8 desktop that SDL calls 24-bit", SDL_PIXELFORMAT_RGB888, 32},
        {"A8R8G8B8", SDL_PIXELFORMAT_ARGB8888, 32},
        {"R5G6B5", SDL_PIXELFORMAT_RGB565, 16},
        {"X1R5G5B5", SDL_PIXELFORMAT_RGB555, 16},
        {"packed 24-bit", SDL_PIXELFORMAT_RGB24, 0},
        {"10-bit deep colour", SDL_PIXELFORMAT_ARGB2101010, 0},
        {"palette", SDL_PIXELFORMAT_INDEX8, 0},
        {"unknown", SDL_PIXELFORMAT_UNKNOWN, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(plat::DeviceBitsPerPixel(c.format), c.bits) << c.what;
}

} // namespace
