#include "core/framework.h"

#include <algorithm>
#include <cstdlib>

#include "core/frame_hooks.h"
#include "core/log.h"
#include "core/message_box.h"
#include "core/window_sizing.h"
#include "platform/sys/clock.h"
#include "platform/sys/heap.h"

YFramework* g_Framework = nullptr;

YFrameHooks& FrameHooks() {
    static YFrameHooks hooks;
    return hooks;
}

namespace {

bool RendererExists() {
    const YFrameHooks& h = FrameHooks();
    return h.rendererExists && h.rendererExists();
}

} // namespace

YFramework::YFramework() {
    // Before the window and the driver exist: their per-frame storage then reuses its pages.
    if (!plat::KeepHeapBetweenFrames()) LogPrintf(g_Log, "The C library kept its own heap settings");
    rateTime_ = plat::TimeMs();
    g_Framework = this;
}

YFramework::~YFramework() {
    DestroyFrameWindow();
    timers_.clear();
    if (g_Framework == this) g_Framework = nullptr;
}

void YFramework::Quit() { running_ = false; }

bool YFramework::RestoreResources() {
    const YFrameHooks& h = FrameHooks();
    return h.restoreResources ? h.restoreResources() : true;
}

void YFramework::ReleaseResources() {
    const YFrameHooks& h = FrameHooks();
    if (h.releaseResources) h.releaseResources();
}

void YFramework::OnResize(int, int) {}

bool YFramework::Frame() {
    const YFrameHooks& h = FrameHooks();
    if (RendererExists()) {
        if (h.beginFrame) h.beginFrame(false);
        if (h.endFrame) h.endFrame();
    }
    return true;
}

void YFramework::Idle() {}
void YFramework::Close() { Quit(); }
void YFramework::MouseMove(int, int) {}
void YFramework::MouseWheel(int) {}
void YFramework::MouseDown(int, int, int) {}
void YFramework::MouseUp(int, int, int) {}

void YFramework::KeyDown(int key) {
    if (key == plat::VK_F10) Quit();
}

void YFramework::KeyUp(int) {}
void YFramework::Char(int) {}
void YFramework::DeadChar(int) {}
void YFramework::Timer(uint32_t, uint32_t) {}
YIcon YFramework::GetIcon() { return YIcon::Default; }
YCursor YFramework::GetCursor() { return YCursor::None; }

void YFramework::Fail(const char* text) {
    DestroyFrameWindow();
    LogLine(text);
    ShowMessage(text, "ERROR", plat::MB_ICONEXCLAMATION);
    std::exit(0);
}

void YFramework::CreateWindowed(const char* title, int width, int height) {
    YVideoMode size;
    size.width = width > 0 ? static_cast<uint32_t>(width) : 0;
    size.height = height > 0 ? static_cast<uint32_t>(height) : 0;
    CreateFrameWindow(title, size, false);
}

void YFramework::CreateFullscreen(const char* title, const YVideoMode& mode) {
    YVideoMode chosen = mode;
    // A mode that no renderer's list chose (index -1) and that names no usable size (a damaged or
    // hand-edited configuration, a mode saved on a larger screen) gets the default mode rather
    // than a window that cannot be created.
    if (chosen.index < 0) {
        int screenWidth = 0, screenHeight = 0;
        window_.GetScreenSize(screenWidth, screenHeight);
        const bool tooLarge =
            screenWidth > 0 && screenHeight > 0 &&
            (chosen.width > static_cast<uint32_t>(screenWidth) || chosen.height > static_cast<uint32_t>(screenHeight));
        if (chosen.width == 0 || chosen.height == 0 || tooLarge) chosen = DefaultVideoMode();
    }
    CreateFrameWindow(title, chosen, true);
}

