#include "shell/ui/ui_control.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/framework.h"
#include "render/font.h"
#include "render/render.h"
#include "shell/ui/ui_screen.h"

namespace {

UIControl* g_capture = nullptr;
float g_lastMouseX = 0.0f;
float g_lastMouseY = 0.0f;
int g_cursorShape = 0;
UICursorListener* g_cursorListener = nullptr;
std::function<bool(int)> g_keyQuery;

// The translation the control being drawn adds up to; identity otherwise.
YMatrix& DrawMatrix() {
    static YMatrix m = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    return m;
}

} // namespace

UITextStyle UITextStyle::Default() {
    UITextStyle s;
    s.font = FindFont("default");
    return s;
}

UIControl* UICaptureControl() { return g_capture; }
float UILastMouseX() { return g_lastMouseX; }
float UILastMouseY() { return g_lastMouseY; }
int UICursorShape() { return g_cursorShape; }
void SetUICursorListener(UICursorListener* listener) { g_cursorListener = listener; }
void SetUIKeyQuery(std::function<bool(int)> query) { g_keyQuery = std::move(query); }
bool UIIsKeyDown(int key) { return g_keyQuery ? g_keyQuery(key) : IsKeyDown(key); }

UIControl::UIControl() : style(UITextStyle::Default()) {}

UIControl::UIControl(UIEvent* listener_, float x_, float y_, float w_, float h_)
    : listener(listener_), style(UITextStyle::Default()), x(x_), y(y_), w(w_), h(h_) {}

UIControl::~UIControl() {
    DeleteChildren();
    if (g_capture == this) g_capture = nullptr;
    if (parent) parent->RemoveChild(this);
}

void UIControl::SetFocus(UIControl* child) {
    focusChild = child;
    focused = true;
    if (parent) parent->SetFocus(this);
}

void UIControl::MouseMove(float px, float py) {
    if (!parent) {
        g_lastMouseX = px;
        g_lastMouseY = py;
    }
    if (hoverChild && (!hoverChild->HitTest(px, py) || !hoverChild->visible || !hoverChild->enabled)) {
        UIControl* old = hoverChild;
        hoverChild = nullptr;
        old->MouseLeave();
    }
    if (!hoverChild) {
        for (UIControl* c : children) {
            if (c->visible && c->enabled && c->HitTest(px, py)) {
                hoverChild = c;
                c->OnMouseEnter();
                break;
            }
        }
    }
    // OnMouseEnter may have moved focus, which never removes children; the hover child stays.
    if (hoverChild) {
        hoverChild->MouseMove(px - hoverChild->x, py - hoverChild->y);
        return;
    }
    SetCursorShape(cursor);
    UIControl* target = this;
    while (!target->OnMouseMove(px, py)) {
        if (!target->parent) break;
        px += target->x;
        py += target->y;
        target = target->parent;
    }
}

void UIControl::MouseDown(int button, float px, float py) {
    MouseMove(px, py);
    UIControl* target = GetHoverLeaf(px, py);
    while (!target->OnMouseDown(button, px, py)) {
        if (!target->parent) break;
        px += target->x;
        py += target->y;
        target = target->parent;
    }
}

void UIControl::MouseUp(int button, float px, float py) {
    MouseMove(px, py);
    UIControl* target = GetHoverLeaf(px, py);
    while (!target->OnMouseUp(button, px, py)) {
        if (!target->parent) break;
        px += target->x;
        py += target->y;
        target = target->parent;
    }
}

void UIControl::MouseLeave() {
    if (hoverChild) {
        UIControl* old = hoverChild;
        hoverChild = nullptr;
        old->MouseLeave();
    }
    OnMouseLeave();
}

void UIControl::Update(float dt) {
    OnUpdate(dt);
    for (std::size_t i = 0; i < children.size(); ++i)
        if (children[i]->visible) children[i]->Update(dt);
}

void UIControl::KeyDown(int key) {
    for (UIControl* t = GetFocusLeaf(); t; t = t->parent)
        if (t->OnKeyDown(key)) return;
}

void UIControl::KeyUp(int key) {
    for (UIControl* t = GetFocusLeaf(); t; t = t->parent)
        if (t->OnKeyUp(key)) return;
}

void UIControl::Char(int ch) {
    for (UIControl* t = GetFocusLeaf(); t; t = t->parent)
        if (t->OnChar(ch)) return;
}

void UIControl::DeadChar(int ch) {
    for (UIControl* t = GetFocusLeaf(); t; t = t->parent)
        if (t->OnDeadChar(ch)) return;
}

void UIControl::Draw() {
    if (!visible) return;
    YMatrix& m = DrawMatrix();
    const float savedX = m.m[12], savedY = m.m[13];
    m.m[12] = savedX + x;
    m.m[13] = savedY + y;
    if (g_Render) g_Render->SetWorldMatrix(&m);
    DrawSelf();
    for (UIControl* c : children) c->Draw();
    DrawOverlay();
    m.m[12] = savedX;
    m.m[13] = savedY;
    if (g_Render) g_Render->SetWorldMatrix(&m);
}

void UIControl::UpdateGeometryAll() {
    for (UIControl* c : children) c->UpdateGeometry();
    UpdateGeometry();
}

void UIControl::AddChild(UIControl* c) {
    if (!c) return;
    children.push_back(c);
    c->parent = this;
}

void UIControl::RemoveChild(UIControl* c) {
    if (!c) return;
    c->parent = nullptr;
    // A chain must not keep pointing at a control that left the tree.
    if (hoverChild == c) hoverChild = nullptr;
    if (focusChild == c) focusChild = nullptr;
    auto it = std::find(children.begin(), children.end(), c);
    if (it == children.end()) return;
    *it = children.back();
    children.pop_back();
}

