#pragma once
// The editor's keyboard and wheel: the console toggle, console scrolling, full-screen switching,
// macros, typing into the console's edit line, and the camera distance.
class YConsole;
class EditorLevel;
struct EditorKeyboard;

// Camera distance limits and the start value.
constexpr float EDITOR_CAMERA_DISTANCE = 30.0f;
constexpr float EDITOR_CAMERA_DISTANCE_MIN = 5.0f;
constexpr float EDITOR_CAMERA_DISTANCE_MAX = 90.0f;

// The distance after a wheel turn of `delta` (120 a notch): + delta / 100, within the limits.
float WheelCameraDistance(float distance, int delta);

// What a key press asks of the frame beyond what EditorInput did itself.
enum class EditorKeyResult { None, ToggleFullscreen };

class EditorInput {
public:
    EditorInput(YConsole& console, const EditorKeyboard& keyboard, EditorLevel& level);

    // The grave-accent key shows or hides the console. A shown console takes Page Up and Page Down
    // and nothing else. A hidden one leaves F8 to full-screen switching and runs every macro bound
    // to the key with exactly these modifier states, in file order; a key that ran a macro or
    // toggled the console is not typed.
    EditorKeyResult KeyDown(int key, bool control, bool alt, bool shift);
    // Types the character into the console's edit line unless the last key press was consumed;
    // Enter also asks for a background redraw.
    void Char(int code);

    bool KeyConsumed() const { return keyConsumed_; }

private:
    YConsole& console_;
    const EditorKeyboard& keyboard_;
    EditorLevel& level_;
    bool keyConsumed_ = false;
};
