#pragma once
// The game's state machine: one integer whose values are single bits, so that the frame and the
// input handlers test sets of states with one mask. A state is either requested (the change
// happens in the middle of a one-second fade to black and back) or entered at once; entering runs
// the state's entry action (loading or clearing a level, the racket's rules, a page, the music).
// The tips rule, which stops play to show a game mode's tip page, lives here too.
#include <cstdint>

#include "shell/game_shell_host.h"

enum FadePhase : int { FADE_OUT = 1, FADE_IN = 2, FADE_STEADY = 4 };

// Set whenever the cached background picture of the play view must be drawn again.
extern uint8_t g_BackgroundDirty;

// The play time as the level-complete page shows it: "mm:ss" below an hour, else "hh:mm:ss".
// Writes at most size bytes with the terminator; returns out.
char* FormatPlayTime(int milliseconds, char* out, int size);

class YGameStates {
public:
    explicit YGameStates(YGameShellHost& host) : host_(host) {}

    // Starts a fade towards `s`; a second request for the same state while its fade runs is
    // ignored.
    void RequestState(int s);
    // Changes the state at once and runs its entry action (which may enter another state).
    void EnterState(int s);
    // Back to play from pause or a tip; a ticked "showTips" box turns tips off.
    void Resume();
    // Runs the fade by dt: the darkness to draw (0 .. 1), or a negative value when nothing is to
    // be drawn. The requested state is entered once, when the fade-out ends.
    float AdvanceFade(float dt);
    // The tips rule, with the racket's hit count.
    void OnRacketHits(int hits);
    // Ends the slide show: the main menu fades in.
    void EndSplash();

    int state = 0;
    int requestedState = 0;
    int fadePhase = 0;
    float fadeTimer = 0.0f;
    int playTimeMs = 0;
    int lastHits = -1; // the last hit count the tips rule saw

private:
    void EnterLevelComplete();

    YGameShellHost& host_;
};
