#include "platform/window/clipboard.h"

#include <SDL.h>

#include "platform/window/codepage.h"
#include "platform/window/sdl_video.h"

namespace plat {

bool GetClipboardText(std::string& out) {
    out.clear();
    VideoScope video;
    if (!video.Ok() || !SDL_HasClipboardText()) return false;
    char* text = SDL_GetClipboardText();
    if (!text) return false;
    out = Utf8ToCp1252(text);
    SDL_free(text);
    return !out.empty();
}

bool SetClipboardText(std::string_view cp1252) {
    VideoScope video;
    if (!video.Ok()) return false;
    return SDL_SetClipboardText(Cp1252ToUtf8(cp1252).c_str()) == 0;
}

} // namespace plat
