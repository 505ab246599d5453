// The generated hero: one closed skin whose joints blend their two bones, a figure of the size
// and shape the racket expects, a file the game's loader takes without a word, and key poses that
// bend the skin without tearing or crushing it.
#include "tools/meshgen/hero_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "core/log.h"
#include "render/mesh/skel_instance.h"
#include "render/mesh/skel_mesh.h"
#include "support/temp_dir.h"
#include "tools/meshgen/hero_rig.h"

namespace {

using meshgen::Skin;

const Skin& Body() {
    static const Skin body = meshgen::HeroBody();
    return body;
}

TEST(HeroBody, IsOneClosedSkin) { EXPECT_TRUE(Body().IsClosedAndConnected()); }

TEST(HeroBody, EveryPositionFollowsItsBonesWithWeightsSummingToOne) {
    for (const meshgen::SkinCorner& c : Body().Corners()) {
        float sum = 0;
        for (float w : c.w) {
            EXPECT_GE(w, 0.0f);
            sum += w;
        }
        EXPECT_NEAR(sum, 1.0f, 1e-4f);
    }
}

TEST(HeroBody, EveryJointBlendsTheBonesThatMeetThere) {
    // Positions that follow both bones at once, each by a fair share, exist at every joint, so
    // the skin bends there instead of folding.
    for (int bone = 1; bone < HERO_BONE_COUNT; ++bone) {
        const int parent = meshgen::HERO_JOINTS[bone].parent;
        int shared = 0;
        for (const meshgen::SkinCorner& c : Body().Corners())
            if (c.w[static_cast<std::size_t>(bone)] > 0.25f && c.w[static_cast<std::size_t>(parent)] > 0.25f) ++shared;
        EXPECT_GE(shared, 8) << "joint of bone " << bone;
    }
}

TEST(HeroBody, StandsOnTheFloorAtTheSizeTheRacketScales) {
    float low = 1e9f, high = -1e9f, wide = 0;
    std::set<int> materials;
    for (const meshgen::SkinCorner& c : Body().Corners()) {
        low = std::min(low, c.p.z);
        high = std::max(high, c.p.z);
        wide = std::max(wide, std::fabs(c.p.x));
    }
    for (const meshgen::SkinQuad& q : Body().Quads()) materials.insert(q.material);
    EXPECT_NEAR(low, 0.0f, 1.0f) << "the soles are on the floor";
    // 80 to 100 units: 1.6 to 2 units of the table at the racket's scale of 0.02.
    EXPECT_GT(high, 80.0f);
    EXPECT_LT(high, 100.0f);
    EXPECT_LT(wide, 30.0f) << "narrower than the racket is wide";
    EXPECT_EQ(materials, (std::set<int>{0, 1, 2, 3}));
}

// The file as the game loads it, in a scratch folder (loading writes the binary twin).
class HeroFile : public ::testing::Test {
protected:
    void SetUp() override {
        text_ = meshgen::HeroText();
        ASSERT_FALSE(text_.empty());
        dir_.MakeDir("mesh");
        dir_.Write("mesh/hero.ams", text_);
        LogReopen(dir_.File("log.txt"));
        mesh_ = GetSkelMesh("mesh\\hero.ams");
    }
    void TearDown() override {
        delete mesh_;
        LogReopen("");
    }

