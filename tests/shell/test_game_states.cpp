// The game's state machine: entry actions, fades, resuming and the tips rule.
#include "shell/game_states.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/init.h"
#include "fake_shell_host.h"

namespace {

class StatesTest : public ::testing::Test {
protected:
    void SetUp() override {
        Init& init = GetInit();
        savedModes = init.gameModes;
        savedShowTips = init.showTips;
        init.currentGameMode = 0;
        ResetMode();
    }
    // One fresh game mode, tips on, the background clean.
    void ResetMode() {
        GetInit().gameModes.assign(1, YGameMode());
        GetInit().showTips = true;
        g_BackgroundDirty = 0;
    }
    void TearDown() override {
        GetInit().gameModes = savedModes;
        GetInit().showTips = savedShowTips;
    }
    YGameMode& Mode() { return GetInit().CurrentGameMode(); }

    FakeShellHost host;
    YGameStates states{host};
    std::vector<YGameMode> savedModes;
    bool savedShowTips = true;
};

TEST_F(StatesTest, EntryActions) {
    struct Case {
        const char* what;
        int previous, entered;
        int lives, levelIndex, levels, savedLevel;
        int state, page;
        std::vector<std::string> calls; // in order, among the recorded ones
        int levelIndexAfter, openLevels;
    } cases[] = {
        {"menu from a score check resets the run",
         GS_SCORE_CHECK,
         GS_MAIN_MENU,
         3,
         1,
         3,
         -1,
         GS_MAIN_MENU,
         PAGE_MAINMENU,
         {"EndOrbitDrag", "ResetScore", "DeleteAllBlocks", "Park", "PlayTrack0/5"},
         1,
         0},
        {"menu from the last score check too",
         GS_SCORE_CHECK_LAST,
         GS_MAIN_MENU,
         3,
         1,
         3,
         -1,
         GS_MAIN_MENU,
         PAGE_MAINMENU,
         {"ResetScore", "DeleteAllBlocks", "Park", "PlayTrack0/5"},
         1,
         0},
        {"menu from pause keeps the run",
         GS_PAUSE,
         GS_MAIN_MENU,
         3,
         1,
         3,
         -1,
         GS_MAIN_MENU,
         PAGE_MAINMENU,
         {"EndOrbitDrag", "DeleteAllBlocks", "Park", "PlayTrack0/5"},
         1,
         0},
        {"level start, first level: new game",
         GS_LEVEL_CHOICE,
         GS_LEVEL_START,
         3,
         0,
         3,
         0,
         GS_PLAY,
         PAGE_NONE,
         {"LoadLevel0", "NewGame", "PlayNext/20"},
         0,
         0},
        {"level start at the saved level continues",
         GS_LEVEL_CHOICE,
         GS_LEVEL_START,
         3,
         2,
         3,
         2,
         GS_PLAY,
         PAGE_NONE,
         {"LoadLevel2", "ContinueGame", "PlayNext/20"},
         2,
         0},
        {"level start elsewhere: new game",
         GS_LEVEL_CHOICE,
         GS_LEVEL_START,
         3,
         1,
         3,
         2,
         GS_PLAY,
         PAGE_NONE,
         {"LoadLevel1", "NewGame", "PlayNext/20"},
         1,
         0},
        {"game over",
         GS_PLAY,
         GS_GAME_OVER,
         0,
         1,
         3,
         -1,
         GS_GAME_OVER,
         PAGE_NONE,
         {"PrepareLevel", "PlayTrack1/20"},
         1,
         0},
        {"level complete: next level and page",
         GS_PLAY,
         GS_LEVEL_COMPLETE,
         2,
         1,
         3,
         -1,
         GS_LEVEL_COMPLETE,
         PAGE_COMPLETE,
         {"DeleteAllBlocks", "Park", "PlayTrack0/5"},
         2,
         2},
        {"level complete without lives is game over",
         GS_PLAY,
         GS_LEVEL_COMPLETE,
         0,
         1,
         3,
         -1,
         GS_GAME_OVER,
         PAGE_NONE,
         {"PrepareLevel", "PlayTrack1/20"},
         1,
         0},
        {"last level complete: all done",
         GS_PLAY,
         GS_LEVEL_COMPLETE,
         2,
         2,
         3,
         -1,
         GS_ALL_DONE,
         PAGE_NONE,
         {"DeleteAllBlocks", "Park", "PlayTrack0/5"},
         2,
         3},
        {"no levels at all: all done",
         GS_PLAY,
         GS_LEVEL_COMPLETE,
         2,
         0,
         0,
         -1,
         GS_ALL_DONE,
         PAGE_NONE,
         {"DeleteAllBlocks", "Park"},
         0,
         0},
        {"level choice",
         GS_MAIN_MENU,
         GS_LEVEL_CHOICE,
         3,
         0,
         3,
         -1,
         GS_LEVEL_CHOICE,
         PAGE_NONE,
         {"EnterLevelChoice"},
         0,
         0},
        {"score check",
         GS_GAME_OVER,
         GS_SCORE_CHECK,
         0,
         0,
         3,
         -1,
         GS_SCORE_CHECK,
         PAGE_NONE,
         {"CheckScore(true)"},
         0,
         0},
        {"last score check",
         GS_ALL_DONE,
         GS_SCORE_CHECK_LAST,
         0,
         0,
         3,
         -1,
         GS_SCORE_CHECK_LAST,
         PAGE_NONE,
         {"CheckScore(true)"},
         0,
         0},
        {"quit saves, fades the music, quits",
         GS_MAIN_MENU,
         GS_QUIT,
         3,
         0,
         3,
         -1,
         GS_QUIT,
         PAGE_NONE,
         {"SaveConfig", "FadeOutAll", "Quit"},
         0,
         0},
        {"next level: a new round",
         GS_LEVEL_COMPLETE,
         GS_NEXT_LEVEL,
         3,
         2,
         3,
         -1,
         GS_PLAY,
         PAGE_NONE,
         {"LoadLevel2", "NewRound", "PlayNext/20"},
         2,
         0},
        {"play and pause do nothing further",
         GS_PAUSE,
         GS_PLAY,
         3,
         0,
         3,
         -1,
         GS_PLAY,
         PAGE_NONE,
         {"EndOrbitDrag"},
         0,
         0},
    };
    for (const Case& c : cases) {
        ResetMode();
        host = FakeShellHost();
        host.lives = c.lives;
        host.levelIndex = c.levelIndex;
        host.levels = c.levels;
        Mode().level = c.savedLevel;
        states.state = c.previous;
        states.EnterState(c.entered);
        EXPECT_EQ(states.state, c.state) << c.what;
        EXPECT_EQ(host.page, c.page) << c.what;
        EXPECT_EQ(host.levelIndex, c.levelIndexAfter) << c.what;
        EXPECT_EQ(Mode().openLevels, c.openLevels) << c.what;
        EXPECT_EQ(g_BackgroundDirty, 1) << c.what;
        size_t at = 0;
        for (const std::string& call : c.calls) {
            while (at < host.calls.size() && host.calls[at] != call) ++at;
            EXPECT_LT(at, host.calls.size()) << c.what << ": no " << call << " in order";
        }
        const bool resets = host.Called("ResetScore");
        EXPECT_EQ(resets, c.entered == GS_MAIN_MENU && (c.previous & GS_MASK_SCORE_CHECK)) << c.what;
    }
}

TEST_F(StatesTest, LevelCompletePageShowsScoreAndPlayTime) {
    host.lives = 1;
    host.levelIndex = 0;
    host.score = 12345;
    states.playTimeMs = 75900;
    states.EnterState(GS_LEVEL_COMPLETE);
    const std::vector<std::pair<std::string, std::string>> expected = {{"score", "12345"}, {"time", "01:15"}};
    EXPECT_EQ(host.texts, expected);
}

TEST(PlayTimeFormat, MinutesBelowAnHourThenHours) {
    struct Case {
        int ms;
        const char* text;
    } cases[] = {{0, "00:00"},          {999, "00:00"},        {75900, "01:15"}, {3599999, "59:59"},
                 {3600000, "01:00:00"}, {3661000, "01:01:01"}, {-5000, "00:00"}, {360000000, "100:00:00"}};
    for (const Case& c : cases) {
        char out[32];
        EXPECT_STREQ(FormatPlayTime(c.ms, out, sizeof out), c.text) << c.ms;
    }
    char tiny[4];
    EXPECT_STREQ(FormatPlayTime(3599999, tiny, sizeof tiny), "59:") << "cut to the buffer";
}

TEST_F(StatesTest, AFadeEntersTheRequestedStateOnceAndEndsSteady) {
    states.state = GS_MAIN_MENU;
    states.fadePhase = FADE_STEADY;
    states.RequestState(GS_LEVEL_CHOICE);
    int entries = 0;
    float previousDarkness = -1.0f;
    for (int frame = 0; frame < 210; ++frame) { // a little over 2 s at 0.01
        const int before = states.state;
        const float d = states.AdvanceFade(0.01f);
        if (states.state != before) ++entries;
        if (states.fadePhase == FADE_OUT) {
            EXPECT_GE(d, previousDarkness) << "darkening while fading out";
        }
        previousDarkness = d;
    }
    EXPECT_EQ(entries, 1);
    EXPECT_EQ(states.state, GS_LEVEL_CHOICE);
    EXPECT_EQ(states.fadePhase, FADE_STEADY);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "EnterLevelChoice"), 1);
    EXPECT_LT(states.AdvanceFade(0.01f), 0.0f) << "a steady fade draws nothing";
}

