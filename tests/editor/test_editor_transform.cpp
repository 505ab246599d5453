#include "editor/editor_transform.h"

#include <gtest/gtest.h>

#include <cmath>

#include "editor/editor_level.h"
#include "editor/fake_scene.h"

namespace {

void ExpectVector(const YVector& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-5f);
    EXPECT_NEAR(v.y, y, 1e-5f);
    EXPECT_NEAR(v.z, z, 1e-5f);
}

class EditorTransformTest : public ::testing::Test {
protected:
    EditorTransformTest() {
        level.scene = &scene;
        level.curMaterial = "stone";
    }
    void Apply(int kind, float x, float y, float z) {
        YVector v(x, y, z);
        EditorTransform(level, axes, kind, &v);
    }
    FakeScene scene;
    EditorLevel level;
    EditorCameraAxes axes;
};

TEST(EditorSnap, LargestDotWinsAndTiesGoToTheEarlierAxis) {
    struct Case {
        YVector d;
        YVector axis;
    } cases[] = {
        {{0.9f, 0.1f, 0.0f}, {1, 0, 0}},    {{0.1f, -0.9f, 0.2f}, {0, -1, 0}},
        {{0.5f, 0.5f, 0.0f}, {1, 0, 0}},    // +x before +y
        {{0.0f, 0.5f, 0.5f}, {0, 1, 0}},    // +y before +z
        {{-0.5f, 0.0f, 0.5f}, {0, 0, 1}},   // +z before -x
        {{-0.5f, -0.5f, 0.0f}, {-1, 0, 0}}, // -x before -y
        {{0.0f, 0.0f, -1.0f}, {0, 0, -1}},
    };
    for (const Case& c : cases) {
        const YVector a = SnapToAxis(&c.d);
        EXPECT_EQ(a.x, c.axis.x) << c.d.x << "," << c.d.y << "," << c.d.z;
        EXPECT_EQ(a.y, c.axis.y) << c.d.x << "," << c.d.y << "," << c.d.z;
        EXPECT_EQ(a.z, c.axis.z) << c.d.x << "," << c.d.y << "," << c.d.z;
    }
}

TEST(EditorVectorArg, ThreeFiniteNumbersInBrackets) {
    YVector v(7, 7, 7);
    EXPECT_TRUE(ParseVectorArg("[1,-2.5,3]", &v));
    ExpectVector(v, 1, -2.5f, 3);
    for (const char* bad : {"", "1,2,3", "[1,2]", "[a,b,c]", "[1,nan,0]", "[inf,0,0]", "[1 2 3]"}) {
        YVector w(7, 7, 7);
        EXPECT_FALSE(ParseVectorArg(bad, &w)) << bad;
        ExpectVector(w, 7, 7, 7);
    }
    EXPECT_FALSE(ParseVectorArg(nullptr, &v));
}

TEST_F(EditorTransformTest, MoveStepsOneCellAlongTheSnappedCameraAxis) {
    Apply(EDIT_MOVE, 0, 5, 0); // magnitude is ignored
    EXPECT_EQ(level.cursor, (EditorCell{0, 1, 0}));
    axes.right = YVector(-1, 0, 0.2f); // the camera turned round: right is -x
    Apply(EDIT_MOVE, 1, 0, 0);
    EXPECT_EQ(level.cursor, (EditorCell{-1, 1, 0}));
    Apply(EDIT_MOVE, -3, 0, 0);
    EXPECT_EQ(level.cursor, (EditorCell{0, 1, 0}));
    axes.forward = YVector(0.1f, 0.0f, -0.9f);
    Apply(EDIT_MOVE, 0, 0, 1);
    EXPECT_EQ(level.cursor, (EditorCell{0, 1, -1}));
}

TEST_F(EditorTransformTest, ZeroOrBrokenVectorsChangeNothing) {
    level.cursor = {1, 2, 3};
    Apply(EDIT_MOVE, 0, 0, 0);
    Apply(EDIT_MOVE, NAN, 0, 0);
    Apply(EDIT_MOVE_GROUP, 0, 0, 0);
    Apply(EDIT_MOVE_GROUP, INFINITY, 0, 0);
    EXPECT_EQ(level.cursor, (EditorCell{1, 2, 3}));
    EXPECT_EQ(level.CurrentGroup().matrix.m[12], 0.0f);
    EXPECT_EQ(scene.deletes, 0);
}

