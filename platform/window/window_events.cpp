// Translation of SDL events into the window's messages (see window.h for what each becomes).
#include <SDL.h>

#include "platform/window/codepage.h"
#include "platform/window/message_queue.h"
#include "platform/window/virtual_keys.h"
#include "platform/window/window.h"

namespace plat {
namespace {

constexpr int kEventsPerBatch = 8;
// Most messages one SDL event can become: a text event of up to 31 characters.
constexpr std::size_t kMessagesPerEvent = 32;

uint32_t MouseButtonFlag(int sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: return MK_LBUTTON;
        case SDL_BUTTON_RIGHT: return MK_RBUTTON;
        case SDL_BUTTON_MIDDLE: return MK_MBUTTON;
        default: return 0;
    }
}

uint32_t FlagsFromSdlButtons(uint32_t state) {
    uint32_t flags = 0;
    if (state & SDL_BUTTON_LMASK) flags |= MK_LBUTTON;
    if (state & SDL_BUTTON_RMASK) flags |= MK_RBUTTON;
    if (state & SDL_BUTTON_MMASK) flags |= MK_MBUTTON;
    return flags;
}

} // namespace

void Window::PumpThunk(void* self) { static_cast<Window*>(self)->Pump(); }

void Window::Pump() {
    SDL_PumpEvents();
    SDL_Event events[kEventsPerBatch];
    // Leave events in SDL's queue rather than drop messages when ours is nearly full.
    while (FreeMessageSlots() >= kEventsPerBatch * kMessagesPerEvent) {
        const int n = SDL_PeepEvents(events, kEventsPerBatch, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
        if (n <= 0) break;
        for (int i = 0; i < n; ++i) Translate(events[i]);
    }
}

void Window::Translate(const SDL_Event& e) {
    // While recorded input is replayed, the window's own input is dropped; closing still works.
    if (InputReplayed() && e.type != SDL_QUIT &&
        !(e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE))
        return;
    switch (e.type) {
        case SDL_QUIT: // a quit request of the system (signals are interrupt_signals.h's)
            PostMessage(WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT:
            if (window_ && e.window.windowID == windowId_)
                OnWindowEvent(e.window.event, e.window.data1, e.window.data2);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            OnKey(e.type == SDL_KEYDOWN, e.key.keysym.scancode, e.key.keysym.sym, e.key.keysym.mod, e.key.repeat != 0);
            break;
        case SDL_TEXTINPUT: OnText(e.text.text); break;
        case SDL_MOUSEMOTION: OnMouseMove(e.motion.x, e.motion.y, e.motion.state); break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            OnMouseButton(e.type == SDL_MOUSEBUTTONDOWN, e.button.button, e.button.x, e.button.y);
            break;
        case SDL_MOUSEWHEEL: {
            int delta = e.wheel.y * WHEEL_DELTA;
            if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) delta = -delta;
            OnMouseWheel(e.wheel.mouseX, e.wheel.mouseY, delta);
            break;
        }
        default: break;
    }
}

void Window::OnWindowEvent(int event, int data1, int data2) {
    switch (event) {
        case SDL_WINDOWEVENT_EXPOSED: PostPaint(); break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: OnSizeChanged(data1, data2); break;
        case SDL_WINDOWEVENT_MINIMIZED:
            minimized_ = true;
            ReportSize(false, false);
            ReportActivation(false, false);
            break;
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_RESTORED:
            minimized_ = false;
            SDL_GetWindowSize(window_, &clientWidth_, &clientHeight_);
            ReportSize(false, false);
            ReportActivation(false, false);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            focused_ = true;
            ReportActivation(false, false);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            focused_ = false;
            ReportActivation(false, false);
            break;
        case SDL_WINDOWEVENT_CLOSE: PostMessage(WM_CLOSE, 0, 0); break;
        default: break;
    }
}

void Window::OnSizeChanged(int width, int height) {
    if (width <= 0 || height <= 0) return;
    const bool ownRequest = width == requestedWidth_ && height == requestedHeight_;
    requestedWidth_ = requestedHeight_ = -1;
    const bool changed = width != clientWidth_ || height != clientHeight_;
    const bool insisted = width == sizingWidth_ && height == sizingHeight_;

    if (!fullScreen_ && changed && !ownRequest && !insisted && proc_ && !minimized_ && !IsMaximized()) {
        // A drag of the window's frame: let the procedure adjust the new rectangle, as it
        // did while the user dragged an edge, and give the window what it chose.
        sizingWidth_ = width;
        sizingHeight_ = height;
        WPARAM edge = WMSZ_BOTTOMRIGHT;
        if (height == clientHeight_)
            edge = WMSZ_RIGHT;
        else if (width == clientWidth_)
            edge = WMSZ_BOTTOM;
        int x = 0, y = 0;
        SDL_GetWindowPosition(window_, &x, &y);
        Rect r{x, y, x + width, y + height};
        proc_(procContext_, WM_SIZING, edge, reinterpret_cast<LPARAM>(&r));
        const int w = r.right - r.left;
        const int h = r.bottom - r.top;
        if ((w != width || h != height) && w > 0 && h > 0) {
            requestedWidth_ = w;
            requestedHeight_ = h;
            SDL_SetWindowSize(window_, w, h);
            if (r.left != x || r.top != y) SDL_SetWindowPosition(window_, r.left, r.top);
            width = w;
            height = h;
        }
    }
    clientWidth_ = width;
    clientHeight_ = height;
    ReportSize(false, false);
}

void Window::ReportSize(bool send, bool force) {
    const WPARAM kind = minimized_ ? SIZE_MINIMIZED : (IsMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED);
    const int w = minimized_ ? 0 : ClientWidth();
    const int h = minimized_ ? 0 : ClientHeight();
    if (!force && sizeReported_ && kind == reportedSizeKind_ && w == reportedWidth_ && h == reportedHeight_) return;
    sizeReported_ = true;
    reportedSizeKind_ = kind;
    reportedWidth_ = w;
    reportedHeight_ = h;
    Deliver(send, WM_SIZE, kind, MakeLParam(static_cast<uint16_t>(w), static_cast<uint16_t>(h)));
}

void Window::ReportActivation(bool send, bool force) {
    if (!force && activationReported_ && focused_ == reportedFocused_ && minimized_ == reportedMinimized_) return;
    activationReported_ = true;
    reportedFocused_ = focused_;
    reportedMinimized_ = minimized_;
    const WPARAM w = MakeWParam(static_cast<uint16_t>(focused_ ? WA_ACTIVE : WA_INACTIVE), minimized_ ? 1 : 0);
    Deliver(send, WM_ACTIVATE, w, 0);
}

LRESULT Window::Deliver(bool send, uint32_t message, WPARAM wParam, LPARAM lParam) {
    if (send && proc_) return proc_(procContext_, message, wParam, lParam);
    PostMessage(message, wParam, lParam);
    return 0;
}

void Window::OnKey(bool down, int scancode, int keycode, unsigned mod, bool repeat) {
    const uint8_t vk = VirtualKeyFromSdl(scancode, keycode, (mod & KMOD_NUM) != 0);
    if (vk == 0) return;
    const bool alt = (mod & KMOD_ALT) != 0 || vk == VK_MENU;
    const bool ctrl = (mod & KMOD_CTRL) != 0;
    const bool sys = (alt || vk == VK_F10) && !ctrl;

    uint16_t flags = 0;
    if (sys && alt) flags |= KF_ALTDOWN;
    if (!down || repeat) flags |= KF_REPEAT;
    if (!down) flags |= KF_UP;
    const LPARAM lParam = MakeLParam(1, flags); // repeat count 1

    const uint32_t message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    PostMessage(message, vk, lParam);
    // The characters these keys type never come as text; make them, after the key's own message.
    if (down && !sys && (vk == VK_BACK || vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE)) {
        PostMessage(WM_CHAR, vk, lParam);
    }
}

void Window::OnText(const char* utf8) {
    const std::string_view text(utf8);
    std::size_t pos = 0;
    while (pos < text.size()) {
        int ch = CodePointToCp1252(DecodeUtf8(text, pos));
        if (ch < 0) ch = CP1252_REPLACEMENT;
        if (ch < 0x20 || ch == 0x7F) continue; // control characters come from keys only
        PostMessage(WM_CHAR, static_cast<WPARAM>(ch), 1);
    }
}

WPARAM Window::MouseFlags(uint32_t mkButtons) const {
    WPARAM flags = mkButtons;
    const SDL_Keymod mod = SDL_GetModState();
    if (mod & KMOD_SHIFT) flags |= MK_SHIFT;
    if (mod & KMOD_CTRL) flags |= MK_CONTROL;
    return flags;
}

void Window::OnMouseMove(int x, int y, uint32_t sdlButtons) {
    const Point p = ToBackBuffer(x, y);
    PostMouseMove(MouseFlags(FlagsFromSdlButtons(sdlButtons)), PackMousePos(p.x, p.y));
}

void Window::OnMouseButton(bool down, int button, int x, int y) {
    const uint32_t flag = MouseButtonFlag(button);
    if (flag == 0) return;
    if (down)
        buttons_ |= flag;
    else
        buttons_ &= ~flag;
    uint32_t message;
    if (flag == MK_LBUTTON)
        message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    else if (flag == MK_RBUTTON)
        message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    else
        message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    const Point p = ToBackBuffer(x, y);
    PostMessage(message, MouseFlags(buttons_), PackMousePos(p.x, p.y));
}

void Window::OnMouseWheel(int x, int y, int delta) {
    if (delta == 0) return;
    if (delta > 32767) delta = 32767;
    if (delta < -32768) delta = -32768;
    const Point p = ToBackBuffer(x, y);
    const WPARAM w =
        MakeWParam(static_cast<uint16_t>(MouseFlags(buttons_)), static_cast<uint16_t>(static_cast<int16_t>(delta)));
    PostMessage(WM_MOUSEWHEEL, w, PackMousePos(p.x, p.y));
}

} // namespace plat
