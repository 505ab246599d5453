// The SDL window and its messages. Input is injected as SDL events into SDL's own queue, so it
// takes the same path as real input. Most tests keep the window hidden: a hidden window gets no
// focus, pointer or exposure events of its own that could mix with the injected ones.
#include "platform/window/window.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/window/clipboard.h"
#include "platform/window/display.h"
#include "platform/window/message_queue.h"
#include "platform/window/win_messages.h"

namespace {

using namespace plat;

struct Expected {
    uint32_t message;
    WPARAM wParam;
    LPARAM lParam;
};

bool operator==(const Msg& a, const Expected& b) {
    return a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam;
}

std::string Describe(const std::vector<Msg>& msgs) {
    std::string s;
    char buf[64];
    for (const Msg& m : msgs) {
        std::snprintf(buf, sizeof buf, "{0x%x, 0x%lx, 0x%lx} ", m.message, static_cast<unsigned long>(m.wParam),
                      static_cast<unsigned long>(m.lParam));
        s += buf;
    }
    return s;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { ClearMessages(); }
    void TearDown() override {
        window_.Destroy();
        ClearMessages();
    }

    static LRESULT Proc(void* context, uint32_t message, WPARAM wParam, LPARAM lParam) {
        auto* self = static_cast<WindowTest*>(context);
        self->sent_.push_back(Msg{message, wParam, lParam});
        if (message == WM_GETMINMAXINFO) {
            reinterpret_cast<MinMaxInfo*>(lParam)->minTrackSize = Point{320, 240};
        } else if (message == WM_SIZING) {
            // Keep 4:3 by moving the bottom edge, as the frameworks do for a dragged side.
            Rect* r = reinterpret_cast<Rect*>(lParam);
            self->sizingRect_ = *r;
            r->bottom = r->top + (r->right - r->left) * 3 / 4;
        }
        return 0;
    }

    void Open(bool withProc = true, bool fullScreen = false, int width = 640, int height = 480) {
        WindowDesc desc;
        desc.title = "Korvelin";
        desc.width = width;
        desc.height = height;
        desc.fullScreen = fullScreen;
        desc.proc = withProc ? &WindowTest::Proc : nullptr;
        desc.procContext = this;
        ASSERT_TRUE(window_.Create(desc)) << Window::LastError();
        Drain();
        sent_.clear();
    }

    static std::vector<Msg> Drain() {
        std::vector<Msg> out;
        Msg m;
        while (PeekMessage(m)) out.push_back(m);
        return out;
    }

    static std::vector<Msg> Only(const std::vector<Msg>& msgs, std::initializer_list<uint32_t> ids) {
        std::vector<Msg> out;
        for (const Msg& m : msgs) {
            for (uint32_t id : ids) {
                if (m.message == id) out.push_back(m);
            }
        }
        return out;
    }

    uint32_t Id() const { return SDL_GetWindowID(static_cast<SDL_Window*>(window_.NativeHandle())); }

    void PushKey(bool down, SDL_Scancode sc, SDL_Keycode key, Uint16 mod, bool repeat) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.windowID = Id();
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat ? 1 : 0;
        e.key.keysym.scancode = sc;
        e.key.keysym.sym = key;
        e.key.keysym.mod = mod;
        ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
    }

    void PushText(const char* utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        e.text.windowID = Id();
        std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
        ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
    }

    void PushWindowEvent(SDL_WindowEventID event, int data1 = 0, int data2 = 0) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = Id();
        e.window.event = event;
        e.window.data1 = data1;
        e.window.data2 = data2;
        ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
    }

    Window window_;
    std::vector<Msg> sent_;
    Rect sizingRect_;
};

TEST_F(WindowTest, ShowSendsMinimumSizeThenSizeThenActivation) {
    Open();
    window_.Show(false);
    ASSERT_GE(sent_.size(), 3u) << Describe(sent_);
    EXPECT_EQ(sent_[0].message, WM_GETMINMAXINFO);
    EXPECT_TRUE(sent_[1] == (Expected{WM_SIZE, SIZE_RESTORED, MakeLParam(640, 480)})) << Describe(sent_);
    EXPECT_TRUE(sent_[2] == (Expected{WM_ACTIVATE, WA_ACTIVE, 0})) << Describe(sent_);
    int minW = 0, minH = 0;
    SDL_GetWindowMinimumSize(static_cast<SDL_Window*>(window_.NativeHandle()), &minW, &minH);
    EXPECT_EQ(minW, 320);
    EXPECT_EQ(minH, 240);
    EXPECT_EQ(window_.ClientWidth(), 640);
    EXPECT_EQ(window_.ClientHeight(), 480);
    EXPECT_TRUE(SDL_GetWindowFlags(static_cast<SDL_Window*>(window_.NativeHandle())) & SDL_WINDOW_OPENGL);
}