TEST(EditorSize, ClampsToNineAndKeepsFacesBelowTen) {
    struct Case {
        int in[3];
        int out[3];
    } cases[] = {
        {{4, 3, 3}, {3, 2, 3}},   {{9, 9, 9}, {1, 1, 9}},  {{5, 1, 1}, {5, 1, 1}}, {{3, 3, 3}, {3, 3, 3}},
        {{0, -4, 12}, {1, 1, 9}}, {{10, 1, 1}, {9, 1, 1}}, {{2, 5, 1}, {2, 4, 1}}, {{1, 3, 4}, {1, 2, 4}},
    };
    for (const Case& c : cases) {
        int sx = c.in[0], sy = c.in[1], sz = c.in[2];
        ClampCursorSize(sx, sy, sz);
        EXPECT_EQ(sx, c.out[0]) << c.in[0] << "x" << c.in[1] << "x" << c.in[2];
        EXPECT_EQ(sy, c.out[1]) << c.in[0] << "x" << c.in[1] << "x" << c.in[2];
        EXPECT_EQ(sz, c.out[2]) << c.in[0] << "x" << c.in[1] << "x" << c.in[2];
        EXPECT_LT(sx * sy, EDITOR_FACE_LIMIT);
        EXPECT_LT(sx * sz, EDITOR_FACE_LIMIT);
        EXPECT_LT(sy * sz, EDITOR_FACE_LIMIT);
    }
}

TEST_F(EditorTransformTest, SizeGrowsAlongTheSnappedAxisThenClamps) {
    level.cursorSize = {3, 3, 3};
    Apply(EDIT_SIZE, 1, 0, 0);
    EXPECT_EQ(level.cursorSize, (EditorCell{3, 2, 3}));
    level.cursorSize = {1, 1, 1};
    Apply(EDIT_SIZE, -1, 0, 0);
    EXPECT_EQ(level.cursorSize, (EditorCell{1, 1, 1}));
}

TEST_F(EditorTransformTest, MoveGroupMovesAlongWorldAxesByTheVectorLength) {
    level.AddBlockAtCursor();
    axes.up = YVector(0, 0, 1); // up on the screen is world +z
    Apply(EDIT_MOVE_GROUP, 0, 3, 4);
    const YMatrix& m = level.CurrentGroup().matrix;
    EXPECT_NEAR(m.m[12], 0.0f, 1e-5f);
    EXPECT_NEAR(m.m[13], 0.0f, 1e-5f);
    EXPECT_NEAR(m.m[14], 5.0f, 1e-5f);
    ASSERT_EQ(scene.built.size(), 1u);
    EXPECT_NEAR(scene.built[0].world.m[14], 5.5f, 1e-5f) << "the scene was rebuilt";
}

TEST_F(EditorTransformTest, RotateGroupTurnsAboutTheWorldZAxisThroughTheOrigin) {
    level.CurrentGroup().matrix.m[12] = 2.0f; // the group stands at (2, 0, 0)
    Apply(EDIT_ROTATE_GROUP, 0, 0, 90);
    const YMatrix& m = level.CurrentGroup().matrix;
    ExpectVector(m.TransformPoint(YVector(0, 0, 0)), 0, 2, 0);
    ExpectVector(m.TransformPoint(YVector(1, 0, 0)), 0, 3, 0);
}

TEST_F(EditorTransformTest, RotateAllTurnsEveryGroupAboutTheOrigin) {
    level.NewGroup();
    level.groups[0].matrix.m[12] = 1.0f;
    level.groups[1].matrix.m[13] = 1.0f;
    Apply(EDIT_ROTATE_ALL, 0, 0, 90);
    ExpectVector(level.groups[0].matrix.TransformPoint(YVector(0, 0, 0)), 0, 1, 0);
    ExpectVector(level.groups[1].matrix.TransformPoint(YVector(0, 0, 0)), -1, 0, 0);
    Apply(EDIT_MOVE_ALL, -2, 0, 0);
    ExpectVector(level.groups[0].matrix.TransformPoint(YVector(0, 0, 0)), -2, 1, 0);
    ExpectVector(level.groups[1].matrix.TransformPoint(YVector(0, 0, 0)), -3, 0, 0);
}

TEST_F(EditorTransformTest, CenterLevelCentresAcrossXAndStandsOnZero) {
    scene.scale = YVector(2, 1, 1);
    level.cursor = {3, 5, -2};
    level.cursorSize = {2, 1, 1};
    level.AddBlockAtCursor(); // x 6..10, z -2..-1
    CenterLevel(level);
    ASSERT_EQ(scene.boxes.size(), 1u);
    const EditorBuiltBlock& b = scene.boxes[0];
    ExpectVector(b.world.TransformPoint(YVector(0, 0, 0)), 0.0f, 5.5f, 0.5f);
}

TEST_F(EditorTransformTest, CenterLevelWithNothingBuiltMovesNothing) {
    level.CurrentGroup().matrix.m[14] = 1.0f;
    CenterLevel(level);
    EXPECT_EQ(level.CurrentGroup().matrix.m[14], 1.0f);
    EXPECT_EQ(level.CurrentGroup().matrix.m[12], 0.0f);
}

} // namespace