void YFramework::CreateFrameWindow(const char* title, const YVideoMode& mode, bool fullScreen) {
    fullScreen_ = fullScreen;
    int width = static_cast<int>(std::min<uint32_t>(mode.width, INT32_MAX));
    int height = static_cast<int>(std::min<uint32_t>(mode.height, INT32_MAX));
    if (!fullScreen) {
        int screenWidth = 0, screenHeight = 0;
        window_.GetScreenSize(screenWidth, screenHeight);
        const YWindowSize size = FitWindowSize(width, height, screenWidth, screenHeight);
        width = size.width;
        height = size.height;
    }
    YVideoMode used = mode;
    used.width = static_cast<uint32_t>(width);
    used.height = static_cast<uint32_t>(height);

    plat::WindowDesc desc;
    desc.title = title;
    desc.width = width;
    desc.height = height;
    desc.fullScreen = fullScreen;
    desc.blankCursor = GetCursor() == YCursor::None;
    desc.proc = &YFramework::WindowProc;
    desc.procContext = this;
    // The client area is the whole window here: the frame adds nothing the program can see.
    frameExtraWidth_ = 0;
    frameExtraHeight_ = 0;
    if (!window_.Create(desc)) {
        LogPrintf(g_Log, "Window creation failed: %s", plat::Window::LastError());
        Fail("Window Creation Error.");
    }

    const YFrameHooks& h = FrameHooks();
    if (RendererExists() && h.createDevice) h.createDevice(window_.NativeHandle(), fullScreen, used);

    window_.GetScreenSize(screenWidth_, screenHeight_);
    if (screenWidth_ > 0 && screenHeight_ > 0)
        screenAspect_ = static_cast<float>(screenWidth_) / static_cast<float>(screenHeight_);

    window_.Show(maximized_ || fullScreen);
    if (fullScreen) window_.SetCursorVisible(false);

    if (h.initSound) h.initSound(window_.NativeHandle());

    if (!RestoreResources()) Fail("Initialization Failed.");

    int x = 0, y = 0;
    if (window_.GetCursorPos(x, y)) {
        mouseX_ = x;
        mouseY_ = y;
    }
}

void YFramework::DestroyFrameWindow() {
    const YFrameHooks& h = FrameHooks();
    if (h.releaseSound) h.releaseSound();
    if (RendererExists() && h.releaseDevice) h.releaseDevice();
    if (window_.IsOpen()) {
        window_.SetMouseCapture(false);
        window_.SetCursorVisible(true);
        window_.Destroy();
    }
}

bool YFramework::Run() {
    running_ = true;
    while (PumpOnce()) {}
    return false;
}

bool YFramework::PumpOnce() {
    // Every waiting message is handled before the next frame, each through the message switch (a
    // key pressed and released within one frame still reaches KeyDown and KeyUp), so a burst of
    // typing or key repeats never queues up behind the frames. A bound keeps a source that never
    // runs dry from holding off the frame for good.
    plat::Msg msg;
    bool handled = false;
    for (std::size_t n = 0; n < plat::MESSAGE_QUEUE_CAPACITY && plat::PeekMessage(msg); ++n) {
        if (msg.message == plat::WM_QUIT) {
            running_ = false;
            return false;
        }
        OnMessage(msg.message, msg.wParam, msg.lParam);
        handled = true;
    }
    if (!handled) Idle();
    FireTimers();
    TickFrame();
    return running_;
}

void YFramework::TickFrame() {
    if (!active_ || !Frame()) return;
    ++frameCount_;
    const uint32_t now = plat::TimeMs();
    const uint32_t elapsed = now - rateTime_;
    if (elapsed > 1000) {
        framesPerSecond_ = static_cast<float>(frameCount_) * 1000.0f / static_cast<float>(elapsed);
        rateTime_ = now;
        frameCount_ = 0;
    }
}

void YFramework::AddTimer(uint32_t id, uint32_t delayMs) {
    const uint32_t now = plat::TimeMs();
    timers_.push_back({id, now, now + delayMs});
}

void YFramework::FireTimers() {
    const uint32_t now = plat::TimeMs();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->due <= now) {
            const YTimerRecord record = *it;
            timers_.erase(it);
            Timer(record.id, plat::TimeMs() - record.start);
            return;
        }
    }
}

void YFramework::SetCursorPos(int x, int y) {
    mouseX_ = x;
    mouseY_ = y;
    if (window_.IsOpen()) window_.SetCursorPos(x, y);
}

