#pragma once
// Full screen never changes the monitor's mode: the window covers the desktop and the back buffer
// keeps the chosen mode's size. Presenting scales the back buffer into the largest centred
// rectangle of its own proportions (bars fill the rest), and mouse positions go the other way,
// from window pixels to back-buffer pixels. Both sides use these functions so they agree.
#include "platform/window/win_messages.h"

namespace plat {

struct ViewRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The largest rectangle with the proportions srcWidth:srcHeight centred in dstWidth x dstHeight.
// Empty sizes give the whole destination.
ViewRect FitKeepingAspect(int srcWidth, int srcHeight, int dstWidth, int dstHeight);

// A window pixel to the back-buffer pixel shown there. Points on the bars or outside the window
// map to positions outside 0..size-1 (negative to the left and above).
Point WindowToBackBuffer(const ViewRect& view, int bufferWidth, int bufferHeight, int x, int y);

// A back-buffer pixel to the window pixel that shows its centre.
Point BackBufferToWindow(const ViewRect& view, int bufferWidth, int bufferHeight, int x, int y);

} // namespace plat
