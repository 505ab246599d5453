// The hero's skin builder on small cages: extrusion and subdivision must keep a surface closed,
// in one piece and consistently turned, and keep every position's bone weights summing to 1; the
// check for that must see each way of breaking it.
#include "tools/meshgen/hero_skin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace {

using meshgen::BoneWeights;
using meshgen::Skin;

// A cube of side 2 about the origin, each corner on bone 0 or, above z = 0, on bone 1.
Skin Cube() {
    Skin s;
    int c[8];
    for (int i = 0; i < 8; ++i) {
        const YVector p{i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f};
        c[i] = s.AddCorner(p, meshgen::OnBone(p.z > 0 ? 1 : 0));
    }
    // Counter-clockwise seen from outside.
    s.AddQuad(c[0], c[2], c[3], c[1], 0); // bottom
    s.AddQuad(c[4], c[5], c[7], c[6], 0); // top
    s.AddQuad(c[0], c[1], c[5], c[4], 0); // -y
    s.AddQuad(c[2], c[6], c[7], c[3], 0); // +y
    s.AddQuad(c[0], c[4], c[6], c[2], 0); // -x
    s.AddQuad(c[1], c[3], c[7], c[5], 1); // +x
    return s;
}

float Sum(const BoneWeights& w) {
    float s = 0;
    for (float v : w) s += v;
    return s;
}

TEST(HeroSkin, BrokenSurfacesAreTold) {
    struct Case {
        const char* what;
        std::function<Skin()> make;
        bool sound;
    };
    const Case cases[] = {
        {"a cube", [] { return Cube(); }, true},
        {"a cube with a face missing",
         [] {
             Skin s = Cube();
             Skin open;
             for (const auto& c : s.Corners()) open.AddCorner(c.p, c.w);
             for (std::size_t q = 1; q < s.Quads().size(); ++q) {
                 const auto& c = s.Quads()[q].c;
                 open.AddQuad(c[0], c[1], c[2], c[3], 0);
             }
             return open;
         },
         false},
        {"a cube with a face turned inside out",
         [] {
             Skin s = Cube();
             auto& c = s.Quad(2).c;
             std::swap(c[1], c[3]);
             return s;
         },
         false},
        {"two cubes apart",
         [] {
             Skin a = Cube();
             const Skin b = Cube();
             const int base = static_cast<int>(a.Corners().size());
             for (const auto& c : b.Corners()) a.AddCorner(c.p + YVector(5, 0, 0), c.w);
             for (const auto& q : b.Quads()) a.AddQuad(q.c[0] + base, q.c[1] + base, q.c[2] + base, q.c[3] + base, 0);
             return a;
         },
         false},
        {"no quads", [] { return Skin(); }, false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.make().IsClosedAndConnected(), c.sound) << c.what;
}

TEST(HeroSkin, ExtrusionGrowsTheSurfaceAndMatchesCornersAcrossATurn) {
    Skin s = Cube();
    // Out of +x, to a ring turned 45 degrees about y (its v axis leans towards +x): each old
    // corner must go to the new corner on its own side, or the side quads would cross.
    const YVector v{std::sqrt(0.5f), 0, std::sqrt(0.5f)};
    const std::array<int, 4> sides = s.Extrude(5, {{3, 0, -1}, {0, 1, 0}, v, 0.5f, 0.5f}, meshgen::OnBone(2), 3);
    EXPECT_TRUE(s.IsClosedAndConnected());
    EXPECT_EQ(s.Quads().size(), 10u);
    for (int q : sides) EXPECT_EQ(s.Quads()[static_cast<std::size_t>(q)].material, 3);
    EXPECT_EQ(s.Quads()[5].material, 1) << "the end keeps its material";
    for (int k = 0; k < 4; ++k) {
        const YVector from =
            s.Corners()[static_cast<std::size_t>(s.Quads()[static_cast<std::size_t>(sides[k])].c[0])].p;
        const YVector to = s.Corners()[static_cast<std::size_t>(s.Quads()[static_cast<std::size_t>(sides[k])].c[3])].p;
        EXPECT_GT(from.y * to.y, 0) << "side " << k;
        EXPECT_GT((from.z) * ((to - YVector(3, 0, -1)).x * v.x + (to - YVector(3, 0, -1)).z * v.z), 0) << "side " << k;
    }
}

TEST(HeroSkin, SubdivisionKeepsTheSurfaceClosedAndTheWeightsWhole) {
    Skin s = Cube();
    s.Extrude(1, {{0, 0, 3}, {1, 0, 0}, {0, 1, 0}, 0.6f, 0.6f}, meshgen::Between(1, 2, 0.5f), 0);
    for (int level = 1; level <= 2; ++level) {
        s = s.Subdivided();
        SCOPED_TRACE(level);
        EXPECT_TRUE(s.IsClosedAndConnected());
        for (const auto& c : s.Corners()) {
            EXPECT_NEAR(Sum(c.w), 1.0f, 1e-5f);
            for (float w : c.w) EXPECT_GE(w, 0.0f);
            // Smoothing pulls the surface in: nothing ends up outside the cage.
            EXPECT_LE(std::fabs(c.p.x), 1.0f + 1e-5f);
            EXPECT_LE(c.p.z, 3.0f + 1e-5f);
        }
    }
    EXPECT_EQ(s.Quads().size(), 10u * 16u);
    // The weights blend across the rings: between the cube's bottom (bone 0) and top (bone 1) the
    // skin takes both.
    bool blended = false;
    for (const auto& c : s.Corners()) blended |= c.w[0] > 0.2f && c.w[1] > 0.2f;
    EXPECT_TRUE(blended);
}

} // namespace
