// Block drawing: crack texture choice, the drawer's stage-1 binding, the darkening filter, the
// set corner-edge table and the face-facing test.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

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
        g_DrawBlockFace.Flush();
        EXPECT_FALSE(stageOneBound()) << shade;
    }
    YBlockFace cracked;
    BuildBlockFace(&cracked, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, two, 0.5f, offsets);
    device.ClearTrace();
    g_DrawBlockFace.Draw(&cracked);
    g_DrawBlockFace.Flush();
    EXPECT_TRUE(stageOneBound());
    YBlockFace whole;
    BuildBlockFace(&whole, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, two, -1.0f, offsets);
    device.ClearTrace();
    g_DrawBlockFace.Draw(&whole);
    g_DrawBlockFace.Flush();
    EXPECT_FALSE(stageOneBound());
}

// Faces in queue order: runs with one shader and crack texture become one draw each, in order, and
// a change of either starts the next run.
TEST_F(BlockFaceDrawTest, RunsOfFacesWithOneShaderAndCrackAreDrawnTogetherInOrder) {
    testsupport::TempDir game(true);
    std::filesystem::create_directories("textures");
    WritePicture("textures/split.jpg");
    gpu::NullDevice& device = MakeDevice();
    YShader* plain = FindShader("test_block_run_plain");
    plain->Reset();
    plain->AddStage();
    YShader* cracking = FindShader("test_block_run_cracking");
    cracking->Reset();
    cracking->AddStage();
    cracking->AddStage();
    const float offsets[2] = {0, 0};
    struct Face {
        YShader* shader;
        float shade;
    };
    // Expected runs: 3 plain, 2 cracking at 0.55, 1 cracking at 0.15, 2 plain.
    const Face order[] = {{plain, -1},       {plain, 0.5f},     {plain, -1}, {cracking, 0.55f},
                          {cracking, 0.51f}, {cracking, 0.15f}, {plain, -1}, {plain, -1}};
    std::vector<YBlockFace> faces(std::size(order));
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const float x = static_cast<float>(i);
        BuildBlockFace(&faces[i], {x, 0, 0}, {x + 1, 0, 0}, {x + 1, 1, 0}, {x, 1, 0}, {0, 0, 1}, order[i].shader,
                       order[i].shade, offsets);
    }
    device.ClearTrace();
    for (YBlockFace& f : faces) g_DrawBlockFace.Draw(&f);
    g_DrawBlockFace.Flush();
    std::vector<std::string> draws;
    for (const gpu::NullCall& c : device.Calls())
        if (c.text.rfind("Draw", 0) == 0) draws.push_back(c.text);
    const std::vector<std::string> want = {
        "DrawIndexedPrimitiveUP(TRIANGLELIST,0,12,6,40)", "DrawIndexedPrimitiveUP(TRIANGLELIST,0,8,4,40)",
        "DrawIndexedPrimitiveUP(TRIANGLELIST,0,4,2,40)", "DrawIndexedPrimitiveUP(TRIANGLELIST,0,8,4,40)"};
    EXPECT_EQ(draws, want);
    // The runs' first corners, in order: faces 0, 3, 5, 6.
    int run = 0;
    const float firstX[] = {0, 3, 5, 6};
    for (const gpu::NullCall& c : device.Calls()) {
        if (c.text.rfind("DrawIndexedPrimitiveUP", 0) != 0 || run >= 4) continue;
        ASSERT_GE(c.vertices.size(), sizeof(YVertex));
        YVertex first;
        std::memcpy(&first, c.vertices.data(), sizeof first);
        EXPECT_FLOAT_EQ(first.pos.x, firstX[run]) << "run " << run;
        ++run;
    }
    // Nothing is left for a second flush.
    device.ClearTrace();
    g_DrawBlockFace.Flush();
    for (const gpu::NullCall& c : device.Calls()) EXPECT_NE(c.text.rfind("Draw", 0), 0u) << c.text;
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
