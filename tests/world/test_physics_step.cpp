// The physics step: the accumulator, the contact-record rules, the floor kick loudness, friction,
// and small real scenes (bounces, phantom balls, both listeners of a pair).
#include <vector>

#include "tests/world/physics_fixture.h"
#include "world/physics/categories.h"

namespace {

TEST(StepAccumulator, StepsOnceEnoughTimeHasBuiltUp) {
    struct Case {
        std::vector<float> frames;
        std::vector<float> steps; // sizes of the steps taken
    };
    const Case cases[] = {
        {{0.01f, 0.01f, 0.01f}, {0.03f}},
        {{0.05f}, {0.05f}},
        {{0.0125f, 0.0125f}, {0.025f}},
        {{0.01f, 0.01f}, {}},
        {{0.01f, 0.01f, 0.01f, 0.01f, 0.01f, 0.01f}, {0.03f, 0.03f}},
        {{0.0f, 0.0f}, {}},
    };
    for (const Case& c : cases) {
        YStepAccumulator acc;
        std::vector<float> steps;
        for (float dt : c.frames) {
            float step = 0.0f;
            if (acc.Advance(dt, &step)) steps.push_back(step);
        }
        ASSERT_EQ(steps.size(), c.steps.size()) << "first frame " << c.frames[0];
        for (std::size_t i = 0; i < steps.size(); ++i) EXPECT_NEAR(steps[i], c.steps[i], 1e-6f);
    }
}

TEST(PairRecord, DepthThresholdByWhoTakesPart) {
    EXPECT_FLOAT_EQ(PairDepthThreshold(0, 2), 0.05f); // block-block
    EXPECT_FLOAT_EQ(PairDepthThreshold(0, 1), 0.05f); // block-floor
    EXPECT_FLOAT_EQ(PairDepthThreshold(1, 2), 0.0f);  // ball-block
    EXPECT_GT(PairDepthThreshold(1, 1), 1000.0f);     // ball-static: never
    EXPECT_GT(PairDepthThreshold(2, 2), 1000.0f);     // ball-ball: never
}

TEST(PairRecord, SelectsRisingDepthsAndHonoursTheRecordLimit) {
    struct Case {
        std::vector<float> depths;
        float threshold;
        int recordCount;
        int k;
        int chosen;
        float depth;
    };
    const Case cases[] = {
        {{0.2f, 0.1f, 0.3f}, 0.05f, 0, 2, 2, 0.3f},
        {{0.03f}, 0.05f, 0, 0, -1, 0.05f},          // blocks touching lightly: no record
        {{0.001f}, 0.0f, 0, 1, 0, 0.001f},          // a ball grazing a block: recorded
        {{0.5f, 0.4f}, 1000000.0f, 0, 0, -1, 1e6f}, // ball against static geometry
        {{0.2f}, 0.05f, MAX_CONTACT_RECORDS, 0, -1, 0.05f},
        {{0.2f}, 0.05f, MAX_CONTACT_RECORDS - 1, 1, 0, 0.2f},
        {{0.1f, 0.1f, 0.1f, 0.4f}, 0.0f, 0, 2, 3, 0.4f},
    };
    for (const Case& c : cases) {
        int chosen = 99;
        float depth = 0.0f;
        bool recorded[4];
        const int k = SelectPairContacts(c.depths.data(), static_cast<int>(c.depths.size()), c.threshold, c.recordCount,
                                         &chosen, &depth, recorded);
        EXPECT_EQ(k, c.k) << c.depths[0];
        EXPECT_EQ(chosen, c.chosen) << c.depths[0];
        EXPECT_FLOAT_EQ(depth, c.depth) << c.depths[0];
    }
}

TEST(FloorKick, LoudnessFromTheAngleOfImpact) {
    const YVector up(0, 0, 1);
    struct Case {
        YVector v;
        bool sounds;
        float impact;
    };
    const float c = 0.05f, s = std::sqrt(1.0f - c * c);
    const Case cases[] = {
        {{0, 0, -5}, true, 1.0f},    // straight down: 1.5 capped to 1
        {{5, 0, 0}, false, 0.0f},    // rolling
        {{s, 0, -c}, false, 0.075f}, // cosine 0.05: 0.075 is too soft
        {{0, 0, 0}, false, 0.0f},    // still
        {{0, 0.6f, -0.8f}, true, 1.0f}, {{0, 0.8f, -0.6f}, true, 0.9f},
    };
    for (const Case& k : cases) {
        const float impact = FloorKickImpact(k.v, up);
        EXPECT_NEAR(impact, k.impact, 1e-5f);
        EXPECT_EQ(impact > 0.1f, k.sounds);
    }
}

TEST_F(PhysicsTest, FrictionZeroOrNegativeRestoresInfinity) {
    const struct {
        float mu;
        bool infinite;
    } cases[] = {{0.1f, false}, {0.0f, true}, {5.0f, false}, {-1.0f, true}};
    for (const auto& c : cases) {
        g_PhysicsWorld.SetContactFriction(c.mu);
        if (c.infinite)
            EXPECT_EQ(ContactFriction(), dInfinity);
        else
            EXPECT_DOUBLE_EQ(ContactFriction(), c.mu);
    }
}

TEST_F(PhysicsTest, StepWaitsForEnoughTime) {
    std::vector<float> steps;
    static std::vector<float>* seen;
    seen = &steps;
    g_PhysicsStepObserver = [](float s) { seen->push_back(s); };
    Run(3, 0.01f);
    Run(1, 0.05f);
    g_PhysicsStepObserver = nullptr;
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_NEAR(steps[0], 0.03f, 1e-6f);
    EXPECT_NEAR(steps[1], 0.05f, 1e-6f);
}

// Records every call a body's listener gets.
struct Recorder : YBumpEvent {
    struct Call {
        YBumpEvent* other;
        YVector force, normal, position;
        float depth;
    };
    std::vector<Call> contacts;
    std::vector<float> kicks;
    void OnContact(void*, YBumpEvent* other, const YVector* force, const YVector*, const YVector* position,
                   const YVector* normal, float depth) override {
        contacts.push_back({other, *force, *normal, *position, depth});
    }
    void KickSound(const YVector*, float volume) override { kicks.push_back(volume); }
};

TEST_F(PhysicsTest, BallBouncesOffFloorAndWallAndKeepsItsSpeed) {
    PhysicsSetArena(nullptr, 20.0f, 20.0f, 3.0f);
    YRigidBall ball(0.5f, 0, 10.0f);
    Recorder listener;
    ball.Configure(0.5f, 0, 10.0f, &listener);
    const YVector inertia(1e-5f, 1e-5f, 1e-5f);
    ball.SetMassDiagonal(1.0f, &inertia, false);
    const YVector dir(0.0f, 1.0f, 0.0f);
    const YVector start(0.0f, 0.0f, 0.5f);
    ball.Launch(&dir, &start);
    float maxY = -100.0f;
    bool cameBack = false;
    for (int i = 0; i < 400; ++i) {
        ball.Update(0.025f);
        g_PhysicsWorld.PhysicsStep(0.025f);
        const YVector p = PositionOf(ball);
        maxY = std::max(maxY, p.y);
        ASSERT_GT(p.z, 0.0f) << "fell through the floor at step " << i;
        if (maxY > 9.0f && VelocityOf(ball).y < 0.0f) cameBack = true;
        if (cameBack && p.y < 0.0f) break;
    }
    EXPECT_TRUE(cameBack) << "never bounced off the far wall";
    EXPECT_LT(maxY, 10.0f);
    const YVector v = VelocityOf(ball);
    const float h = std::sqrt(v.x * v.x + v.y * v.y);
    EXPECT_NEAR(h, 0.7f * 10.0f, 2.0f) << "the speed factor keeps the horizontal speed";
}

// A ball of mass 1 fired along +y at a box resting ahead of it.
struct BallAtBox {
    YRigidBall ball{0.5f, 0, 10.0f};
    YRigidBox box;
    Recorder ballListener, boxListener;

