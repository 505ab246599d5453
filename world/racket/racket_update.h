#pragma once
// Process-wide values of the racket's per-frame step: the parked walk's angle along its circle and
// the key it was on, and the countdown to the next slip stumble.
struct YRacketWalk {
    float parkedAngle = 0.0f; // arc length walked round the parked circle, world units
    int parkedKey = 0;
    float stumbleCountdown = 3.0f;
};

YRacketWalk& RacketWalk();
