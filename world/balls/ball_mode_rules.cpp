#include "world/balls/ball_mode_rules.h"

int UniversalNextInner(int inner, float* switchTimer, int roll) {
    if (inner == BALL_EXPLOSIVE) return BALL_FIRE;
    if (*switchTimer > 0.0f) return inner;
    *switchTimer = 1.0f;
    return roll % 7;
}

bool SpecialModeChange(int ballMode, float ballModeTime, int m, float T, float* time) {
    const bool same = ballMode == m || (m == BALL_FIRE && ballMode == BALL_EXPLOSIVE);
    if (same) {
        *time = T > ballModeTime ? T : ballModeTime;
        return false;
    }
    *time = T;
    return true;
}
