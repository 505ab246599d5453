#include "shell/ui/ui_display_widgets.h"

#include <algorithm>

#include "render/font.h"
#include "render/render.h"
#include "render/shader.h"
#include "render/texture.h"
#include "shell/ui/ui_quad.h"
#include "shell/ui/ui_screen.h"

const float UI_DISABLED_COLOUR[4] = {0.5f, 0.5f, 0.5f, 1.0f};

namespace {

float TextWidth(const UITextStyle& s, const std::string& text) {
    return s.font ? s.font->GetTextWidth(text.c_str()) * s.size : 0.0f;
}

// A press while enabled: cursor shape 3, then the command. Swallowed either way.
bool Click(UIControl* c) {
    if (c->enabled) {
        UIControl::SetCursorShape(UI_CURSOR_PRESSED);
        c->FireEvent(UI_EVENT_COMMAND);
    }
    return true;
}

} // namespace

// ---- UIImage ----

UIImage::UIImage(YShader* shader_) : shader(shader_) { UpdateGeometry(); }

void UIImage::UpdateGeometry() { SetUIQuad(quad, 0.0f, 0.0f, w, h, 0.01f, 0.01f, 0.99f, 0.99f); }

void UIImage::DrawSelf() {
    if (!g_Render) return;
    const bool grey = !enabled && greyWhenDisabled;
    YShader* s = (hoverShader && hovered && !grey) ? hoverShader : shader;
    if (!s) return;
    if (grey)
        g_Render->SetShaderColor(s, UI_DISABLED_COLOUR);
    else
        g_Render->SetShader(s, true);
    if (texture) g_Render->BindStageTexture(texture, 0);
    g_Render->DrawTexQuad(quad);
}

bool UIImage::OnMouseDown(int, float, float) { return Click(this); }

void UIImage::SetTexture(const char* file) { texture = GetTexture(file); }

// ---- UIMenuItem ----

UIMenuItem::UIMenuItem(const std::string& text_, const UITextStyle& style_, const UITextStyle& focusStyle_, float px,
                       float py, UIEvent* listener_)
    : UIControl(listener_, px, py, 0.0f, 0.0f), focusStyle(focusStyle_), text(text_) {
    style = style_;
    std::copy(style.colour, style.colour + 3, shadowColour);
    shadowColour[3] = 0.23333333f;
    cursor = UI_CURSOR_HOT;
    tabStop = true;
    AutoSize();
}

void UIMenuItem::AutoSize() {
    h = style.size;
    w = TextWidth(style, text);
}

void UIMenuItem::OnUpdate(float dt) {
    if (!focused) return;
    if (glowRising) {
        glowPhase += dt;
        if (glowPhase >= 1.0f) {
            glowPhase = 1.0f;
            glowRising = false;
        }
    } else {
        glowPhase -= dt;
        if (glowPhase <= 0.0f) {
            glowPhase = 0.0f;
            glowRising = true;
        }
    }
}

void UIMenuItem::DrawSelf() {
    const float size = style.size;
    DrawStyledText(0.0f, size, &style, text);
    const float d = size * 0.03f;
    DrawStyledTextColored(d, size + d, &style, shadowColour, text);
    if (!focused) return;
    const float o = (glowPhase + 1.0f) * 0.025f * size;
    const float k = glowPhase * 0.5f + 0.499f;
    float glow[4];
    for (int i = 0; i < 4; ++i) glow[i] = focusStyle.colour[i] * k;
    DrawStyledTextColored(0.0f, size - o, &focusStyle, glow, text);
    DrawStyledTextColored(o * 0.87f, size + o * 0.5f, &focusStyle, glow, text);
    DrawStyledTextColored(-o * 0.87f, size + o * 0.5f, &focusStyle, glow, text);
}

void UIMenuItem::OnMouseEnter() {
    if (!focused) TakeFocus();
}

bool UIMenuItem::OnKeyDown(int key) {
    if ((key & 0xFF) != plat::VK_RETURN) return false;
    FireEvent(UI_EVENT_COMMAND);
    return true;
}

bool UIMenuItem::OnMouseDown(int, float, float) { return Click(this); }

// ---- UIHotLink ----

UIHotLink::UIHotLink(const UITextStyle& style_, const std::string& text_, const float hoverColour_[4], float px,
                     float py, UIEvent* listener_)
    : UIControl(listener_, px, py, 0.0f, 0.0f), text(text_) {
    style = style_;
    std::copy(hoverColour_, hoverColour_ + 4, hoverColour);
    cursor = UI_CURSOR_HOT;
    AutoSize();
}

void UIHotLink::AutoSize() {
    h = style.size;
    w = TextWidth(style, text);
}

const float* UIHotLink::TextColour() const {
    if (!enabled) return UI_DISABLED_COLOUR;
    return hovered ? hoverColour : style.colour;
}

void UIHotLink::DrawSelf() { DrawStyledTextColored(0.0f, style.size, &style, TextColour(), text); }

bool UIHotLink::OnMouseDown(int, float, float) { return Click(this); }

// ---- UICheckBox ----

UICheckBox::UICheckBox(const UITextStyle& style_, const std::string& label_, const float hoverColour_[4],
                       YShader* boxShader_, float px, float py)
    : UIControl(nullptr, px, py, 0.0f, 0.0f), label(label_), boxShader(boxShader_) {
    style = style_;
    std::copy(hoverColour_, hoverColour_ + 4, hoverColour);
    cursor = UI_CURSOR_HOT;
    AutoSize();
    UpdateGeometry();
}

void UICheckBox::AutoSize() {
    h = style.size;
    w = TextWidth(style, label) + style.size;
}

void UICheckBox::UpdateGeometry() {
    const float u0 = checked ? 0.5f : 0.0f;
    SetUIQuad(boxQuad, 0.0f, 0.0f, h, h, u0, 0.0f, u0 + 0.5f, 1.0f);
}

void UICheckBox::DrawSelf() {
    const float* c = !enabled ? UI_DISABLED_COLOUR : hovered ? hoverColour : style.colour;
    DrawStyledTextColored(style.size, style.size, &style, c, label);
    if (!g_Render || !boxShader) return;
    g_Render->SetShaderColor(boxShader, hovered ? hoverColour : style.colour);
    g_Render->DrawTexQuad(boxQuad);
}

bool UICheckBox::OnMouseDown(int, float, float) {
    if (enabled) {
        SetCursorShape(UI_CURSOR_PRESSED);
        checked = !checked;
        UpdateGeometry();
    }
    return true;
}

bool IsBoxTicked(const UIControl* page, const std::string& name) {
    const auto* box = page ? dynamic_cast<const UICheckBox*>(page->FindChild(name)) : nullptr;
    return box && box->checked;
}

// ---- UINamedText ----

UINamedText::UINamedText(int align_, const std::string& text_, const UITextStyle& style_, float px, float py,
                         float width)
    : UIControl(nullptr, px, py, 0.0f, 0.0f), text(text_), align(align_) {
    style = style_;
    textWidth = TextWidth(style, text);
    w = std::max(textWidth, width);
    h = style.size;
}

void UINamedText::SetText(const std::string& t) {
    text = t;
    textWidth = TextWidth(style, text);
}

float UINamedText::TextX() const {
    if (align == 1) return w - textWidth;
    if (align == 2) return (w - textWidth) * 0.5f;
    return 0.0f;
}

void UINamedText::DrawSelf() { DrawStyledText(TextX(), style.size, &style, text); }
