#include "math/matrix.h"
#include "math/vector.h"
#include "math/vertex.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

constexpr float kTol = 1e-5f;

void ExpectNear(const YVector& got, const YVector& want) {
    EXPECT_NEAR(got.x, want.x, kTol);
    EXPECT_NEAR(got.y, want.y, kTol);
    EXPECT_NEAR(got.z, want.z, kTol);
}

YMatrix Translation(float x, float y, float z) {
    YMatrix t;
    t.MatrixSetTranslation(YVector(x, y, z));
    return t;
}

YMatrix RotationZ(float degrees) {
    YMatrix r;
    r.SetRotationZ(degrees);
    return r;
}

TEST(Vector, Operations) {
    const YVector a(1, 2, 3), b(4, -5, 6);
    ExpectNear(a + b, {5, -3, 9});
    ExpectNear(a - b, {-3, 7, -3});
    ExpectNear(a * 2.0f, {2, 4, 6});
    ExpectNear(a.Negate(), {-1, -2, -3});
    EXPECT_FLOAT_EQ(a.Dot(b), 4 - 10 + 18);

    YVector v(3, 4, 0);
    EXPECT_FLOAT_EQ(v.Normalize(), 5.0f);
    ExpectNear(v, {0.6f, 0.8f, 0});

    YVector s;
    EXPECT_EQ(&s.Set(7, 8, 9), &s);
    ExpectNear(s, {7, 8, 9});
}

TEST(Vector, NormalizeOfZeroIsNotFinite) {
    YVector v(0, 0, 0);
    EXPECT_EQ(v.Normalize(), 0.0f);
    EXPECT_FALSE(std::isfinite(v.x));
}

TEST(Matrix, TransformPointTable) {
    const struct {
        const char* name;
        YMatrix m;
        YVector in, out;
    } cases[] = {
        {"rotate z 90", RotationZ(90), {1, 0, 0}, {0, 1, 0}},
        {"rotate z 90, y axis", RotationZ(90), {0, 1, 0}, {-1, 0, 0}},
        {"rotate z 0", RotationZ(0), {1, 2, 3}, {1, 2, 3}},
        {"translate", Translation(1, 2, 3), {1, 1, 1}, {2, 3, 4}},
        // A * B: B applies first, then A
        {"translate * rotate, origin", Translation(1, 0, 0) * RotationZ(90), {0, 0, 0}, {1, 0, 0}},
        {"translate * rotate, x", Translation(1, 0, 0) * RotationZ(90), {1, 0, 0}, {1, 1, 0}},
        {"rotate * translate, x", RotationZ(90) * Translation(1, 0, 0), {1, 0, 0}, {0, 2, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectNear(c.m.TransformPoint(c.in), c.out);
    }
}

TEST(Matrix, RotationZeroIsIdentity) {
    const YMatrix r = RotationZ(0);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(r.m[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
}

TEST(Matrix, InverseAffineUndoesTheTransform) {
    const YMatrix scale{{2, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1}};
    const YMatrix inputs[] = {
        Translation(3, -2, 5) * RotationZ(37),
        Translation(-1, 4, 0.5f) * RotationZ(-120) * scale,
    };
    for (const YMatrix& m : inputs) {
        YMatrix messy = m;
        messy.m[3] = messy.m[7] = messy.m[11] = 9.0f; // not read
        messy.m[15] = -3.0f;
        const YMatrix inv = messy.InverseAffine();
        EXPECT_EQ(inv.m[3], 0.0f);
        EXPECT_EQ(inv.m[7], 0.0f);
        EXPECT_EQ(inv.m[11], 0.0f);
        EXPECT_EQ(inv.m[15], 1.0f);

        const YMatrix both = inv * m;
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(both.m[i], i % 5 == 0 ? 1.0f : 0.0f, kTol) << i;
        const YVector p(0.3f, -7, 2);
        ExpectNear(inv.TransformPoint(m.TransformPoint(p)), p);
    }
}

TEST(Matrix, RotationPartAndDeterminant) {
    const YMatrix scale{{2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1}};
    const YMatrix m = Translation(5, 6, 7) * RotationZ(30) * scale;
    EXPECT_NEAR(m.Determinant3(), 24.0f, 1e-4f);

    const YMatrix r = m.GetRotation();
    for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10}) EXPECT_EQ(r.m[i], m.m[i]) << i;
    for (int i : {3, 7, 11, 12, 13, 14}) EXPECT_EQ(r.m[i], 0.0f) << i;
    EXPECT_EQ(r.m[15], 1.0f);
}

// The grenade's throw direction: row 1 of X * Z (yaw about z first, then pitch about x).
TEST(Matrix3, ThrowDirection) {
    const struct { float yaw, pitch; } cases[] = {{0, 0}, {30, 20}, {-45, 55}, {90, 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.yaw << " " << c.pitch);
        YMatrix3 z, x;
        z.SetRotationZ(c.yaw);
        x.SetRotationX(c.pitch);
        const YMatrix3 r = x * z;
        const float yaw = DegreesToRadians(c.yaw), pitch = DegreesToRadians(c.pitch);
        EXPECT_NEAR(r.m[3], -std::sin(yaw), kTol);
        EXPECT_NEAR(r.m[4], std::cos(yaw) * std::cos(pitch), kTol);
        EXPECT_NEAR(r.m[5], std::cos(yaw) * std::sin(pitch), kTol);
    }
}

TEST(Vertex, BothTextureSetsTakeTheUv) {
    const YVertex v(YVector(1, 2, 3), YVector(0, 0, 1), YVector2(0.25f, 0.75f));
    ExpectNear(v.pos, {1, 2, 3});
    ExpectNear(v.normal, {0, 0, 1});
    EXPECT_EQ(v.uv1.u, 0.25f);
    EXPECT_EQ(v.uv1.v, 0.75f);
    EXPECT_EQ(v.uv2.u, 0.25f);
    EXPECT_EQ(v.uv2.v, 0.75f);
}

} // namespace
