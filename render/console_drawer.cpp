#include "render/console_drawer.h"

#include "render/font.h"
#include "render/render.h"
#include "render/shader.h"

YConsoleFontDrawer::YConsoleFontDrawer() : font_(FindFont("sysfont")), shader_(FindShader("console")) {}

float YConsoleFontDrawer::CharWidth(unsigned char c) const { return font_->GetCharWidth(c); }

void YConsoleFontDrawer::DrawPanel(const YConsoleVertex (&quad)[4]) {
    if (!g_Render) return;
    YTexVertex v[4];
    for (int k = 0; k < 4; ++k) {
        v[k].pos = YVector(quad[k].x, quad[k].y, quad[k].z);
        v[k].uv = v[k].uv2 = YVector2(quad[k].u, quad[k].v);
    }
    g_Render->SetShader(shader_, true);
    g_Render->DrawTexQuad(v);
}

float YConsoleFontDrawer::DrawText(float x, float y, float size, const std::string& text) {
    return font_->DrawText(x, y, size, text.c_str());
}

void InstallConsoleDrawer(YConsole* console) {
    // Holds two pointers and nothing to release, so it may outlive every console.
    static YConsoleFontDrawer drawer;
    if (console) console->SetDrawer(&drawer);
}
