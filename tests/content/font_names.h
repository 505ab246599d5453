#pragma once
// Every font name the program asks for with FindFont. A name that no font file defines gives an
// empty font, and its text is silently invisible, so the shipped "data\fonts.yml" must define each
// of them. Add a name here when code starts looking up a new one.
#include <array>
#include <string_view>

namespace content {

inline constexpr std::array<std::string_view, 4> FONT_NAMES_USED_BY_CODE = {
    "sysfont",   // console, frame-rate text, editor status lines
    "default",   // the page reader's default text style and every widget's initial font
    "mainfont",  // the in-game HUD
    "billboard", // score and damage numbers in the scene, level numbers in the level picker
};

} // namespace content
