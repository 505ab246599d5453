#include "shell/hud_painter.h"

#include "render/font.h"
#include "render/render.h"

void YRenderHudPainter::Strip(YShaderBase* shader, const YTexVertex* vertices, int triangleCount) {
    if (!g_Render) return;
    g_Render->SetShader(shader, true);
    g_Render->DrawTexStrip(vertices, triangleCount);
}

void YRenderHudPainter::Quad(YShaderBase* shader, const YTexVertex vertices[4]) {
    if (!g_Render) return;
    g_Render->SetShader(shader, true);
    g_Render->DrawTexQuad(vertices);
}

void YRenderHudPainter::Text(const YFont* font, const float colour[4], float x, float y, float size, const char* text) {
    if (!g_Render || !font) return;
    g_Render->SetShaderColor(font->shader, colour);
    g_Render->DrawText(font, x, y, size, text);
}
