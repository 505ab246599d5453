#pragma once
// What the HUD draws with: textured triangle strips and quads in a shader, and texts in a font
// and colour, on the 800 x 600 overlay. The game paints through the renderer; tests record.
#include "render/render_values.h"

class YFont;
struct YShaderBase;

class YHudPainter {
public:
    virtual ~YHudPainter() = default;
    // `triangleCount` + 2 vertices.
    virtual void Strip(YShaderBase* shader, const YTexVertex* vertices, int triangleCount) = 0;
    virtual void Quad(YShaderBase* shader, const YTexVertex vertices[4]) = 0;
    virtual void Text(const YFont* font, const float colour[4], float x, float y, float size, const char* text) = 0;
};

// Paints with g_Render (nothing while there is none).
class YRenderHudPainter final : public YHudPainter {
public:
    void Strip(YShaderBase* shader, const YTexVertex* vertices, int triangleCount) override;
    void Quad(YShaderBase* shader, const YTexVertex vertices[4]) override;
    void Text(const YFont* font, const float colour[4], float x, float y, float size, const char* text) override;
};
