#include "platform/window/letterbox.h"

#include <gtest/gtest.h>

namespace {

struct FitCase {
    int srcW, srcH, dstW, dstH;
    plat::ViewRect expected;
};

TEST(Letterbox, FitsTheBackBufferKeepingItsProportions) {
    const FitCase cases[] = {
        {800, 600, 800, 600, {0, 0, 800, 600}},       // same size
        {800, 600, 1920, 1080, {240, 0, 1440, 1080}}, // bars left and right
        {800, 400, 1024, 768, {0, 128, 1024, 512}},   // bars above and below
        {640, 480, 1280, 960, {0, 0, 1280, 960}},     // scaled, no bars
        {0, 0, 1024, 768, {0, 0, 1024, 768}},         // no buffer size: whole window
    };
    for (const FitCase& c : cases) {
        const plat::ViewRect r = plat::FitKeepingAspect(c.srcW, c.srcH, c.dstW, c.dstH);
        EXPECT_EQ(r.x, c.expected.x) << c.srcW << "x" << c.srcH << " in " << c.dstW << "x" << c.dstH;
        EXPECT_EQ(r.y, c.expected.y);
        EXPECT_EQ(r.width, c.expected.width);
        EXPECT_EQ(r.height, c.expected.height);
    }
}

struct MapCase {
    const char* what;
    int wx, wy;
    int bx, by;
};

TEST(Letterbox, MapsWindowPixelsToBackBufferPixels) {
    // An 800x600 buffer on a 1920x1080 desktop: shown at x 240..1679, scale 1.8.
    const plat::ViewRect view = plat::FitKeepingAspect(800, 600, 1920, 1080);
    const MapCase cases[] = {
        {"first shown pixel", 240, 0, 0, 0},
        {"last shown pixel", 1679, 1079, 799, 599},
        {"centre", 960, 540, 400, 300},
        {"left bar is left of the buffer", 100, 10, -78, 5},
        {"above the window (captured mouse)", 240, -20, 0, -11},
    };
    for (const MapCase& c : cases) {
        const plat::Point p = plat::WindowToBackBuffer(view, 800, 600, c.wx, c.wy);
        EXPECT_EQ(p.x, c.bx) << c.what;
        EXPECT_EQ(p.y, c.by) << c.what;
    }
}

TEST(Letterbox, BufferPixelsGoBackToTheWindowPixelShowingThem) {
    const plat::ViewRect view = plat::FitKeepingAspect(800, 600, 1920, 1080);
    for (int x : {0, 1, 399, 400, 799}) {
        for (int y : {0, 300, 599}) {
            const plat::Point w = plat::BackBufferToWindow(view, 800, 600, x, y);
            const plat::Point b = plat::WindowToBackBuffer(view, 800, 600, w.x, w.y);
            EXPECT_EQ(b.x, x);
            EXPECT_EQ(b.y, y);
        }
    }
}

} // namespace
