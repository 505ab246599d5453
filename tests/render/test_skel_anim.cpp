// Skeletal animation: channel set-up, fades over time, non-looping lists, synced channels,
// blending, bone weights, skinning and attachment points, and requests that must do nothing.
#include "render/mesh/skel_instance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "mesh_fixtures.h"

using meshtest::LogCatcher;

namespace {

constexpr float S = 0.70710678f; // sin 45 degrees: (0, 0, S, S) turns a quarter about z
const YQuat NO_TURN{0, 0, 0, 1};
const YQuat QUARTER_Z{0, 0, S, S};
const YQuat QUARTER_X{S, 0, 0, S};

// Pose lists of the chain.
enum List {
    REST,         // {0, 0}
    TURNED,       // {1, 1}: bone 1 a quarter turn about z
    THREE_STEPS,  // {0, 0, 0}: three poses of 25 frames
    EMPTY,        // {}
    NO_FRAMES,    // {0, 4}: pose 4 lasts no frame
    MISSING,      // {0, 99}
    REST_TO_TURN, // {0, 1}
};

// A chain of two bones, a unit apart up z, with one vertex on bone 0 and two on bone 1, and one
// attachment point on bone 1, half a unit along its x.
//   pose 0: rest; 1: bone 1 turned a quarter about z; 2: bone 0 turned a quarter about x;
//   3: root lifted by 2;
//   pose 4: like 0 but lasting no frame. Poses 0 to 3 last 25 frames (0.5 s at 50 per second).
std::unique_ptr<YSkelMesh> MakeChain() {
    auto mesh = std::make_unique<YSkelMesh>();
    mesh->name = "mesh\\chain.ams";
    YBone root;
    root.parent = -1;
    root.offset = YVector(0, 0, 0);
    YBone arm;
    arm.parent = 0;
    arm.offset = YVector(0, 0, 1);
    const YVector points[3] = {{1, 0, 0}, {1, 0, 1}, {1, 0, 2}};
    for (int g = 0; g < 3; ++g) {
        YPositionGroup group{};
        group.pos = points[g];
        group.vertexCount = 1;
        group.vertices[0] = g;
        mesh->positionGroups.push_back(group);
        mesh->vertices.push_back(YVertex(points[g], YVector(0, 0, 1), YVector2(0, 0)));
    }
    root.influences = {{0, 1.0f}};
    arm.influences = {{1, 1.0f}, {2, 1.0f}};
    mesh->bones = {root, arm};
    YSkelAttachment point;
    point.bone = 1;
    point.local = QuatToMatrix(NO_TURN, YVector(0.5f, 0, 0));
    mesh->attachments = {point};
    auto pose = [](YVector root_, YQuat r0, YQuat r1, int frames) {
        YSkelPose p;
        p.rootOffset = root_;
        p.frames = frames;
        p.rotations = {r0, r1};
        return p;
    };
    mesh->poses = {pose({0, 0, 0}, NO_TURN, NO_TURN, 25), pose({0, 0, 0}, NO_TURN, QUARTER_Z, 25),
                   pose({0, 0, 0}, QUARTER_X, NO_TURN, 25), pose({0, 0, 2}, NO_TURN, NO_TURN, 25),
                   pose({0, 0, 0}, NO_TURN, NO_TURN, 0)};
    mesh->poseLists = {{0, 0}, {1, 1}, {0, 0, 0}, {}, {0, 4}, {0, 99}, {0, 1}};
    mesh->BuildBindPose();
    return mesh;
}

void ExpectNear(const YVector& got, const YVector& want, const std::string& what) {
    EXPECT_NEAR(got.x, want.x, 1e-5f) << what;
    EXPECT_NEAR(got.y, want.y, 1e-5f) << what;
    EXPECT_NEAR(got.z, want.z, 1e-5f) << what;
}

void ExpectNear(const YQuat& got, const YQuat& want, const std::string& what) {
    EXPECT_NEAR(got.x, want.x, 1e-5f) << what;
    EXPECT_NEAR(got.y, want.y, 1e-5f) << what;
    EXPECT_NEAR(got.z, want.z, 1e-5f) << what;
    EXPECT_NEAR(got.w, want.w, 1e-5f) << what;
}

YVector Translation(const YMatrix& m) { return {m.m[12], m.m[13], m.m[14]}; }

class SkelAnimTest : public ::testing::Test {
protected:
    SkelAnimTest() : mesh(MakeChain()) {}