TEST_F(StatesTest, DarknessRisesThenFalls) {
    states.fadePhase = FADE_STEADY;
    states.RequestState(GS_MAIN_MENU);
    EXPECT_NEAR(states.AdvanceFade(0.25f), 0.25f, 1e-5f);
    EXPECT_NEAR(states.AdvanceFade(0.5f), 0.75f, 1e-5f);
    EXPECT_NEAR(states.AdvanceFade(0.3f), 1.0f, 1e-5f) << "the fade-out ends black";
    EXPECT_EQ(states.fadePhase, FADE_IN);
    EXPECT_NEAR(states.AdvanceFade(0.25f), 0.75f, 1e-5f);
}

TEST_F(StatesTest, ARepeatedRequestDuringItsFadeIsIgnored) {
    states.fadePhase = FADE_STEADY;
    states.RequestState(GS_MAIN_MENU);
    states.AdvanceFade(0.6f);
    states.RequestState(GS_MAIN_MENU);
    EXPECT_NEAR(states.fadeTimer, 0.4f, 1e-5f) << "the running fade was not restarted";
    states.RequestState(GS_QUIT);
    EXPECT_EQ(states.requestedState, GS_QUIT) << "another state restarts the fade";
    EXPECT_FLOAT_EQ(states.fadeTimer, 1.0f);
    while (states.fadePhase != FADE_STEADY) states.AdvanceFade(0.05f);
    states.RequestState(GS_QUIT);
    EXPECT_EQ(states.fadePhase, FADE_OUT) << "the same state once the fade is over starts a new fade";
}

