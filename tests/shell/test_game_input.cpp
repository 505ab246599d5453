// The game's keys and mouse, routed by state.
#include "shell/game_input.h"

#include <gtest/gtest.h>

#include "core/console.h"
#include "core/init.h"
#include "fake_shell_host.h"
#include "platform/window/win_messages.h"
#include "render/camera.h"
#include "shell/game_states.h"

namespace {

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedModes = GetInit().gameModes;
        GetInit().gameModes.assign(1, YGameMode());
        states.fadePhase = FADE_STEADY;
        orbit.SetWindowSize(800, 600);
    }
    void TearDown() override { GetInit().gameModes = savedModes; }

    FakeShellHost host;
    YGameStates states{host};
    YOrbitView orbit{35.0f, -40.0f, -65.0f, -25.0f};
    YGameInput input{host, states, orbit};
    std::vector<YGameMode> savedModes;
};

constexpr int SHIFT = 1, CTRL = 2, ALT = 4;

TEST_F(InputTest, KeysByState) {
    struct Case {
        int state;
        int key;
        int modifiers;
        int fade;
        int page;
        const char* call; // "" for none
        int stateAfter;
        int requested; // the fade's target afterwards, 0 for no request
    } cases[] = {
        {GS_SPLASH, plat::VK_ESCAPE, 0, FADE_STEADY, PAGE_NONE, "SplashSkipAll", GS_SPLASH, 0},
        {GS_SPLASH, plat::VK_A, 0, FADE_STEADY, PAGE_NONE, "SplashSkip", GS_SPLASH, 0},
        {GS_MAIN_MENU, plat::VK_A, 0, FADE_STEADY, PAGE_SCORES, "UIKey65", GS_MAIN_MENU, 0},
        {GS_PLAY, plat::VK_SPACE, 0, FADE_STEADY, PAGE_NONE, "Release", GS_PLAY, 0},
        {GS_PLAY, plat::VK_SPACE, 0, FADE_IN, PAGE_NONE, "", GS_PLAY, 0},
        {GS_PLAY, plat::VK_ESCAPE, 0, FADE_IN, PAGE_NONE, "", GS_PLAY, 0},
        {GS_PLAY, plat::VK_ESCAPE, 0, FADE_STEADY, PAGE_NONE, "", GS_PAUSE, 0},
        {GS_PLAY, plat::VK_A, 0, FADE_STEADY, PAGE_NONE, "", GS_PLAY, 0},
        {GS_GAME_OVER, plat::VK_A, 0, FADE_STEADY, PAGE_NONE, "CheckScore(true)", GS_SCORE_CHECK, 0},
        {GS_ALL_DONE, plat::VK_SPACE, 0, FADE_STEADY, PAGE_NONE, "CheckScore(true)", GS_SCORE_CHECK_LAST, 0},
        {GS_PAUSE, plat::VK_ESCAPE, 0, FADE_STEADY, PAGE_PAUSE, "", GS_PAUSE, GS_MAIN_MENU},
        {GS_PAUSE, plat::VK_A, 0, FADE_STEADY, PAGE_PAUSE, "", GS_PLAY, 0},
        {GS_LEVEL_CHOICE, plat::VK_RETURN, 0, FADE_STEADY, PAGE_LEV, "StartSelectedLevel", GS_LEVEL_CHOICE, 0},
        {GS_LEVEL_CHOICE, plat::VK_ESCAPE, 0, FADE_STEADY, PAGE_LEV, "", GS_LEVEL_CHOICE, GS_MAIN_MENU},
        {GS_LEVEL_CHOICE, plat::VK_A, 0, FADE_STEADY, PAGE_LEV, "UIKey65", GS_LEVEL_CHOICE, 0},
        {GS_TIP, plat::VK_RETURN, 0, FADE_STEADY, PAGE_NONE, "", GS_PLAY, 0},
        {GS_TIP, plat::VK_SPACE, 0, FADE_STEADY, PAGE_NONE, "", GS_TIP, 0},
        {GS_LEVEL_COMPLETE, plat::VK_A, 0, FADE_STEADY, PAGE_COMPLETE, "UIKey65", GS_LEVEL_COMPLETE, 0},
        {GS_LEVEL_COMPLETE, plat::VK_A, 0, FADE_STEADY, PAGE_NONE, "", GS_LEVEL_COMPLETE, 0},
        {GS_PLAY, plat::VK_F10, 0, FADE_STEADY, PAGE_NONE, "", GS_PLAY, GS_QUIT},
        {GS_SPLASH, plat::VK_F10, 0, FADE_STEADY, PAGE_NONE, "", GS_SPLASH, GS_QUIT},
        {GS_PLAY, plat::VK_F8, CTRL | ALT, FADE_STEADY, PAGE_NONE, "ToggleFullscreen", GS_PLAY, 0},
        {GS_PLAY, plat::VK_F8, CTRL, FADE_STEADY, PAGE_NONE, "", GS_PLAY, 0},
        {GS_SPLASH, plat::VK_F1, 0, FADE_STEADY, PAGE_NONE, "", GS_SPLASH, 0},
        // The console key without all three modifiers is an ordinary key.
        {GS_SPLASH, 0xC0, CTRL | ALT, FADE_STEADY, PAGE_NONE, "SplashSkip", GS_SPLASH, 0},
    };
    for (const Case& c : cases) {
        host = FakeShellHost();
        host.held[plat::VK_SHIFT] = c.modifiers & SHIFT;
        host.held[plat::VK_CONTROL] = c.modifiers & CTRL;
        host.held[plat::VK_MENU] = c.modifiers & ALT;
        host.page = c.page;
        states.state = c.state;
        states.fadePhase = c.fade;
        states.requestedState = 0;
        input.KeyDown(c.key);
        const std::string what = std::to_string(c.state) + " key " + std::to_string(c.key);
        if (*c.call)
            EXPECT_TRUE(host.Called(c.call)) << what << " should call " << c.call;
        else
            EXPECT_TRUE(host.calls.empty() || host.calls == std::vector<std::string>{"EndOrbitDrag"})
                << what << " called " << host.calls.front();
        EXPECT_EQ(states.state, c.stateAfter) << what;
        EXPECT_EQ(c.requested ? states.requestedState : 0, c.requested) << what;
        if (c.requested) {
            EXPECT_EQ(states.fadePhase, FADE_OUT) << what;
        }
    }
}