    std::unique_ptr<YSkelMesh> mesh;
    LogCatcher log;
};

// ---------------------------------------------------------------- set-up

TEST(SkelLists, MakeIntListAndRange) {
    const int32_t values[] = {4, 0, 7, -1, 9, -1};
    EXPECT_EQ(MakeIntList(values), (std::vector<int32_t>{4, 0, 7}));
    const int32_t none[] = {-5};
    EXPECT_TRUE(MakeIntList(none).empty());
    EXPECT_TRUE(MakeIntList(nullptr).empty());

    EXPECT_EQ(MakeIntRange(3, 4), (std::vector<int32_t>{3, 4, 5, 6}));
    EXPECT_EQ(MakeIntRange(-2, 1), (std::vector<int32_t>{-2}));
    EXPECT_TRUE(MakeIntRange(5, 0).empty());
    EXPECT_TRUE(MakeIntRange(5, -3).empty());
}

TEST_F(SkelAnimTest, SetChannelStoresOrRejectsSyncAndListWithALogLine) {
    struct Case {
        const char* what;
        int32_t sync, list;
        int32_t wantSync, wantList;
        const char* wantLog; // "" for none
    };
    const Case cases[] = {
        {"valid", 1, TURNED, 1, TURNED, ""},
        {"sync equal to the channel", 3, TURNED, -1, TURNED,
         "Mesh mesh\\chain.ams animation channel 3 error syncChannel=3 >= curChannel."},
        {"sync above the channel", 5, REST, -1, REST,
         "Mesh mesh\\chain.ams animation channel 3 error syncChannel=5 >= curChannel."},
        {"list beyond the lists", -1, 7, -1, -1, "Mesh mesh\\chain.ams animation channel 3 error animation index 7."},
        {"no list", -1, -1, -1, -1, "Mesh mesh\\chain.ams animation channel 3 error animation index -1."},
        {"empty list", -1, EMPTY, -1, -1,
         "Mesh mesh\\chain.ams animation channel 3 error animation 3 is empty or has a step without frames."},
        {"step without frames", -1, NO_FRAMES, -1, -1,
         "Mesh mesh\\chain.ams animation channel 3 error animation 4 is empty or has a step without frames."},
        {"missing pose", -1, MISSING, -1, -1,
         "Mesh mesh\\chain.ams animation channel 3 error animation 5 is empty or has a step without frames."},
    };
    for (const Case& c : cases) {
        mesh->channelConfigs.clear();
        log.Clear();
        mesh->SetChannel(3, c.sync, c.list, 2.0f, 0.25f, 0.75f, 0, 0);
        ASSERT_EQ(mesh->channelConfigs.size(), 4u) << c.what;
        const YAnimChannelConfig& got = mesh->channelConfigs[3];
        EXPECT_EQ(got.syncChannel, c.wantSync) << c.what;
        EXPECT_EQ(got.poseList, c.wantList) << c.what;
        // The rest is stored whatever was wrong.
        EXPECT_EQ(got.weight, 2.0f) << c.what;
        EXPECT_EQ(got.fadeIn, 0.25f) << c.what;
        EXPECT_EQ(got.fadeOut, 0.75f) << c.what;
        EXPECT_EQ(got.loop, 0) << c.what;
        EXPECT_EQ(got.rewind, 0) << c.what;
        // The channels below keep the defaults of a new record.
        EXPECT_EQ(mesh->channelConfigs[0].poseList, -1) << c.what;
        EXPECT_EQ(mesh->channelConfigs[0].loop, 1) << c.what;
        const std::vector<std::string> lines = log.Lines();
        if (*c.wantLog) {
            EXPECT_EQ(lines, std::vector<std::string>{c.wantLog}) << c.what;
        } else {
            EXPECT_TRUE(lines.empty()) << c.what;
        }
    }
}

TEST_F(SkelAnimTest, BadChannelNumbersAreLoggedAndIgnored) {
    mesh->SetChannel(-1, -1, REST, 1, 0, 0, 1, 1);
    EXPECT_TRUE(mesh->channelConfigs.empty());

    const float weights[] = {0.25f, 0.75f, 9.0f};
    mesh->SetChannelBoneWeights(0, weights);
    mesh->SetChannel(0, -1, REST, 1, 0, 0, 1, 1);
    mesh->SetChannelBoneWeights(0, nullptr);
    EXPECT_TRUE(mesh->channelConfigs[0].boneWeights.empty());
    mesh->SetChannelBoneWeights(0, weights);
    // One value per bone.
    EXPECT_EQ(mesh->channelConfigs[0].boneWeights, (std::vector<float>{0.25f, 0.75f}));
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{
                               "Mesh mesh\\chain.ams animation channel -1 error: no such channel.",
                               "Mesh mesh\\chain.ams animation channel 0 error: bone weights for a channel not set up.",
                               "Mesh mesh\\chain.ams animation channel 0 error: no bone weights.",
                           }));
}

