// The scene camera: the fitting distance, the look-at view, the wandering menu orbit, and which
// states move the sound listener.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/camera.h"
#include "shell/scene_camera.h"

namespace {

struct ListenerSpy {
    static inline int calls = 0;
    static inline YVector position, front, top;
    static void Move(const YVector* p, const YVector* f, const YVector* t) {
        ++calls;
        position = *p;
        front = *f;
        top = *t;
    }
};

class SceneCameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = g_Camera;
        ListenerSpy::calls = 0;
        camera_.moveListener = &ListenerSpy::Move;
        plat::CrtSrand(7);
    }
    void TearDown() override { g_Camera = saved_; }

    YCamera saved_;
    YSceneCamera camera_;
};

float Length(const YVector& v) { return std::sqrt(v.Dot(v)); }

struct FitCase {
    float halfWidth, halfDepth, distance;
};

class FitDistanceTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitDistanceTest, MatchesTheTableSize) {
    EXPECT_NEAR(CameraFitDistance(GetParam().halfWidth, GetParam().halfDepth), GetParam().distance, 0.01f);
}

INSTANTIATE_TEST_SUITE_P(Tables, FitDistanceTest,
                         ::testing::Values(FitCase{10, 10, 30.10f}, FitCase{15, 10, 38.37f}, FitCase{5, 20, 43.88f},
                                           FitCase{12.5f, 7.5f, 31.03f}));

TEST(LookAtView, IsAnOrthonormalRotationThatTakesTheEyeToTheOriginAndLooksDownMinusZ) {
    const YVector eye(3.0f, -12.0f, 19.0f), target(-3.0f, 12.0f, -19.0f);
    const YMatrix v = LookAtView(eye, target, YVector(0.0f, 0.0f, 1.0f));
    for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 3; ++b) {
            float dot = 0.0f;
            for (int k = 0; k < 3; ++k) dot += v.m[k * 4 + a] * v.m[k * 4 + b];
            EXPECT_NEAR(dot, a == b ? 1.0f : 0.0f, 1e-5f) << a << "," << b;
        }
    }
    EXPECT_NEAR(v.Determinant3(), 1.0f, 1e-5f);
    const YVector e = v.TransformPoint(eye);
    EXPECT_NEAR(Length(e), 0.0f, 1e-4f);
    const YVector t = v.TransformPoint(target);
    EXPECT_NEAR(t.x, 0.0f, 1e-4f);
    EXPECT_NEAR(t.y, 0.0f, 1e-4f);
    EXPECT_NEAR(t.z, -Length(target - eye), 1e-3f);
    // World up stays up on screen.
    const YVector up = v.TransformPoint(eye + YVector(0.0f, 0.0f, 1.0f));
    EXPECT_GT(up.y, 0.0f);
}

TEST_F(SceneCameraTest, MenuOrbiterTurnsOnceIn40SecondsWithinItsBounds) {
    const float d = CameraFitDistance(10.0f, 10.0f);
    const YVector start = camera_.menuOrbiter.position;
    EXPECT_NEAR(start.x, 0.0f, 1e-4f);
    EXPECT_NEAR(start.y, -10.0f, 1e-4f); // behind the table
    float minR = 1e9f, maxR = 0.0f, minH = 1e9f, maxH = 0.0f, turned = 0.0f;
    float lastYaw = camera_.menuOrbiter.yaw;
    for (int i = 0; i < 4000; ++i) {
        EXPECT_TRUE(camera_.Update(0.01f, 2, 10.0f, 10.0f));
        const YVector p = camera_.menuOrbiter.position;
        const float r = std::hypot(p.x, p.y);
        minR = std::fmin(minR, r);
        maxR = std::fmax(maxR, r);
        minH = std::fmin(minH, p.z);
        maxH = std::fmax(maxH, p.z);
        float step = camera_.menuOrbiter.yaw - lastYaw;
        if (step < 0.0f) step += 360.0f;
        turned += step;
        lastYaw = camera_.menuOrbiter.yaw;
    }
    EXPECT_NEAR(turned, 360.0f, 0.1f);
    EXPECT_NEAR(camera_.menuOrbiter.yaw, 180.0f, 0.1f);
    EXPECT_GE(minR, 0.7f * d - 1e-3f);
    EXPECT_LE(maxR, 1.3f * d + 1e-3f);
    EXPECT_LT(minR, 0.72f * d); // it swings over the whole range
    EXPECT_GT(maxR, 1.28f * d);
    EXPECT_GE(minH, 17.0f - 1e-3f);
    EXPECT_LE(maxH, 21.0f + 1e-3f);
    EXPECT_LT(minH, 17.05f);
    EXPECT_GT(maxH, 20.95f);
}