    BallAtBox(int kind, float boxY) : box(&kHalf, false) {
        ball.Configure(0.5f, kind, 10.0f, &ballListener);
        const YVector inertia(1e-5f, 1e-5f, 1e-5f);
        ball.SetMassDiagonal(1.0f, &inertia, false);
        box.listener = &boxListener;
        const YVector boxInertia(1.0f / 6, 1.0f / 6, 1.0f / 6);
        box.SetMassDiagonal(1.0f, &boxInertia, true);
        const YMatrix at = At(0.0f, boxY, 0.52f);
        box.SetMatrix(&at);
        const YVector dir(0.0f, 1.0f, 0.0f);
        const YVector start(0.0f, 0.0f, 0.52f);
        ball.Launch(&dir, &start);
    }
    void Play(int steps) {
        for (int i = 0; i < steps; ++i) {
            ball.Update(0.025f);
            g_PhysicsWorld.PhysicsStep(0.025f);
        }
    }
    static const YVector kHalf;
};
const YVector BallAtBox::kHalf(0.5f, 0.5f, 0.5f);

TEST_F(PhysicsTest, BothListenersOfAPairHearOppositeNormals) {
    PhysicsSetArena(nullptr, 20.0f, 20.0f, 3.0f);
    BallAtBox scene(0, 4.0f);
    for (int i = 0; i < 100 && scene.boxListener.contacts.empty(); ++i) scene.Play(1);
    ASSERT_FALSE(scene.boxListener.contacts.empty());
    ASSERT_FALSE(scene.ballListener.contacts.empty());
    const Recorder::Call& onBox = scene.boxListener.contacts.back();
    Recorder::Call onBall{};
    bool found = false;
    for (const Recorder::Call& c : scene.ballListener.contacts)
        if (c.other == &scene.boxListener) {
            onBall = c;
            found = true;
        }
    ASSERT_TRUE(found) << "the ball heard of the box";
    EXPECT_EQ(onBox.other, &scene.ballListener);
    EXPECT_NEAR(onBox.normal.x, -onBall.normal.x, 1e-5f);
    EXPECT_NEAR(onBox.normal.y, -onBall.normal.y, 1e-5f);
    EXPECT_NEAR(onBox.normal.z, -onBall.normal.z, 1e-5f);
    EXPECT_NEAR(Length(onBox.normal), 1.0f, 1e-4f);
    EXPECT_GT(Length(onBox.force), 0.0f) << "a real hit carries a force";
    EXPECT_LE(ContactRecordCount(), MAX_CONTACT_RECORDS);
}

TEST_F(PhysicsTest, BallBouncesOffABlockButAPhantomPassesThrough) {
    PhysicsSetArena(nullptr, 20.0f, 20.0f, 3.0f);
    for (int kind : {0, 2}) {
        BallAtBox scene(kind, 4.0f);
        scene.Play(80);
        const YVector p = PositionOf(scene.ball);
        if (kind == 0) {
            EXPECT_LT(p.y, 3.5f) << "an ordinary ball came back from the block";
            EXPECT_FALSE(scene.boxListener.contacts.empty());
        } else {
            EXPECT_GT(p.y, 4.5f) << "a phantom ball flew through the block";
            EXPECT_GT(p.z, 0.0f) << "and still rolls on the floor";
            for (const Recorder::Call& c : scene.boxListener.contacts)
                EXPECT_EQ(Length(c.force), 0.0f) << "an unattached contact reports no force";
            EXPECT_NEAR(PositionOf(scene.box).y, 4.0f, 0.05f) << "the block did not move";
        }
    }
}

TEST_F(PhysicsTest, BallDroppedOnTheFloorKicksOnceLoudly) {
    PhysicsSetArena(nullptr, 20.0f, 20.0f, 3.0f);
    YRigidBall ball(0.5f, 0, 10.0f);
    Recorder listener;
    ball.Configure(0.5f, 0, 10.0f, &listener);
    const YMatrix at = At(0.0f, 0.0f, 3.0f);
    ball.SetMatrix(&at);
    const YVector down(0.0f, 0.0f, -5.0f);
    ball.SetLinearVel(&down);
    Run(40);
    ASSERT_FALSE(listener.kicks.empty());
    EXPECT_FLOAT_EQ(listener.kicks.front(), 1.0f);
    EXPECT_TRUE(listener.contacts.empty()) << "ball against static geometry makes no record";
}

} // namespace