// ---------------------------------------------------------------- fades

struct Op {
    char kind; // 'S' start (a = fade, b = weight), 'T' stop (a = fade), 'U' update (a = dt) then pose
    float a, b;
};

TEST_F(SkelAnimTest, ChannelFadesOverTime) {
    struct Case {
        const char* what;
        std::vector<Op> ops;
        int32_t state;
        float fadeTimer;
        float fadeLength; // the running fade's length (fade-in while fading in, else fade-out)
        float effective;
    };
    // Channel 0 loops REST with weight 2, fade-in 0.5 and fade-out 0.25 by default.
    const Case cases[] = {
        {"a quarter second into a half-second fade-in",
         {{'S', 0.5f, 1}, {'U', 0.25f, 0}},
         CHANNEL_FADING_IN,
         0.25f,
         0.5f,
         0.5f},
        {"the fade-in's end is not yet past it",
         {{'S', 0.5f, 1}, {'U', 0.25f, 0}, {'U', 0.25f, 0}},
         CHANNEL_FADING_IN,
         0.0f,
         0.5f,
         1.0f},
        {"just past the fade-in it plays",
         {{'S', 0.5f, 1}, {'U', 0.25f, 0}, {'U', 0.25f, 0}, {'U', 0.0625f, 0}},
         CHANNEL_PLAYING,
         -0.0625f,
         0.25f,
         1.0f},
        {"negative fade and weight take the channel's",
         {{'S', -1, -1}, {'U', 0.25f, 0}},
         CHANNEL_FADING_IN,
         0.25f,
         0.5f,
         1.0f},
        {"stopped halfway through a 1 s fade-in with fade 2",
         {{'S', 1, 1}, {'U', 0.5f, 0}, {'T', 2, 0}, {'U', 0, 0}},
         CHANNEL_FADING_OUT,
         1.0f,
         2.0f,
         0.5f},
        {"stopped while playing, with the channel's fade-out",
         {{'S', 0, 1}, {'U', 0.125f, 0}, {'T', -1, 0}, {'U', 0.0625f, 0}},
         CHANNEL_FADING_OUT,
         0.1875f,
         0.25f,
         0.75f},
        {"restarted during a fade-out goes on from its weight",
         {{'S', 0, 1}, {'U', 0.125f, 0}, {'T', 1, 0}, {'U', 0.25f, 0}, {'S', 0.5f, 1}, {'U', 0, 0}},
         CHANNEL_FADING_IN,
         0.125f,
         0.5f,
         0.75f},
        {"a shorter fade-in keeps its progress",
         {{'S', 1, 1}, {'U', 0.75f, 0}, {'S', 0.5f, 1}, {'U', 0, 0}},
         CHANNEL_FADING_IN,
         0.125f,
         0.5f,
         0.75f},
        {"a longer fade-in changes nothing",
         {{'S', 0.5f, 1}, {'U', 0.25f, 0}, {'S', 2, 1}, {'U', 0, 0}},
         CHANNEL_FADING_IN,
         0.25f,
         0.5f,
         0.5f},
        {"a fade-out ends in the stop",
         {{'S', 0, 1}, {'U', 0.125f, 0}, {'T', 0.5f, 0}, {'U', 0.25f, 0}, {'U', 0.25f, 0}, {'U', 0.0625f, 0}},
         CHANNEL_STOPPED,
         -0.0625f,
         0.5f,
         0.0f},
        {"a fade of no length is complete at once", {{'S', 0, 1}, {'U', 0, 0}}, CHANNEL_FADING_IN, 0, 0, 1.0f},
        {"start and stop without fades in one frame",
         {{'S', 0, 1}, {'T', 0, 0}, {'U', 0.125f, 0}},
         CHANNEL_STOPPED,
         -0.125f,
         0,
         0.0f},
        {"stop and restart without fades in one frame",
         {{'S', 0, 1}, {'U', 0.125f, 0}, {'T', 0, 0}, {'S', 0, 1}, {'U', 0.125f, 0}},
         CHANNEL_PLAYING,
         -0.125f,
         0,
         1.0f},
    };
    mesh->SetChannel(0, -1, REST, 2.0f, 0.5f, 0.25f, 1, 1);
    for (const Case& c : cases) {
        YSkelMeshInstance hero(mesh.get());
        for (const Op& op : c.ops) {
            if (op.kind == 'S')
                hero.StartChannel(0, op.a, op.b);
            else if (op.kind == 'T')
                hero.StopChannel(0, op.a);
            else {
                hero.UpdateChannels(op.a);
                hero.UpdatePose();
            }
        }
        const YAnimChannelState& st = hero.channels[0];
        EXPECT_EQ(st.state, c.state) << c.what;
        EXPECT_FLOAT_EQ(st.fadeTimer, c.fadeTimer) << c.what;
        EXPECT_FLOAT_EQ(st.state == CHANNEL_FADING_IN ? st.fadeIn : st.fadeOut, c.fadeLength) << c.what;
        EXPECT_FLOAT_EQ(st.effectiveWeight, c.effective) << c.what;
        for (const YQuat& q : hero.rotations) EXPECT_TRUE(std::isfinite(q.x + q.y + q.z + q.w)) << c.what;
    }
}