TEST_F(StatesTest, ResumeWithTheTipsBoxTickedTurnsTipsOff) {
    for (bool ticked : {false, true}) {
        GetInit().showTips = true;
        host.boxTicked = ticked;
        host.ShowTipPage("tip.yml");
        states.state = GS_TIP;
        g_BackgroundDirty = 0;
        states.Resume();
        EXPECT_EQ(GetInit().showTips, !ticked);
        EXPECT_EQ(states.state, GS_PLAY);
        EXPECT_FALSE(host.PageShown());
        EXPECT_EQ(g_BackgroundDirty, 1);
    }
}

TEST_F(StatesTest, EndOfTheSlideShowFadesTheMenuIn) {
    states.state = GS_SPLASH;
    states.fadePhase = FADE_STEADY;
    states.EndSplash();
    EXPECT_EQ(states.state, GS_MAIN_MENU);
    EXPECT_EQ(states.fadePhase, FADE_IN);
    EXPECT_EQ(host.page, PAGE_MAINMENU);
}

TEST_F(StatesTest, AQuitRequestedDuringTheSlideShowStillArrivesWhenTheShowEnds) {
    states.state = GS_SPLASH;
    states.fadePhase = FADE_STEADY;
    states.RequestState(GS_QUIT);
    states.AdvanceFade(0.3f);
    states.EndSplash();
    EXPECT_EQ(states.state, GS_MAIN_MENU);
    for (int i = 0; i < 100 && !host.quit; ++i) states.AdvanceFade(0.05f);
    EXPECT_TRUE(host.quit);
}

