#include "platform/window/display_lost.h"

#include <SDL.h>
#include <unistd.h>

#include <cstring>

#if KORVELIN_HAVE_X11
#include <X11/Xlib.h>
#endif

namespace plat {
namespace {

DisplayLostHandler g_handler = nullptr;
bool g_reporting = false;

#if KORVELIN_HAVE_X11
int OnXConnectionLost(Display*) {
    // The X library ends the process when this returns; end it here, after the handler, without
    // the destructors that would talk to the lost display.
    if (!g_reporting) {
        g_reporting = true;
        if (g_handler) g_handler();
    }
    ::_exit(DISPLAY_LOST_EXIT_CODE);
}
#endif

} // namespace

void SetDisplayLostHandler(DisplayLostHandler handler) { g_handler = handler; }

void WatchDisplayConnection() {
#if KORVELIN_HAVE_X11
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && std::strcmp(driver, "x11") == 0) XSetIOErrorHandler(&OnXConnectionLost);
#endif
}

} // namespace plat