    testsupport::TempDir dir_{true};
    std::string text_;
    YSkelMesh* mesh_ = nullptr;
};

TEST_F(HeroFile, LoadsSilentlyWithTheRacketsSkeleton) {
    EXPECT_EQ(dir_.Read("log.txt"), "Load skeleton mesh file mesh\\hero.ams\n");
    EXPECT_EQ(meshgen::HeroText(), text_) << "the generator is deterministic";
    ASSERT_EQ(mesh_->bones.size(), std::size_t(HERO_BONE_COUNT));
    ASSERT_EQ(mesh_->poses.size(), std::size_t(HERO_POSE_COUNT));
    ASSERT_EQ(mesh_->attachments.size(), std::size_t(HERO_ATTACHMENT_COUNT));
    for (int b = 0; b < HERO_BONE_COUNT; ++b)
        EXPECT_EQ(mesh_->bones[static_cast<std::size_t>(b)].parent, meshgen::HERO_JOINTS[b].parent);
    // What carries each attachment point.
    const int carriers[HERO_ATTACHMENT_COUNT] = {HERO_CHEST, HERO_RIGHT_FOREARM, HERO_RIGHT_FOREARM, HERO_HEAD};
    for (int a = 0; a < HERO_ATTACHMENT_COUNT; ++a)
        EXPECT_EQ(mesh_->attachments[static_cast<std::size_t>(a)].bone, carriers[a]) << "attachment " << a;
    // Every position group is skinned, by weights that name bones and sum to 1.
    std::vector<float> sums(mesh_->positionGroups.size(), 0.0f);
    for (const YBone& bone : mesh_->bones)
        for (const YBoneInfluence& inf : bone.influences) sums[static_cast<std::size_t>(inf.group)] += inf.weight;
    for (float s : sums) ASSERT_EQ(s, 1.0f);
    // Every animation the channels play has its keys, each at least a frame long.
    for (const HeroAnimation& a : HERO_ANIMATIONS)
        for (int k = 0; k < a.poseCount; ++k)
            EXPECT_GE(mesh_->poses[static_cast<std::size_t>(a.firstPose + k)].frames, 1) << a.what << " key " << k;
}

TEST_F(HeroFile, KeyPosesBendTheSkinWithoutTearingOrCrushingIt) {
    // Edges between positions: in every key pose each keeps a sane share of its rest length. A
    // position weighted to a wrong bone, or a joint without a blend, stretches or crushes the
    // skin there. (The inside of a sharply bent elbow or a raised arm's armpit folds to about a
    // tenth.)
    std::set<std::pair<int32_t, int32_t>> edges;
    auto group = [&](int32_t vertex) {
        for (std::size_t g = 0; g < mesh_->positionGroups.size(); ++g)
            for (int i = 0; i < mesh_->positionGroups[g].vertexCount; ++i)
                if (mesh_->positionGroups[g].vertices[i] == vertex) return static_cast<int32_t>(g);
        return int32_t(-1);
    };
    std::vector<int32_t> groupOf(mesh_->vertices.size());
    for (std::size_t v = 0; v < groupOf.size(); ++v) groupOf[v] = group(static_cast<int32_t>(v));
    for (const YMeshFace& f : mesh_->faces) {
        const int32_t corners[3] = {f.a, f.b, f.c};
        for (int k = 0; k < 3; ++k)
            edges.insert(std::minmax(groupOf[static_cast<std::size_t>(corners[k])],
                                     groupOf[static_cast<std::size_t>(corners[(k + 1) % 3])]));
    }
    auto length = [&](const std::vector<YVertex>& vertices, std::pair<int32_t, int32_t> e) {
        const YVector a =
            vertices[static_cast<std::size_t>(mesh_->positionGroups[static_cast<std::size_t>(e.first)].vertices[0])]
                .pos;
        const YVector b =
            vertices[static_cast<std::size_t>(mesh_->positionGroups[static_cast<std::size_t>(e.second)].vertices[0])]
                .pos;
        const YVector d = a - b;
        return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    };
    std::vector<float> rest;
    for (const auto& e : edges) rest.push_back(length(mesh_->vertices, e));
    YSkelMeshInstance hero(mesh_);
    for (const HeroAnimation& a : HERO_ANIMATIONS)
        for (int k = 0; k < a.poseCount; ++k) {
            hero.SetPose(a.firstPose + k, false);
            float least = 1e9f, most = 0;
            std::size_t i = 0;
            for (const auto& e : edges) {
                const float ratio = length(hero.vertices, e) / rest[i++];
                least = std::min(least, ratio);
                most = std::max(most, ratio);
            }
            EXPECT_GT(least, 0.05f) << a.what << " key " << k;
            EXPECT_LT(most, 3.0f) << a.what << " key " << k;
        }
}

} // namespace
