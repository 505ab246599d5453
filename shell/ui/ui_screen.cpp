#include "shell/ui/ui_screen.h"

#include "render/font.h"
#include "render/render.h"

UIScreen* g_UIScreen = nullptr;

void UIScreen::Init(float virtualW, float virtualH, UIEvent* defaultListener, UICursorListener* cursorListener) {
    page = nullptr;
    listener = defaultListener;
    virtualWidth = virtualW;
    virtualHeight = virtualH;
    SetUICursorListener(cursorListener);
    g_UIScreen = this;
}

void UIScreen::Shutdown() {
    if (g_UIScreen == this) g_UIScreen = nullptr;
}

void UIScreen::Resize(int width, int height) {
    windowWidth = width;
    windowHeight = height;
    view[0] = 0.0f;
    view[1] = 0.0f;
    view[2] = virtualWidth;
    view[3] = virtualHeight;
}

void UIScreen::MapToVirtual(float& px, float& py) const {
    // A window of zero size (minimised) maps nothing rather than dividing by zero.
    if (view[2] == 0.0f || windowWidth <= 0 || windowHeight <= 0) return;
    px = px / static_cast<float>(windowWidth) * view[2] + view[0];
    py = py / static_cast<float>(windowHeight) * view[3] + view[1];
}

UIControl* UIScreen::Target() const {
    if (UIControl* c = UICaptureControl()) return c;
    return page;
}

void UIScreen::MouseMove(int px, int py) {
    if (!page) return;
    float fx = static_cast<float>(px), fy = static_cast<float>(py);
    MapToVirtual(fx, fy);
    UIControl* t = Target();
    t->MouseMove(fx - t->x, fy - t->y);
}

void UIScreen::MouseDown(int button, int px, int py) {
    if (!page) return;
    float fx = static_cast<float>(px), fy = static_cast<float>(py);
    MapToVirtual(fx, fy);
    UIControl* t = Target();
    t->MouseDown(button, fx - t->x, fy - t->y);
}

void UIScreen::MouseUp(int button, int px, int py) {
    if (!page) return;
    float fx = static_cast<float>(px), fy = static_cast<float>(py);
    MapToVirtual(fx, fy);
    UIControl* t = Target();
    t->MouseUp(button, fx - t->x, fy - t->y);
}

void UIScreen::KeyDown(int key) {
    if (!page) return;
    Target()->KeyDown(key);
}

void UIScreen::Char(int ch) {
    if (!page) return;
    Target()->Char(ch);
}

void UIScreen::Render(bool setProjection) {
    if (page) RenderControl(page, setProjection);
}

void UIScreen::RenderControl(UIControl* c, bool setProjection) {
    if (!c) return;
    if (setProjection && g_Render) {
        // Before the first Resize there is no view yet; the whole virtual screen stands in for it
        // rather than a projection of zero width.
        if (view[2] != 0.0f && view[3] != 0.0f)
            g_Render->Set2D(view[0], view[1], view[2], view[3]);
        else
            g_Render->Set2D(0.0f, 0.0f, virtualWidth, virtualHeight);
    }
    c->Draw();
}

float DrawStyledTextColored(float x, float y, const UITextStyle* s, const float colour[4], const char* text) {
    if (!g_Render || !s || !s->font || !text) return 0.0f;
    if (s->font->shader) g_Render->SetShaderColor(s->font->shader, colour);
    return s->font->DrawText(x, y, s->size, text);
}

float DrawStyledTextColored(float x, float y, const UITextStyle* s, const float colour[4], const std::string& text) {
    return DrawStyledTextColored(x, y, s, colour, text.c_str());
}

float DrawStyledText(float x, float y, const UITextStyle* s, const char* text) {
    if (!s) return 0.0f;
    return DrawStyledTextColored(x, y, s, s->colour, text);
}

float DrawStyledText(float x, float y, const UITextStyle* s, const std::string& text) {
    return DrawStyledText(x, y, s, text.c_str());
}