bool UIControl::OnKeyDown(int key) {
    if (!focused) return false;
    key &= 0xFF;
    if (key == plat::VK_TAB) return FocusNext(!UIIsKeyDown(plat::VK_SHIFT));
    if (arrowNavigation) {
        switch (key) {
            case plat::VK_LEFT: return FocusMove(-1.0f, 0.0f);
            case plat::VK_UP: return FocusMove(0.0f, -1.0f);
            case plat::VK_RIGHT: return FocusMove(1.0f, 0.0f);
            case plat::VK_DOWN: return FocusMove(0.0f, 1.0f);
            default: break;
        }
    }
    return false;
}

void UIControl::TakeFocus() {
    if (focused || !visible || !enabled) return;
    for (UIControl* c : children) {
        if (c->enabled && c->visible) {
            c->TakeFocus();
            return;
        }
    }
    GetRoot()->KillFocus();
    focused = true;
    if (parent) parent->SetFocus(this);
    FireEvent(UI_EVENT_GOT_FOCUS);
}

void UIControl::KillFocus() {
    if (focused) {
        focused = false;
        if (focusChild) {
            UIControl* c = focusChild;
            focusChild = nullptr;
            c->KillFocus();
        } else {
            FireEvent(UI_EVENT_LOST_FOCUS);
        }
    }
    OnKillFocus();
}

bool UIControl::HitTest(float px, float py) const { return px >= x && px < x + w && py >= y && py < y + h; }

void UIControl::Show() {
    visible = true;
    GetRoot()->MouseMove(g_lastMouseX, g_lastMouseY);
}

bool UIControl::Capture() {
    if (g_capture) return false;
    g_capture = this;
    Show();
    return true;
}

void UIControl::Hide() {
    MouseLeave();
    if (parent && parent->hoverChild == this) {
        parent->hoverChild = nullptr;
        MouseLeave();
    }
    visible = false;
    hoverChild = nullptr;
    if (g_capture == this) g_capture = nullptr;
    GetRoot()->MouseMove(g_lastMouseX, g_lastMouseY);
}

UIControl* UIControl::GetRoot() {
    UIControl* c = this;
    while (c->parent) c = c->parent;
    return c;
}

UIControl* UIControl::GetFocusLeaf() {
    UIControl* c = this;
    while (c->focusChild) c = c->focusChild;
    return c;
}

UIControl* UIControl::GetHoverLeaf(float& px, float& py) {
    UIControl* c = this;
    while (c->hoverChild) {
        c = c->hoverChild;
        px -= c->x;
        py -= c->y;
    }
    return c;
}

UIControl* UIControl::FindChild(const std::string& childName) const {
    for (UIControl* c : children)
        if (c->name == childName) return c;
    return nullptr;
}

UIControl* UIControl::FindDescendant(const std::string& childName) const {
    for (UIControl* c : children) {
        if (c->name == childName) return c;
        if (UIControl* d = c->FindDescendant(childName)) return d;
    }
    return nullptr;
}

void UIControl::DeleteChildren() {
    while (!children.empty()) delete children.front();
    hoverChild = nullptr;
    focusChild = nullptr;
}

void UIControl::SetCursor(int shape) {
    if (shape == cursor) return;
    cursor = shape;
    if (!hoverChild) SetCursorShape(shape);
}

void UIControl::SetCursorShape(int shape) {
    if (shape == g_cursorShape) return;
    g_cursorShape = shape;
    if (g_cursorListener) g_cursorListener->OnCursorShape(shape);
}

bool UIControl::FocusNext(bool forward) {
    auto it = std::find(children.begin(), children.end(), focusChild);
    if (focusChild && it != children.end()) {
        const std::ptrdiff_t at = it - children.begin();
        if (forward) {
            for (std::size_t i = static_cast<std::size_t>(at) + 1; i < children.size(); ++i) {
                if (children[i]->IsTabEligible()) {
                    children[i]->TakeFocus();
                    return true;
                }
            }
        } else {
            for (std::ptrdiff_t i = at - 1; i >= 0; --i) {
                if (children[static_cast<std::size_t>(i)]->IsTabEligible()) {
                    children[static_cast<std::size_t>(i)]->TakeFocus();
                    return true;
                }
            }
        }
    }
    for (UIControl* c : children) {
        if (c->IsTabEligible()) {
            c->TakeFocus();
            return true;
        }
    }
    return false;
}

bool UIControl::FocusMove(float dx, float dy) {
    if (!focusChild) return FocusNext(true);
    const UIControl* f = focusChild;
    const float fx = f->x + f->w * 0.5f, fy = f->y + f->h * 0.5f;
    const float need = 0.5f * (std::fabs(dx) * f->w + std::fabs(dy) * f->h);
    UIControl* best = nullptr;
    float bestD = 10000000.0f;
    for (UIControl* c : children) {
        if (c == f || !c->IsTabEligible()) continue;
        const float d = (c->x + c->w * 0.5f - fx) * dx + (c->y + c->h * 0.5f - fy) * dy;
        if (d > need && d < bestD) {
            bestD = d;
            best = c;
        }
    }
    if (!best) return false;
    best->TakeFocus();
    return true;
}

void UIControl::FireEvent(int type) {
    UIEvent* receiver = listener;
    if (!receiver && g_UIScreen) receiver = g_UIScreen->listener;
    if (receiver) receiver->OnEvent(type, this);
}