TEST_F(InputTest, TheKeyThatEndsTheGameIsNotTypedIntoTheName) {
    // Key down and then its character, as the window delivers them. The score check opens the name
    // edit; only what is typed after that key reaches it.
    struct Case {
        int state;
        int key;
        int code; // the key's character
    } cases[] = {
        {GS_GAME_OVER, plat::VK_SPACE, ' '}, {GS_GAME_OVER, plat::VK_RETURN, 13}, {GS_GAME_OVER, plat::VK_A, 'a'},
        {GS_ALL_DONE, plat::VK_SPACE, ' '},  {GS_ALL_DONE, plat::VK_RETURN, 13},  {GS_ALL_DONE, plat::VK_ESCAPE, 27},
    };
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.state) + " key " + std::to_string(c.key);
        host = FakeShellHost();
        states.state = c.state;
        input.KeyDown(c.key);
        input.OnChar(c.code);
        EXPECT_EQ(states.state, c.state == GS_GAME_OVER ? GS_SCORE_CHECK : GS_SCORE_CHECK_LAST) << what;
        host.page = PAGE_SCORES; // what the score check shows
        EXPECT_FALSE(host.Called("UIChar" + std::to_string(c.code))) << what << ": its character was typed";
        // The player's typing that follows arrives in full.
        host.calls.clear();
        for (char ch : std::string("Ivo")) {
            input.KeyDown(plat::VK_A + (ch | 0x20) - 'a');
            input.OnChar(ch);
        }
        input.KeyDown(plat::VK_RETURN);
        input.OnChar(13);
        EXPECT_EQ(host.calls, (std::vector<std::string>{"UIKey73", "UIChar73", "UIKey86", "UIChar118", "UIKey79",
                                                        "UIChar111", "UIKey13", "UIChar13"}))
            << what;
    }
    // Leaving by a click swallows nothing: the first key typed afterwards counts.
    host = FakeShellHost();
    states.state = GS_GAME_OVER;
    input.MouseDown(1, 10, 10);
    host.page = PAGE_SCORES;
    input.KeyDown(plat::VK_SPACE);
    input.OnChar(' ');
    EXPECT_TRUE(host.Called("UIChar32"));
}

