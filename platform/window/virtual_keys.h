#pragma once
// Turns SDL's key identification into the virtual-key codes the game's key tables and key-state
// array use (platform/window/win_messages.h).
#include <cstdint>

namespace plat {

// The virtual-key code of a key, from its SDL scancode (physical position) and keycode (what the
// layout puts there), or 0 for keys the game has no code for. Never 256 or more, so the result
// can index a 256-entry key table.
//  - Letters follow the layout (a French keyboard's A key gives 'A'); on layouts without Latin
//    letters the key's position decides.
//  - Digits and the key left of 1 (VK_OEM_3) go by position, whatever the layout puts there.
//  - Punctuation follows the layout where it yields one of the US punctuation characters, else
//    its position.
//  - Shift, Ctrl and Alt give the generic codes VK_SHIFT, VK_CONTROL, VK_MENU for either side.
//  - Keypad digits and the keypad point give VK_NUMPAD0..9 / VK_DECIMAL with Num Lock on, and
//    the navigation keys printed on them with Num Lock off; keypad Enter gives VK_RETURN.
uint8_t VirtualKeyFromSdl(int scancode, int keycode, bool numLock);

} // namespace plat
