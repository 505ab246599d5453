#pragma once
// The application frame: owns the window, turns window messages into input operations, runs the
// message loop with a frame per pass, keeps a list of timers and counts frames per second. The
// game and the editor derive from it and override what they need.
#include <cstdint>
#include <list>
#include <string>

#include "core/video_mode.h"
#include "platform/window/win_messages.h"
#include "platform/window/window.h"

enum class YCursor { None, Arrow }; // None: the program draws its own cursor
enum class YIcon { Default };

class YFramework {
public:
    YFramework();
    virtual plat::LRESULT OnMessage(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam);
    virtual ~YFramework();
    virtual void Quit();
    virtual bool RestoreResources();
    virtual void ReleaseResources();
    virtual void OnResize(int width, int height);
    virtual bool Frame();
    virtual void Idle();
    virtual void Close();
    virtual void MouseMove(int x, int y);
    virtual void MouseWheel(int delta);
    virtual void MouseDown(int button, int x, int y);
    virtual void MouseUp(int button, int x, int y);
    virtual void KeyDown(int key);
    virtual void KeyUp(int key);
    virtual void Char(int code);
    virtual void DeadChar(int code);
    virtual void Timer(uint32_t id, uint32_t elapsed);
    virtual YIcon GetIcon();
    virtual YCursor GetCursor();

    // A window of the client size asked for, fitted to the screen (window_sizing.h).
    void CreateWindowed(const char* title, int width, int height);
    // Full screen at a mode resolved from the configuration (render/video_mode.h): the back buffer
    // takes its size, the device its depth and refresh and its place in the renderer's list.
    void CreateFullscreen(const char* title, const YVideoMode& mode);
    // Windowed: the mode's width and height are the client size asked for.
    void CreateFrameWindow(const char* title, const YVideoMode& mode, bool fullScreen);
    void DestroyFrameWindow();

    bool Run();
    bool PumpOnce();
    void TickFrame();
    void FireTimers();
    void SetCursorPos(int x, int y);

    // Timers: no part of the game adds one, but the list and its firing rule stand.
    void AddTimer(uint32_t id, uint32_t delayMs);

    // The full-screen mode as the start-up resolved it from the configuration.
    void SetVideoMode(const YVideoMode& mode) { videoMode_ = mode; }
    const YVideoMode& VideoMode() const { return videoMode_; }

    bool IsFullScreen() const { return fullScreen_; }
    bool IsMaximized() const { return maximized_; }
    bool IsActive() const { return active_; }
    bool IsRunning() const { return running_; }
    uint32_t MouseButtons() const { return mouseButtons_; }
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    int MouseX() const { return mouseX_; }
    int MouseY() const { return mouseY_; }
    int ScreenWidth() const { return screenWidth_; }
    int ScreenHeight() const { return screenHeight_; }
    float FramesPerSecond() const { return framesPerSecond_; }
    float ScreenAspect() const { return screenAspect_; }
    float ProjectionAspect() const { return projectionAspect_; }
    bool KeyState(int key) const { return key >= 0 && key < 256 && keys_[key] != 0; }
    void* WindowHandle() const { return window_.NativeHandle(); }
    plat::Window& Window() { return window_; }

    static plat::LRESULT WindowProc(void* context, uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam);

protected:
    bool maximized_ = false; // subclasses set it from the configuration before creating the window

private:
    struct YTimerRecord {
        uint32_t id;
        uint32_t start;
        uint32_t due;
    };

    void Fail(const char* text);

    std::list<YTimerRecord> timers_;
    YVideoMode videoMode_ = DefaultVideoMode();
    bool fullScreen_ = false;
    bool active_ = true;
    bool running_ = false;
    uint8_t keys_[256] = {};
    uint32_t mouseButtons_ = 0;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int frameExtraWidth_ = 0;
    int frameExtraHeight_ = 0;
    int mouseX_ = 0;
    int mouseY_ = 0;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    uint32_t frameCount_ = 0;
    uint32_t rateTime_ = 0;
    float framesPerSecond_ = 0.0f;
    float screenAspect_ = 4.0f / 3.0f;
    float projectionAspect_ = 0.0f;
    plat::Window window_;
};

// The running framework; set by its constructor.
extern YFramework* g_Framework;

// Whether a key is held, by virtual-key code.
bool IsKeyDown(int key);