TEST_F(SkelAnimTest, NonLoopingListFadesOutBeforeItsEndAndStopsThere) {
    // Three poses of 25 frames: two steps of 0.5 s from the start; fade-out 0.5, updates of 1/8 s.
    for (uint8_t rewind : {1, 0}) {
        mesh->SetChannel(0, -1, THREE_STEPS, 1.0f, 0.0f, 0.5f, 0, rewind);
        YSkelMeshInstance hero(mesh.get());
        hero.StartChannel(0, -1, -1);
        std::vector<int32_t> states;
        for (int i = 0; i < 9; ++i) {
            hero.UpdateChannels(0.125f);
            states.push_back(hero.channels[0].state);
        }
        const int32_t P = CHANNEL_PLAYING, O = CHANNEL_FADING_OUT, X = CHANNEL_STOPPED;
        // Fading out from the first update that leaves less than 0.5 s; stopped after 1 s.
        EXPECT_EQ(states, (std::vector<int32_t>{P, P, P, P, O, O, O, X, X})) << int(rewind);
        EXPECT_EQ(hero.channels[0].time, 0.0f);
        EXPECT_EQ(hero.channels[0].position, rewind ? 0 : 2);

        // Started again, a rewound channel plays from its first step; the other goes on from
        // where it stood, wrapping round.
        hero.StartChannel(0, -1, -1);
        EXPECT_EQ(hero.channels[0].position, rewind ? 1 : 0);
    }
}

TEST_F(SkelAnimTest, LoopingChannelWrapsAndSteps) {
    mesh->SetChannel(0, -1, THREE_STEPS, 1.0f, 0.0f, 0.0f, 1, 1);
    YSkelMeshInstance hero(mesh.get());
    hero.rate = 100.0f; // steps of 0.25 s
    hero.StartChannel(0, -1, -1);
    EXPECT_EQ(hero.channels[0].position, 1);
    EXPECT_FLOAT_EQ(hero.channels[0].duration, 0.25f);
    struct Step {
        float dt;
        int32_t position;
        float time;
    };
    const Step steps[] = {{0.125f, 1, 0.125f}, {0.125f, 2, 0.0f}, {0.375f, 0, 0.125f}, {0.5f, 2, 0.125f}};
    for (const Step& s : steps) {
        hero.UpdateChannels(s.dt);
        EXPECT_EQ(hero.channels[0].position, s.position) << s.dt;
        EXPECT_FLOAT_EQ(hero.channels[0].time, s.time) << s.dt;
        EXPECT_EQ(hero.channels[0].state, CHANNEL_PLAYING);
    }
}

