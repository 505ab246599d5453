// The plain ball's surface. The ball's sphere maps u once around its axis and v from pole to pole,
// so the picture is drawn in those terms: gores that meet at the poles, seams of an even width on
// the sphere.
#include <cmath>

#include "tools/texgen/noise.h"
#include "tools/texgen/recipes.h"

namespace texgen {

// Enamelled steel in six gores, crimson and ivory in turn, parted by dark seams, with an ivory cap
// ringed in dark at each pole. Light and dark parts and a colour none of the tables has keep the
// ball plain to see on every table and sky, and the gores show it spin.
bool BallEnamel(const Context&, Picture& out, std::string&) {
    constexpr int GORES = 6;
    constexpr float SEAM = 0.018f; // half width of a seam, in turns of the sphere
    constexpr float CAP = 0.12f;   // the pole caps' angular radius, in half turns (v)
    const Rgb crimson = Hex(0xd01c24), ivory = Hex(0xf6f0e4), seam = Hex(0x181214);
    out.Fill([&](float u, float v) {
        const float theta = v * PI;                            // 0 at the top pole
        const float across = std::max(std::sin(theta), 0.05f); // a turn of u is this long on the sphere
        const float g = u * GORES;
        const int gore = static_cast<int>(std::floor(g)) % GORES;
        // Distance to the nearest seam between gores, measured on the sphere.
        const float toSeam = std::fabs(g - std::round(g)) / GORES * across;
        const float pole = std::min(v, 1.0f - v);
        const float toRing = std::fabs(pole - CAP) * 0.5f;
        Rgb c = pole < CAP ? ivory : (gore % 2 == 0 ? crimson : ivory);
        const float dark = 1.0f - SmoothStep(SEAM * 0.6f, SEAM, std::min(pole < CAP ? 1.0f : toSeam, toRing));
        c = Mix(c, seam, dark);
        // The enamel's faint orange peel.
        c = c * (0.96f + 0.04f * FbmTile(u, v, 8, 3, 301));
        return WithAlpha(c, 1.0f);
    });
    return true;
}

} // namespace texgen
