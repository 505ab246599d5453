#include "platform/window/letterbox.h"

#include <cmath>
#include <cstdint>

namespace plat {

ViewRect FitKeepingAspect(int srcWidth, int srcHeight, int dstWidth, int dstHeight) {
    ViewRect r{0, 0, dstWidth, dstHeight};
    if (srcWidth <= 0 || srcHeight <= 0 || dstWidth <= 0 || dstHeight <= 0) return r;
    const int64_t wide = int64_t{dstWidth} * srcHeight; // compare dst and src proportions
    const int64_t tall = int64_t{srcWidth} * dstHeight;
    if (wide > tall) {
        // Destination is wider: bars left and right.
        r.width = static_cast<int>((tall + srcHeight / 2) / srcHeight);
        r.x = (dstWidth - r.width) / 2;
    } else if (wide < tall) {
        r.height = static_cast<int>((wide + srcWidth / 2) / srcWidth);
        r.y = (dstHeight - r.height) / 2;
    }
    return r;
}

Point WindowToBackBuffer(const ViewRect& view, int bufferWidth, int bufferHeight, int x, int y) {
    if (view.width <= 0 || view.height <= 0) return Point{x, y};
    // Map the pixel's centre and take the buffer pixel it falls in.
    const double bx = std::floor((x - view.x + 0.5) * bufferWidth / view.width);
    const double by = std::floor((y - view.y + 0.5) * bufferHeight / view.height);
    return Point{static_cast<int32_t>(bx), static_cast<int32_t>(by)};
}

Point BackBufferToWindow(const ViewRect& view, int bufferWidth, int bufferHeight, int x, int y) {
    if (bufferWidth <= 0 || bufferHeight <= 0) return Point{x, y};
    const double wx = view.x + std::floor((x + 0.5) * view.width / bufferWidth);
    const double wy = view.y + std::floor((y + 0.5) * view.height / bufferHeight);
    return Point{static_cast<int32_t>(wx), static_cast<int32_t>(wy)};
}

} // namespace plat
