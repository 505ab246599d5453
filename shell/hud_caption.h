#pragma once
// The captions that announce a caught bonus: each slides in from the right edge of the 800 x 600
// screen to the middle, holds three seconds and slides out to the left, fading in and out. A new
// caption sends every earlier one out at once.
#include <string>
#include <vector>

struct YHudCaption {
    std::string text;
    float colour[4]; // alpha recomputed every update
    int state;       // 0 sliding in, 1 holding, 2 sliding out
    float hold;      // seconds left in state 1
    float x;         // left edge now
    float targetX;   // left edge at rest: the text centred
};

constexpr float HUD_CAPTION_SIZE = 40.0f;
constexpr float HUD_CAPTION_HOLD = 3.0f;

// The captions in drawing order.
std::vector<YHudCaption>& HudCaptions();

// Sends the shown captions out and appends `text` at x 800. Its width is measured in the HUD font.
void AddHudCaption(const char* text, const float colour[4]);
void ClearHudCaptions();
// Moves, fades and retires the captions; once per frame of play.
void UpdateHudCaptions(float dt);