TEST_F(SkelAnimTest, SyncedChannelTakesItsLeadersTiming) {
    mesh->SetChannel(0, -1, REST_TO_TURN, 1.0f, 0.0f, 0.0f, 1, 1);
    mesh->SetChannel(1, 0, TURNED, 1.0f, 0.5f, 0.0f, 1, 1);
    YSkelMeshInstance hero(mesh.get());
    hero.StartChannel(0, -1, -1);
    hero.UpdateChannels(0.375f);
    hero.StartChannel(1, -1, -1);
    EXPECT_EQ(hero.channels[1].state, CHANNEL_FADING_IN);
    EXPECT_EQ(hero.channels[1].position, hero.channels[0].position);
    EXPECT_EQ(hero.channels[1].time, hero.channels[0].time);
    EXPECT_EQ(hero.channels[1].duration, hero.channels[0].duration);
    hero.UpdateChannels(0.25f);
    EXPECT_EQ(hero.channels[0].position, 0); // wrapped
    EXPECT_EQ(hero.channels[1].position, 0);
    EXPECT_FLOAT_EQ(hero.channels[1].time, 0.125f);
    EXPECT_EQ(hero.channels[1].state, CHANNEL_PLAYING); // the leader's state, fade or not
}

TEST_F(SkelAnimTest, AChannelThatStopsEndsTheUpdateForTheChannelsAfterIt) {
    mesh->SetChannel(0, -1, THREE_STEPS, 1.0f, 0.0f, 0.0f, 0, 1);
    mesh->SetChannel(1, -1, REST, 1.0f, 0.0f, 0.0f, 1, 1);
    YSkelMeshInstance hero(mesh.get());
    hero.StartChannel(0, -1, -1);
    hero.StartChannel(1, -1, -1);
    for (int i = 0; i < 7; ++i) hero.UpdateChannels(0.125f);
    ASSERT_NE(hero.channels[0].state, CHANNEL_STOPPED);
    const float before = hero.channels[1].time;
    hero.UpdateChannels(0.125f); // channel 0 reaches the end of its list
    EXPECT_EQ(hero.channels[0].state, CHANNEL_STOPPED);
    EXPECT_EQ(hero.channels[1].time, before);
    hero.UpdateChannels(0.125f);
    EXPECT_FLOAT_EQ(hero.channels[1].time, std::fmod(before + 0.125f, 0.5f));
}

TEST_F(SkelAnimTest, RequestsForChannelsThatCannotPlayDoNothing) {
    mesh->SetChannel(0, -1, REST, 1.0f, 0.0f, 0.0f, 1, 1);
    mesh->SetChannel(1, -1, EMPTY, 1.0f, 0.0f, 0.0f, 1, 1);     // rejected: stays without a list
    mesh->SetChannel(2, -1, NO_FRAMES, 1.0f, 0.0f, 0.0f, 1, 1); // rejected
    YSkelMeshInstance hero(mesh.get());
    ASSERT_EQ(hero.channels.size(), 3u);
    for (int32_t ch : {-1, 1, 2, 3, 1000}) {
        hero.StartChannel(ch, 0.0f, 1.0f);
        hero.StopChannel(ch, 0.0f);
    }
    hero.UpdateChannels(0.125f);
    hero.UpdatePose();
    for (const YAnimChannelState& st : hero.channels) EXPECT_EQ(st.state, CHANNEL_STOPPED);
    EXPECT_EQ(hero.poseChanged, 0);

    // A list emptied while its channel plays stops the channel.
    hero.StartChannel(0, 0.0f, 1.0f);
    mesh->poseLists[REST].clear();
    hero.UpdateChannels(0.125f);
    hero.UpdatePose();
    EXPECT_EQ(hero.channels[0].state, CHANNEL_STOPPED);

    // A channel configured after the instance was built has no state in it.
    mesh->SetChannel(5, -1, TURNED, 1.0f, 0.0f, 0.0f, 1, 1);
    hero.StartChannel(5, 0.0f, 1.0f);
    hero.UpdateChannels(0.125f);
    EXPECT_EQ(hero.channels.size(), 3u);
}

// ---------------------------------------------------------------- blending and skinning

