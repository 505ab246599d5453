// The aspect rule applied while a windowed frame is dragged, worked out by hand.
//
// Screen aspect 1.25 (exact in binary, so every truncation below is plain to see), frame extras
// 10 wide and 30 high, window at (1000, 800).
//   wide client 503 x 301: 301 * 1.25 = 376.25 -> 376 <= 503;  503 / 1.25 = 402.4 -> 402
//   tall client 303 x 401: 401 * 1.25 = 501.25 -> 501 >  303;  303 / 1.25 = 242.4 -> 242
#include "core/window_sizing.h"

#include <gtest/gtest.h>

#include <ostream>

// Found by the assertions below through argument-dependent lookup, so outside the unnamed namespace.
bool operator==(const YRect& a, const YRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::ostream& operator<<(std::ostream& os, const YRect& r) {
    return os << '{' << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << '}';
}

namespace {

constexpr float ASPECT = 1.25f;
constexpr int FW = 10;
constexpr int FH = 30;

constexpr YRect WIDE{1000, 800, 1000 + FW + 503, 800 + FH + 301}; // {1000, 800, 1513, 1131}
constexpr YRect TALL{1000, 800, 1000 + FW + 303, 800 + FH + 401}; // {1000, 800, 1313, 1231}

struct Case {
    const char* what;
    int edge;
    YRect in;
    YRect out;
};

TEST(WindowSizing, EachEdgeKeepsTheClientAtTheScreenAspect) {
    const Case cases[] = {
        // Sides: the other dimension follows (bottom := top + fh + cw / A; right := left + fw + ch * A).
        {"left, wide", EDGE_LEFT, WIDE, {1000, 800, 1513, 800 + 30 + 402}},
        {"left, tall", EDGE_LEFT, TALL, {1000, 800, 1313, 800 + 30 + 242}},
        {"right, wide", EDGE_RIGHT, WIDE, {1000, 800, 1513, 1232}},
        {"right, tall", EDGE_RIGHT, TALL, {1000, 800, 1313, 1072}},
        {"top, wide", EDGE_TOP, WIDE, {1000, 800, 1000 + 10 + 376, 1131}},
        {"top, tall", EDGE_TOP, TALL, {1000, 800, 1000 + 10 + 501, 1231}},
        {"bottom, wide", EDGE_BOTTOM, WIDE, {1000, 800, 1386, 1131}},
        {"bottom, tall", EDGE_BOTTOM, TALL, {1000, 800, 1511, 1231}},
        // Corners: a wide client moves the horizontal edge of the corner, a tall one the vertical.
        {"top-left, wide", EDGE_TOPLEFT, WIDE, {1000, 1131 - 30 - 402, 1513, 1131}},
        {"top-left, tall", EDGE_TOPLEFT, TALL, {1313 - 10 - 501, 800, 1313, 1231}},
        {"top-right, wide", EDGE_TOPRIGHT, WIDE, {1000, 699, 1513, 1131}},
        {"top-right, tall", EDGE_TOPRIGHT, TALL, {1000, 800, 1511, 1231}},
        {"bottom-left, wide", EDGE_BOTTOMLEFT, WIDE, {1000, 800, 1513, 1232}},
        {"bottom-left, tall", EDGE_BOTTOMLEFT, TALL, {802, 800, 1313, 1231}},
        {"bottom-right, wide", EDGE_BOTTOMRIGHT, WIDE, {1000, 800, 1513, 1232}},
        {"bottom-right, tall", EDGE_BOTTOMRIGHT, TALL, {1000, 800, 1511, 1231}},
        // The comparison uses the truncated product: 301 * 1.25 = 376.25 -> 376, so a client of
        // 376 x 301 counts as wide and its height becomes 376 / 1.25 = 300.8 -> 300.
        {"bottom-right, tie after truncation", EDGE_BOTTOMRIGHT, {1000, 800, 1386, 1131}, {1000, 800, 1386, 1130}},
        // Anything else is not an edge.
        {"no edge", 0, WIDE, WIDE},
        {"past the last edge", 9, TALL, TALL},
    };
    for (const Case& c : cases) {
        YRect r = c.in;
        KeepAspectWhileSizing(r, c.edge, ASPECT, FW, FH);
        EXPECT_EQ(r, c.out) << c.what;
    }
}

} // namespace

TEST(FitWindowSize, KeepsSizesThatFitAndGivesGarbledOnesTheScreensAspect) {
    struct Case {
        int width, height, screenWidth, screenHeight;
        int wantWidth, wantHeight;
    };
    const Case cases[] = {
        {800, 600, 1024, 768, 800, 600},                // fits: as asked
        {1024, 600, 1920, 1080, 1024, 600},             // fits, other aspect: as asked
        {320, 240, 1024, 768, 320, 240},                // the smallest size
        {-5, 2147483647, 1024, 768, 800, 600},          // garbled width: the default size
        {0, 600, 1024, 768, 800, 600},                  //
        {800, 2147483647, 1024, 768, 800, 600},         // too tall: the width at the screen's aspect
        {5000, 600, 1024, 768, 1024, 768},              // too wide: the screen
        {100, 100, 1024, 768, 320, 240},                // too small: the minimum at the aspect
        {100, 100, 1280, 720, 320, 180},                //
        {800, 600, 640, 480, 640, 480},                 // the default on a small screen
        {3000, 3000, 0, 0, 3000, 3000},                 // unknown screen: no upper limit
        {200, 50, 0, 0, 320, 240},                      // unknown screen: 4:3 minimum
        {2147483647, 2147483647, 1366, 768, 1366, 768}, // the screen
    };
    for (const Case& c : cases) {
        const YWindowSize s = FitWindowSize(c.width, c.height, c.screenWidth, c.screenHeight);
        EXPECT_EQ(s.width, c.wantWidth) << c.width << "x" << c.height << " on " << c.screenWidth << "x"
                                        << c.screenHeight;
        EXPECT_EQ(s.height, c.wantHeight)
            << c.width << "x" << c.height << " on " << c.screenWidth << "x" << c.screenHeight;
    }
}
