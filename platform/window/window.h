#pragma once
// The game's window over SDL2, and the source of its input messages.
//
// Input reaches the program as the messages of win_messages.h through PeekMessage
// (message_queue.h); what the layer does on the way:
//  - key presses give WM_KEYDOWN / WM_SYSKEYDOWN (F10, and keys pressed with Alt but without
//    Ctrl) with the generic virtual-key code (virtual_keys.h); releases give WM_KEYUP /
//    WM_SYSKEYUP. lParam: repeat count 1; in its high word KF_ALTDOWN on system keys with Alt
//    held, KF_REPEAT on auto-repeats and releases, KF_UP on releases.
//  - Backspace, Tab, Return (keypad Enter too) and Escape are followed by WM_CHAR 8, 9, 13 and 27
//    (auto-repeats too, not with Alt held); typed text gives one WM_CHAR per character in
//    Windows-1252 ('?' for characters it lacks; control characters only come from the keys).
//  - mouse moves give WM_MOUSEMOVE; of several moves waiting at once only the newest is kept.
//    Buttons give WM_L/R/MBUTTONDOWN/UP, the wheel WM_MOUSEWHEEL (WHEEL_DELTA per notch in the
//    high word of wParam). wParam holds the MK_* flags. Positions are back-buffer pixels packed
//    as SIGNED 16-bit words: read them with MouseX/MouseY. That includes the wheel's position.
//  - the close button and SIGINT/SIGTERM give WM_CLOSE; the window is never destroyed by them.
//  - size, minimise, maximise and restore give WM_SIZE (0 x 0 with SIZE_MINIMIZED); focus and
//    minimise changes give WM_ACTIVATE (low word WA_ACTIVE/WA_INACTIVE, high word non-zero
//    while minimised). Each is sent only when what it reports changed.
//  - exposure gives WM_PAINT (one waiting at most).
//
// Some messages are SENT: handed to the window procedure before the call that causes them returns,
// as the frameworks' set-up order needs:
//  - Show sends WM_GETMINMAXINFO (windowed; the minimum track size the procedure sets becomes the
//    window's minimum client size), then WM_SIZE and WM_ACTIVATE.
//  - when the user resizes a windowed, unmaximised window, WM_SIZING is sent with a pointer to the
//    new client rectangle (screen position, right/bottom exclusive) and the edge the size change
//    suggests (WMSZ_RIGHT, WMSZ_BOTTOM or WMSZ_BOTTOMRIGHT); a rectangle changed by the procedure
//    is applied to the window, and the WM_SIZE that follows reports it. The window's frame adds
//    nothing here: the rectangle is the client area.
// Without a procedure, WM_SIZE and WM_ACTIVATE are posted instead and the others are not made.
//
// Full screen: the window covers the desktop and the monitor keeps its mode; the back buffer has
// the size given at creation, which WM_SIZE and ClientWidth/Height report. Mouse positions are
// mapped into it through the letterbox of letterbox.h.
//
// One window at a time; main thread only.
#include <cstdint>

#include "platform/window/message_queue.h"
#include "platform/window/win_messages.h"

struct SDL_Window;
union SDL_Event;

namespace plat {

using WindowProc = LRESULT (*)(void* context, uint32_t message, WPARAM wParam, LPARAM lParam);

struct WindowDesc {
    const char* title = ""; // Windows-1252
    int width = 640;        // client size; in full screen the back buffer's (the mode's) size
    int height = 480;
    bool fullScreen = false;
    bool blankCursor = false;  // no cursor over the client area (the program draws its own)
    WindowProc proc = nullptr; // receives sent messages
    void* procContext = nullptr;
};

class Window {
public:
    Window() = default;
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Initialises SDL video and creates the window, hidden, with an OpenGL-capable surface.
    // False on failure (LastError tells why); also when another window is open.
    bool Create(const WindowDesc& desc);
    // Destroys the window. Keys held at that moment get their release messages; the size,
    // activation and paint messages of this window still waiting are dropped.
    void Destroy();
    bool IsOpen() const { return window_ != nullptr; }

    // Shows the window (maximised when asked and windowed), raises and focuses it; sends
    // WM_GETMINMAXINFO (windowed), WM_SIZE and WM_ACTIVATE.
    void Show(bool maximized);

    // The SDL_Window*, for the GPU layer to create its context on.
    void* NativeHandle() const { return window_; }

    bool IsFullScreen() const { return fullScreen_; }
    bool IsMaximized() const;
    int ClientWidth() const;
    int ClientHeight() const;

    // The screen's size as the program should see it: the desktop's, or in full screen the
    // mode's (the size the monitor would have been switched to).
    void GetScreenSize(int& width, int& height) const;

    // The mouse position in client (back-buffer) pixels; false when it cannot be read.
    bool GetCursorPos(int& x, int& y) const;
    // Moves the mouse to client (back-buffer) pixel x, y.
    void SetCursorPos(int x, int y);
    // Whether the cursor shows over the window: a state, not a count of hide requests.
    void SetCursorVisible(bool visible);
    bool CursorVisible() const { return cursorVisible_; }
    // Keeps mouse input coming while the mouse is outside the window (while a button is held).
    void SetMouseCapture(bool capture);

    // Why the last SDL call failed.
    static const char* LastError();

private:
    static void PumpThunk(void* self);
    void Pump();
    void Translate(const SDL_Event& e);
    void OnWindowEvent(int event, int data1, int data2);
    void OnSizeChanged(int width, int height);
    void OnKey(bool down, int scancode, int keycode, unsigned mod, bool repeat);
    void OnText(const char* utf8);
    void OnMouseMove(int x, int y, uint32_t sdlButtons);
    void OnMouseButton(bool down, int button, int x, int y);
    void OnMouseWheel(int x, int y, int delta);
    WPARAM MouseFlags(uint32_t mkButtons) const;
    Point ToBackBuffer(int x, int y) const;
    void ReportSize(bool send, bool force);
    void ReportActivation(bool send, bool force);
    LRESULT Deliver(bool send, uint32_t message, WPARAM wParam, LPARAM lParam);
    void ApplyCursor() const;

    SDL_Window* window_ = nullptr;
    uint32_t windowId_ = 0;
    bool fullScreen_ = false;
    bool blankCursor_ = false;
    bool cursorVisible_ = true;
    int modeWidth_ = 0; // full screen: the back buffer's size
    int modeHeight_ = 0;
    int clientWidth_ = 0; // the window's size as last reported by SDL
    int clientHeight_ = 0;
    WindowProc proc_ = nullptr;
    void* procContext_ = nullptr;

    bool minimized_ = false;
    bool focused_ = false;
    uint32_t buttons_ = 0; // MK_LBUTTON | MK_RBUTTON | MK_MBUTTON held

    // What the last WM_SIZE and WM_ACTIVATE said, to send them only on change.
    bool sizeReported_ = false;
    WPARAM reportedSizeKind_ = 0;
    int reportedWidth_ = 0;
    int reportedHeight_ = 0;
    bool activationReported_ = false;
    bool reportedFocused_ = false;
    bool reportedMinimized_ = false;

    // Resize bookkeeping: the size asked for after WM_SIZING, and the last size offered to it (a
    // window manager that insists on a size gets it rather than an endless exchange).
    int requestedWidth_ = -1;
    int requestedHeight_ = -1;
    int sizingWidth_ = -1;
    int sizingHeight_ = -1;
};

} // namespace plat