TEST_F(SkelAnimTest, ChannelsBlendByTheirShareOfEachBonesWeight) {
    struct Case {
        const char* what;
        float weight0, weight1;
        std::vector<float> boneWeights1; // of channel 1; empty: every bone
        YQuat bone0, bone1;
    };
    const float h = S / 2, q = S / 4;
    const Case cases[] = {
        {"two of weight 1 share every bone", 1, 1, {}, NO_TURN, {0, 0, h, 0.5f + h}},
        {"weights 3 and 1", 3, 1, {}, NO_TURN, {0, 0, q, 0.75f + q}},
        {"a weight of 0 adds nothing", 1, 0, {}, NO_TURN, NO_TURN},
        {"bone weights keep channel 1 off bone 0", 1, 1, {0, 1}, NO_TURN, {0, 0, h, 0.5f + h}},
        {"a bone weight scales the share", 1, 1, {1, 3}, NO_TURN, {0, 0, 3 * q, 0.25f + 3 * q}},
        {"an undriven bone gets the zero rotation", 0, 1, {0, 1}, {0, 0, 0, 0}, QUARTER_Z},
    };
    for (const Case& c : cases) {
        mesh->channelConfigs.clear();
        mesh->SetChannel(0, -1, REST, 1.0f, 0.0f, 0.0f, 1, 1);
        mesh->SetChannel(1, -1, TURNED, 1.0f, 0.0f, 0.0f, 1, 1);
        if (!c.boneWeights1.empty()) mesh->SetChannelBoneWeights(1, c.boneWeights1.data());
        YSkelMeshInstance hero(mesh.get());
        hero.StartChannel(0, 0.0f, c.weight0);
        hero.StartChannel(1, 0.0f, c.weight1);
        hero.UpdateChannels(0.125f);
        hero.UpdatePose();
        ExpectNear(hero.rotations[0], c.bone0, c.what);
        ExpectNear(hero.rotations[1], c.bone1, c.what);
        // The zero rotation is no rotation: the vertex on bone 0 stays where it was made.
        ExpectNear(hero.vertices[0].pos, YVector(1, 0, 0), c.what);
    }
}

TEST_F(SkelAnimTest, PosesMoveTheVerticesAndTheAttachmentPointWithTheirBones) {
    // A quarter turn about z takes x to -y and y to x; one about x takes y to -z and z to y
    // (rows of the rotation matrix).
    struct Case {
        int32_t pose;
        YVector vertex0, vertex2, point;
    };
    const Case cases[] = {
        {0, {1, 0, 0}, {1, 0, 2}, {0.5f, 0, 1}},
        {1, {1, 0, 0}, {0, -1, 2}, {0, -0.5f, 1}}, // bone 1 turned about its own origin
        {2, {1, 0, 0}, {1, 2, 0}, {0.5f, 1, 0}},   // bone 0 turned: bone 1 follows
        {3, {1, 0, 2}, {1, 0, 4}, {0.5f, 0, 3}},   // root lifted
    };
    YSkelMeshInstance hero(mesh.get());
    ASSERT_EQ(hero.attachments.size(), 1u);
    for (const Case& c : cases) {
        const std::string what = "pose " + std::to_string(c.pose);
        hero.verticesChanged = 0;
        hero.SetPose(c.pose, true);
        ExpectNear(hero.vertices[0].pos, c.vertex0, what);
        ExpectNear(hero.vertices[2].pos, c.vertex2, what);
        ExpectNear(Translation(hero.attachments[0]), c.point, what);
        EXPECT_EQ(hero.verticesChanged, 1) << what;
    }
    // An invalid pose changes nothing.
    for (int32_t pose : {-1, 5, 99}) {
        hero.SetPose(pose, true);
        ExpectNear(Translation(hero.attachments[0]), cases[3].point, "invalid pose");
    }
}

TEST_F(SkelAnimTest, PlayedChannelInterpolatesTheStepAndMovesTheAttachment) {
    mesh->SetChannel(0, -1, REST_TO_TURN, 1.0f, 0.0f, 0.0f, 1, 1);
    YSkelMeshInstance hero(mesh.get());
    hero.StartChannel(0, -1, -1); // the first step runs from pose 0 to pose 1
    struct Step {
        float dt;
        float degrees; // bone 1's turn about z
    };
    const Step steps[] = {{0.25f, 45.0f}, {0.125f, 67.5f}};
    for (const Step& s : steps) {
        hero.UpdateChannels(s.dt);
        hero.UpdatePose();
        const float a = DegreesToRadians(s.degrees);
        // The point half a unit along bone 1's x turns with it (x towards -y).
        ExpectNear(Translation(hero.attachments[0]), YVector(0.5f * std::cos(a), -0.5f * std::sin(a), 1),
                   std::to_string(s.degrees));
        ExpectNear(hero.vertices[2].pos, YVector(std::cos(a), -std::sin(a), 2), std::to_string(s.degrees));
    }
    // Nothing ran since: the pose is not evaluated again.
    hero.verticesChanged = 0;
    hero.UpdatePose();
    EXPECT_EQ(hero.verticesChanged, 0);
}

} // namespace
