#include "platform/window/window.h"

#include <SDL.h>

#include <string>

#include "platform/window/codepage.h"
#include "platform/window/letterbox.h"
#include "platform/window/sdl_video.h"

namespace plat {
namespace {

Window* g_openWindow = nullptr;

} // namespace

Window::~Window() { Destroy(); }

const char* Window::LastError() { return SDL_GetError(); }

bool Window::Create(const WindowDesc& desc) {
    Destroy();
    if (g_openWindow) {
        SDL_SetError("another window is open");
        return false;
    }
    if (desc.width <= 0 || desc.height <= 0) {
        SDL_SetError("invalid window size %dx%d", desc.width, desc.height);
        return false;
    }
    if (!AcquireVideo()) return false;

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    flags |= desc.fullScreen ? (SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS) : SDL_WINDOW_RESIZABLE;
    const std::string title = Cp1252ToUtf8(desc.title ? desc.title : "");
    // Full screen starts as a window over the whole desktop. Without a window manager nobody
    // resizes a full-screen window, yet SDL reports the desktop's size for it from then on; a
    // window made at the mode's size would show only a corner of the scaled picture and take
    // the mouse at the wrong place.
    int x = SDL_WINDOWPOS_UNDEFINED, y = SDL_WINDOWPOS_UNDEFINED, width = desc.width, height = desc.height;
    SDL_Rect desktop;
    if (desc.fullScreen && SDL_GetDisplayBounds(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
        x = desktop.x;
        y = desktop.y;
        width = desktop.w;
        height = desktop.h;
    }
    window_ = SDL_CreateWindow(title.c_str(), x, y, width, height, flags);
    if (!window_) {
        ReleaseVideo();
        return false;
    }

    windowId_ = SDL_GetWindowID(window_);
    fullScreen_ = desc.fullScreen;
    blankCursor_ = desc.blankCursor;
    modeWidth_ = desc.width;
    modeHeight_ = desc.height;
    SDL_GetWindowSize(window_, &clientWidth_, &clientHeight_);
    proc_ = desc.proc;
    procContext_ = desc.procContext;
    minimized_ = false;
    focused_ = false;
    buttons_ = 0;
    sizeReported_ = false;
    activationReported_ = false;
    requestedWidth_ = requestedHeight_ = -1;
    sizingWidth_ = sizingHeight_ = -1;

    // The game runs unattended for long stretches (demo, splash show) and refused the screen
    // saver; SDL asks for that by default, this makes it independent of hints.
    SDL_DisableScreenSaver();
    SDL_StartTextInput();

    g_openWindow = this;
    SetMessageSource(&Window::PumpThunk, this);
    ApplyCursor();
    return true;
}

void Window::Destroy() {
    if (!window_) return;
    SDL_CaptureMouse(SDL_FALSE);
    SDL_ShowCursor(SDL_ENABLE);
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    // Losing the window releases every key SDL saw held; translate those releases now, before
    // SDL's queue goes with the video subsystem, so no key stays down in the program's tables.
    Pump();
    if (g_openWindow == this) {
        g_openWindow = nullptr;
        SetMessageSource(nullptr, nullptr);
    }
    DiscardMessages(WM_SIZE);
    DiscardMessages(WM_ACTIVATE);
    DiscardMessages(WM_PAINT);
    windowId_ = 0;
    ReleaseVideo();
}

void Window::Show(bool maximized) {
    if (!window_) return;
    SDL_ShowWindow(window_);
    if (maximized && !fullScreen_) SDL_MaximizeWindow(window_);
    SDL_RaiseWindow(window_);
    SDL_GetWindowSize(window_, &clientWidth_, &clientHeight_);

    if (!fullScreen_ && proc_) {
        MinMaxInfo info;
        proc_(procContext_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        if (info.minTrackSize.x > 0 && info.minTrackSize.y > 0) {
            SDL_SetWindowMinimumSize(window_, info.minTrackSize.x, info.minTrackSize.y);
        }
    }
    minimized_ = false;
    focused_ = true;
    ReportSize(true, true);
    ReportActivation(true, true);
}

bool Window::IsMaximized() const {
    return window_ && !fullScreen_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) != 0;
}

int Window::ClientWidth() const { return fullScreen_ ? modeWidth_ : clientWidth_; }
int Window::ClientHeight() const { return fullScreen_ ? modeHeight_ : clientHeight_; }

void Window::GetScreenSize(int& width, int& height) const {
    if (window_ && fullScreen_) {
        width = modeWidth_;
        height = modeHeight_;
        return;
    }
    width = height = 0;
    VideoScope video;
    if (!video.Ok()) return;
    const int display = window_ ? SDL_GetWindowDisplayIndex(window_) : 0;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &mode) == 0) {
        width = mode.w;
        height = mode.h;
    }
}

Point Window::ToBackBuffer(int x, int y) const {
    if (!window_ || !fullScreen_) return Point{x, y};
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    return WindowToBackBuffer(FitKeepingAspect(modeWidth_, modeHeight_, w, h), modeWidth_, modeHeight_, x, y);
}

bool Window::GetCursorPos(int& x, int& y) const {
    if (!window_) return false;
    int gx = 0, gy = 0, wx = 0, wy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    SDL_GetWindowPosition(window_, &wx, &wy);
    const Point p = ToBackBuffer(gx - wx, gy - wy);
    x = p.x;
    y = p.y;
    return true;
}

void Window::SetCursorPos(int x, int y) {
    if (!window_) return;
    Point p{x, y};
    if (fullScreen_) {
        int w = 0, h = 0;
        SDL_GetWindowSize(window_, &w, &h);
        p = BackBufferToWindow(FitKeepingAspect(modeWidth_, modeHeight_, w, h), modeWidth_, modeHeight_, x, y);
    }
    SDL_WarpMouseInWindow(window_, p.x, p.y);
}

void Window::SetCursorVisible(bool visible) {
    cursorVisible_ = visible;
    ApplyCursor();
}

void Window::ApplyCursor() const {
    if (window_) SDL_ShowCursor(cursorVisible_ && !blankCursor_ ? SDL_ENABLE : SDL_DISABLE);
}

void Window::SetMouseCapture(bool capture) {
    if (window_) SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}

} // namespace plat
