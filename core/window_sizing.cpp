#include "core/window_sizing.h"

#include <algorithm>
#include <cstdint>

YWindowSize FitWindowSize(int width, int height, int screenWidth, int screenHeight) {
    const bool screenKnown = screenWidth > 0 && screenHeight > 0;
    const float aspect = screenKnown ? static_cast<float>(screenWidth) / static_cast<float>(screenHeight) : 4.0f / 3.0f;
    if (width <= 0 || height <= 0) {
        width = DEFAULT_WINDOW_WIDTH;
        height = DEFAULT_WINDOW_HEIGHT;
    }
    const int minHeight = static_cast<int>(MIN_CLIENT_WIDTH / aspect);
    const int maxWidth = screenKnown ? std::max(screenWidth, MIN_CLIENT_WIDTH) : INT32_MAX;
    const int maxHeight = screenKnown ? std::max(screenHeight, minHeight) : INT32_MAX;
    if (width >= MIN_CLIENT_WIDTH && width <= maxWidth && height >= minHeight && height <= maxHeight)
        return {width, height};
    int w = std::clamp(width, MIN_CLIENT_WIDTH, maxWidth);
    int h = static_cast<int>(static_cast<float>(w) / aspect);
    if (h > maxHeight) {
        h = maxHeight;
        w = std::max(MIN_CLIENT_WIDTH, static_cast<int>(static_cast<float>(h) * aspect));
    }
    return {w, std::max(h, minHeight)};
}

void KeepAspectWhileSizing(YRect& r, int edge, float aspect, int fw, int fh) {
    const int cw = r.right - r.left - fw;
    const int ch = r.bottom - r.top - fh;
    const int heightForWidth = static_cast<int>(cw / aspect);
    const int widthForHeight = static_cast<int>(ch * aspect);
    const bool wide = cw >= widthForHeight;
    switch (edge) {
        case EDGE_LEFT:
        case EDGE_RIGHT: r.bottom = r.top + fh + heightForWidth; break;
        case EDGE_TOP:
        case EDGE_BOTTOM: r.right = r.left + fw + widthForHeight; break;
        case EDGE_TOPLEFT:
            if (wide)
                r.top = r.bottom - fh - heightForWidth;
            else
                r.left = r.right - fw - widthForHeight;
            break;
        case EDGE_TOPRIGHT:
            if (wide)
                r.top = r.bottom - fh - heightForWidth;
            else
                r.right = r.left + fw + widthForHeight;
            break;
        case EDGE_BOTTOMLEFT:
            if (wide)
                r.bottom = r.top + fh + heightForWidth;
            else
                r.left = r.right - fw - widthForHeight;
            break;
        case EDGE_BOTTOMRIGHT:
            if (wide)
                r.bottom = r.top + fh + heightForWidth;
            else
                r.right = r.left + fw + widthForHeight;
            break;
        default: break;
    }
}
