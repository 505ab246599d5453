// Skinned meshes: the skeleton file and its cache, the bind pose, the accumulating scale and a
// table of malformed skeletons.
#include "render/mesh/skel_mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "mesh_fixtures.h"
#include "render/mesh/skel_binary.h"

using meshtest::LogCatcher;

namespace {

// Two quads stacked up z, six positions.
const std::string STRIP =
    "mesh strip\n"
    "vertices 6\n-0.5 0 0\n0.5 0 0\n-0.5 0 1\n0.5 0 1\n-0.5 0 2\n0.5 0 2\n"
    "tvertices 1\n0 0\n"
    "faces 4\n0 1 3 0 0 0 0 1\n0 3 2 0 0 0 0 1\n2 3 5 0 0 0 0 1\n2 5 4 0 0 0 0 1\n";

// Bone 0 turned a quarter about z and lifted by 1, bone 1 two units along bone 0's x; the
// "sceleton" word closes the mesh block, so the skeleton's first word is its name.
const std::string BONES = "2\n0 -1 0 0 1 0 0 0.70710678 0.70710678\n1 0 2 0 0 0 0 0 1\n";
const std::string WEIGHTS = "0\n0\n1 0 1\n1 0 1\n2 0 0.5 1 0.5\n1 1 1\n";
const std::string ATTACHMENTS = "2\n0 1 0 0 0 0 0 0 1\n1 1 0 0 0.5 0 0 0 1\n";
const std::string POSES =
    "3\n"
    "p 0 0 0 0 0 0 0 1 0 0 0 1\n"
    "p 10 0 0 0.5 0 0 0 1 0 0 0 1\n"
    "p 25 1 2 3 0 0 0 1 0 0 0 1\n";

std::string HeroText(const std::string& bones = BONES, const std::string& weights = WEIGHTS,
                     const std::string& attachments = ATTACHMENTS, const std::string& poses = POSES) {
    return STRIP + "sceleton body\n" + bones + "points " + attachments + "weights w\n" + weights + "poses " + poses;
}

class SkelMeshTest : public ::testing::Test {
protected:
    SkelMeshTest() { dir.MakeDir("mesh"); }
    ~SkelMeshTest() override {
        while (!SkelMeshCache().empty()) delete SkelMeshCache().back();
    }
    std::unique_ptr<YSkelMesh> Load(const std::string& name) {
        log.Clear();
        auto mesh = std::make_unique<YSkelMesh>();
        mesh->Load(name);
        logged = log.Lines();
        return mesh;
    }

