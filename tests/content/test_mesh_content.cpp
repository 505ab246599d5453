// The shipped meshes: every mesh the code asks for is in the game folder, loads with no logged
// error and writes its cache, and has the shape its users rely on.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "content/mesh_names.h"
#include "core/log.h"
#include "render/mesh/hero_channels.h"
#include "render/mesh/mesh.h"
#include "render/mesh/skel_mesh.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

bool Skinned(std::string_view name) { return name.size() > 3 && name.substr(name.size() - 3) == "ams"; }

// "mesh\ball2.mes" -> "mesh/ball2.mes"
std::string Slashed(std::string_view name) {
    std::string s(name);
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
}

// Loads every shipped mesh in a scratch copy of the game's mesh folder (loading writes caches,
// which must not land in the game folder), keeping what each load logged.
class MeshContentTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = new testsupport::TempDir(true);
        // The text models only: caches that a game run left in the game folder are not shipped.
        fs::create_directories(scratch->Path() / "mesh");
        for (const fs::directory_entry& e : fs::directory_iterator(fs::path(KORVELIN_GAME_DIR) / "mesh")) {
            const std::string ext = e.path().extension().string();
            if (ext != ".meb" && ext != ".mab") fs::copy(e.path(), scratch->Path() / "mesh" / e.path().filename());
        }
        for (std::string_view name : content::MESH_NAMES_USED_BY_CODE) {
            LogReopen(scratch->File("log.txt"));
            meshes[std::string(name)] = Skinned(name) ? GetSkelMesh(std::string(name)) : GetMesh(std::string(name));
            std::istringstream in(scratch->Read("log.txt"));
            for (std::string line; std::getline(in, line);) logs[std::string(name)].push_back(line);
        }
        LogReopen("");
    }
    static void TearDownTestSuite() {
        for (auto& [name, mesh] : meshes) delete mesh;
        meshes.clear();
        delete scratch;
    }

    static const YMesh& Mesh(const char* name) { return *meshes.at(name); }

    static testsupport::TempDir* scratch;
    static std::map<std::string, YMesh*> meshes;
    static std::map<std::string, std::vector<std::string>> logs;
};

testsupport::TempDir* MeshContentTest::scratch = nullptr;
std::map<std::string, YMesh*> MeshContentTest::meshes;
std::map<std::string, std::vector<std::string>> MeshContentTest::logs;

TEST_F(MeshContentTest, EveryMeshTheCodeNamesLoadsCleanlyAndIsCached) {
    for (std::string_view view : content::MESH_NAMES_USED_BY_CODE) {
        const std::string name(view);
        SCOPED_TRACE(name);
        EXPECT_TRUE(fs::is_regular_file(fs::path(KORVELIN_GAME_DIR) / Slashed(name)));
        EXPECT_EQ(logs[name],
                  std::vector<std::string>{(Skinned(name) ? "Load skeleton mesh file " : "Load mesh file ") + name});
        const YMesh& m = *meshes[name];
        EXPECT_FALSE(m.faces.empty());
        EXPECT_FALSE(m.subsets.empty());
        const std::string cache = Slashed(name.substr(0, name.size() - 3) + (Skinned(name) ? "mab" : "meb"));
        EXPECT_TRUE(scratch->Exists(cache));
    }
}

TEST_F(MeshContentTest, RoundModelsAreClosedWithOutwardFaces) {
    // Closed: every triangle edge is shared, so the shadow silhouette has no gaps.
    for (const char* name : {"mesh\\ball_norm.mes", "mesh\\ball2.mes", "mesh\\ball_phant.mes", "mesh\\ball_sat.mes",
                             "mesh\\disk.mes", "mesh\\boomer.mes", "mesh\\wheel1.mes", "mesh\\wheel2.mes"}) {
        SCOPED_TRACE(name);
        const YMesh& m = Mesh(name);
        EXPECT_EQ(2 * m.edges.size(), 3 * m.faces.size());
    }
    for (const char* name : {"mesh\\ball_norm.mes", "mesh\\ball2.mes", "mesh\\ball_phant.mes"}) {
        SCOPED_TRACE(name);
        const YMesh& m = Mesh(name);
        float reach = 0;
        for (const YMeshFace& f : m.faces) {
            const YVector c = (m.vertices[f.a].pos + m.vertices[f.b].pos + m.vertices[f.c].pos) * (1.0f / 3);
            EXPECT_GT(f.normal.Dot(c), 0.0f);
        }
        for (const YVertex& v : m.vertices) {
            reach = std::fmax(reach, std::sqrt(v.pos.Dot(v.pos)));
            EXPECT_GT(v.normal.Dot(v.pos), 0.0f);
        }
        // Drawn at scale 1.0 over a body of radius 0.5.
        EXPECT_NEAR(reach, 0.5f, 1e-4f);
    }
}

