#pragma once
// Turning a glyph's coverage into the RGBA texels of the font texture: white glyphs whose alpha is
// the coverage, optionally over a soft dark outline and/or a dark drop shadow, so text stays
// readable over a busy scene. The text colour is applied when drawing (texture x colour), which
// leaves the dark parts dark.
#include <vector>

#include "platform/image/image.h"

namespace fontbake {

struct GlyphEffects {
    float outlineRadius = 0; // pixels; 0 for none
    float outlineOpacity = 0.85f;
    int shadowOffset = 0; // pixels down and to the right; 0 for none
    float shadowOpacity = 0.7f;
    int blur = 0; // box blur radius of the dark parts, pixels

    bool HasDarkParts() const { return outlineRadius > 0 || shadowOffset > 0; }
};

// Pixels the effects reach beyond the glyph's own bitmap on every side.
int EffectPadding(const GlyphEffects& fx);

// The colour of texels no glyph covers. White for plain fonts, so filtering towards empty texels
// does not darken the glyph edges; black where the font has dark parts, which are black too.
void EmptyTexel(const GlyphEffects& fx, unsigned char rgba[4]);

// Builds the glyph picture, (width + 2 pad) x (height + 2 pad) with the coverage at (pad, pad),
// pad = EffectPadding(fx). An empty coverage gives an empty picture when pad is 0.
void ComposeGlyph(const std::vector<float>& coverage, int width, int height, const GlyphEffects& fx, plat::Image& out);

} // namespace fontbake
