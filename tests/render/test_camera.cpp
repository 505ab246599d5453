#include "render/camera.h"

#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

namespace {

constexpr float kTol = 1e-5f;

void ExpectNear(const YVector& got, const YVector& want, float tol = kTol) {
    EXPECT_NEAR(got.x, want.x, tol);
    EXPECT_NEAR(got.y, want.y, tol);
    EXPECT_NEAR(got.z, want.z, tol);
}

void ExpectMatrixNear(const float* got, const float* want, float tol = kTol) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(got[i], want[i], tol) << "element " << i;
}

YMatrix Translation(float x, float y, float z) {
    YMatrix t;
    t.MatrixSetTranslation(YVector(x, y, z));
    return t;
}

YMatrix FromFloats(const float* f) {
    YMatrix m;
    std::memcpy(m.m, f, sizeof m.m);
    return m;
}

// The image of a point under a matrix given as 16 floats.
YVector Apply(const float* f, const YVector& p) { return FromFloats(f).TransformPoint(p); }

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// ---- rotations used by the views ----

TEST(Rotation, AboutXTurnsYTowardZ) {
    YMatrix r;
    r.SetRotationX(90.0f);
    ExpectNear(r.TransformPoint({0, 1, 0}), {0, 0, 1});
    ExpectNear(r.TransformPoint({0, 0, 1}), {0, -1, 0});
    r.SetRotationX(0.0f);
    ExpectMatrixNear(r.m, kIdentity);
}

