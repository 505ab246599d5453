#pragma once
// Display and click widgets: a textured image, a menu item with a pulsing glow while focused, a
// clickable text link, a check box with a label, and a text line the program rewrites by name.
// Each draws its text on one line whose bottom edge is the control's height. A "click" is a press
// of any mouse button while the control is enabled: cursor shape 3 and a command event; a press
// on a disabled control is swallowed all the same.
#include <string>

#include "render/render_values.h"
#include "shell/ui/ui_control.h"

class YShader;
class YTexture;

// Cursor shapes.
constexpr int UI_CURSOR_DEFAULT = 0;
constexpr int UI_CURSOR_HOT = 2;
constexpr int UI_CURSOR_PRESSED = 3;

// Grey of disabled texts.
extern const float UI_DISABLED_COLOUR[4];

class UIImage : public UIControl {
public:
    explicit UIImage(YShader* shader_);

    // The quad over (0, 0)-(w, h), texture coordinates inset by 0.01 so the edges do not bleed.
    void UpdateGeometry() override;
    void DrawSelf() override;
    void OnMouseEnter() override { hovered = true; }
    void OnMouseLeave() override { hovered = false; }
    bool OnMouseDown(int button, float px, float py) override;

    void SetTexture(const char* file);
    void SetTexture(YTexture* t) { texture = t; }

    YTexVertex quad[4];
    YShader* shader = nullptr;
    YShader* hoverShader = nullptr;
    YTexture* texture = nullptr;
    bool hovered = false;
    // While disabled, drawn in the grey of disabled texts instead of its shader's own colour
    // (for buttons whose shaders have no look of their own for that).
    bool greyWhenDisabled = false;
};

class UIMenuItem : public UIControl {
public:
    UIMenuItem(const std::string& text_, const UITextStyle& style_, const UITextStyle& focusStyle_, float px, float py,
               UIEvent* listener_ = nullptr);

    void AutoSize() override;
    const std::string& GetText() const { return text; }
    void OnUpdate(float dt) override;
    void DrawSelf() override;
    void OnMouseEnter() override;
    bool OnKeyDown(int key) override;
    bool OnMouseDown(int button, float px, float py) override;

    float shadowColour[4];
    UITextStyle focusStyle;
    std::string text;
    float glowPhase = 0.0f; // 0..1, up and down once every two seconds while focused
    bool glowRising = true;
};

class UIHotLink : public UIControl {
public:
    UIHotLink(const UITextStyle& style_, const std::string& text_, const float hoverColour_[4], float px, float py,
              UIEvent* listener_ = nullptr);

    void AutoSize() override;
    void DrawSelf() override;
    void OnMouseEnter() override { hovered = true; }
    void OnMouseLeave() override { hovered = false; }
    bool OnMouseDown(int button, float px, float py) override;
    // The colour the text draws in now: grey disabled, the hover colour hovered, else the style's.
    const float* TextColour() const;

    float hoverColour[4];
    bool hovered = false;
    std::string text;
};

class UICheckBox : public UIControl {
public:
    // The box's texture holds both states side by side: unchecked on the left half.
    UICheckBox(const UITextStyle& style_, const std::string& label_, const float hoverColour_[4], YShader* boxShader_,
               float px, float py);

    void AutoSize() override;
    void UpdateGeometry() override;
    void DrawSelf() override;
    void OnMouseEnter() override { hovered = true; }
    void OnMouseLeave() override { hovered = false; }
    // Toggles; fires nothing (the owner reads `checked` when it needs to).
    bool OnMouseDown(int button, float px, float py) override;
    void SetChecked(bool on) {
        checked = on;
        UpdateGeometry();
    }

    float hoverColour[4];
    bool hovered = false;
    std::string label;
    YShader* boxShader = nullptr;
    YTexVertex boxQuad[4];
    bool checked = false;
};

// Whether `page` (may be null) holds a direct child named `name` that is a ticked check box.
bool IsBoxTicked(const UIControl* page, const std::string& name);

// align: 1 right, 2 centre, anything else left, within the rectangle.
class UINamedText : public UIControl {
public:
    UINamedText(int align_, const std::string& text_, const UITextStyle& style_, float px, float py, float width);

    // Replaces the text; the rectangle stays as it is.
    void SetText(const std::string& t);
    const std::string& GetText() const { return text; }
    // Where the text starts within the rectangle.
    float TextX() const;
    void DrawSelf() override;

    std::string text;
    int align = 0;
    float textWidth = 0.0f;
};
