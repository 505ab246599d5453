#pragma once
// Rules of the ball modes that depend on nothing but numbers, so that they can be checked alone.
#include "world/balls/ball_mode_info.h"

// The universal ball's choice after a hit: the inner mode it takes next (its current one when it
// keeps it). `roll` is a rand() value; the switch timer is reset to 1 when it had run out.
int UniversalNextInner(int inner, float* switchTimer, int roll);

// How long a block special's mode lasts: a quarter of the ball-mode bonus's time-out (which is
// -1 when the game mode runs no timed balls, giving -0.25: for good).
inline float SpecialModeTime(float bonusTimeout) { return bonusTimeout * 0.25f; }

// What a fire, heavy or electro block does to a ball of mode `ballMode` with `ballModeTime` left
// when it makes balls mode `m` for T seconds: a ball already in that mode (for fire: fire or
// explosive) keeps it and gets the longer of the two times (returns false, *time set); any other
// ball is to change (returns true, *time = T, the sound plays).
bool SpecialModeChange(int ballMode, float ballModeTime, int m, float T, float* time);

// The mode a water block leaves a ball in: fire, explosive and electro balls turn normal.
inline int WaterModeAfter(int mode) {
    return (mode == BALL_FIRE || mode == BALL_EXPLOSIVE || mode == BALL_ELECTRO) ? BALL_NORMAL : mode;
}
