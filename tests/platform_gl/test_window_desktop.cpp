// A full-screen window under a bare X server (no window manager, as under Xvfb). Nobody there
// grows a full-screen window to the desktop, while SDL reports the desktop's size for it: a window
// left at the mode's size would show only part of the picture scaled for the desktop, and the
// mouse would be mapped through the wrong rectangle.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_syswm.h>

#include "platform/window/message_queue.h"
#include "platform/window/window.h"

#if __has_include(<X11/Xlib.h>)
#include <X11/Xlib.h>
#define TEST_HAVE_X11 1
#endif

namespace {

TEST(WindowDesktop, FullScreenWindowReallyCoversTheDesktop) {
#if TEST_HAVE_X11
    plat::ClearMessages();
    plat::Window window;
    plat::WindowDesc desc;
    desc.title = "Korvelin";
    desc.width = 640;
    desc.height = 400;
    desc.fullScreen = true;
    ASSERT_TRUE(window.Create(desc)) << plat::Window::LastError();
    window.Show(false);
    SDL_Window* sdl = static_cast<SDL_Window*>(window.NativeHandle());
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(sdl, &info) || info.subsystem != SDL_SYSWM_X11) GTEST_SKIP() << "not an X11 window";
    SDL_Rect desktop;
    ASSERT_EQ(SDL_GetDisplayBounds(0, &desktop), 0) << SDL_GetError();
    if (desktop.w == desc.width && desktop.h == desc.height) GTEST_SKIP() << "the desktop has the mode's size";

    XSync(info.info.x11.display, False);
    ::Window root = 0;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    ASSERT_TRUE(
        XGetGeometry(info.info.x11.display, info.info.x11.window, &root, &x, &y, &width, &height, &border, &depth));
    EXPECT_EQ(static_cast<int>(width), desktop.w);
    EXPECT_EQ(static_cast<int>(height), desktop.h);
    int sw = 0, sh = 0;
    SDL_GetWindowSize(sdl, &sw, &sh);
    EXPECT_EQ(sw, static_cast<int>(width)) << "SDL and the X server agree on the window's size";
    EXPECT_EQ(sh, static_cast<int>(height));
    EXPECT_EQ(window.ClientWidth(), desc.width) << "the program still sees the mode's size";
    EXPECT_EQ(window.ClientHeight(), desc.height);
    window.Destroy();
    plat::ClearMessages();
#else
    GTEST_SKIP() << "built without X11";
#endif
}

} // namespace
