#include "platform/window/sdl_video.h"

#include <SDL.h>

#include "platform/window/display_lost.h"
#include "platform/window/interrupt_signals.h"

namespace plat {

bool AcquireVideo() {
    // Closing the window must reach the game as its close message only.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // SIGINT and SIGTERM are the layer's own (interrupt_signals.h): they must survive SDL being
    // shut down and started again.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    WatchInterruptSignals();
    // A click that activates the window is also a click in it, as the game expects.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // While a button is held the mouse stays captured, so a drag that leaves the window goes on
    // reporting positions (outside the client area, negative left and above).
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    WatchDisplayConnection();
    return true;
}

void ReleaseVideo() {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    // With nothing of SDL left in use, let it free what it keeps process-wide (its D-Bus
    // connection among them); the next AcquireVideo starts it again.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

} // namespace plat
