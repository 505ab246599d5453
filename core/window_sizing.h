#pragma once
// The size of a windowed client area: fitted to the screen when the window is made, and kept at the
// screen's aspect while an edge or corner is dragged.

struct YRect {
    int left, top, right, bottom;
};

// Dragged edges, numbered as the sizing message numbers them.
enum YSizingEdge {
    EDGE_LEFT = 1,
    EDGE_RIGHT,
    EDGE_TOP,
    EDGE_TOPLEFT,
    EDGE_TOPRIGHT,
    EDGE_BOTTOM,
    EDGE_BOTTOMLEFT,
    EDGE_BOTTOMRIGHT
};

// `aspect`: screen width / height; fw, fh: window size minus client size. Products and quotients
// are truncated to whole pixels. Other edge values leave the rectangle as it is.
void KeepAspectWhileSizing(YRect& r, int edge, float aspect, int fw, int fh);

// The smallest client width a window gets; its smallest height is this over the screen's aspect.
constexpr int MIN_CLIENT_WIDTH = 320;
// The configuration's default window size.
constexpr int DEFAULT_WINDOW_WIDTH = 800;
constexpr int DEFAULT_WINDOW_HEIGHT = 600;

struct YWindowSize {
    int width, height;
};

// The client size a window gets for the size asked for, on a screen of the given size (0 x 0:
// unknown, then only the minimum applies, at 4:3). A size within MIN_CLIENT_WIDTH..screen width by
// MIN_CLIENT_WIDTH / aspect..screen height is kept as it is. A width or height of 0 or less (a
// damaged configuration) stands for the default 800 x 600. Any other size becomes the size at the
// screen's aspect whose width is the asked width held within the limits, made smaller still when
// its height would not fit the screen.
YWindowSize FitWindowSize(int width, int height, int screenWidth, int screenHeight);