TEST_F(WindowTest, WithoutAProcedureShowPostsSizeAndActivation) {
    Open(false);
    window_.Show(false);
    const std::vector<Msg> got = Only(Drain(), {WM_SIZE, WM_ACTIVATE});
    ASSERT_GE(got.size(), 2u) << Describe(got);
    EXPECT_TRUE(got[0] == (Expected{WM_SIZE, SIZE_RESTORED, MakeLParam(640, 480)})) << Describe(got);
    EXPECT_TRUE(got[1] == (Expected{WM_ACTIVATE, WA_ACTIVE, 0})) << Describe(got);
}

TEST_F(WindowTest, KeyPressesGiveKeyMessagesAndTheCharactersKeysType) {
    constexpr LPARAM kDown = 1;
    constexpr LPARAM kRepeat = 1 | (1 << 30);
    constexpr LPARAM kUp = static_cast<LPARAM>(1u | (1u << 30) | (1u << 31));
    constexpr LPARAM kAltDown = 1 | (1 << 29);
    struct Case {
        const char* what;
        bool down;
        SDL_Scancode scancode;
        SDL_Keycode keycode;
        Uint16 mod;
        bool repeat;
        std::vector<Expected> expected;
    };
    const Case cases[] = {
        {"Return", true, SDL_SCANCODE_RETURN, SDLK_RETURN, 0, false, {{WM_KEYDOWN, 13, kDown}, {WM_CHAR, 13, kDown}}},
        {"Return auto-repeat",
         true,
         SDL_SCANCODE_RETURN,
         SDLK_RETURN,
         0,
         true,
         {{WM_KEYDOWN, 13, kRepeat}, {WM_CHAR, 13, kRepeat}}},
        {"Return released", false, SDL_SCANCODE_RETURN, SDLK_RETURN, 0, false, {{WM_KEYUP, 13, kUp}}},
        {"keypad Enter",
         true,
         SDL_SCANCODE_KP_ENTER,
         SDLK_KP_ENTER,
         0,
         false,
         {{WM_KEYDOWN, 13, kDown}, {WM_CHAR, 13, kDown}}},
        {"Backspace",
         true,
         SDL_SCANCODE_BACKSPACE,
         SDLK_BACKSPACE,
         0,
         false,
         {{WM_KEYDOWN, 8, kDown}, {WM_CHAR, 8, kDown}}},
        {"Tab", true, SDL_SCANCODE_TAB, SDLK_TAB, 0, false, {{WM_KEYDOWN, 9, kDown}, {WM_CHAR, 9, kDown}}},
        {"Escape", true, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0, false, {{WM_KEYDOWN, 27, kDown}, {WM_CHAR, 27, kDown}}},
        {"a letter types through text input only", true, SDL_SCANCODE_A, SDLK_a, 0, false, {{WM_KEYDOWN, 'A', kDown}}},
        {"F10 is a system key", true, SDL_SCANCODE_F10, SDLK_F10, 0, false, {{WM_SYSKEYDOWN, 0x79, kDown}}},
        {"F10 released", false, SDL_SCANCODE_F10, SDLK_F10, 0, false, {{WM_SYSKEYUP, 0x79, kUp}}},
        {"Alt itself", true, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT, false, {{WM_SYSKEYDOWN, 18, kAltDown}}},
        {"Alt+Return types nothing",
         true,
         SDL_SCANCODE_RETURN,
         SDLK_RETURN,
         KMOD_LALT,
         false,
         {{WM_SYSKEYDOWN, 13, kAltDown}}},
        {"Ctrl+Alt+key is an ordinary key",
         true,
         SDL_SCANCODE_E,
         SDLK_e,
         KMOD_LCTRL | KMOD_LALT,
         false,
         {{WM_KEYDOWN, 'E', kDown}}},
        {"key left of 1", true, SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE, 0, false, {{WM_KEYDOWN, 0xC0, kDown}}},
        {"right Shift", true, SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, KMOD_RSHIFT, false, {{WM_KEYDOWN, 16, kDown}}},
        {"key without a code", true, SDL_SCANCODE_MUTE, SDLK_MUTE, 0, false, {}},
    };
    Open();
    for (const Case& c : cases) {
        PushKey(c.down, c.scancode, c.keycode, c.mod, c.repeat);
        const std::vector<Msg> got =
            Only(Drain(), {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_CHAR, WM_SYSCHAR, WM_DEADCHAR});
        ASSERT_EQ(got.size(), c.expected.size()) << c.what << ": " << Describe(got);
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_TRUE(got[i] == c.expected[i]) << c.what << ": " << Describe(got);
        }
    }
}

