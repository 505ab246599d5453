#include "platform/window/message_box.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/window/codepage.h"

namespace plat {
namespace {

bool IsSet(const char* value) { return value && *value; }

bool EqualsNoCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        const unsigned char ca = static_cast<unsigned char>(*a);
        const unsigned char cb = static_cast<unsigned char>(*b);
        const unsigned char la = (ca >= 'A' && ca <= 'Z') ? ca + 32 : ca;
        const unsigned char lb = (cb >= 'A' && cb <= 'Z') ? cb + 32 : cb;
        if (la != lb) return false;
    }
    return *a == *b;
}

Uint32 SdlIcon(uint32_t flags) {
    switch (flags & MB_ICONMASK) {
        case MB_ICONERROR: return SDL_MESSAGEBOX_ERROR;
        case MB_ICONEXCLAMATION: return SDL_MESSAGEBOX_WARNING;
        default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

} // namespace

bool MessageBoxesAllowed(const char* noMessageBox, const char* display, const char* waylandDisplay,
                         const char* videoDriver) {
    if (IsSet(noMessageBox) && std::strcmp(noMessageBox, "0") != 0) return false;
    if (IsSet(videoDriver) && (EqualsNoCase(videoDriver, "offscreen") || EqualsNoCase(videoDriver, "dummy"))) {
        return false;
    }
    return IsSet(display) || IsSet(waylandDisplay);
}

MessageBoxResult ShowMessageBox(const char* text, const char* caption, uint32_t flags) {
    const char* driver = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetCurrentVideoDriver() : nullptr;
    if (!driver) driver = std::getenv("SDL_VIDEODRIVER");
    if (!MessageBoxesAllowed(std::getenv("KORVELIN_NO_MESSAGEBOX"), std::getenv("DISPLAY"),
                             std::getenv("WAYLAND_DISPLAY"), driver)) {
        return MessageBoxResult::NotShown;
    }
    const std::string body = Cp1252ToUtf8(text ? text : "");
    const std::string title = Cp1252ToUtf8(caption ? caption : "");
    if (SDL_ShowSimpleMessageBox(SdlIcon(flags), title.c_str(), body.c_str(), nullptr) != 0) {
        return MessageBoxResult::Failed;
    }
    return MessageBoxResult::Confirmed;
}

} // namespace plat
