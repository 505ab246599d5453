#pragma once
// Modal message boxes with one OK button.
//
// A box no one can answer must not stop the program: without an interactive display (neither
// DISPLAY nor WAYLAND_DISPLAY set, SDL's offscreen or dummy video driver chosen), or when the
// environment sets KORVELIN_NO_MESSAGEBOX to anything but "" or "0" (tests and CI do), no box is
// shown and the call returns at once as if OK had been pressed. The platform layer has no log;
// the caller learns from the result that the box was not seen and logs its text.
#include <cstdint>

namespace plat {

// Icon flags, with the values of the system the game was written for.
constexpr uint32_t MB_OK = 0x00;
constexpr uint32_t MB_ICONERROR = 0x10; // also called hand / stop
constexpr uint32_t MB_ICONQUESTION = 0x20;
constexpr uint32_t MB_ICONEXCLAMATION = 0x30; // also called warning
constexpr uint32_t MB_ICONINFORMATION = 0x40; // also called asterisk
constexpr uint32_t MB_ICONMASK = 0xF0;

enum class MessageBoxResult {
    Confirmed, // shown, and the user closed it
    NotShown,  // no interactive display: not shown, treated as confirmed
    Failed,    // the box could not be shown (SDL's error); treated as confirmed
};

// Shows `text` under `caption` (both Windows-1252) with the icon of `flags`, and waits for the
// user. Every result means "go on as confirmed"; only Confirmed means someone saw it.
MessageBoxResult ShowMessageBox(const char* text, const char* caption, uint32_t flags);

// Whether boxes can be shown, from the environment values named above (nullptr = not set) and
// the name of SDL's video driver (the SDL_VIDEODRIVER setting, or the driver in use).
bool MessageBoxesAllowed(const char* noMessageBox, const char* display, const char* waylandDisplay,
                         const char* videoDriver);

} // namespace plat
