#pragma once
// Widgets through which the player enters values: a one-line text edit (and its digits-only
// variant), a selector that cycles through option texts, and a horizontal slider from 0 to 1.
// All are tab stops and take focus when the mouse enters them.
#include <functional>
#include <string>
#include <vector>

#include "render/render_values.h"
#include "shell/ui/ui_control.h"

class YShader;

// Where edits paste from: fills the text (8-bit code page) and answers whether there was any.
// Empty: the system clipboard. Tests put a fake here.
void SetUIClipboardSource(std::function<bool(std::string& out)> source);

class UIEdit : public UIControl {
public:
    // Height = the style's size; maxLength 0 = unlimited.
    UIEdit(float px, float py, float width, const UITextStyle& style_, YShader* background_, int maxLength_,
           UIEvent* listener_ = nullptr);

    virtual const char* GetText() const { return text.c_str(); }
    // Replaces the text, cut to the maximum length when there is one.
    virtual void SetText(const std::string& t);
    virtual int GetLength() const { return static_cast<int>(text.size()); }
    // Code above 31 (as an unsigned byte).
    virtual bool IsValidChar(int c) const;

    // Appends c when valid, below the maximum length, and the text with c and a caret still fits.
    bool OnChar(int ch) override;
    // Backspace / Left delete the last character; Enter fires the command, Escape event 4;
    // Shift+Insert and Ctrl+V paste.
    bool OnKeyDown(int key) override;
    // A left click while focused fires the command.
    bool OnMouseDown(int button, float px, float py) override;
    void OnMouseEnter() override { TakeFocus(); }
    void OnUpdate(float dt) override;
    void UpdateGeometry() override;
    void DrawSelf() override;
    // Every clipboard character through OnChar.
    void Paste();

    int maxLength = 0;
    float blinkTimer = 0.0f;
    bool caretVisible = false;
    std::string text;
    YTexVertex backgroundQuad[4];
    YShader* background = nullptr;
};

class UIDigitEdit : public UIEdit {
public:
    using UIEdit::UIEdit;
    // Decimal digits only.
    bool IsValidChar(int c) const override;
};

class UISelect : public UIControl {
public:
    // Without an arrow shader the selector has no arrows and any click moves to the next option.
    UISelect(const UITextStyle& style_, YShader* arrowShader_, const float normalColour_[4],
             const float highlightColour_[4], UIEvent* listener_ = nullptr);

    virtual void AddOption(const char* option);
    // No options; the index goes back to 0.
    virtual void ClearOptions();
    virtual int GetIndex() const { return index; }
    // The first option equal ignoring letter case, else option 0.
    virtual void SelectValue(const char* value);
    // Clamped to the options; fires nothing.
    virtual void SetIndex(int i);
    // The selected option; "" when there is none.
    virtual const char* GetText() const;

    // Next / previous option, wrapping, with a selection event; nothing without options.
    void Next();
    void Prev();
    int OptionCount() const { return static_cast<int>(options.size()); }

    void UpdateGeometry() override;
    bool OnMouseMove(float px, float py) override;
    bool OnMouseDown(int button, float px, float py) override;
    bool OnMouseUp(int button, float px, float py) override;
    bool OnKeyDown(int key) override;
    void OnMouseLeave() override { leftHover = rightHover = false; }
    void OnKillFocus() override { leftHover = rightHover = false; }
    void DrawSelf() override;

    int index = 0;
    std::vector<std::string> options;
    bool leftHover = false, rightHover = false;
    float arrowWidth = 0.0f;
    YTexVertex leftQuad[4], rightQuad[4];
    YShader* arrowShader = nullptr;
    float normalColour[4];
    float highlightColour[4];
    float minWidth = 0.0f;
};

class UITracker : public UIControl {
public:
    UITracker(UIEvent* listener_, float px, float py, float width, float height, YShader* trackShader_,
              YShader* knobShader_, const float colour1_[4], const float colour2_[4], const float colour3_[4]);

    virtual float GetValue() const { return value; }
    // Clamped to 0..1; fires the command when the value changes.
    virtual void SetValue(float v);

    bool OnMouseDown(int button, float px, float py) override;
    bool OnMouseMove(float px, float py) override;
    bool OnMouseUp(int button, float px, float py) override;
    void OnMouseEnter() override { TakeFocus(); }
    void OnMouseLeave() override { dragging = false; }
    void OnKillFocus() override { dragging = false; }
    // Left / Insert one step down, Right / Execute one step up.
    bool OnKeyDown(int key) override;
    void UpdateGeometry() override;
    void DrawSelf() override;

    YShader* trackShader = nullptr;
    YShader* knobShader = nullptr;
    float value = 0.0f;
    float step = 0.1f;
    float knobInset = 0.0f;
    float colour1[4], colour2[4], colour3[4];
    bool dragging = false;
    YTexVertex trackQuad[4], knobQuad[4];

private:
    void FromMouse(float px);
};
