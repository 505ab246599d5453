#include "platform/window/virtual_keys.h"

#include <SDL_keycode.h>
#include <SDL_scancode.h>

#include "platform/window/win_messages.h"

namespace plat {
namespace {

// US punctuation characters and their codes.
uint8_t PunctuationKey(int ch) {
    switch (ch) {
        case ';': return VK_OEM_1;
        case '=': return VK_OEM_PLUS;
        case ',': return VK_OEM_COMMA;
        case '-': return VK_OEM_MINUS;
        case '.': return VK_OEM_PERIOD;
        case '/': return VK_OEM_2;
        case '`': return VK_OEM_3;
        case '[': return VK_OEM_4;
        case '\\': return VK_OEM_5;
        case ']': return VK_OEM_6;
        case '\'': return VK_OEM_7;
        default: return 0;
    }
}

// Punctuation keys by position on a US keyboard.
uint8_t PunctuationScancode(int sc) {
    switch (sc) {
        case SDL_SCANCODE_SEMICOLON: return VK_OEM_1;
        case SDL_SCANCODE_EQUALS: return VK_OEM_PLUS;
        case SDL_SCANCODE_COMMA: return VK_OEM_COMMA;
        case SDL_SCANCODE_MINUS: return VK_OEM_MINUS;
        case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD;
        case SDL_SCANCODE_SLASH: return VK_OEM_2;
        case SDL_SCANCODE_LEFTBRACKET: return VK_OEM_4;
        case SDL_SCANCODE_BACKSLASH: return VK_OEM_5;
        case SDL_SCANCODE_NONUSHASH: return VK_OEM_5;
        case SDL_SCANCODE_RIGHTBRACKET: return VK_OEM_6;
        case SDL_SCANCODE_APOSTROPHE: return VK_OEM_7;
        case SDL_SCANCODE_NONUSBACKSLASH: return VK_OEM_102;
        default: return 0;
    }
}

uint8_t KeypadKey(int sc, bool numLock) {
    // {with Num Lock, without}
    struct Pair {
        int scancode;
        uint8_t on;
        uint8_t off;
    };
    static constexpr Pair kPad[] = {
        {SDL_SCANCODE_KP_0, VK_NUMPAD0, VK_INSERT},      {SDL_SCANCODE_KP_1, VK_NUMPAD1, VK_END},
        {SDL_SCANCODE_KP_2, VK_NUMPAD2, VK_DOWN},        {SDL_SCANCODE_KP_3, VK_NUMPAD3, VK_NEXT},
        {SDL_SCANCODE_KP_4, VK_NUMPAD4, VK_LEFT},        {SDL_SCANCODE_KP_5, VK_NUMPAD5, VK_CLEAR},
        {SDL_SCANCODE_KP_6, VK_NUMPAD6, VK_RIGHT},       {SDL_SCANCODE_KP_7, VK_NUMPAD7, VK_HOME},
        {SDL_SCANCODE_KP_8, VK_NUMPAD8, VK_UP},          {SDL_SCANCODE_KP_9, VK_NUMPAD9, VK_PRIOR},
        {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, VK_DELETE},
    };
    for (const Pair& p : kPad) {
        if (p.scancode == sc) return numLock ? p.on : p.off;
    }
    switch (sc) {
        case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
        case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
        case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
        case SDL_SCANCODE_KP_PLUS: return VK_ADD;
        case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
        case SDL_SCANCODE_KP_COMMA: return VK_SEPARATOR;
        default: return 0;
    }
}

uint8_t FixedKey(int sc) {
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return static_cast<uint8_t>(VK_F1 + (sc - SDL_SCANCODE_F1));
    switch (sc) {
        case SDL_SCANCODE_BACKSPACE: return VK_BACK;
        case SDL_SCANCODE_TAB: return VK_TAB;
        case SDL_SCANCODE_RETURN: return VK_RETURN;
        case SDL_SCANCODE_RETURN2: return VK_RETURN;
        case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
        case SDL_SCANCODE_SPACE: return VK_SPACE;
        case SDL_SCANCODE_LSHIFT:
        case SDL_SCANCODE_RSHIFT: return VK_SHIFT;
        case SDL_SCANCODE_LCTRL:
        case SDL_SCANCODE_RCTRL: return VK_CONTROL;
        case SDL_SCANCODE_LALT:
        case SDL_SCANCODE_RALT: return VK_MENU;
        case SDL_SCANCODE_LGUI: return VK_LWIN;
        case SDL_SCANCODE_RGUI: return VK_RWIN;
        case SDL_SCANCODE_APPLICATION: return VK_APPS;
        case SDL_SCANCODE_PAUSE: return VK_PAUSE;
        case SDL_SCANCODE_CAPSLOCK: return VK_CAPITAL;
        case SDL_SCANCODE_PAGEUP: return VK_PRIOR;
        case SDL_SCANCODE_PAGEDOWN: return VK_NEXT;
        case SDL_SCANCODE_END: return VK_END;
        case SDL_SCANCODE_HOME: return VK_HOME;
        case SDL_SCANCODE_LEFT: return VK_LEFT;
        case SDL_SCANCODE_UP: return VK_UP;
        case SDL_SCANCODE_RIGHT: return VK_RIGHT;
        case SDL_SCANCODE_DOWN: return VK_DOWN;
        case SDL_SCANCODE_PRINTSCREEN: return VK_SNAPSHOT;
        case SDL_SCANCODE_INSERT: return VK_INSERT;
        case SDL_SCANCODE_DELETE: return VK_DELETE;
        case SDL_SCANCODE_HELP: return VK_HELP;
        case SDL_SCANCODE_NUMLOCKCLEAR: return VK_NUMLOCK;
        case SDL_SCANCODE_SCROLLLOCK: return VK_SCROLL;
        case SDL_SCANCODE_SLEEP: return VK_SLEEP;
        case SDL_SCANCODE_GRAVE: return VK_OEM_3;
        default: return 0;
    }
}

} // namespace

uint8_t VirtualKeyFromSdl(int scancode, int keycode, bool numLock) {
    // Keys whose meaning does not depend on the layout.
    if (uint8_t vk = FixedKey(scancode)) return vk;
    if (uint8_t vk = KeypadKey(scancode, numLock)) return vk;
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        return static_cast<uint8_t>('1' + (scancode - SDL_SCANCODE_1));
    }
    if (scancode == SDL_SCANCODE_0) return '0';

    // Letters and punctuation as the layout names them.
    if (keycode >= 'a' && keycode <= 'z') return static_cast<uint8_t>(keycode - 'a' + 'A');
    if (uint8_t vk = PunctuationKey(keycode)) return vk;

    // Otherwise by position.
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return static_cast<uint8_t>('A' + (scancode - SDL_SCANCODE_A));
    }
    return PunctuationScancode(scancode);
}

} // namespace plat
