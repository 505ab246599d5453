// Block drawing: crack texture choice, the drawer's stage-1 binding, the darkening filter, the
// set corner-edge table and the face-facing test.
#include <gtest/gtest.h>

#include <filesystem>

#include "render/scene_fixture.h"
#include "render/shader.h"
#include "world/blocks/block_faces.h"

namespace {

TEST(BlockFaces, ShadeSelectsTheCrackTexture) {
    struct Case {
        float shade;
        int index;
    } cases[] = {{1.0f, 9}, {0.95f, 9}, {0.5f, 5}, {0.05f, 0}, {0.0f, 0}, {2.0f, 9}};
    for (const Case& c : cases) EXPECT_EQ(SplitTextureIndex(c.shade), c.index) << c.shade;
}

TEST(BlockFaces, TheSubtractFilterDarkensWithoutGoingBelowZero) {
    YColorFilterSub sub(0.3f);
    const float in[4] = {0.5f, 0.2f, 1.0f, 0.4f};
    float out[4];
    sub.Apply(out, in);
    EXPECT_FLOAT_EQ(out[0], 0.2f);
    EXPECT_FLOAT_EQ(out[1], 0.0f);
    EXPECT_FLOAT_EQ(out[2], 0.7f);
    EXPECT_FLOAT_EQ(out[3], 1.0f);
}

TEST(BlockFaces, OnlyCornerEdgesCastSilhouettes) {
    int f1 = -1, f2 = -1;
    for (uint8_t mask : {0, 3, 5, 6, 9, 10, 12, 15}) EXPECT_FALSE(SetCornerEdgeFaces(mask, 0, f1, f2)) << int(mask);
    ASSERT_TRUE(SetCornerEdgeFaces(1, 0, f1, f2));
    EXPECT_EQ(f1, 3);
    EXPECT_EQ(f2, 5);
    ASSERT_TRUE(SetCornerEdgeFaces(7, 2, f1, f2));
    EXPECT_EQ(f1, 0);
    EXPECT_EQ(f2, 2);
    // Bit 4 (two cells of one item) does not change the quadrant.
    ASSERT_TRUE(SetCornerEdgeFaces(16 | 2, 1, f1, f2));
    EXPECT_EQ(f1, 0);
    EXPECT_EQ(f2, 5);
}

TEST(BlockFaces, EachFaceListsItsFourCornersOnItsOwnSide) {
    for (int f = 0; f < 6; ++f) {
        for (int k = 0; k < 4; ++k) {
            EXPECT_FLOAT_EQ(BOX_CORNER_SIGNS[BOX_FACE_CORNERS[f][k]].Dot(BOX_FACE_NORMALS[f]), 1.0f) << f << "," << k;
        }
    }
    for (const auto& e : BOX_EDGES) {
        for (int c : {e[0], e[1]}) {
            EXPECT_FLOAT_EQ(BOX_CORNER_SIGNS[c].Dot(BOX_FACE_NORMALS[e[2]]), 1.0f);
            EXPECT_FLOAT_EQ(BOX_CORNER_SIGNS[c].Dot(BOX_FACE_NORMALS[e[3]]), 1.0f);
        }
    }
}

TEST(BlockFaces, AFaceTurnedAwayFromTheCameraIsNotTowardsIt) {
    EXPECT_TRUE(FaceTowardsCamera({0, 0, 1}, {0, 0, 0}, {0, 0, 5}));
    EXPECT_FALSE(FaceTowardsCamera({0, 0, -1}, {0, 0, 0}, {0, 0, 5}));
    EXPECT_FALSE(FaceTowardsCamera({1, 0, 0}, {0, 0, 0}, {0, 0, 5}));
}

class BlockFaceDrawTest : public scenetest::SceneTest {};

TEST_F(BlockFaceDrawTest, OnlyAShaderWithTwoStagesGetsTheCrackOnStageOne) {
    testsupport::TempDir game(true);
    std::filesystem::create_directories("textures");
    WritePicture("textures/split.jpg");
    gpu::NullDevice& device = MakeDevice();
    YShader* one = FindShader("test_block_one_stage");
    one->Reset();
    one->AddStage();
    YShader* two = FindShader("test_block_two_stages");
    two->Reset();
    two->AddStage();
    two->AddStage();
    const float offsets[2] = {0, 0};
    auto stageOneBound = [&] {
        for (const gpu::NullCall& c : device.Calls()) {
            if (c.text.rfind("SetTexture(1,", 0) == 0) return true;
        }
        return false;
    };
    for (float shade : {0.5f, -1.0f}) {
        YBlockFace face;
        BuildBlockFace(&face, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, one, shade, offsets);
        device.ClearTrace();
        g_DrawBlockFace.Draw(&face);
        EXPECT_FALSE(stageOneBound()) << shade;
    }
    YBlockFace cracked;
    BuildBlockFace(&cracked, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, two, 0.5f, offsets);
    device.ClearTrace();
    g_DrawBlockFace.Draw(&cracked);
    EXPECT_TRUE(stageOneBound());
    YBlockFace whole;
    BuildBlockFace(&whole, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, two, -1.0f, offsets);
    device.ClearTrace();
    g_DrawBlockFace.Draw(&whole);
    EXPECT_FALSE(stageOneBound());
}

TEST(BlockFaces, TheSecondCoordinateSetCarriesTheOffsets) {
    YBlockFace face;
    const float offsets[2] = {0.25f, 1.0f};
    BuildBlockFace(&face, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, nullptr, 1.0f, offsets);
    for (int k = 0; k < 4; ++k) {
        EXPECT_FLOAT_EQ(face.corners[k].uv1.u, BOX_QUAD_UV[k].u);
        EXPECT_FLOAT_EQ(face.corners[k].uv2.u, BOX_QUAD_UV[k].u + 0.25f);
        EXPECT_FLOAT_EQ(face.corners[k].uv2.v, BOX_QUAD_UV[k].v + 1.0f);
    }
}

} // namespace