TEST_F(WindowTest, TypedTextArrivesAsWindows1252Characters) {
    Open();
    PushText("a\xE2\x82\xAC\xC3\xA9\xE4\xB8\xAD"); // a, euro sign, e acute, a CJK character
    const std::vector<Msg> got = Only(Drain(), {WM_CHAR});
    ASSERT_EQ(got.size(), 4u) << Describe(got);
    EXPECT_EQ(got[0].wParam, static_cast<WPARAM>('a'));
    EXPECT_EQ(got[1].wParam, 0x80u);
    EXPECT_EQ(got[2].wParam, 0xE9u);
    EXPECT_EQ(got[3].wParam, static_cast<WPARAM>('?'));
}

TEST_F(WindowTest, MouseInputMergesMovesAndKeepsPositionsSigned) {
    struct Input {
        Uint32 type; // SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN/UP, SDL_MOUSEWHEEL
        int a;       // button, or wheel steps
        int x, y;
    };
    struct Case {
        const char* what;
        std::vector<Input> inputs;
        std::vector<Expected> expected;
    };
    const Case cases[] = {
        {"a burst of moves gives the newest",
         {{SDL_MOUSEMOTION, 0, 1, 2}, {SDL_MOUSEMOTION, 0, 5, 6}, {SDL_MOUSEMOTION, 0, 9, 10}},
         {{WM_MOUSEMOVE, 0, PackMousePos(9, 10)}}},
        {"a press keeps the move before it, in order",
         {{SDL_MOUSEMOTION, 0, 1, 2},
          {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 2},
          {SDL_MOUSEMOTION, 0, 3, 4},
          {SDL_MOUSEMOTION, 0, 7, 8}},
         {{WM_MOUSEMOVE, 0, PackMousePos(1, 2)},
          {WM_LBUTTONDOWN, MK_LBUTTON, PackMousePos(1, 2)},
          {WM_MOUSEMOVE, 0, PackMousePos(7, 8)}}},
        {"buttons held show in wParam",
         {{SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 5, 5},
          {SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 6, 6},
          {SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 7, 7}},
         {{WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, PackMousePos(5, 5)},
          {WM_LBUTTONUP, MK_RBUTTON, PackMousePos(6, 6)},
          {WM_RBUTTONUP, 0, PackMousePos(7, 7)}}},
        {"left of and above the window (captured) stays negative",
         {{SDL_MOUSEMOTION, 0, -15, -3}},
         {{WM_MOUSEMOVE, 0, PackMousePos(-15, -3)}}},
        {"middle button; side buttons give nothing",
         {{SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 2, 3},
          {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 2, 3},
          {SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 2, 3}},
         {{WM_MBUTTONDOWN, MK_MBUTTON, PackMousePos(2, 3)}, {WM_MBUTTONUP, 0, PackMousePos(2, 3)}}},
        {"wheel towards the user",
         {{SDL_MOUSEWHEEL, -1, 4, 4}},
         {{WM_MOUSEWHEEL, MakeWParam(0, static_cast<uint16_t>(-WHEEL_DELTA)), PackMousePos(4, 4)}}},
    };
    Open();
    // Pushed events do not change SDL's own button state; the motion events carry none here.
    for (const Case& c : cases) {
        for (const Input& in : c.inputs) {
            SDL_Event e{};
            e.type = in.type;
            if (in.type == SDL_MOUSEMOTION) {
                e.motion.windowID = Id();
                e.motion.x = in.x;
                e.motion.y = in.y;
            } else if (in.type == SDL_MOUSEWHEEL) {
                e.wheel.windowID = Id();
                e.wheel.y = in.a;
                e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
                e.wheel.mouseX = in.x;
                e.wheel.mouseY = in.y;
            } else {
                e.button.windowID = Id();
                e.button.button = static_cast<Uint8>(in.a);
                e.button.state = in.type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
                e.button.x = in.x;
                e.button.y = in.y;
            }
            ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
        }
        const std::vector<Msg> got = Only(Drain(), {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN,
                                                    WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MOUSEWHEEL});
        ASSERT_EQ(got.size(), c.expected.size()) << c.what << ": " << Describe(got);
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_TRUE(got[i] == c.expected[i]) << c.what << ": " << Describe(got);
        }
    }
}

