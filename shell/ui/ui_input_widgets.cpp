#include "shell/ui/ui_input_widgets.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/window/clipboard.h"
#include "render/font.h"
#include "render/render.h"
#include "render/shader.h"
#include "shell/ui/ui_display_widgets.h"
#include "shell/ui/ui_quad.h"
#include "shell/ui/ui_screen.h"

namespace {

std::function<bool(std::string&)> g_clipboard;

bool ReadClipboard(std::string& out) {
    out.clear();
    if (g_clipboard) return g_clipboard(out);
    return plat::GetClipboardText(out);
}

float TextWidth(const UITextStyle& s, const std::string& text) {
    return s.font ? s.font->GetTextWidth(text.c_str()) * s.size : 0.0f;
}

std::string Upper(const char* s) {
    std::string u = s ? s : "";
    for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

} // namespace

void SetUIClipboardSource(std::function<bool(std::string&)> source) { g_clipboard = std::move(source); }

// ---- UIEdit ----

UIEdit::UIEdit(float px, float py, float width, const UITextStyle& style_, YShader* background_, int maxLength_,
               UIEvent* listener_)
    : UIControl(listener_, px, py, width, style_.size), maxLength(maxLength_), background(background_) {
    style = style_;
    tabStop = true;
    SetUIQuad(backgroundQuad, 0.0f, 0.0f, w, h);
}

void UIEdit::SetText(const std::string& t) {
    text = t;
    if (maxLength > 0 && text.size() > static_cast<std::size_t>(maxLength))
        text.resize(static_cast<std::size_t>(maxLength));
}

bool UIEdit::IsValidChar(int c) const { return static_cast<unsigned char>(c) > 31; }

bool UIDigitEdit::IsValidChar(int c) const { return c >= '0' && c <= '9'; }

bool UIEdit::OnChar(int ch) {
    if (maxLength != 0 && static_cast<int>(text.size()) >= maxLength) return false;
    if (!IsValidChar(ch)) return false;
    std::string probe = text;
    probe += static_cast<char>(ch);
    probe += '|';
    if (!(TextWidth(style, probe) < w)) return false;
    text += static_cast<char>(ch);
    return true;
}

bool UIEdit::OnKeyDown(int key) {
    switch (key & 0xFF) {
        case plat::VK_BACK:
        case plat::VK_LEFT:
            if (text.empty()) return false;
            text.pop_back();
            return true;
        case plat::VK_RETURN: FireEvent(UI_EVENT_COMMAND); return true;
        case plat::VK_ESCAPE: FireEvent(UI_EVENT_ESCAPE); return true;
        case plat::VK_INSERT:
            if (UIIsKeyDown(plat::VK_SHIFT)) Paste();
            return true;
        case 'V':
            if (UIIsKeyDown(plat::VK_CONTROL)) Paste();
            return true;
        default: return false;
    }
}

void UIEdit::Paste() {
    std::string clip;
    if (!ReadClipboard(clip)) return;
    for (char c : clip) OnChar(static_cast<unsigned char>(c));
}

bool UIEdit::OnMouseDown(int button, float, float) {
    if (!focused || button != 1) return false;
    FireEvent(UI_EVENT_COMMAND);
    return true;
}

void UIEdit::OnUpdate(float dt) {
    blinkTimer += dt;
    if (blinkTimer > 0.2f) {
        blinkTimer = 0.0f;
        caretVisible = !caretVisible;
    }
}

void UIEdit::UpdateGeometry() {
    if (style.font) {
        const float need =
            (style.font->GetCharWidth('W') * static_cast<float>(maxLength) + style.font->GetCharWidth('|')) *
            style.size;
        w = std::max({w, need, TextWidth(style, text)});
    }
    SetUIQuad(backgroundQuad, 0.0f, 0.0f, w, h);
}

void UIEdit::DrawSelf() {
    if (g_Render && background) {
        g_Render->SetShader(background, true);
        g_Render->DrawTexQuad(backgroundQuad);
    }
    const float tw = DrawStyledText(0.0f, style.size, &style, text);
    if (focused && caretVisible) DrawStyledText(tw, style.size, &style, "*");
}

// ---- UISelect ----

UISelect::UISelect(const UITextStyle& style_, YShader* arrowShader_, const float normalColour_[4],
                   const float highlightColour_[4], UIEvent* listener_)
    : UIControl(listener_, 0.0f, 0.0f, 0.0f, 0.0f), arrowShader(arrowShader_) {
    style = style_;
    std::copy(normalColour_, normalColour_ + 4, normalColour);
    std::copy(highlightColour_, highlightColour_ + 4, highlightColour);
    cursor = arrowShader ? UI_CURSOR_DEFAULT : UI_CURSOR_HOT;
    tabStop = true;
}

void UISelect::AddOption(const char* option) { options.emplace_back(option ? option : ""); }

void UISelect::ClearOptions() {
    options.clear();
    index = 0;
}

void UISelect::SelectValue(const char* value) {
    const std::string want = Upper(value);
    int found = 0;
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (Upper(options[i].c_str()) == want) {
            found = static_cast<int>(i);
            break;
        }
    }
    SetIndex(found);
}

void UISelect::SetIndex(int i) { index = std::max(0, std::min(i, OptionCount() - 1)); }

const char* UISelect::GetText() const {
    if (index < 0 || index >= OptionCount()) return "";
    return options[static_cast<std::size_t>(index)].c_str();
}

