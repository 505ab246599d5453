#pragma once
// Clipboard text, in the game's 8-bit code page (Windows-1252; see codepage.h). Edit fields paste
// from it one character at a time.
#include <string>
#include <string_view>

namespace plat {

// The clipboard's text, converted. False (out emptied) when there is no text or no clipboard.
bool GetClipboardText(std::string& out);

// Puts text on the clipboard. On X11 the text stays available while the window exists.
bool SetClipboardText(std::string_view cp1252);

} // namespace plat