TEST_F(StatesTest, TipsRule) {
    struct Step {
        int hits;
        int state; // after the call
        const char* page;
    };
    struct Case {
        const char* what;
        int levelIndex;
        bool showTips;
        int fadePhase;
        std::vector<std::pair<int, std::string>> tips; // threshold, file
        std::vector<Step> steps;
        std::vector<uint8_t> armedAfter;
    } cases[] = {
        {"a tip at its threshold", 0, true, FADE_STEADY, {{2, "a.yml"}}, {{1, GS_PLAY, ""}, {2, GS_TIP, "a.yml"}}, {0}},
        {"hits 3 after 5 does nothing",
         0,
         true,
         FADE_STEADY,
         {{4, "a.yml"}},
         {{5, GS_TIP, "a.yml"}, {3, GS_PLAY, ""}},
         {0}},
        {"two tips due at once: the later page stays",
         0,
         true,
         FADE_STEADY,
         {{2, "a.yml"}, {4, "b.yml"}},
         {{4, GS_TIP, "b.yml"}},
         {0, 0}},
        {"a shown tip is not shown again",
         0,
         true,
         FADE_STEADY,
         {{1, "a.yml"}, {3, "b.yml"}},
         {{1, GS_TIP, "a.yml"}, {2, GS_PLAY, ""}, {3, GS_TIP, "b.yml"}},
         {0, 0}},
        {"not beyond the first level", 1, true, FADE_STEADY, {{1, "a.yml"}}, {{5, GS_PLAY, ""}}, {1}},
        {"not with tips off", 0, false, FADE_STEADY, {{1, "a.yml"}}, {{5, GS_PLAY, ""}}, {1}},
        {"not during a fade", 0, true, FADE_IN, {{1, "a.yml"}}, {{5, GS_PLAY, ""}}, {1}},
    };
    for (const Case& c : cases) {
        ResetMode();
        GetInit().showTips = c.showTips;
        for (const auto& [hits, file] : c.tips) {
            YGameTip tip;
            tip.fileName = file;
            tip.hits = hits;
            Mode().tips.push_back(tip);
        }
        YGameStates rule(host);
        rule.fadePhase = c.fadePhase;
        host.levelIndex = c.levelIndex;
        for (const Step& s : c.steps) {
            rule.state = GS_PLAY;
            host.ShowPage(PAGE_NONE);
            host.tipPage.clear();
            rule.OnRacketHits(s.hits);
            EXPECT_EQ(rule.state, s.state) << c.what << " at " << s.hits;
            EXPECT_EQ(host.tipPage, s.page) << c.what << " at " << s.hits;
        }
        for (size_t i = 0; i < c.armedAfter.size(); ++i) EXPECT_EQ(Mode().tips[i].armed, c.armedAfter[i]) << c.what;
    }
}

} // namespace