TEST_F(InputTest, PauseKeyShowsThePausePage) {
    states.state = GS_PLAY;
    g_BackgroundDirty = 0;
    input.KeyDown(plat::VK_ESCAPE);
    EXPECT_EQ(host.page, PAGE_PAUSE);
    EXPECT_EQ(g_BackgroundDirty, 1);
}

TEST_F(InputTest, ConsoleToggleNeedsAllThreeModifiersAndSwallowsItsCharacter) {
    YConsole console(nullptr);
    input.SetConsole(&console);
    host.held[plat::VK_SHIFT] = host.held[plat::VK_CONTROL] = host.held[plat::VK_MENU] = true;
    states.state = GS_MAIN_MENU;
    input.KeyDown(0xC0);
    EXPECT_TRUE(console.shown);
    input.OnChar('~');
    EXPECT_TRUE(host.calls.empty()) << "neither the UI nor the state got the toggle";
    // While shown, keys go nowhere and characters go to the console.
    host.held[plat::VK_SHIFT] = false;
    input.KeyDown(plat::VK_A);
    input.OnChar('a');
    EXPECT_TRUE(host.calls.empty());
    input.KeyDown(plat::VK_F10);
    EXPECT_EQ(states.requestedState, GS_QUIT) << "F10 quits also while the console is shown";
    host.held[plat::VK_SHIFT] = true;
    input.KeyDown(0xC0);
    EXPECT_FALSE(console.shown);
    input.SetConsole(nullptr);
}

TEST_F(InputTest, WheelAimsInPlayAndTips) {
    for (int state : {GS_PLAY, GS_TIP, GS_PAUSE, GS_MAIN_MENU}) {
        host.aim = 0.0f;
        states.state = state;
        for (int notch = 0; notch < 3; ++notch) input.MouseWheel(120);
        EXPECT_NEAR(host.aim, state == GS_PLAY || state == GS_TIP ? -15.0f : 0.0f, 1e-4f) << state;
    }
}

TEST_F(InputTest, LevelPickerKeysAndWheel) {
    struct Case {
        float scroll;
        int target;
        int key; // 0: wheel
        int wheel;
        int selected; // -1: none
    } cases[] = {
        {5.0f, 5, plat::VK_NEXT, 0, 18},
        {5.4f, 5, plat::VK_PRIOR, 0, -8},
        {4.6f, 5, plat::VK_LEFT, 0, 6},
        {5.0f, 5, plat::VK_DOWN, 0, 6},
        {5.0f, 5, plat::VK_UP, 0, 4},
        {5.0f, 5, plat::VK_RIGHT, 0, 4},
        {5.0f, 5, 0, -240, 7},
        {5.0f, 5, 0, 120, 4},
        {5.0f, 5, 0, 60, 5},
        {3.5f, 5, 0, 120, 4},
        {3.0f, 5, 0, 120, -1},
    };
    for (const Case& c : cases) {
        host.selected = -1;
        host.levelScroll = c.scroll;
        host.levelTarget = c.target;
        states.state = GS_LEVEL_CHOICE;
        if (c.key)
            input.KeyDown(c.key);
        else
            input.MouseWheel(c.wheel);
        EXPECT_EQ(host.selected, c.selected) << c.scroll << " " << c.key << " " << c.wheel;
    }
}

