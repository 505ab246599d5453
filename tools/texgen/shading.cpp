#include <cmath>

#include "tools/texgen/recipes.h"

namespace texgen {

Mask ShadeHeights(const Mask& height, float strength, bool wrap) {
    const Vec3 light = Normalize(Vec3{-0.55f, -0.65f, 1.0f});
    Mask shade(height.Width(), height.Height());
    for (int y = 0; y < height.Height(); ++y)
        for (int x = 0; x < height.Width(); ++x) {
            const float dx = (height.Get(x + 1, y, wrap) - height.Get(x - 1, y, wrap)) * 0.5f * strength;
            const float dy = (height.Get(x, y + 1, wrap) - height.Get(x, y - 1, wrap)) * 0.5f * strength;
            const Vec3 n = Normalize(Vec3{-dx, -dy, 1.0f});
            shade.At(x, y) = std::max(Dot(n, light), 0.0f) / light.z;
        }
    return shade;
}

} // namespace texgen