void UISelect::Next() {
    if (options.empty()) return;
    index = (index + 1) % OptionCount();
    FireEvent(UI_EVENT_SELECTION);
}

void UISelect::Prev() {
    if (options.empty()) return;
    index = index - 1 < 0 ? OptionCount() - 1 : index - 1;
    FireEvent(UI_EVENT_SELECTION);
}

void UISelect::UpdateGeometry() {
    h = style.size;
    float widest = 0.0f;
    for (const std::string& o : options) widest = std::max(widest, TextWidth(style, o));
    w = std::max(minWidth, widest);
    arrowWidth = arrowShader ? style.size * 0.7f : 0.0f;
    w += 2.0f * arrowWidth;
    SetUIQuad(leftQuad, 0.0f, 0.0f, arrowWidth, h, 1.0f, 0.0f, 0.0f, 1.0f);
    SetUIQuad(rightQuad, w - arrowWidth, 0.0f, w, h);
}

bool UISelect::OnMouseMove(float px, float) {
    TakeFocus();
    leftHover = rightHover = false;
    if (arrowShader) {
        if (px < arrowWidth)
            leftHover = true;
        else if (px > w - arrowWidth)
            rightHover = true;
    }
    SetCursor(arrowShader && !leftHover && !rightHover ? UI_CURSOR_DEFAULT : UI_CURSOR_HOT);
    return true;
}

bool UISelect::OnMouseDown(int, float, float) {
    if (!arrowShader) {
        SetCursor(UI_CURSOR_PRESSED);
        Next();
    } else if (leftHover) {
        SetCursor(UI_CURSOR_PRESSED);
        Prev();
    } else if (rightHover) {
        SetCursor(UI_CURSOR_PRESSED);
        Next();
    }
    return true;
}

bool UISelect::OnMouseUp(int, float, float) {
    SetCursor(arrowShader && !leftHover && !rightHover ? UI_CURSOR_DEFAULT : UI_CURSOR_HOT);
    return true;
}

bool UISelect::OnKeyDown(int key) {
    switch (key & 0xFF) {
        case plat::VK_SPACE:
        case plat::VK_RIGHT: Next(); return true;
        case plat::VK_LEFT: Prev(); return true;
        default: return false;
    }
}

void UISelect::DrawSelf() {
    if (g_Render && arrowShader && focused) {
        g_Render->SetShaderColor(arrowShader, leftHover ? highlightColour : normalColour);
        g_Render->DrawTexQuad(leftQuad);
        g_Render->SetShaderColor(arrowShader, rightHover ? highlightColour : normalColour);
        g_Render->DrawTexQuad(rightQuad);
    }
    if (!options.empty())
        DrawStyledTextColored(arrowWidth, h, &style, focused ? normalColour : style.colour, GetText());
}

// ---- UITracker ----

UITracker::UITracker(UIEvent* listener_, float px, float py, float width, float height, YShader* trackShader_,
                     YShader* knobShader_, const float colour1_[4], const float colour2_[4], const float colour3_[4])
    : UIControl(listener_, px, py, width, height),
      trackShader(trackShader_),
      knobShader(knobShader_),
      knobInset(height * 0.15f) {
    std::copy(colour1_, colour1_ + 4, colour1);
    std::copy(colour2_, colour2_ + 4, colour2);
    std::copy(colour3_, colour3_ + 4, colour3);
    tabStop = true;
    cursor = UI_CURSOR_HOT;
    UpdateGeometry();
}

void UITracker::SetValue(float v) {
    if (!(v > 0.0f)) v = 0.0f; // also a NaN
    if (v >= 1.0f) v = 1.0f;
    const bool changed = v != value;
    value = v;
    UpdateGeometry();
    // Last: the listener may reload the page that holds this tracker.
    if (changed) FireEvent(UI_EVENT_COMMAND);
}

void UITracker::FromMouse(float px) { SetValue(w > 0.0f ? px / w : 0.0f); }

bool UITracker::OnMouseDown(int, float px, float) {
    dragging = true;
    FromMouse(px);
    return true;
}

bool UITracker::OnMouseMove(float px, float) {
    if (dragging) FromMouse(px);
    return true;
}

bool UITracker::OnMouseUp(int, float px, float) {
    if (dragging) {
        dragging = false;
        FromMouse(px);
    }
    return true;
}

bool UITracker::OnKeyDown(int key) {
    switch (key & 0xFF) {
        case plat::VK_LEFT:
        case plat::VK_INSERT: SetValue(value - step); return true;
        case plat::VK_RIGHT:
        case plat::VK_EXECUTE: SetValue(value + step); return true;
        default: return false;
    }
}

void UITracker::UpdateGeometry() {
    SetUIQuad(trackQuad, 0.0f, knobInset, w, h - knobInset);
    const float cx = value * w;
    SetUIQuad(knobQuad, cx - h * 0.5f, 0.0f, cx + h * 0.5f, h);
}

void UITracker::DrawSelf() {
    if (!g_Render) return;
    if (trackShader) {
        g_Render->SetShaderColor(trackShader, focused ? colour2 : colour1);
        g_Render->DrawTexQuad(trackQuad);
    }
    if (knobShader) {
        g_Render->SetShaderColor(knobShader, focused ? colour3 : colour2);
        g_Render->DrawTexQuad(knobQuad);
    }
}
