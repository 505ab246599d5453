#include "shell/game_input.h"

#include <cmath>

#include "core/console.h"
#include "platform/window/win_messages.h"
#include "render/camera.h"
#include "shell/game_shell_host.h"
#include "shell/game_states.h"

namespace {

constexpr int LEVELS_PER_PAGE = 13;
constexpr float AIM_STEP = 5.0f;
constexpr float WHEEL_AIM = 5.0f / 120.0f; // degrees per wheel unit

} // namespace

bool YGameInput::ConsoleShown() const { return console_ && console_->shown; }

void YGameInput::KeyDown(int key) {
    if (key == plat::VK_OEM_3 && host_.KeyHeld(plat::VK_SHIFT) && host_.KeyHeld(plat::VK_CONTROL) &&
        host_.KeyHeld(plat::VK_MENU)) {
        suppressChar = true;
        if (console_) console_->shown = !console_->shown;
        return;
    }
    suppressChar = false;
    // While the console is shown it takes the page keys; typing reaches it as characters, and of
    // the other keys only the function keys act (F10 still quits).
    const bool console = ConsoleShown();
    if (console && (key == plat::VK_PRIOR || key == plat::VK_NEXT)) {
        console_->Scroll(key == plat::VK_PRIOR);
        return;
    }
    if (key == plat::VK_F8) {
        if (host_.KeyHeld(plat::VK_CONTROL) && host_.KeyHeld(plat::VK_MENU)) host_.ToggleFullscreen();
        return;
    }
    if (key == plat::VK_F10) {
        states_.RequestState(GS_QUIT);
        return;
    }
    if (console || (key >= plat::VK_F1 && key <= plat::VK_F9)) return;
    StateKey(key);
}

void YGameInput::StateKey(int key) {
    const int n = static_cast<int>(host_.LevelScroll() + 0.5f);
    switch (states_.state) {
        case GS_SPLASH:
            if (key == plat::VK_ESCAPE)
                host_.SplashSkipAll();
            else
                host_.SplashSkip();
            return;
        case GS_MAIN_MENU:
            if (key == plat::VK_ESCAPE)
                host_.ShowPage(PAGE_MAINMENU);
            else
                host_.UIKeyDown(key);
            return;
        case GS_PLAY:
            if (states_.fadePhase != FADE_STEADY) return;
            if (key == plat::VK_ESCAPE) {
                EndOrbitDrag();
                states_.state = GS_PAUSE;
                host_.ShowPage(PAGE_PAUSE);
                g_BackgroundDirty = 1;
            } else if (key == plat::VK_SPACE) {
                host_.RacketRelease();
            } else if (key == plat::VK_UP) {
                host_.RacketAdjustAim(AIM_STEP);
            } else if (key == plat::VK_DOWN) {
                host_.RacketAdjustAim(-AIM_STEP);
            }
            return;
        case GS_GAME_OVER: LeaveGameEndScreen(GS_SCORE_CHECK); return;
        case GS_PAUSE:
            if (key == plat::VK_ESCAPE)
                states_.RequestState(GS_MAIN_MENU);
            else
                states_.Resume();
            return;
        case GS_ALL_DONE: LeaveGameEndScreen(GS_SCORE_CHECK_LAST); return;
        case GS_LEVEL_CHOICE:
            switch (key) {
                case plat::VK_RETURN: host_.StartSelectedLevel(); break;
                case plat::VK_ESCAPE: states_.RequestState(GS_MAIN_MENU); break;
                case plat::VK_PRIOR: host_.SelectLevel(n - LEVELS_PER_PAGE); break;
                case plat::VK_NEXT: host_.SelectLevel(n + LEVELS_PER_PAGE); break;
                case plat::VK_LEFT:
                case plat::VK_DOWN: host_.SelectLevel(n + 1); break;
                case plat::VK_UP:
                case plat::VK_RIGHT: host_.SelectLevel(n - 1); break;
                default: host_.UIKeyDown(key); break;
            }
            return;
        case GS_TIP:
            if (key == plat::VK_RETURN || key == plat::VK_ESCAPE) states_.Resume();
            return;
        default:
            if (host_.PageShown()) host_.UIKeyDown(key);
            return;
    }
}

void YGameInput::LeaveGameEndScreen(int scoreCheck) {
    // The score check may open the scores page with the name edit focused. The character of the
    // key that got us there comes next and would be typed into the name (a Space, say) or, for
    // Enter, would confirm the name at once; it is swallowed. The next key down clears the flag.
    suppressChar = true;
    states_.EnterState(scoreCheck);
}

void YGameInput::OnChar(int code) {
    if (suppressChar) return;
    if (ConsoleShown())
        console_->OnChar(code);
    else
        host_.UIChar(code);
}

void YGameInput::MouseDown(int button, int x, int y) {
    if (host_.PageShown()) {
        host_.UIMouseDown(button, x, y);
        if (states_.state == GS_LEVEL_CHOICE) host_.ClickLevelThumbnail();
        return;
    }
    switch (states_.state) {
        case GS_GAME_OVER: states_.EnterState(GS_SCORE_CHECK); break;
        case GS_SPLASH: host_.SplashSkip(); break;
        case GS_ALL_DONE: states_.EnterState(GS_SCORE_CHECK_LAST); break;
        case GS_PLAY:
            if (button == 1) {
                host_.RacketRelease();
            } else if (button == 2) {
                savedX = host_.CursorX();
                savedY = host_.CursorY();
                host_.SetCursorPos(host_.ClientWidth() / 2, host_.ClientHeight() / 2);
                orbit_.BeginDrag(host_.CursorX(), host_.CursorY());
            }
            break;
        default: break;
    }
}

void YGameInput::MouseUp(int button, int x, int y) {
    if (host_.PageShown())
        host_.UIMouseUp(button, x, y);
    else if (button == 2)
        EndOrbitDrag();
}

void YGameInput::EndOrbitDrag() {
    if (!orbit_.dragging) return;
    orbit_.EndDrag(host_.CursorX(), host_.CursorY());
    host_.SetCursorPos(savedX, savedY);
}

void YGameInput::MouseMove(int x, int y) {
    if (cursorSync) return;
    if (orbit_.dragging) {
        orbit_.Drag(x, y);
        g_BackgroundDirty = 1;
        host_.UIMouseMove(x, y);
        return;
    }
    const int width = host_.ClientWidth();
    if (states_.state == GS_PLAY && width > 0) {
        const float p = host_.RacketMoveTo(2.0f * static_cast<float>(x) / static_cast<float>(width) - 1.0f);
        SyncCursorToRacket(p);
    }
    host_.UIMouseMove(x, y);
}

void YGameInput::SyncCursorToRacket(float position) {
    const int x = static_cast<int>(((position + 1.0f) * static_cast<float>(host_.ClientWidth()) + 1.0f) * 0.5f);
    if (x == host_.CursorX()) return;
    cursorSync = true;
    host_.SetCursorPos(x, host_.CursorY());
    cursorSync = false;
}

void YGameInput::MouseWheel(int delta) {
    switch (states_.state) {
        case GS_PLAY:
        case GS_TIP: host_.RacketAdjustAim(-static_cast<float>(delta) * WHEEL_AIM); break;
        case GS_LEVEL_CHOICE:
            if (std::fabs(static_cast<float>(host_.LevelTarget()) - host_.LevelScroll()) < 2.0f)
                host_.SelectLevel(host_.LevelTarget() - delta / 120);
            break;
        default: break;
    }
}