TEST_F(MeshContentTest, ShaderListsFindTheirSubsets) {
    const std::pair<const char*, std::size_t> subsets[] = {
        {"mesh\\ball_phant.mes", 2}, {"mesh\\bomb.mes", 2},   {"mesh\\grenade.mes", 2},
        {"mesh\\pyramid.mes", 9},    {"mesh\\border.mes", 1}, {"mesh\\ball_norm.mes", 1},
    };
    for (const auto& [name, count] : subsets) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Mesh(name).subsets.size(), count);
    }
}

TEST_F(MeshContentTest, TableModelsSuitTheTablesReshaping) {
    for (const char* name : {"mesh\\pyramid.mes", "mesh\\border.mes"}) {
        SCOPED_TRACE(name);
        // No point on a centre line, where the stretch would tear the model.
        for (const YPositionGroup& g : Mesh(name).positionGroups) {
            EXPECT_NE(g.pos.x, 0.0f);
            EXPECT_NE(g.pos.y, 0.0f);
        }
    }
    const YMesh& pyramid = Mesh("mesh\\pyramid.mes");
    // Subset 7 is the floor, z = 0 over the 20 x 20 table, mapped 0.11 per unit; subset 4's u are
    // whole repeats.
    const YMeshSubset& floor = pyramid.subsets[7];
    for (int i = floor.startIndex; i < floor.startIndex + 3 * floor.primitiveCount; ++i) {
        const YVertex& v = pyramid.vertices[pyramid.indices[i]];
        EXPECT_EQ(v.pos.z, 0.0f);
        EXPECT_LE(std::fabs(v.pos.x), 10.0f);
        EXPECT_NEAR(v.uv1.u, 0.11f * v.pos.x, 1e-5f);
        EXPECT_NEAR(v.uv1.v, 0.11f * v.pos.y, 1e-5f);
        EXPECT_GT(v.normal.z, 0.99f);
    }
    const YMeshSubset& frieze = pyramid.subsets[4];
    for (int i = frieze.startIndex; i < frieze.startIndex + 3 * frieze.primitiveCount; ++i) {
        const float u = pyramid.vertices[pyramid.indices[i]].uv1.u;
        EXPECT_EQ(u, std::round(u));
    }
    // The background pass casts shadows down to -61.3; the model reaches that deep and no deeper.
    float lowest = 0;
    for (const YVertex& v : pyramid.vertices) lowest = std::fmin(lowest, v.pos.z);
    EXPECT_NEAR(lowest, -61.3f, 1e-4f);
}

TEST_F(MeshContentTest, HeroHasTheSkeletonAndPosesTheRacketUses) {
    const auto& hero = dynamic_cast<const YSkelMesh&>(Mesh("mesh\\hero.ams"));
    ASSERT_EQ(hero.bones.size(), std::size_t(HERO_BONE_COUNT));
    ASSERT_EQ(hero.poses.size(), std::size_t(HERO_POSE_COUNT));
    // Hold points 0 (balls, bombs, boomerang), 2 (grenades) and 3 (the pipe) exist.
    EXPECT_EQ(hero.attachments.size(), std::size_t(HERO_ATTACHMENT_COUNT));
    // Every position follows its bones with weights summing to 1.
    std::vector<float> sums(hero.positionGroups.size(), 0.0f);
    for (const YBone& bone : hero.bones)
        for (const YBoneInfluence& inf : bone.influences) sums[inf.group] += inf.weight;
    for (float sum : sums) EXPECT_FLOAT_EQ(sum, 1.0f);
    // Every step lasts at least a frame, and each rotation is a unit quaternion.
    for (const YSkelPose& pose : hero.poses) {
        EXPECT_GE(pose.frames, 1);
        for (const YQuat& q : pose.rotations) EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1.0f, 1e-4f);
    }
    // The animation table covers the poses in order, and channels that copy another's timing
    // (2, 3 and 4 follow 1; 8 follows 7; 10 follows 9) have as many keys.
    int next = 0;
    for (const HeroAnimation& a : HERO_ANIMATIONS) {
        EXPECT_EQ(a.firstPose, next) << a.what;
        next += a.poseCount;
    }
    EXPECT_EQ(next, HERO_POSE_COUNT);
    const auto& anim = HERO_ANIMATIONS;
    for (int follower : {2, 3, 4}) EXPECT_EQ(anim[follower].poseCount, anim[1].poseCount);
    EXPECT_EQ(anim[8].poseCount, anim[7].poseCount);
    EXPECT_EQ(anim[10].poseCount, anim[9].poseCount);
    // The slow walk has its two footfalls, on keys 0 and 3.
    EXPECT_GE(anim[1].poseCount, 4);
}

} // namespace
