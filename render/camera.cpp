#include "render/camera.h"

#include <algorithm>
#include <cmath>
#include <cstring>

YCamera g_Camera;

namespace {

YVector Cross(const YVector& a, const YVector& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Clamp(float v, float lo, float hi) { return std::max(lo, std::min(v, hi)); }

} // namespace

// ---- YCamera ----

YCamera::YCamera() {
    SetFov(45.0f);
    YMatrix tilt, back;
    tilt.SetRotationX(-25.0f);
    back.MatrixSetTranslation(YVector(0.0f, 0.0f, -30.0f));
    const YMatrix v = back * tilt; // tilt first, then move back
    SetView(&v);
    lightDir.Set(-0.1f, 0.2f, -0.3f);
    lightDir.Normalize();
}

void YCamera::SetFov(float degrees) {
    fov = degrees;
    tanHalfFov = std::tan(degrees * 3.1415927f / 360.0f);
}

void YCamera::SetView(const YMatrix* v) {
    view = *v;
    inverse = view.InverseAffine();
    const float* m = view.m;
    right.Set(m[0], m[4], m[8]);
    up.Set(m[1], m[5], m[9]);
    back.Set(m[2], m[6], m[10]);
    rightPlusUp = right + up;
    rightMinusUp = right - up;
}

void YCamera::SetLightDir(const YVector* dir) { lightDir = *dir; }

// ---- YArcBall ----

YArcBall::YArcBall() : angle(0.0f), axis(0.0f, 0.0f, 0.0f), start(0.0f, 0.0f, 1.0f), dragging(false) {
    stored.MatrixSetTranslation(YVector(0.0f, 0.0f, 0.0f));
}

void YArcBall::SetWindowSize(int w, int h) {
    if (w < 1 || h < 1) return;
    width = w;
    height = h;
}

YVector YArcBall::MapToSphere(int x, int y) const {
    // Without a window size every point maps to the sphere's centre, so nothing turns.
    const float px = width > 0 ? (2.0f * float(x) - float(width)) / float(width) : 0.0f;
    const float py = height > 0 ? (float(height) - 2.0f * float(y)) / float(height) : 0.0f;
    const float len = std::sqrt(px * px + py * py);
    YVector p(px, py, std::cos(std::min(len, 1.0f) * 1.5707964f));
    p.Normalize();
    return p;
}

void YArcBall::BeginDrag(int x, int y) {
    dragging = true;
    start = MapToSphere(x, y);
}

void YArcBall::Drag(int x, int y) {
    if (!dragging) return;
    // Always measured from the drag's start: the pending rotation is replaced, not accumulated.
    const YVector p = MapToSphere(x, y);
    const YVector d = p - start;
    angle = std::sqrt(d.Dot(d)) * 180.0f;
    axis = Cross(start, p);
}

void YArcBall::EndDrag(int, int) { dragging = false; }

float* YArcBall::GetMatrix(float out[16]) {
    if (angle != 0.0f) {
        YMatrix turn;
        turn.SetRotationAxis(angle, &axis);
        const YMatrix result = turn * stored; // the stored rotation first, then the drag's
        if (dragging) {
            std::memcpy(out, result.m, sizeof result.m);
            return out;
        }
        stored = result;
        angle = 0.0f;
        axis.Set(0.0f, 0.0f, 0.0f);
    }
    std::memcpy(out, stored.m, sizeof stored.m);
    return out;
}

// ---- YOrbitView ----

YOrbitView::YOrbitView(float yawLimit_, float initialPitch_, float pitchMin_, float pitchMax_)
    : yawLimit(yawLimit_), pitchMin(pitchMin_), pitchMax(pitchMax_), initialPitch(initialPitch_) {
    Reset();
}

void YOrbitView::Reset() {
    yaw = 0.0f;
    pitch = initialPitch;
    Rebuild(yaw, pitch);
}

void YOrbitView::SetWindowSize(int w, int h) {
    if (w < 1 || h < 1) return;
    width = w;
    height = h;
}

void YOrbitView::BeginDrag(int x, int y) {
    dragging = true;
    startX = x;
    startY = y;
}

void YOrbitView::MapDrag(int x, int y, float* newYaw, float* newPitch) const {
    // Without a window size a drag moves nothing (rather than dividing by zero).
    float dYaw = 0.0f, dPitch = 0.0f;
    if (width > 0) dYaw = 2.0f * yawLimit * float(x - startX) / (float(width) * 0.5f);
    if (height > 0) dPitch = (pitchMax - pitchMin) * float(y - startY) / (float(height) * 0.5f);
    *newYaw = Clamp(yaw + dYaw, -yawLimit, yawLimit);
    *newPitch = Clamp(pitch + dPitch, pitchMin, pitchMax);
}

void YOrbitView::Rebuild(float newYaw, float newPitch) {
    YMatrix turn, tilt;
    turn.SetRotationZ(newYaw);
    tilt.SetRotationX(newPitch);
    rotation = tilt * turn; // yaw first, then pitch
}

void YOrbitView::Drag(int x, int y) {
    if (!dragging) return;
    float newYaw, newPitch;
    MapDrag(x, y, &newYaw, &newPitch);
    Rebuild(newYaw, newPitch);
}

void YOrbitView::EndDrag(int x, int y) {
    // A release without a press (the button went down outside the window) has no start point
    // to measure from, so it changes nothing.
    if (!dragging) return;
    MapDrag(x, y, &yaw, &pitch);
    Rebuild(yaw, pitch);
    dragging = false;
}

float* YOrbitView::GetMatrix(float out[16]) const {
    std::memcpy(out, rotation.m, sizeof rotation.m);
    return out;
}