TEST_F(WindowTest, CloseButtonQuitEventAndSigtermAllGiveClose) {
    Open();
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    EXPECT_EQ(Only(Drain(), {WM_CLOSE}).size(), 1u) << "close button";

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 1);
    EXPECT_EQ(Only(Drain(), {WM_CLOSE}).size(), 1u) << "quit event";

    // SIGTERM must reach the program as a close, never end it: SDL's handler must be in place.
    struct sigaction current {};
    ASSERT_EQ(sigaction(SIGTERM, nullptr, &current), 0);
    ASSERT_NE(current.sa_handler, SIG_DFL) << "SIGTERM would end the process";
    ASSERT_EQ(std::raise(SIGTERM), 0);
    EXPECT_EQ(Only(Drain(), {WM_CLOSE}).size(), 1u) << "SIGTERM";
    EXPECT_TRUE(window_.IsOpen()) << "closing is the program's decision";
}

TEST_F(WindowTest, MinimiseRestoreAndFocusReportOnlyChanges) {
    Open(false);
    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    std::vector<Msg> got = Only(Drain(), {WM_SIZE, WM_ACTIVATE});
    ASSERT_EQ(got.size(), 2u) << Describe(got);
    EXPECT_TRUE(got[0] == (Expected{WM_SIZE, SIZE_MINIMIZED, 0})) << Describe(got);
    EXPECT_EQ(got[1].message, WM_ACTIVATE);
    EXPECT_NE(HiWord(got[1].wParam), 0) << "minimised";

    PushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    got = Only(Drain(), {WM_SIZE, WM_ACTIVATE});
    ASSERT_EQ(got.size(), 2u) << Describe(got);
    EXPECT_TRUE(got[0] == (Expected{WM_SIZE, SIZE_RESTORED, MakeLParam(640, 480)})) << Describe(got);
    EXPECT_EQ(HiWord(got[1].wParam), 0);

    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    PushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480);
    got = Only(Drain(), {WM_SIZE, WM_ACTIVATE});
    ASSERT_EQ(got.size(), 1u) << Describe(got);
    EXPECT_TRUE(got[0] == (Expected{WM_ACTIVATE, WA_ACTIVE, 0})) << Describe(got);

    PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
    PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
    EXPECT_EQ(Only(Drain(), {WM_PAINT}).size(), 1u);
}

TEST_F(WindowTest, AUserResizeIsOfferedToTheProcedureWhichMayAdjustIt) {
    Open();
    PushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 480); // width dragged
    std::vector<Msg> got = Only(Drain(), {WM_SIZE});
    std::vector<Msg> sizing = Only(sent_, {WM_SIZING});
    ASSERT_EQ(sizing.size(), 1u);
    EXPECT_EQ(sizing[0].wParam, WMSZ_RIGHT);
    EXPECT_EQ(sizingRect_.right - sizingRect_.left, 800);
    EXPECT_EQ(sizingRect_.bottom - sizingRect_.top, 480);
    ASSERT_EQ(got.size(), 1u) << Describe(got);
    EXPECT_TRUE(got[0] == (Expected{WM_SIZE, SIZE_RESTORED, MakeLParam(800, 600)})) << Describe(got);
    EXPECT_EQ(window_.ClientHeight(), 600);

    // The window's answer to the adjustment changes nothing more.
    sent_.clear();
    PushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600);
    EXPECT_TRUE(Only(Drain(), {WM_SIZE}).empty());
    EXPECT_TRUE(Only(sent_, {WM_SIZING}).empty());

    // Both sides dragged.
    PushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 1000, 700);
    got = Only(Drain(), {WM_SIZE});
    sizing = Only(sent_, {WM_SIZING});
    ASSERT_EQ(sizing.size(), 1u);
    EXPECT_EQ(sizing[0].wParam, WMSZ_BOTTOMRIGHT);
    ASSERT_EQ(got.size(), 1u) << Describe(got);
    EXPECT_TRUE(got[0] == (Expected{WM_SIZE, SIZE_RESTORED, MakeLParam(1000, 750)})) << Describe(got);
}

