#include "platform/window/virtual_keys.h"

#include <gtest/gtest.h>

#include <SDL_keycode.h>
#include <SDL_scancode.h>

#include "platform/window/win_messages.h"

namespace {

struct KeyCase {
    const char* what;
    int scancode;
    int keycode;
    bool numLock;
    int expected;
};

const KeyCase kKeyCases[] = {
    {"letter, US layout", SDL_SCANCODE_A, SDLK_a, false, 'A'},
    {"letter follows the layout (French A on the Q key)", SDL_SCANCODE_Q, SDLK_a, false, 'A'},
    {"letter on a punctuation position (French M)", SDL_SCANCODE_SEMICOLON, SDLK_m, false, 'M'},
    {"non-Latin layout falls back to the position", SDL_SCANCODE_F, 0x0430, false, 'F'},
    {"digit", SDL_SCANCODE_1, SDLK_1, false, '1'},
    {"digit by position (French '&' key)", SDL_SCANCODE_1, SDLK_AMPERSAND, false, '1'},
    {"zero", SDL_SCANCODE_0, SDLK_0, false, '0'},
    {"key left of 1, US", SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE, false, plat::VK_OEM_3},
    {"key left of 1, German ('^')", SDL_SCANCODE_GRAVE, SDLK_CARET, false, plat::VK_OEM_3},
    {"F1", SDL_SCANCODE_F1, SDLK_F1, false, plat::VK_F1},
    {"F10", SDL_SCANCODE_F10, SDLK_F10, false, 0x79},
    {"F12", SDL_SCANCODE_F12, SDLK_F12, false, plat::VK_F12},
    {"left Shift", SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, false, 16},
    {"right Shift", SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, false, 16},
    {"left Ctrl", SDL_SCANCODE_LCTRL, SDLK_LCTRL, false, 17},
    {"right Ctrl", SDL_SCANCODE_RCTRL, SDLK_RCTRL, false, 17},
    {"left Alt", SDL_SCANCODE_LALT, SDLK_LALT, false, 18},
    {"right Alt", SDL_SCANCODE_RALT, SDLK_RALT, false, 18},
    {"Return", SDL_SCANCODE_RETURN, SDLK_RETURN, false, 13},
    {"keypad Enter", SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, false, 13},
    {"Backspace", SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, false, 8},
    {"Tab", SDL_SCANCODE_TAB, SDLK_TAB, false, 9},
    {"Escape", SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, false, 27},
    {"Space", SDL_SCANCODE_SPACE, SDLK_SPACE, false, 0x20},
    {"Page Up", SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, false, 33},
    {"Page Down", SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN, false, 34},
    {"End", SDL_SCANCODE_END, SDLK_END, false, 0x23},
    {"Home", SDL_SCANCODE_HOME, SDLK_HOME, false, 0x24},
    {"Left", SDL_SCANCODE_LEFT, SDLK_LEFT, false, 37},
    {"Up", SDL_SCANCODE_UP, SDLK_UP, false, 38},
    {"Right", SDL_SCANCODE_RIGHT, SDLK_RIGHT, false, 39},
    {"Down", SDL_SCANCODE_DOWN, SDLK_DOWN, false, 40},
    {"Insert", SDL_SCANCODE_INSERT, SDLK_INSERT, false, 45},
    {"Delete", SDL_SCANCODE_DELETE, SDLK_DELETE, false, 0x2E},
    {"keypad 0 with Num Lock", SDL_SCANCODE_KP_0, SDLK_KP_0, true, plat::VK_NUMPAD0},
    {"keypad 0 without Num Lock is Insert", SDL_SCANCODE_KP_0, SDLK_KP_0, false, plat::VK_INSERT},
    {"keypad 8 without Num Lock is Up", SDL_SCANCODE_KP_8, SDLK_KP_8, false, plat::VK_UP},
    {"keypad point with Num Lock", SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, true, plat::VK_DECIMAL},
    {"keypad point without Num Lock is Delete", SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, false, plat::VK_DELETE},
    {"keypad plus", SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, false, plat::VK_ADD},
    {"semicolon", SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, false, 0xBA},
    {"slash", SDL_SCANCODE_SLASH, SDLK_SLASH, false, 0xBF},
    {"left bracket", SDL_SCANCODE_LEFTBRACKET, SDLK_LEFTBRACKET, false, 0xDB},
    {"quote", SDL_SCANCODE_APOSTROPHE, SDLK_QUOTE, false, 0xDE},
    {"comma follows the layout (French ',' on the M key)", SDL_SCANCODE_M, SDLK_COMMA, false, 0xBC},
    {"non-US punctuation falls back to the position (German sharp s)", SDL_SCANCODE_MINUS, 0xDF, false, 0xBD},
    {"ISO key beside left Shift", SDL_SCANCODE_NONUSBACKSLASH, SDLK_LESS, false, 0xE2},
    {"key without a code", SDL_SCANCODE_MUTE, SDLK_MUTE, false, 0},
};

TEST(VirtualKeys, MapsEveryKeyTheGameNames) {
    for (const KeyCase& c : kKeyCases) {
        EXPECT_EQ(plat::VirtualKeyFromSdl(c.scancode, c.keycode, c.numLock), c.expected) << c.what;
    }
}

} // namespace
