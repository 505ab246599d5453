#pragma once
// Window messages in the shape the game's frameworks were written for: a message id, a word
// parameter and a long parameter, with the numeric values of the platform the game came from.
// The window layer makes these from SDL events, so the frameworks' message switches stay as they
// were and tests can feed them messages directly. Everything here is defined by value.
#include <cstdint>

namespace plat {

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

// ---- Message ids ------------------------------------------------------------------------------
constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_MOVE = 0x0003;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr uint32_t WM_SETCURSOR = 0x0020;
constexpr uint32_t WM_GETMINMAXINFO = 0x0024;
constexpr uint32_t WM_QUERYDRAGICON = 0x0037;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_DEADCHAR = 0x0103;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_SYSCHAR = 0x0106;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr uint32_t WM_TIMER = 0x0113;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;
constexpr uint32_t WM_MBUTTONDBLCLK = 0x0209;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
constexpr uint32_t WM_SIZING = 0x0214;
constexpr uint32_t WM_USER = 0x0400;

// WM_SIZE: wParam
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

// WM_ACTIVATE: low word of wParam (the high word is non-zero while minimized)
constexpr unsigned WA_INACTIVE = 0;
constexpr unsigned WA_ACTIVE = 1;
constexpr unsigned WA_CLICKACTIVE = 2;

// WM_SYSCOMMAND: wParam
constexpr WPARAM SC_SCREENSAVE = 0xF140;
constexpr WPARAM SC_MONITORPOWER = 0xF170;

// WM_SIZING: wParam, the edge being dragged
constexpr WPARAM WMSZ_LEFT = 1;
constexpr WPARAM WMSZ_RIGHT = 2;
constexpr WPARAM WMSZ_TOP = 3;
constexpr WPARAM WMSZ_TOPLEFT = 4;
constexpr WPARAM WMSZ_TOPRIGHT = 5;
constexpr WPARAM WMSZ_BOTTOM = 6;
constexpr WPARAM WMSZ_BOTTOMLEFT = 7;
constexpr WPARAM WMSZ_BOTTOMRIGHT = 8;

// Mouse messages: wParam holds these flags for the buttons and keys held
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

// One notch of the wheel
constexpr int WHEEL_DELTA = 120;

// Show commands
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOW = 5;

// Key messages: lParam holds the repeat count in its low word (always 1 here) and these flags in
// its high word: HiWord(lParam) & KF_REPEAT is set on auto-repeats (the key was already down).
constexpr uint16_t KF_EXTENDED = 0x0100;
constexpr uint16_t KF_ALTDOWN = 0x2000; // Alt held (system keys)
constexpr uint16_t KF_REPEAT = 0x4000;  // the key was down before: auto-repeat, and every release
constexpr uint16_t KF_UP = 0x8000;      // released

// ---- Virtual-key codes ------------------------------------------------------------------------
// Key messages carry the generic Shift, Control and Alt codes; the left/right codes exist for
// tables that name them.
constexpr uint8_t VK_LBUTTON = 0x01;
constexpr uint8_t VK_RBUTTON = 0x02;
constexpr uint8_t VK_CANCEL = 0x03;
constexpr uint8_t VK_MBUTTON = 0x04;
constexpr uint8_t VK_BACK = 0x08;
constexpr uint8_t VK_TAB = 0x09;
constexpr uint8_t VK_CLEAR = 0x0C;
constexpr uint8_t VK_RETURN = 0x0D;
constexpr uint8_t VK_SHIFT = 0x10;
constexpr uint8_t VK_CONTROL = 0x11;
constexpr uint8_t VK_MENU = 0x12; // Alt
constexpr uint8_t VK_PAUSE = 0x13;
constexpr uint8_t VK_CAPITAL = 0x14;
constexpr uint8_t VK_ESCAPE = 0x1B;
constexpr uint8_t VK_SPACE = 0x20;
constexpr uint8_t VK_PRIOR = 0x21; // Page Up
constexpr uint8_t VK_NEXT = 0x22;  // Page Down
constexpr uint8_t VK_END = 0x23;
constexpr uint8_t VK_HOME = 0x24;
constexpr uint8_t VK_LEFT = 0x25;
constexpr uint8_t VK_UP = 0x26;
constexpr uint8_t VK_RIGHT = 0x27;
constexpr uint8_t VK_DOWN = 0x28;
constexpr uint8_t VK_SELECT = 0x29;
constexpr uint8_t VK_PRINT = 0x2A;
constexpr uint8_t VK_EXECUTE = 0x2B;
constexpr uint8_t VK_SNAPSHOT = 0x2C;
constexpr uint8_t VK_INSERT = 0x2D;
constexpr uint8_t VK_DELETE = 0x2E;
constexpr uint8_t VK_HELP = 0x2F;
// Digits '0'..'9' are 0x30..0x39 and letters 'A'..'Z' are 0x41..0x5A (their ASCII codes).
constexpr uint8_t VK_0 = 0x30;
constexpr uint8_t VK_9 = 0x39;
constexpr uint8_t VK_A = 0x41;
constexpr uint8_t VK_Z = 0x5A;
constexpr uint8_t VK_LWIN = 0x5B;
constexpr uint8_t VK_RWIN = 0x5C;
constexpr uint8_t VK_APPS = 0x5D;
constexpr uint8_t VK_SLEEP = 0x5F;
constexpr uint8_t VK_NUMPAD0 = 0x60;
constexpr uint8_t VK_NUMPAD1 = 0x61;
constexpr uint8_t VK_NUMPAD2 = 0x62;
constexpr uint8_t VK_NUMPAD3 = 0x63;
constexpr uint8_t VK_NUMPAD4 = 0x64;
constexpr uint8_t VK_NUMPAD5 = 0x65;
constexpr uint8_t VK_NUMPAD6 = 0x66;
constexpr uint8_t VK_NUMPAD7 = 0x67;
constexpr uint8_t VK_NUMPAD8 = 0x68;
constexpr uint8_t VK_NUMPAD9 = 0x69;
constexpr uint8_t VK_MULTIPLY = 0x6A;
constexpr uint8_t VK_ADD = 0x6B;
constexpr uint8_t VK_SEPARATOR = 0x6C;
constexpr uint8_t VK_SUBTRACT = 0x6D;
constexpr uint8_t VK_DECIMAL = 0x6E;
constexpr uint8_t VK_DIVIDE = 0x6F;
constexpr uint8_t VK_F1 = 0x70;
constexpr uint8_t VK_F2 = 0x71;
constexpr uint8_t VK_F3 = 0x72;
constexpr uint8_t VK_F4 = 0x73;
constexpr uint8_t VK_F5 = 0x74;
constexpr uint8_t VK_F6 = 0x75;
constexpr uint8_t VK_F7 = 0x76;
constexpr uint8_t VK_F8 = 0x77;
constexpr uint8_t VK_F9 = 0x78;
constexpr uint8_t VK_F10 = 0x79;
constexpr uint8_t VK_F11 = 0x7A;
constexpr uint8_t VK_F12 = 0x7B;
constexpr uint8_t VK_NUMLOCK = 0x90;
constexpr uint8_t VK_SCROLL = 0x91;
constexpr uint8_t VK_LSHIFT = 0xA0;
constexpr uint8_t VK_RSHIFT = 0xA1;
constexpr uint8_t VK_LCONTROL = 0xA2;
constexpr uint8_t VK_RCONTROL = 0xA3;
constexpr uint8_t VK_LMENU = 0xA4;
constexpr uint8_t VK_RMENU = 0xA5;
constexpr uint8_t VK_OEM_1 = 0xBA;      // ';:' on a US keyboard
constexpr uint8_t VK_OEM_PLUS = 0xBB;   // '=+'
constexpr uint8_t VK_OEM_COMMA = 0xBC;  // ',<'
constexpr uint8_t VK_OEM_MINUS = 0xBD;  // '-_'
constexpr uint8_t VK_OEM_PERIOD = 0xBE; // '.>'
constexpr uint8_t VK_OEM_2 = 0xBF;      // '/?'
constexpr uint8_t VK_OEM_3 = 0xC0;      // the key left of 1 ('`~' on a US keyboard)
constexpr uint8_t VK_OEM_4 = 0xDB;      // '[{'
constexpr uint8_t VK_OEM_5 = 0xDC;      // '\|'
constexpr uint8_t VK_OEM_6 = 0xDD;      // ']}'
constexpr uint8_t VK_OEM_7 = 0xDE;      // quote
constexpr uint8_t VK_OEM_102 = 0xE2;    // the extra key beside left Shift on ISO keyboards

// ---- Records passed by pointer in lParam -----------------------------------------------------
struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// WM_GETMINMAXINFO: lParam points to one of these; the handler may raise the minimum track size.
struct MinMaxInfo {
    Point reserved;
    Point maxSize;
    Point maxPosition;
    Point minTrackSize;
    Point maxTrackSize;
};

// ---- Packing helpers --------------------------------------------------------------------------
constexpr uint16_t LoWord(uintptr_t v) { return static_cast<uint16_t>(v & 0xFFFF); }
constexpr uint16_t HiWord(uintptr_t v) { return static_cast<uint16_t>((v >> 16) & 0xFFFF); }

constexpr uintptr_t MakeLong(uint16_t lo, uint16_t hi) {
    return static_cast<uintptr_t>(lo) | (static_cast<uintptr_t>(hi) << 16);
}
constexpr WPARAM MakeWParam(uint16_t lo, uint16_t hi) { return MakeLong(lo, hi); }
constexpr LPARAM MakeLParam(uint16_t lo, uint16_t hi) { return static_cast<LPARAM>(MakeLong(lo, hi)); }

// Mouse positions are packed as two signed 16-bit words: a captured mouse left or above the
// window gives negative coordinates, which must not turn into values near 65535. Read them with
// MouseX/MouseY, never with the unsigned LoWord/HiWord.
constexpr LPARAM PackMousePos(int x, int y) {
    auto clamp16 = [](int v) { return v < -32768 ? -32768 : (v > 32767 ? 32767 : v); };
    return MakeLParam(static_cast<uint16_t>(static_cast<int16_t>(clamp16(x))),
                      static_cast<uint16_t>(static_cast<int16_t>(clamp16(y))));
}
constexpr int MouseX(LPARAM lParam) { return static_cast<int16_t>(LoWord(static_cast<uintptr_t>(lParam))); }
constexpr int MouseY(LPARAM lParam) { return static_cast<int16_t>(HiWord(static_cast<uintptr_t>(lParam))); }

// WM_MOUSEWHEEL: the signed delta in the high word of wParam (WHEEL_DELTA per notch).
constexpr int WheelDelta(WPARAM wParam) { return static_cast<int16_t>(HiWord(wParam)); }

} // namespace plat