TEST(Rotation, AboutAnAxisTable) {
    struct Case {
        float degrees;
        YVector axis, from, to;
    };
    const Case cases[] = {
        {90, {0, 0, 5}, {1, 0, 0}, {0, 1, 0}}, // the axis need not be of unit length
        {90, {2, 0, 0}, {0, 1, 0}, {0, 0, 1}}, // the same sense as the rotation about x
        {90, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
        {120, {1, 1, 1}, {1, 0, 0}, {0, 1, 0}}, // a third of a turn about the diagonal
        {120, {1, 1, 1}, {0, 0, 1}, {1, 0, 0}},
        {-90, {0, 0, 1}, {0, 1, 0}, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.degrees << " about (" << c.axis.x << ", " << c.axis.y << ", " << c.axis.z
                                        << ")");
        YMatrix r;
        r.SetRotationAxis(c.degrees, &c.axis);
        ExpectNear(r.TransformPoint(c.from), c.to);
        EXPECT_EQ(r.m[15], 1.0f);
        EXPECT_EQ(r.m[12], 0.0f);
    }
}

// ---- the camera ----

TEST(Camera, DefaultView) {
    const YCamera cam;
    EXPECT_FLOAT_EQ(cam.fov, 45.0f);
    EXPECT_NEAR(cam.tanHalfFov, 0.41421356f, kTol);

    // Tilted 25 degrees down, 30 units back: the eye sits behind and above the origin.
    const YVector eye = cam.Position();
    ExpectNear(eye, {0.0f, -12.678548f, 27.189234f}, 1e-4f);
    EXPECT_NEAR(std::sqrt(eye.Dot(eye)), 30.0f, 1e-4f);
    ExpectNear(cam.view.TransformPoint({0, 0, 0}), {0, 0, -30}, 1e-4f);
    ExpectNear(cam.view.TransformPoint(eye), {0, 0, 0}, 1e-4f);

    ExpectNear(cam.right, {1, 0, 0});
    ExpectNear(cam.up, {0, 0.90630779f, 0.42261826f});
    ExpectNear(cam.back, {0, -0.42261826f, 0.90630779f});
    ExpectNear(cam.rightPlusUp, {1, 0.90630779f, 0.42261826f});
    ExpectNear(cam.rightMinusUp, {1, -0.90630779f, -0.42261826f});

    ExpectNear(cam.lightDir, {-0.26726124f, 0.53452248f, -0.80178373f});
}

TEST(Camera, SetViewTable) {
    YMatrix turn;
    turn.SetRotationZ(90.0f);
    YMatrix scale = Translation(0, 0, -10);
    scale.m[0] = scale.m[5] = scale.m[10] = 2.0f;

    struct Case {
        const char* name;
        YMatrix view;
        YVector eye, right, up, back;
    };
    const Case cases[] = {
        {"moved only", Translation(-1, -2, -3), {1, 2, 3}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        // Turned about z first, then moved by (1, 2, 3).
        {"turned and moved", Translation(1, 2, 3) * turn, {-2, 1, -3}, {0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
        // A scaled view needs the true inverse, not the transpose.
        {"scaled", scale, {0, 0, 5}, {2, 0, 0}, {0, 2, 0}, {0, 0, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        YCamera cam;
        cam.SetView(&c.view);
        ExpectNear(cam.Position(), c.eye);
        ExpectNear(cam.right, c.right);
        ExpectNear(cam.up, c.up);
        ExpectNear(cam.back, c.back);
        ExpectNear(cam.rightPlusUp, c.right + c.up);
        ExpectNear(cam.rightMinusUp, c.right - c.up);
        const YMatrix product = cam.inverse * cam.view;
        ExpectMatrixNear(product.m, kIdentity);
        EXPECT_EQ(cam.inverse.m[3], 0.0f);
        EXPECT_EQ(cam.inverse.m[15], 1.0f);
    }
}

TEST(Camera, FovAndLight) {
    YCamera cam;
    cam.SetFov(90.0f);
    EXPECT_FLOAT_EQ(cam.fov, 90.0f);
    EXPECT_NEAR(cam.tanHalfFov, 1.0f, kTol);
    cam.SetFov(60.0f);
    EXPECT_NEAR(cam.tanHalfFov, 0.57735027f, kTol);

    const YVector light(0, 0, -2);
    cam.SetLightDir(&light);
    ExpectNear(cam.lightDir, {0, 0, -2}); // kept as given, not normalised
}

TEST(Camera, TheGlobalCameraStartsWithTheDefaultView) {
    const YCamera fresh;
    ExpectMatrixNear(g_Camera.view.m, fresh.view.m);
}

// ---- trackball ----

class ArcBallTest : public ::testing::Test {
protected:
    void SetUp() override { ball.SetWindowSize(800, 600); }
    YArcBall ball;
    float out[16];
};

TEST_F(ArcBallTest, StartsAtIdentity) {
    ExpectMatrixNear(ball.GetMatrix(out), kIdentity);
    EXPECT_FALSE(ball.dragging);
}

TEST_F(ArcBallTest, MapToSphere) {
    ExpectNear(ball.MapToSphere(400, 300), {0, 0, 1});
    ExpectNear(ball.MapToSphere(800, 300), {1, 0, 0});
    ExpectNear(ball.MapToSphere(400, 0), {0, 1, 0});    // window y grows downward
    ExpectNear(ball.MapToSphere(1200, 300), {1, 0, 0}); // outside the outline: on the rim
}

TEST_F(ArcBallTest, ADragPreviewsThenFoldsInOnce) {
    // 4 pixels right of the centre: the chord to the start is 0.0100009, so the angle is
    // 1.80015 degrees about +y, turning the start point (0, 0, 1) toward +x.
    const YVector towardViewer(0, 0, 1), turned(0.03141346f, 0, 0.99950648f);
    ball.BeginDrag(400, 300);
    ball.Drag(404, 300);
    EXPECT_NEAR(ball.angle, 1.80015f, 1e-4f);
    ExpectNear(Apply(ball.GetMatrix(out), towardViewer), turned);
    // A preview stores nothing: asking again gives the same turn, not twice the turn.
    ExpectNear(Apply(ball.GetMatrix(out), towardViewer), turned);
    ExpectMatrixNear(ball.stored.m, kIdentity);

    ball.EndDrag(404, 300);
    ExpectNear(Apply(ball.GetMatrix(out), towardViewer), turned);
    ExpectNear(Apply(ball.stored.m, towardViewer), turned);
    EXPECT_EQ(ball.angle, 0.0f);
    ExpectNear(Apply(ball.GetMatrix(out), towardViewer), turned);
}

TEST_F(ArcBallTest, ADragBackToItsStartChangesNothing) {
    ball.BeginDrag(300, 200);
    ball.Drag(500, 450);
    EXPECT_NE(ball.angle, 0.0f);
    ball.Drag(300, 200);
    EXPECT_EQ(ball.angle, 0.0f);
    ball.EndDrag(300, 200);
    ExpectMatrixNear(ball.GetMatrix(out), kIdentity);
}

TEST_F(ArcBallTest, ASecondDragTurnsAfterTheStoredRotation) {
    YArcBall second;
    second.SetWindowSize(800, 600);
    second.BeginDrag(400, 300);
    second.Drag(400, 500);
    float alone[16];
    second.GetMatrix(alone);

    ball.BeginDrag(400, 300);
    ball.Drag(650, 300);
    ball.EndDrag(650, 300);
    float first[16];
    ball.GetMatrix(first);
    ball.BeginDrag(400, 300);
    ball.Drag(400, 500);
    ball.GetMatrix(out);

    const YMatrix expected = FromFloats(alone) * FromFloats(first); // first, then the new drag
    ExpectMatrixNear(out, expected.m);
}

TEST_F(ArcBallTest, MovesWithoutAPressAreIgnored) {
    ball.Drag(700, 100);
    ExpectMatrixNear(ball.GetMatrix(out), kIdentity);
}

TEST(ArcBall, AMinimisedWindowKeepsTheLastSize) {
    YArcBall ball;
    ball.SetWindowSize(800, 600);
    ball.SetWindowSize(0, 0);
    EXPECT_EQ(ball.width, 800);
    EXPECT_EQ(ball.height, 600);

    // Never sized: a drag turns nothing and the matrix stays finite.
    YArcBall unsized;
    unsized.BeginDrag(10, 10);
    unsized.Drag(300, 200);
    unsized.EndDrag(300, 200);
    float out[16];
    ExpectMatrixNear(unsized.GetMatrix(out), kIdentity);
}

// ---- orbit ----

class OrbitTest : public ::testing::Test {
protected:
    void SetUp() override { view.SetWindowSize(800, 600); }
    YOrbitView view{35.0f, -40.0f, -65.0f, -25.0f}; // the game's limits
    float out[16];
};

TEST_F(OrbitTest, StartsAtTheInitialPitch) {
    EXPECT_EQ(view.yaw, 0.0f);
    EXPECT_EQ(view.pitch, -40.0f);
    EXPECT_FALSE(view.dragging);
    view.GetMatrix(out);
    ExpectNear(Apply(out, {1, 0, 0}), {1, 0, 0});
    ExpectNear(Apply(out, {0, 1, 0}), {0, 0.76604444f, -0.64278761f});
}

TEST_F(OrbitTest, DragPreviewsAndReleaseStores) {
    // 100 px of a 400 px half width: a quarter of twice the limit, 17.5 degrees; 30 px of a
    // 300 px half height: a tenth of the 40 degree range.
    const YVector turned(0.95371695f, 0.2432761f, -0.17675043f);
    view.BeginDrag(400, 300);
    view.Drag(500, 330);
    EXPECT_TRUE(view.dragging);
    EXPECT_EQ(view.yaw, 0.0f);
    EXPECT_EQ(view.pitch, -40.0f);
    ExpectNear(Apply(view.GetMatrix(out), {1, 0, 0}), turned);

    view.EndDrag(500, 330);
    EXPECT_FALSE(view.dragging);
    EXPECT_NEAR(view.yaw, 17.5f, kTol);
    EXPECT_NEAR(view.pitch, -36.0f, kTol);
    ExpectNear(Apply(view.GetMatrix(out), {1, 0, 0}), turned);
}

TEST_F(OrbitTest, ClampTable) {
    struct Case {
        int x0, y0, x1, y1;
        float yaw, pitch;
    };
    const Case cases[] = {
        {0, 300, 800, 300, 35.0f, -40.0f}, // the whole width asks for 4 x 35, gets 35
        {800, 300, 0, 300, -35.0f, -40.0f},
        {400, 0, 400, 600, 0.0f, -25.0f}, // down: tilt up to the maximum
        {400, 600, 400, 0, 0.0f, -65.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.x0 << ", " << c.y0 << ") to (" << c.x1 << ", " << c.y1 << ")");
        view.Reset();
        view.BeginDrag(c.x0, c.y0);
        view.EndDrag(c.x1, c.y1);
        EXPECT_NEAR(view.yaw, c.yaw, kTol);
        EXPECT_NEAR(view.pitch, c.pitch, kTol);
    }
}

TEST_F(OrbitTest, ReleasingAtTheStartChangesNothing) {
    view.BeginDrag(400, 300);
    view.EndDrag(500, 330);
    float before[16];
    view.GetMatrix(before);

    view.BeginDrag(200, 100);
    view.Drag(700, 500);
    view.EndDrag(200, 100);
    EXPECT_NEAR(view.yaw, 17.5f, kTol);
    EXPECT_NEAR(view.pitch, -36.0f, kTol);
    ExpectMatrixNear(view.GetMatrix(out), before);
}

TEST_F(OrbitTest, AReleaseWithoutAPressChangesNothing) {
    view.EndDrag(800, 600);
    EXPECT_EQ(view.yaw, 0.0f);
    EXPECT_EQ(view.pitch, -40.0f);
}

TEST_F(OrbitTest, AMinimisedWindowKeepsTheLastSize) {
    view.BeginDrag(400, 300);
    view.SetWindowSize(0, 0); // minimised while the button is held
    view.EndDrag(500, 330);
    EXPECT_NEAR(view.yaw, 17.5f, kTol);
    EXPECT_NEAR(view.pitch, -36.0f, kTol);
}

TEST_F(OrbitTest, ResetRestoresTheStart) {
    view.BeginDrag(400, 300);
    view.EndDrag(600, 400);
    view.Reset();
    EXPECT_EQ(view.yaw, 0.0f);
    EXPECT_EQ(view.pitch, -40.0f);
}

} // namespace
