#include "platform/image/image_fill.h"

namespace plat {

uint8_t UnitToByte(float value) {
    if (!(value > 0.0f)) return 0; // also NaN
    if (value >= 1.0f) return 255;
    return static_cast<uint8_t>(value * 255.0f + 0.5f);
}

void FillImage(Image& image, ImageFillFn fn, void* data) {
    if (image.Empty() || !fn) return;
    for (int y = 0; y < image.height; ++y) {
        const float v = (static_cast<float>(y) + 0.5f) / static_cast<float>(image.height);
        uint8_t* p = image.Pixel(0, y);
        for (int x = 0; x < image.width; ++x, p += 4) {
            const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(image.width);
            float out[4] = {0.0f, 0.0f, 0.0f, 1.0f};
            fn(out, u, v, x, y, data);
            for (int c = 0; c < 4; ++c) p[c] = UnitToByte(out[c]);
        }
    }
}

} // namespace plat