TEST_F(SceneCameraTest, MenuCameraLooksAtTheTableFromTheOrbiterAndMovesTheListener) {
    camera_.Update(0.5f, 256, 10.0f, 10.0f);
    const YVector eye = camera_.menuOrbiter.position;
    const YVector camEye = g_Camera.Position();
    EXPECT_NEAR(Length(camEye - eye), 0.0f, 1e-3f);
    EXPECT_EQ(g_Camera.fov, 45.0f);
    // The table's middle lies straight ahead.
    const YVector centre = g_Camera.view.TransformPoint(YVector(0.0f, 0.0f, 0.0f));
    EXPECT_NEAR(centre.x, 0.0f, 1e-3f);
    EXPECT_NEAR(centre.y, 0.0f, 1e-3f);
    EXPECT_LT(centre.z, 0.0f);
    ASSERT_EQ(ListenerSpy::calls, 1);
    // The listener faces along the camera's back axis and sits half a table depth along the view.
    EXPECT_NEAR(Length(ListenerSpy::front), 1.0f, 1e-4f);
    EXPECT_NEAR(Length(ListenerSpy::position), 10.0f, 1e-3f);
    EXPECT_NEAR(ListenerSpy::front.Dot(ListenerSpy::top), 0.0f, 1e-4f);
    YVector towardsEye = eye;
    towardsEye.Normalize();
    EXPECT_NEAR(ListenerSpy::front.Dot(towardsEye), 1.0f, 1e-3f);
}

TEST_F(SceneCameraTest, PlayViewStandsAtTheFittingDistanceAndIgnoresDt) {
    for (int state : {8, 64, 2048}) {
        EXPECT_FALSE(camera_.Update(0.01f, state, 10.0f, 10.0f));
        const YMatrix first = g_Camera.view;
        camera_.Update(0.5f, state, 10.0f, 10.0f);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(g_Camera.view.m[i], first.m[i]) << state;
        EXPECT_NEAR(Length(g_Camera.Position()), CameraFitDistance(10.0f, 10.0f), 1e-3f);
        EXPECT_EQ(g_Camera.fov, 45.0f);
    }
    EXPECT_EQ(ListenerSpy::calls, 6);
    // The orbit view tilts the camera up from the racket's side of the table.
    EXPECT_LT(g_Camera.Position().y, 0.0f);
    EXPECT_GT(g_Camera.Position().z, 0.0f);
}

TEST_F(SceneCameraTest, StillViewLeavesListenerAndFovAloneAndStaysWithinItsYaw) {
    g_Camera.SetFov(30.0f);
    const float d = CameraFitDistance(10.0f, 15.0f);
    for (int i = 0; i < 50; ++i) {
        EXPECT_FALSE(camera_.Update(0.0f, i % 2 ? 8 : 2, 10.0f, 15.0f));
        const YVector eye = g_Camera.Position();
        EXPECT_NEAR(Length(eye), d, 1e-3f);
        // Tilted 50 degrees from straight down: the eye's height is D cos 50.
        EXPECT_NEAR(eye.z, d * std::cos(50.0f * 3.14159265f / 180.0f), 1e-3f);
        // Turned at most 45 degrees either way from behind the racket's side.
        const float yaw = std::atan2(-eye.x, -eye.y) * 180.0f / 3.14159265f;
        EXPECT_LE(std::fabs(yaw), 45.01f) << eye.x << " " << eye.y;
    }
    EXPECT_EQ(ListenerSpy::calls, 0);
    EXPECT_EQ(g_Camera.fov, 30.0f);
    EXPECT_EQ(camera_.menuOrbiter.yaw, 180.0f); // the menu orbit did not move
}

} // namespace