TEST_F(WindowTest, FullScreenShowsTheModeSizeAndMapsTheMouseIntoIt) {
    Open(true, true, 800, 400);
    int ww = 0, wh = 0;
    SDL_GetWindowSize(static_cast<SDL_Window*>(window_.NativeHandle()), &ww, &wh);
    ASSERT_GT(ww, 0);
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = Id();
    e.motion.x = ww / 2;
    e.motion.y = wh / 2;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
    std::vector<Msg> got = Only(Drain(), {WM_MOUSEMOVE});
    ASSERT_EQ(got.size(), 1u);
    EXPECT_NEAR(MouseX(got[0].lParam), 400, 1) << "window " << ww << "x" << wh;
    EXPECT_NEAR(MouseY(got[0].lParam), 200, 1) << "window " << ww << "x" << wh;

    window_.Show(false);
    const std::vector<Msg> sizes = Only(sent_, {WM_SIZE});
    ASSERT_FALSE(sizes.empty());
    EXPECT_TRUE(sizes[0] == (Expected{WM_SIZE, SIZE_RESTORED, MakeLParam(800, 400)})) << Describe(sizes);
    EXPECT_TRUE(Only(sent_, {WM_GETMINMAXINFO}).empty()) << "full screen has no minimum size";
    int sw = 0, sh = 0;
    window_.GetScreenSize(sw, sh);
    EXPECT_EQ(sw, 800);
    EXPECT_EQ(sh, 400);
}

TEST_F(WindowTest, DestroyDropsWindowStateButKeepsInputAndQuit) {
    Open(false);
    window_.Show(false);
    PostMessage(WM_KEYUP, 'A', 0);
    PostQuitMessage(0);
    window_.Destroy();
    EXPECT_FALSE(window_.IsOpen());
    const std::vector<Msg> got = Drain();
    EXPECT_TRUE(Only(got, {WM_SIZE, WM_ACTIVATE, WM_PAINT}).empty()) << Describe(got);
    EXPECT_EQ(Only(got, {WM_KEYUP}).size(), 1u);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().message, WM_QUIT);
}

TEST_F(WindowTest, OneWindowAtATime) {
    Open();
    Window second;
    WindowDesc desc;
    EXPECT_FALSE(second.Create(desc));
    window_.Destroy();
    EXPECT_TRUE(second.Create(desc)) << Window::LastError();
}

TEST_F(WindowTest, DisplayModesAreListedInDeviceDepths) {
    const std::vector<DisplayMode> modes = GetDisplayModes();
    ASSERT_FALSE(modes.empty());
    for (const DisplayMode& m : modes) {
        EXPECT_TRUE(m.bitsPerPixel == 32 || m.bitsPerPixel == 16)
            << m.width << "x" << m.height << ":" << m.bitsPerPixel;
        EXPECT_GT(m.width, 0);
    }
    DisplayMode desktop;
    ASSERT_TRUE(GetDesktopMode(desktop));
    EXPECT_TRUE(desktop.bitsPerPixel == 32 || desktop.bitsPerPixel == 16);
    Open();
    int sw = 0, sh = 0;
    window_.GetScreenSize(sw, sh);
    EXPECT_EQ(sw, desktop.width);
    EXPECT_EQ(sh, desktop.height);
}

TEST_F(WindowTest, ClipboardTextRoundTripsInTheGamesCodePage) {
    Open();
    ASSERT_TRUE(SetClipboardText("Caf\xE9 \x80 5"));
    std::string text;
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text, "Caf\xE9 \x80 5");
}

} // namespace
