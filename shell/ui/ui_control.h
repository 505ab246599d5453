#pragma once
// The widget base of the menu interface. A control owns a tree of child controls, keeps a hover
// chain (the child under the mouse, and its child under the mouse, ...) and a focus chain (every
// control from the root down to the focused leaf is marked focused), holds a rectangle in its
// parent's coordinates (y grows downward), a text style, and the listener that receives its
// events.
//
// Input enters at the root (UIScreen, or the capture control): mouse input walks the hover chain
// to the deepest control, key input walks the focus chain to the focused leaf; that control's hook
// runs first and, when it does not consume the input, its parents' hooks are tried on the way up.
// Tab, Shift+Tab and the arrow keys move focus among the children of the nearest focused
// ancestor that takes them.
//
// Widgets fire their events to their listener, or to the UI root's listener when they have none.
// A listener may delete the sender's page contents (a page reload), so no widget touches itself
// after firing.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "math/matrix.h"
#include "platform/window/win_messages.h"

class UIControl;
class YFont;

// Event types a control fires.
enum UIEventType : int {
    UI_EVENT_COMMAND = 0,    // clicked, Enter, value changed
    UI_EVENT_GOT_FOCUS = 1,  // the control that receives focus
    UI_EVENT_LOST_FOCUS = 2, // the deepest control of the chain that lost it
    UI_EVENT_SELECTION = 3,  // a selector moved to another option
    UI_EVENT_ESCAPE = 4,     // Escape in an edit field
};

// Receiver of widget events.
class UIEvent {
public:
    virtual void OnEvent(int type, UIControl* sender) = 0;
    virtual ~UIEvent() = default;
};

// Told when the cursor shape over the interface changes (0 default, 2 clickable, 3 pressed).
class UICursorListener {
public:
    virtual void OnCursorShape(int shape) = 0;
    virtual ~UICursorListener() = default;
};

// What text is drawn in: font, height in virtual-screen units and colour r, g, b, a.
struct UITextStyle {
    YFont* font = nullptr;
    float size = 16.0f;
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};

    // The default style of every control and page: font "default", size 16, opaque white.
    static UITextStyle Default();
};

class UIControl {
public:
    UIControl();
    UIControl(UIEvent* listener, float x, float y, float w, float h);
    // Deletes the children, then leaves the parent; frees the capture when it holds it.
    virtual ~UIControl();
    UIControl(const UIControl&) = delete;
    UIControl& operator=(const UIControl&) = delete;

    // ---- Routing (see the file comment) ----
    // Marks this control focused with `child` next on the chain, and so on up to the root.
    virtual void SetFocus(UIControl* child);
    // Points in this control's coordinates.
    virtual void MouseMove(float x, float y);
    virtual void MouseDown(int button, float x, float y);
    virtual void MouseUp(int button, float x, float y);
    virtual void MouseLeave();
    // OnUpdate, then Update of every visible child.
    virtual void Update(float dt);
    virtual void KeyDown(int key);
    virtual void KeyUp(int key);
    virtual void Char(int ch);
    virtual void DeadChar(int ch);
    // Nothing when hidden; else DrawSelf, the children, DrawOverlay, translated by (x, y).
    virtual void Draw();

    virtual float GetWidth() const { return w; }
    virtual float GetHeight() const { return h; }
    virtual float GetArea() const { return w * h; }
    // Widgets with text size themselves to it.
    virtual void AutoSize() {}
    // UpdateGeometry of every direct child, then its own.
    virtual void UpdateGeometryAll();
    // Rebuilds the widget's quads for the current size.
    virtual void UpdateGeometry() {}
    virtual void DrawSelf() {}
    virtual void DrawOverlay() {}

    // Appends `c` (taking ownership); c's parent := this.
    virtual void AddChild(UIControl* c);
    // Gives up `c` without deleting it: the last child takes its place.
    virtual void RemoveChild(UIControl* c);
    virtual void SetPosition(float px, float py) {
        x = px;
        y = py;
    }

    // ---- Hooks: true when the input was consumed ----
    // Tab and arrow focus moves.
    virtual bool OnKeyDown(int key);
    virtual bool OnKeyUp(int key) { return false; }
    virtual bool OnChar(int ch) { return false; }
    virtual bool OnDeadChar(int ch) { return false; }
    virtual void OnMouseEnter() {}
    virtual void OnMouseLeave() {}
    virtual bool OnMouseMove(float x, float y) { return false; }
    virtual bool OnMouseDown(int button, float x, float y) { return false; }
    virtual bool OnMouseUp(int button, float x, float y) { return false; }

    // Moves focus here (or to the first enabled visible child, down to a leaf).
    virtual void TakeFocus();
    // Clears the focus chain from here down.
    virtual void KillFocus();
    virtual void OnKillFocus() {}
    virtual void OnUpdate(float dt) {}
    // (px, py) in the parent's coordinates; left and top edges inside, right and bottom outside.
    virtual bool HitTest(float px, float py) const;
    virtual void Show();
    // Takes the capture when it is free (and shows the control); false when another holds it.
    virtual bool Capture();
    virtual void Hide();
    virtual void SetEnabled(bool on) { enabled = on; }

    // ---- Tree ----
    UIControl* GetRoot();
    UIControl* GetFocusLeaf();
    // The deepest control of the hover chain; (px, py) becomes that control's coordinates.
    UIControl* GetHoverLeaf(float& px, float& py);
    // The first direct child of that exact name, else null.
    UIControl* FindChild(const std::string& childName) const;
    // Depth-first, pre-order search of the whole subtree (not this control itself).
    UIControl* FindDescendant(const std::string& childName) const;
    void DeleteChildren();
    const std::vector<UIControl*>& Children() const { return children; }
    UIControl* Parent() const { return parent; }
    UIControl* HoverChild() const { return hoverChild; }
    UIControl* FocusChild() const { return focusChild; }

    void SetCursor(int shape);
    static void SetCursorShape(int shape);
    // Focus to the next (or previous) eligible child; the first one when there is none that way.
    bool FocusNext(bool forward);
    // Focus to the nearest eligible child whose centre lies beyond the focused child's half
    // extent along (dx, dy).
    bool FocusMove(float dx, float dy);
    // To the listener, or to the UI root's listener when there is none. The receiver may delete
    // this control: the caller must not touch it afterwards.
    void FireEvent(int type);

    // Eligible for Tab and arrow moves.
    bool IsTabEligible() const { return tabStop && enabled && visible; }

    // ---- Fields ----
    int cursor = 0;
    UIEvent* listener = nullptr;
    std::string name;
    UITextStyle style;
    bool focused = false;
    bool visible = true;
    bool enabled = true;
    bool tabStop = false;
    bool arrowNavigation = false;
    float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;

protected:
    UIControl* parent = nullptr;
    UIControl* hoverChild = nullptr;
    UIControl* focusChild = nullptr;
    std::vector<UIControl*> children;
};

// ---- State shared by every control tree ----

// The control holding the capture, or null.
UIControl* UICaptureControl();
// The last mouse position a root control received.
float UILastMouseX();
float UILastMouseY();
// The current cursor shape number.
int UICursorShape();
void SetUICursorListener(UICursorListener* listener);
// Whether a key is held, by virtual-key code. Empty: the framework's key states.
void SetUIKeyQuery(std::function<bool(int key)> query);
bool UIIsKeyDown(int key);