plat::LRESULT YFramework::WindowProc(void* context, uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam) {
    YFramework* self = g_Framework ? g_Framework : static_cast<YFramework*>(context);
    return self ? self->OnMessage(message, wParam, lParam) : 0;
}

plat::LRESULT YFramework::OnMessage(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam) {
    using namespace plat;
    const YFrameHooks& h = FrameHooks();
    switch (message) {
        case WM_SIZE: {
            clientWidth_ = LoWord(static_cast<uintptr_t>(lParam));
            clientHeight_ = HiWord(static_cast<uintptr_t>(lParam));
            if (clientWidth_ != 0 && clientHeight_ != 0) {
                projectionAspect_ = (static_cast<float>(clientWidth_) / static_cast<float>(clientHeight_)) /
                                    screenAspect_ * (4.0f / 3.0f);
                active_ = true;
                maximized_ = window_.IsOpen() && window_.IsMaximized();
                if (RendererExists() && h.resetDevice) h.resetDevice();
                OnResize(clientWidth_, clientHeight_);
            } else {
                active_ = false;
            }
            return 0;
        }
        case WM_ACTIVATE:
            active_ = HiWord(wParam) == 0;
            if (h.setSoundAppActive) h.setSoundAppActive(active_);
            return 0;
        case WM_PAINT: TickFrame(); return DefWindowProc(message, wParam, lParam);
        case WM_CLOSE: Close(); return 0;
        case WM_GETMINMAXINFO:
            if (fullScreen_) return DefWindowProc(message, wParam, lParam);
            if (lParam) {
                auto* info = reinterpret_cast<MinMaxInfo*>(lParam);
                info->minTrackSize.x = frameExtraWidth_ + MIN_CLIENT_WIDTH;
                info->minTrackSize.y = frameExtraHeight_ + static_cast<int>(MIN_CLIENT_WIDTH / screenAspect_);
            }
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (wParam < 256) keys_[wParam] = 1;
            KeyDown(static_cast<int>(wParam));
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (wParam < 256) keys_[wParam] = 0;
            KeyUp(static_cast<int>(wParam));
            return 0;
        case WM_CHAR: Char(static_cast<int>(wParam)); return 0;
        case WM_DEADCHAR: DeadChar(static_cast<int>(wParam)); return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_SCREENSAVE || (wParam & 0xFFF0) == SC_MONITORPOWER) return 0;
            return DefWindowProc(message, wParam, lParam);
        case WM_MOUSEMOVE:
            mouseX_ = plat::MouseX(lParam);
            mouseY_ = plat::MouseY(lParam);
            MouseMove(mouseX_, mouseY_);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN: {
            const int button = message == WM_LBUTTONDOWN ? 1 : 2;
            if (window_.IsOpen()) window_.SetMouseCapture(true);
            mouseButtons_ |= 1u << (button - 1);
            mouseX_ = plat::MouseX(lParam);
            mouseY_ = plat::MouseY(lParam);
            MouseDown(button, mouseX_, mouseY_);
            return 0;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: {
            const int button = message == WM_LBUTTONUP ? 1 : 2;
            if (window_.IsOpen()) window_.SetMouseCapture(false);
            mouseButtons_ &= ~(1u << (button - 1));
            mouseX_ = plat::MouseX(lParam);
            mouseY_ = plat::MouseY(lParam);
            MouseUp(button, mouseX_, mouseY_);
            return 0;
        }
        case WM_MOUSEWHEEL: MouseWheel(plat::WheelDelta(wParam)); return 0;
        case WM_SIZING:
            if (fullScreen_ || !lParam) return DefWindowProc(message, wParam, lParam);
            {
                auto* r = reinterpret_cast<Rect*>(lParam);
                YRect rect{r->left, r->top, r->right, r->bottom};
                KeepAspectWhileSizing(rect, static_cast<int>(wParam), screenAspect_, frameExtraWidth_,
                                      frameExtraHeight_);
                r->left = rect.left;
                r->top = rect.top;
                r->right = rect.right;
                r->bottom = rect.bottom;
            }
            return 1;
        default: return DefWindowProc(message, wParam, lParam);
    }
}

bool IsKeyDown(int key) { return g_Framework && g_Framework->KeyState(key); }
