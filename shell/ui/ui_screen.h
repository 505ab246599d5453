#pragma once
// The UI root: the page shown, the virtual screen every page is laid out on (800 x 600 in the
// game) and the mapping from window pixels onto it. Mouse and key input goes to the control that
// holds the capture when there is one, else to the page; key-up and dead characters are not
// passed on. Beside it, the two text drawing operations every widget uses.
#include <string>

#include "shell/ui/ui_control.h"

class UIScreen {
public:
    // No page; the listener and the virtual size stored; the cursor listener becomes the global
    // one; this becomes the UI root (g_UIScreen).
    void Init(float virtualW, float virtualH, UIEvent* defaultListener, UICursorListener* cursorListener);
    // No UI root any more (when this is it).
    void Shutdown();
    // The window's client size; the view becomes the whole virtual screen.
    void Resize(int width, int height);
    // Window pixels to virtual units; unchanged before the first Resize.
    void MapToVirtual(float& px, float& py) const;

    void MouseMove(int px, int py);
    void MouseDown(int button, int px, int py);
    void MouseUp(int button, int px, int py);
    void KeyDown(int key);
    void Char(int ch);

    // Draws the page (nothing without one); with setProjection the 2D projection of the view.
    void Render(bool setProjection);
    void RenderControl(UIControl* c, bool setProjection);

    UIControl* page = nullptr;
    int windowWidth = 0, windowHeight = 0;
    UIEvent* listener = nullptr;
    float view[4] = {0.0f, 0.0f, 0.0f, 0.0f}; // x0, y0, width, height
    float virtualWidth = 0.0f, virtualHeight = 0.0f;

private:
    UIControl* Target() const;
};

// The UI root, or null.
extern UIScreen* g_UIScreen;

// Text in a style with (x, y) its bottom-left corner; returns the width drawn (0 without a
// renderer or a font). Nothing is allocated: widgets call these every frame.
float DrawStyledText(float x, float y, const UITextStyle* s, const char* text);
float DrawStyledText(float x, float y, const UITextStyle* s, const std::string& text);
// The same in another colour.
float DrawStyledTextColored(float x, float y, const UITextStyle* s, const float colour[4], const char* text);
float DrawStyledTextColored(float x, float y, const UITextStyle* s, const float colour[4], const std::string& text);
