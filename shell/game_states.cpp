#include "shell/game_states.h"

#include <algorithm>
#include <cstdio>

#include "core/init.h"
#include "shell/game_shell_host.h"

uint8_t g_BackgroundDirty = 1;

char* FormatPlayTime(int milliseconds, char* out, int size) {
    if (size <= 0) return out;
    const int s = std::max(milliseconds, 0) / 1000;
    if (s < 3600)
        std::snprintf(out, static_cast<size_t>(size), "%02d:%02d", s / 60, s % 60);
    else
        std::snprintf(out, static_cast<size_t>(size), "%02d:%02d:%02d", s / 3600, s % 3600 / 60, s % 60);
    return out;
}

void YGameStates::RequestState(int s) {
    if (s == requestedState && fadePhase != FADE_STEADY) return;
    requestedState = s;
    fadePhase = FADE_OUT;
    fadeTimer = 1.0f;
}

void YGameStates::EnterState(int s) {
    const int previous = state;
    state = s;
    host_.EndOrbitDrag();
    g_BackgroundDirty = 1;
    switch (s) {
        case GS_MAIN_MENU:
            if (previous & GS_MASK_SCORE_CHECK) host_.RacketResetScore();
            host_.ShowPage(PAGE_MAINMENU);
            host_.DeleteAllBlocks();
            host_.RacketPark();
            host_.PlayTrack(0, 0.5f);
            break;
        case GS_LEVEL_START: {
            const int index = host_.RacketLevelIndex();
            host_.LoadLevelAt(index);
            if (index != 0 && index == GetInit().CurrentGameMode().level)
                host_.RacketContinueGame();
            else
                host_.RacketNewGame();
            state = GS_PLAY;
            host_.ShowPage(PAGE_NONE);
            host_.PlayNext(2.0f);
            playTimeMs = 0;
            break;
        }
        case GS_GAME_OVER:
            host_.RacketPrepareLevel();
            host_.PlayTrack(1, 2.0f);
            break;
        case GS_LEVEL_COMPLETE: EnterLevelComplete(); break;
        case GS_ALL_DONE:
            host_.DeleteAllBlocks();
            host_.RacketPark();
            host_.PlayTrack(0, 0.5f);
            break;
        case GS_LEVEL_CHOICE: host_.EnterLevelChoice(); break;
        case GS_SCORE_CHECK:
        case GS_SCORE_CHECK_LAST: host_.CheckScore(true); break;
        case GS_QUIT:
            host_.SaveConfig();
            host_.FadeOutAll();
            host_.Quit();
            break;
        case GS_NEXT_LEVEL:
            host_.LoadLevelAt(host_.RacketLevelIndex());
            host_.RacketNewRound();
            state = GS_PLAY;
            host_.ShowPage(PAGE_NONE);
            host_.PlayNext(2.0f);
            break;
        default: break;
    }
}

void YGameStates::EnterLevelComplete() {
    if (host_.RacketLives() <= 0) {
        EnterState(GS_GAME_OVER);
        return;
    }
    YGameMode& mode = GetInit().CurrentGameMode();
    const int count = host_.LevelCount();
    const int index = host_.RacketLevelIndex();
    if (index < count - 1) {
        host_.SetRacketLevelIndex(index + 1);
        mode.openLevels = std::max(mode.openLevels, index + 1);
        host_.DeleteAllBlocks();
        host_.RacketPark();
        host_.PlayTrack(0, 0.5f);
        host_.SetPageText(PAGE_COMPLETE, "score", std::to_string(host_.RacketScore()));
        char time[32];
        host_.SetPageText(PAGE_COMPLETE, "time", FormatPlayTime(playTimeMs, time, sizeof time));
        host_.ShowPage(PAGE_COMPLETE);
        return;
    }
    mode.openLevels = count;
    EnterState(GS_ALL_DONE);
}

void YGameStates::Resume() {
    if (host_.CurrentPageBoxTicked("showTips")) GetInit().showTips = false;
    state = GS_PLAY;
    host_.ShowPage(PAGE_NONE);
    g_BackgroundDirty = 1;
}

float YGameStates::AdvanceFade(float dt) {
    if (fadePhase == FADE_OUT) {
        fadeTimer -= dt;
        const float darkness = 1.0f - std::max(fadeTimer, 0.0f);
        if (fadeTimer < 0.0f) {
            fadePhase = FADE_IN;
            fadeTimer = 1.0f;
            EnterState(requestedState);
        }
        return darkness;
    }
    if (fadePhase == FADE_IN) {
        fadeTimer -= dt;
        if (fadeTimer < 0.0f) {
            fadePhase = FADE_STEADY;
            return -1.0f;
        }
        return fadeTimer;
    }
    return -1.0f;
}

void YGameStates::EndSplash() {
    // A request made during the show (F10) keeps its fade-out, so that it still arrives.
    if (fadePhase != FADE_OUT) {
        fadePhase = FADE_IN;
        fadeTimer = 1.0f;
    }
    EnterState(GS_MAIN_MENU);
}

void YGameStates::OnRacketHits(int hits) {
    Init& init = GetInit();
    if (!init.showTips || host_.RacketLevelIndex() > 0 || hits <= lastHits || fadePhase != FADE_STEADY) return;
    lastHits = hits;
    for (YGameTip& tip : init.CurrentGameMode().tips) {
        if (!tip.armed || tip.hits > hits) continue;
        state = GS_TIP;
        host_.ShowTipPage(tip.fileName);
        g_BackgroundDirty = 1;
        tip.armed = 0;
    }
}