TEST_F(InputTest, MouseXSteersTheRacketAndTheCursorFollowsIt) {
    struct Case {
        int x;
        float limit;
        float target;
        int cursorAfter;
    } cases[] = {
        {400, 1.0f, 0.0f, 400}, {0, 1.0f, -1.0f, 0},    {600, 1.0f, 0.5f, 600},
        {780, 0.5f, 0.5f, 600}, {20, 0.5f, -0.5f, 200},
    };
    states.state = GS_PLAY;
    for (const Case& c : cases) {
        host.racketLimit = c.limit;
        host.cursorX = c.x;
        host.warps.clear();
        input.MouseMove(c.x, 300);
        EXPECT_NEAR(host.racketPos, c.target, 1e-5f) << c.x;
        EXPECT_EQ(host.cursorX, c.cursorAfter) << c.x;
        EXPECT_EQ(host.warps.empty(), c.cursorAfter == c.x) << "the cursor moves only when it must";
        EXPECT_FALSE(input.cursorSync);
    }
    // Outside play the mouse leaves the racket alone.
    states.state = GS_PAUSE;
    host.racketPos = 0.25f;
    input.MouseMove(0, 300);
    EXPECT_EQ(host.racketPos, 0.25f);
    EXPECT_TRUE(host.Called("UIMove"));
}

TEST_F(InputTest, MouseButtonsByState) {
    struct Case {
        int state;
        int fade;
        int page;
        int button;
        const char* call;
        int stateAfter;
    } cases[] = {
        {GS_PLAY, FADE_IN, PAGE_NONE, 1, "Release", GS_PLAY}, // a click launches even during a fade
        {GS_PLAY, FADE_STEADY, PAGE_NONE, 1, "Release", GS_PLAY},
        {GS_SPLASH, FADE_STEADY, PAGE_NONE, 1, "SplashSkip", GS_SPLASH},
        {GS_GAME_OVER, FADE_STEADY, PAGE_NONE, 1, "CheckScore(true)", GS_SCORE_CHECK},
        {GS_ALL_DONE, FADE_STEADY, PAGE_NONE, 2, "CheckScore(true)", GS_SCORE_CHECK_LAST},
        {GS_MAIN_MENU, FADE_STEADY, PAGE_MAINMENU, 1, "UIDown1", GS_MAIN_MENU},
        {GS_LEVEL_CHOICE, FADE_STEADY, PAGE_LEV, 1, "ClickLevelThumbnail", GS_LEVEL_CHOICE},
        {GS_PAUSE, FADE_STEADY, PAGE_PAUSE, 1, "UIDown1", GS_PAUSE},
    };
    for (const Case& c : cases) {
        host = FakeShellHost();
        host.page = c.page;
        states.state = c.state;
        states.fadePhase = c.fade;
        input.MouseDown(c.button, 10, 10);
        EXPECT_TRUE(host.Called(c.call)) << c.state << " button " << c.button;
        EXPECT_EQ(states.state, c.stateAfter) << c.state;
    }
}

TEST_F(InputTest, RightDragTurnsTheCameraAndPutsTheCursorBack) {
    states.state = GS_PLAY;
    host.cursorX = 123, host.cursorY = 456;
    input.MouseDown(2, 123, 456);
    EXPECT_TRUE(orbit.dragging);
    EXPECT_EQ(host.cursorX, 400);
    EXPECT_EQ(host.cursorY, 300);
    g_BackgroundDirty = 0;
    host.cursorX = 500;
    input.MouseMove(500, 300);
    EXPECT_EQ(g_BackgroundDirty, 1);
    EXPECT_EQ(host.racketPos, 0.0f) << "a drag does not steer";
    input.MouseUp(2, 500, 300);
    EXPECT_FALSE(orbit.dragging);
    EXPECT_NE(orbit.yaw, 0.0f) << "the drag turned the camera";
    EXPECT_EQ(host.cursorX, 123);
    EXPECT_EQ(host.cursorY, 456);
}

TEST_F(InputTest, StateEntryEndsADrag) {
    states.state = GS_PLAY;
    input.MouseDown(2, 10, 10);
    ASSERT_TRUE(orbit.dragging);
    input.EndOrbitDrag(); // what the framework's host does on every state entry
    EXPECT_FALSE(orbit.dragging);
    input.EndOrbitDrag();
    EXPECT_EQ(host.warps.size(), 2u) << "ending no drag moves no cursor";
}

} // namespace