    testsupport::TempDir dir{true};
    LogCatcher log;
    std::vector<std::string> logged;
};

using Lines = std::vector<std::string>;

void ExpectSameSkeleton(const YSkelData& a, const YSkelData& b) {
    ASSERT_EQ(a.bones.size(), b.bones.size());
    for (std::size_t i = 0; i < a.bones.size(); ++i) {
        EXPECT_EQ(a.bones[i].parent, b.bones[i].parent);
        EXPECT_EQ(0, std::memcmp(&a.bones[i].offset, &b.bones[i].offset, sizeof(YVector)));
        EXPECT_EQ(0, std::memcmp(&a.bones[i].rotation, &b.bones[i].rotation, sizeof(YQuat)));
        EXPECT_EQ(0, std::memcmp(a.bones[i].inverseBind.m, b.bones[i].inverseBind.m, sizeof(YMatrix)));
        ASSERT_EQ(a.bones[i].influences.size(), b.bones[i].influences.size());
        for (std::size_t k = 0; k < a.bones[i].influences.size(); ++k) {
            EXPECT_EQ(a.bones[i].influences[k].group, b.bones[i].influences[k].group);
            EXPECT_EQ(a.bones[i].influences[k].weight, b.bones[i].influences[k].weight);
        }
    }
    ASSERT_EQ(a.poses.size(), b.poses.size());
    for (std::size_t i = 0; i < a.poses.size(); ++i) {
        EXPECT_EQ(a.poses[i].frames, b.poses[i].frames);
        EXPECT_EQ(0, std::memcmp(&a.poses[i].rootOffset, &b.poses[i].rootOffset, sizeof(YVector)));
        ASSERT_EQ(a.poses[i].rotations.size(), b.poses[i].rotations.size());
    }
    EXPECT_EQ(a.poseLists, b.poseLists);
    ASSERT_EQ(a.attachments.size(), b.attachments.size());
    for (std::size_t i = 0; i < a.attachments.size(); ++i) {
        EXPECT_EQ(a.attachments[i].bone, b.attachments[i].bone);
        EXPECT_EQ(0, std::memcmp(a.attachments[i].local.m, b.attachments[i].local.m, sizeof(YMatrix)));
    }
}

TEST_F(SkelMeshTest, ImportReadsTheSkeletonAndWritesTheCache) {
    dir.Write("mesh/hero.ams", HeroText());
    YSkelMesh* mesh = GetSkelMesh("mesh\\hero.ams");
    EXPECT_EQ(log.Lines(), Lines{"Load skeleton mesh file mesh\\hero.ams"});
    EXPECT_EQ(GetSkelMesh("mesh\\hero.ams"), mesh);
    EXPECT_EQ(GetMesh("mesh\\hero.ams"), mesh);
    EXPECT_EQ(mesh->loaded, 1);
    EXPECT_EQ(mesh->faces.size(), 4u);
    ASSERT_EQ(mesh->bones.size(), 2u);
    EXPECT_EQ(mesh->bones[1].parent, 0);

    // Frame numbers 0, 10, 25 give steps of 0, 10 and 15 frames.
    ASSERT_EQ(mesh->poses.size(), 3u);
    EXPECT_EQ(mesh->poses[0].frames, 0);
    EXPECT_EQ(mesh->poses[1].frames, 10);
    EXPECT_EQ(mesh->poses[2].frames, 15);
    EXPECT_FLOAT_EQ(mesh->poses[2].rootOffset.y, 2.0f);
    EXPECT_EQ(mesh->poses[2].rotations.size(), 2u);

    // Position 0 ("0") follows bone 0 fully; position 4 is shared half and half.
    const std::vector<YBoneInfluence>& b0 = mesh->bones[0].influences;
    ASSERT_FALSE(b0.empty());
    EXPECT_EQ(b0[0].group, 0);
    EXPECT_EQ(b0[0].weight, 1.0f);
    EXPECT_EQ(b0.size(), 5u);
    ASSERT_EQ(mesh->bones[1].influences.size(), 2u);
    EXPECT_EQ(mesh->bones[1].influences[0].group, 4);
    EXPECT_EQ(mesh->bones[1].influences[0].weight, 0.5f);

    ASSERT_EQ(mesh->attachments.size(), 2u);
    EXPECT_EQ(mesh->attachments[1].bone, 1);
    EXPECT_FLOAT_EQ(mesh->attachments[1].local.m[14], 0.5f);

    // The cache reads back the same skeleton, nothing logged.
    ASSERT_TRUE(dir.Exists("mesh/hero.mab"));
    auto again = Load("mesh\\hero.ams");
    EXPECT_TRUE(logged.empty());
    EXPECT_EQ(again->vertices.size(), mesh->vertices.size());
    ExpectSameSkeleton(*again, *mesh);
}

TEST_F(SkelMeshTest, BindPoseInvertsTheChainOfRestMatrices) {
    dir.Write("mesh/hero.ams", HeroText());
    auto mesh = Load("mesh\\hero.ams");
    ASSERT_EQ(mesh->bones.size(), 2u);
    // The quaternion (0, 0, 0.707, 0.707) maps x to -y in the skeleton's table. Bone 1's origin
    // lies at (2, 0, 0) turned and lifted: (0, -2, 1); its inverse bind takes it home.
    const YVector origin1 = mesh->bones[1].inverseBind.TransformPoint({0, -2, 1});
    EXPECT_NEAR(origin1.x, 0, 1e-5f);
    EXPECT_NEAR(origin1.y, 0, 1e-5f);
    EXPECT_NEAR(origin1.z, 0, 1e-5f);
    // A point one unit further along bone 1's x (-y in the mesh) is (1, 0, 0) in bone 1's space.
    const YVector along = mesh->bones[1].inverseBind.TransformPoint({0, -3, 1});
    EXPECT_NEAR(along.x, 1, 1e-5f);
    EXPECT_NEAR(along.y, 0, 1e-5f);
    const YVector origin0 = mesh->bones[0].inverseBind.TransformPoint({0, 0, 1});
    EXPECT_NEAR(origin0.x, 0, 1e-5f);
    EXPECT_NEAR(origin0.z, 0, 1e-5f);
}

TEST_F(SkelMeshTest, ScaleAccumulates) {
    dir.Write("mesh/hero.ams", HeroText());
    auto mesh = Load("mesh\\hero.ams");
    mesh->Scale(2.0f);
    mesh->Scale(2.0f);
    EXPECT_FLOAT_EQ(mesh->positionGroups[5].pos.z, 8.0f);
    for (const YPositionGroup& g : mesh->positionGroups)
        for (int i = 0; i < g.vertexCount; ++i) EXPECT_FLOAT_EQ(mesh->vertices[g.vertices[i]].pos.z, g.pos.z);
    EXPECT_FLOAT_EQ(mesh->bones[1].offset.x, 8.0f);
    EXPECT_FLOAT_EQ(mesh->attachments[1].local.m[14], 2.0f);
    EXPECT_FLOAT_EQ(mesh->poses[2].rootOffset.z, 12.0f);
    // The bind pose follows: bone 1's origin is now at (0, -8, 4).
    const YVector origin1 = mesh->bones[1].inverseBind.TransformPoint({0, -8, 4});
    EXPECT_NEAR(origin1.x, 0, 1e-4f);
    EXPECT_NEAR(origin1.y, 0, 1e-4f);
    EXPECT_NEAR(origin1.z, 0, 1e-4f);
}

TEST_F(SkelMeshTest, CacheWithoutItsEndMarkLoadsTheSame) {
    dir.Write("mesh/hero.ams", HeroText());
    auto first = Load("mesh\\hero.ams");
    std::string cache = dir.Read("mesh/hero.mab");
    ASSERT_EQ(static_cast<unsigned char>(cache.back()), SKEL_END_MARK);
    dir.Write("mesh/hero.mab", cache.substr(0, cache.size() - 1));
    auto second = Load("mesh\\hero.ams");
    EXPECT_TRUE(logged.empty());
    ExpectSameSkeleton(*second, *first);
}

TEST_F(SkelMeshTest, EveryShorterCacheFallsBackToTheText) {
    dir.Write("mesh/hero.ams", HeroText());
    auto first = Load("mesh\\hero.ams");
    const std::string cache = dir.Read("mesh/hero.mab");
    for (std::size_t n = 0; n + 1 < cache.size(); n += 7) {
        SCOPED_TRACE(n);
        std::string name;
        YMeshData mesh;
        YSkelData skel;
        dir.Write("cut.mab", cache.substr(0, n));
        log.Clear();
        InFStream in("cut.mab");
        EXPECT_FALSE(ReadSkelMeshBinary(in, name, mesh, skel, "cut.mab"));
        EXPECT_EQ(log.Lines().size(), 1u);
        EXPECT_TRUE(mesh.IsEmpty() && skel.bones.empty() && skel.poses.empty());
    }
    // Loading through a damaged cache imports the text again and mends the cache.
    dir.Write("mesh/hero.mab", cache.substr(0, cache.size() / 2));
    auto mended = Load("mesh\\hero.ams");
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_EQ(logged[1], "Load skeleton mesh file mesh\\hero.ams");
    ExpectSameSkeleton(*mended, *first);
    EXPECT_EQ(dir.Read("mesh/hero.mab"), cache);
}

TEST_F(SkelMeshTest, MalformedSkeletonsAreRefused) {
    struct Case {
        const char* what;
        std::string text;
        const char* line;
    };
    const Case cases[] = {
        {"parent after its child", HeroText("2\n0 1 0 0 1 0 0 0 1\n1 -1 2 0 0 0 0 0 1\n"), "Error token: 1"},
        {"parent is itself", HeroText("1\n0 0 0 0 1 0 0 0 1\n"), "Error token: 0"},
        {"bone count beyond the file", HeroText("900000\n0 -1 0 0 1 0 0 0 1\n"), "Error token: 900000"},
        {"attachment on a missing bone", HeroText(BONES, WEIGHTS, "1\n0 2 0 0 0 0 0 0 1\n"), "Error token: 2"},
        {"influence of a missing bone", HeroText(BONES, "0\n0\n1 5 1\n1 0 1\n1 0 1\n1 1 1\n"), "Error token: 5"},
        {"negative influence count", HeroText(BONES, "0\n-1\n"), "Error token: -1"},
        {"influence count beyond the file", HeroText(BONES, "0\n4000000\n"), "Error token: 4000000"},
        {"weight that is no number", HeroText(BONES, "0\n0\n1 0 heavy\n"), "Error token: heavy"},
        {"bone 0 for a skeleton without bones", HeroText("0\n", "0\n", "0\n"), "Error token: 0"},
        {"pose with too few rotations", HeroText(BONES, WEIGHTS, ATTACHMENTS, "1\np 0 0 0 0 0 0 0 1\n"),
         "Error token: 1"},
        {"frame steps beyond 32 bits",
         HeroText(BONES, WEIGHTS, ATTACHMENTS,
                  "2\np -2147483648 0 0 0 0 0 0 1 0 0 0 1\n"
                  "p 2147483647 0 0 0 0 0 0 1 0 0 0 1\n"),
         "Error token: 2147483647"},
        {"file ends in the weights", STRIP + "sceleton body 1 0 -1 0 0 0 0 0 0 1 points 0 weights w 0 0",
         "Error token: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.Write("mesh/bad.ams", c.text);
        auto mesh = Load("mesh\\bad.ams");
        EXPECT_EQ(logged, (Lines{"Load skeleton mesh file mesh\\bad.ams", c.line}));
        EXPECT_TRUE(mesh->IsEmpty());
        EXPECT_TRUE(mesh->bones.empty() && mesh->poses.empty() && mesh->attachments.empty());
        EXPECT_FALSE(dir.Exists("mesh/bad.mab"));
    }
}

TEST_F(SkelMeshTest, HostileCachesAreRefused) {
    dir.Write("mesh/hero.ams", HeroText());
    auto good = Load("mesh\\hero.ams");
    struct Case {
        const char* what;
        std::function<void(YSkelData&)> spoil;
        const char* reason;
    };
    const Case cases[] = {
        {"parent after its child", [](YSkelData& s) { s.bones[0].parent = 1; }, "bone 0 has parent 1"},
        {"influence on a missing position", [](YSkelData& s) { s.bones[1].influences[0].group = 6; },
         "position group 6 out of range"},
        {"pose missing a rotation", [](YSkelData& s) { s.poses[1].rotations.pop_back(); },
         "pose of 1 rotations for 2 bones"},
        {"pose list naming a missing pose",
         [](YSkelData& s) {
             s.poseLists = {{0, 1, 3}};
         },
         "pose 3 out of range"},
        {"attachment on a missing bone", [](YSkelData& s) { s.attachments[0].bone = -1; },
         "bone index -1 out of range"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        YSkelData skel = *good;
        c.spoil(skel);
        {
            OutFStream out("bad.mab");
            WriteSkelMeshBinary(out, "bad", *good, skel);
            ASSERT_TRUE(out.Close());
        }
        log.Clear();
        std::string name;
        YMeshData mesh;
        YSkelData read;
        InFStream in("bad.mab");
        EXPECT_FALSE(ReadSkelMeshBinary(in, name, mesh, read, "bad.mab"));
        EXPECT_EQ(log.Lines(), Lines{std::string("Error reading mesh file bad.mab: ") + c.reason});
        EXPECT_TRUE(mesh.IsEmpty() && read.bones.empty());
    }
}

} // namespace
