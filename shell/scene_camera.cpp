#include "shell/scene_camera.h"

#include <cmath>

#include "platform/sys/crt_rand.h"
#include "sound/sound_device.h"

namespace {

constexpr float PLAY_FOV = 45.0f;
constexpr float STILL_PITCH = -50.0f;

YMatrix Translation(float x, float y, float z) {
    YMatrix t;
    t.MatrixSetTranslation(YVector(x, y, z));
    return t;
}

} // namespace

float CameraFitDistance(float halfWidth, float halfDepth) {
    const float r2 = halfWidth * halfWidth + halfDepth * halfDepth;
    const float l = std::sqrt(r2) * CAMERA_DISTANCE_FACTOR * 0.9f;
    return std::sqrt(l * l - r2);
}

YMatrix LookAtView(const YVector& eye, const YVector& target, const YVector& up) {
    YVector z = eye - target;
    z.Normalize();
    YVector x(up.y * z.z - up.z * z.y, up.z * z.x - up.x * z.z, up.x * z.y - up.y * z.x);
    x.Normalize();
    const YVector y(z.y * x.z - z.z * x.y, z.z * x.x - z.x * x.z, z.x * x.y - z.y * x.x);
    YMatrix v;
    const YVector axes[3] = {x, y, z};
    for (int c = 0; c < 3; ++c) {
        v.m[c] = axes[c].x;
        v.m[4 + c] = axes[c].y;
        v.m[8 + c] = axes[c].z;
        v.m[12 + c] = -eye.Dot(axes[c]);
    }
    v.m[3] = v.m[7] = v.m[11] = 0.0f;
    v.m[15] = 1.0f;
    return v;
}

void MoveSoundListener(const YVector* position, const YVector* front, const YVector* top) {
    SetListenerPosition(position);
    SetListenerOrientation(front, top);
}

YSceneCamera::YSceneCamera() : orbitView(35.0f, -40.0f, -65.0f, -25.0f), moveListener(&MoveSoundListener) {
    menuOrbiter.Init(180.0f, 9.0f, 19.0f, 13.0f, 10.0f, 1.0f, 19.0f, 2.0f);
    // Init places it at radius 10 behind the table; the framework's record starts there too.
    menuOrbiter.position = YVector(0.0f, -10.0f, 19.0f);
}

bool YSceneCamera::Update(float dt, int gameState, float halfWidth, float halfDepth) {
    const float d = CameraFitDistance(halfWidth, halfDepth);
    // Matrix products here apply their right-hand factor first.
    if (dt == 0.0f) {
        const float yaw = static_cast<float>(plat::CrtRand()) * 90.0f / 32767.0f - 45.0f;
        YMatrix rz, rx;
        rz.SetRotationZ(yaw);
        rx.SetRotationX(STILL_PITCH);
        const YMatrix view = Translation(0.0f, 0.0f, -d) * (rx * rz);
        g_Camera.SetView(&view);
        return false;
    }
    bool dirty = false;
    if (gameState & SCENE_CAMERA_PLAY_STATES) {
        YMatrix rotation;
        orbitView.GetMatrix(rotation.m);
        const YMatrix view = Translation(0.0f, 0.0f, -d) * rotation;
        g_Camera.SetView(&view);
    } else {
        menuOrbiter.radiusBase = d;
        menuOrbiter.radiusAmplitude = 0.3f * d;
        menuOrbiter.Update(dt);
        const YVector eye = menuOrbiter.position;
        const YMatrix view = LookAtView(eye, YVector(-eye.x, -eye.y, -eye.z), YVector(0.0f, 0.0f, 1.0f));
        g_Camera.SetView(&view);
        dirty = true;
    }
    g_Camera.SetFov(PLAY_FOV);
    // The listener turns with the camera but stays at the table: only the inverse view's rotation
    // is used, rows 1 and 2 being the camera's up and back directions in the world.
    const float* m = g_Camera.inverse.m;
    const YVector back(m[8], m[9], m[10]);
    const YVector top(m[4], m[5], m[6]);
    const YVector position = back * -halfDepth;
    if (moveListener) moveListener(&position, &back, &top);
    return dirty;
}
