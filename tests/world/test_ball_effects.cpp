// The electro bolt and the ball crown over the null device: how many ribbons a bolt gets, where
// they run and how they are drawn; where a crown sits and when it is not drawn.
#include <cmath>

#include "render/camera.h"
#include "render/draw_list.h"
#include "render/scene_fixture.h"
#include "world/balls/ball_effects.h"

using scenetest::ExpectNear;
using scenetest::SceneTest;

namespace {

float Length(const YVector& v) { return std::sqrt(v.Dot(v)); }

using BallEffects = SceneTest;

TEST_F(BallEffects, SegmentCountsOfABolt) {
    struct Row {
        float length, segmentLength;
        int maxCount, count;
    };
    const Row rows[] = {
        {3.5f, 1.0f, 10, 3}, {0.5f, 1.0f, 10, 1}, {25.0f, 1.0f, 10, 10}, {1.0f, 1.0f, 10, 1}, {2.99f, 1.0f, 10, 2},
        {0.91f, 0.3f, 3, 3}, {5.0f, 0.3f, 3, 3},  {0.0f, 1.0f, 10, 1},   {NAN, 1.0f, 10, 1},  {1e30f, 1e-30f, 10, 10},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.length);
        EXPECT_EQ(LightningSegmentCount(r.length, r.segmentLength, r.maxCount), r.count);
    }
}

TEST_F(BallEffects, ABoltIsAChainOfJitteredRibbonsAcrossTheView) {
    MakeDevice();
    LightningSegment segments[10];
    const YVector from(0, 0, 1), to(25, 0, 1);
    BuildLightning(segments, 10, &from, &to, 0.25f, 1.0f);
    ASSERT_EQ(BlendedDrawQueue().Count(), 10);
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        // Each ribbon starts where the previous one ended; the inner points lie 2.5 apart along
        // the bolt, each within the jitter of its place.
        if (i > 0) ExpectNear(segments[i].start, segments[i - 1].end, 0.0f);
        const YVector ideal(2.5f * static_cast<float>(i + 1), 0, 1);
        const YVector off = segments[i].end - ideal;
        EXPECT_LE(std::fabs(off.x), 0.375f);
        EXPECT_LE(std::fabs(off.y), 0.375f);
        EXPECT_LE(std::fabs(off.z), 0.375f);
        // The side is across the bolt and the camera's line of sight, scaled by the width.
        const YVector u(1, 0, 0);
        const YVector& b = g_Camera.back;
        const YVector side(u.y * b.z - u.z * b.y, u.z * b.x - u.x * b.z, u.x * b.y - u.y * b.x);
        ExpectNear(segments[i].side, side * 0.25f);
    }
    ExpectNear(segments[0].start, from, 0.0f);

    DrawBlendedQueue();
    const std::vector<scenetest::Quad> quads = Quads();
    ASSERT_EQ(quads.size(), 10u);
    // Every ribbon: start + side, end + side, end - side, start - side with u along the width.
    for (const scenetest::Quad& q : quads) {
        EXPECT_FLOAT_EQ(q.v[0].uv.u, 1.0f);
        EXPECT_FLOAT_EQ(q.v[0].uv.v, 0.0f);
        EXPECT_FLOAT_EQ(q.v[1].uv.v, 1.0f);
        EXPECT_FLOAT_EQ(q.v[2].uv.u, 0.0f);
        EXPECT_FLOAT_EQ(q.v[3].uv2.v, 0.0f);
        EXPECT_NEAR(Length(q.v[0].pos - q.v[3].pos), 2.0f * Length(segments[0].side), 1e-4f);
    }
}

TEST_F(BallEffects, ABoltWhoseEndsMeetQueuesNothing) {
    MakeDevice();
    LightningSegment segments[3];
    const YVector p(1, 2, 3);
    BuildLightning(segments, 3, &p, &p, 0.25f, 0.3f);
    const YVector q(NAN, 0, 0);
    BuildLightning(segments, 3, &p, &q, 0.25f, 0.3f);
    EXPECT_EQ(BlendedDrawQueue().Count(), 0);
}

TEST_F(BallEffects, ACrownSitsInFrontOfTheBallTowardTheEye) {
    const YVector eye = g_Camera.Position();
    const YVector ball(1, 2, 0.5f);
    YVector centre;
    float half = 0;
    ASSERT_TRUE(CrownPlacement(ball, 0.5f, 1.5f, &centre, &half));
    EXPECT_FLOAT_EQ(half, 0.75f); // the phantom crown of a radius-0.5 ball
    EXPECT_NEAR(Length(centre - ball), 0.55f, 1e-5f);
    EXPECT_NEAR(Length(eye - centre), Length(eye - ball) - 0.55f, 1e-4f);
    // Grows with the radius.
    ASSERT_TRUE(CrownPlacement(ball, 0.33f, 1.75f, &centre, &half));
    EXPECT_FLOAT_EQ(half, 0.33f * 1.75f);
    // Not drawn from inside the ball.
    EXPECT_FALSE(CrownPlacement(eye, 0.5f, 1.5f, &centre, &half));
}

} // namespace
