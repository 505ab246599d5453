#pragma once
// The in-game overlay on the 800 x 600 screen: the score on a bar at the bottom right, a column of
// indicators on the right (ball mode with the launch-angle needle, lives, the running effects
// with their time left, the grenades in hand) and the bonus captions.
#include <cstddef>

#include "core/bonus_kind.h"

class YFont;
class YHudPainter;
struct YShaderBase;

// What the HUD shows, read from the racket each frame.
struct YHudValues {
    int score = 0;
    int lives = 0;
    int ballMode = 0;
    float ballModeTime = -1.0f;
    float aimAngle = 15.0f; // degrees
    float glovesTime = 0.0f;
    float slumberTime = 0.0f;
    float vivacityTime = 0.0f;
    float shieldTime = 0.0f;
    int grenadeCharges = -1; // -1: no grenade held
    float slipTime = 0.0f;
    float frostTime = 0.0f;
    bool lowBall = false; // the game mode hides the needle
};

// The icon of a bonus kind; null draws nothing. The ball mode shows the icon of the bonus that
// gives it, each running effect the icon of the bonus that started it.
using HudIconLookup = YShaderBase* (*)(BonusKind kind);
void SetHudIconLookup(HudIconLookup lookup);

// Looks up the font "mainfont" and the shaders "bar", "ball_angle" and "heart" (once; later calls
// do nothing). DrawHud and AddHudCaption call it when it has not run.
void InitHud();
// The HUD font (null when there is none).
YFont* HudFont();

// "%02d:%02d" of the whole seconds: minutes, then seconds. Writes at most `size` bytes.
void FormatHudTime(float seconds, char* out, std::size_t size);

// The values of the racket (and the game mode) now; defaults without a racket.
YHudValues ReadHudValues();

// The lower end of the side panel: 450, or 385 with gloves on, then 65 lower for each other
// running effect and for a grenade in hand.
float HudSidePanelBottom(const YHudValues& values);

// Draws the HUD of the racket through the renderer; with scoreOnly just the score.
void DrawHud(bool scoreOnly);
// Draws the HUD of these values through `painter`.
void DrawHudValues(const YHudValues& values, bool scoreOnly, YHudPainter& painter);
