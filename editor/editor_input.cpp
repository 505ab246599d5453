#include "editor/editor_input.h"

#include <algorithm>

#include "core/console.h"
#include "editor/editor_kbd.h"
#include "editor/editor_level.h"
#include "platform/window/win_messages.h"

float WheelCameraDistance(float distance, int delta) {
    return std::clamp(distance + static_cast<float>(delta) * 0.01f, EDITOR_CAMERA_DISTANCE_MIN,
                      EDITOR_CAMERA_DISTANCE_MAX);
}

EditorInput::EditorInput(YConsole& console, const EditorKeyboard& keyboard, EditorLevel& level)
    : console_(console), keyboard_(keyboard), level_(level) {}

EditorKeyResult EditorInput::KeyDown(int key, bool control, bool alt, bool shift) {
    keyConsumed_ = false;
    if (key == plat::VK_OEM_3) {
        console_.shown = !console_.shown;
        keyConsumed_ = true;
        return EditorKeyResult::None;
    }
    if (console_.shown) {
        if (key == plat::VK_PRIOR)
            console_.Scroll(true);
        else if (key == plat::VK_NEXT)
            console_.Scroll(false);
        return EditorKeyResult::None;
    }
    if (key == plat::VK_F8) return EditorKeyResult::ToggleFullscreen;
    for (const EditorMacro& m : keyboard_.macros) {
        if (m.key != key || m.control != control || m.alt != alt || m.shift != shift) continue;
        keyConsumed_ = true;
        console_.Execute(m.text);
        level_.redrawFlag = 1;
    }
    return EditorKeyResult::None;
}

void EditorInput::Char(int code) {
    if (keyConsumed_) return;
    console_.OnChar(code);
    if (code == 13) level_.redrawFlag = 1;
}
