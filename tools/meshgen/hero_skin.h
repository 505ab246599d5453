#pragma once
// The hero's skin as a closed surface of quads whose corners carry bone weights. It is modelled
// coarse, as a cage: a few rings of four or eight corners per body part, grown out of one another
// by extrusion so that the whole figure stays one piece, and then smoothed by subdivision
// (Catmull-Clark), which rounds the cage into limbs, hands and a head and spreads the weights of
// the joints' rings smoothly over the neighbouring skin.
#include <array>
#include <vector>

#include "math/vector.h"
#include "render/mesh/hero_channels.h"

namespace meshgen {

using BoneWeights = std::array<float, HERO_BONE_COUNT>;

// All the weight on one bone, or shared by two (`share` on the second).
BoneWeights OnBone(int bone);
BoneWeights Between(int first, int second, float share);

struct SkinCorner {
    YVector p;
    BoneWeights w{};
};

// A quad, its corners counter-clockwise seen from outside.
struct SkinQuad {
    std::array<int, 4> c;
    int material;
};

// A cross-section of a limb: four corners at centre ± hu·u ± hv·v.
struct Ring {
    YVector centre;
    YVector u, v;
    float hu, hv;
};

class Skin {
public:
    int AddCorner(const YVector& p, const BoneWeights& w);
    int AddQuad(int a, int b, int c, int d, int material);

    // Extrudes quad `q`: its corners stay where they are, a new quad replaces it at `to` (with the
    // same index, so a limb grows by extruding the same quad again) and four side quads of
    // `material` join the old outline to the new. Each old corner goes to the corner of `to` on
    // the same side of its u and v axes as it lies from the quad's centre, so successive rings
    // may turn, by less than a right angle each. The new quad keeps its material unless
    // `endMaterial` is not negative. Returns the side quads' indices.
    std::array<int, 4> Extrude(int q, const Ring& to, const BoneWeights& w, int material, int endMaterial = -1);

    // Of the given quads, the one whose centre lies furthest along `direction`.
    int Furthest(const std::array<int, 4>& quads, const YVector& direction) const;
    YVector Centre(int q) const;

    const std::vector<SkinCorner>& Corners() const { return corners_; }
    const std::vector<SkinQuad>& Quads() const { return quads_; }
    SkinQuad& Quad(int q) { return quads_[static_cast<std::size_t>(q)]; }
    // Moves every corner up by `dz`.
    void Lift(float dz) {
        for (SkinCorner& c : corners_) c.p.z += dz;
    }

    // One step of Catmull-Clark subdivision: every quad becomes four. Weights are blended like the
    // positions, so they still sum to 1. Needs a closed surface (every edge between two quads).
    Skin Subdivided() const;

    // Whether every edge joins exactly two quads, in opposite directions (closed and consistently
    // turned), and all quads are reachable from the first (one piece).
    bool IsClosedAndConnected() const;

private:
    std::vector<SkinCorner> corners_;
    std::vector<SkinQuad> quads_;
};

} // namespace meshgen
