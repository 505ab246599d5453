#pragma once
// A point circling the z axis: its yaw turns at a steady speed while its distance from the axis
// and its height swing on sines of their own phases. The menu camera flies on one, and so does
// each menu comet. Angles in degrees, speeds in degrees per second.
#include "math/vector.h"

struct YOrbiter {
    // Stores the values, sets both phases to 0 and the position to
    // (-radiusBase sin(yaw), radiusBase cos(yaw), heightBase).
    void Init(float yaw, float yawSpeed, float radiusPhaseSpeed, float heightPhaseSpeed, float radiusBase,
              float radiusAmplitude, float heightBase, float heightAmplitude);
    // Advances the three angles by dt (each one that passes 360 loses 360 once) and places the
    // point: radius = base + amplitude sin(radius phase), height likewise, position =
    // (-radius sin(yaw), radius cos(yaw), height).
    void Update(float dt);

    float yaw = 0.0f;
    float radiusPhase = 0.0f;
    float heightPhase = 0.0f;
    float yawSpeed = 0.0f;
    float radiusPhaseSpeed = 0.0f;
    float heightPhaseSpeed = 0.0f;
    float radiusBase = 0.0f;
    float radiusAmplitude = 0.0f;
    float heightBase = 0.0f;
    float heightAmplitude = 0.0f;
    YVector position;
};
