#include "shell/orbiter.h"

#include <cmath>

namespace {
constexpr float DEG = 3.14159265358979f / 180.0f;

float Wrap(float a) { return a > 360.0f ? a - 360.0f : a; }
} // namespace

void YOrbiter::Init(float yaw_, float yawSpeed_, float radiusPhaseSpeed_, float heightPhaseSpeed_, float radiusBase_,
                    float radiusAmplitude_, float heightBase_, float heightAmplitude_) {
    yaw = yaw_;
    yawSpeed = yawSpeed_;
    radiusPhaseSpeed = radiusPhaseSpeed_;
    heightPhaseSpeed = heightPhaseSpeed_;
    radiusBase = radiusBase_;
    radiusAmplitude = radiusAmplitude_;
    heightBase = heightBase_;
    heightAmplitude = heightAmplitude_;
    radiusPhase = 0.0f;
    heightPhase = 0.0f;
    position = YVector(-radiusBase * std::sin(yaw * DEG), radiusBase * std::cos(yaw * DEG), heightBase);
}

void YOrbiter::Update(float dt) {
    yaw = Wrap(yaw + dt * yawSpeed);
    radiusPhase = Wrap(radiusPhase + dt * radiusPhaseSpeed);
    heightPhase = Wrap(heightPhase + dt * heightPhaseSpeed);
    const float radius = radiusBase + radiusAmplitude * std::sin(radiusPhase * DEG);
    const float height = heightBase + heightAmplitude * std::sin(heightPhase * DEG);
    position = YVector(-radius * std::sin(yaw * DEG), radius * std::cos(yaw * DEG), height);
}
